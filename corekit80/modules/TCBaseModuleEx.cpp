// TCBaseModuleEx: construction, the replaced slots, the error text and taking the bindings down.
#include "corekit80/modules/TCBaseModuleEx.h"

#include "corekit80/modules/TCPortHelper.h"

void TCBaseModuleEx::TCArrayInfo::DeleteAll()
{
    for (Info* info : *this)
        delete info;
    RemoveAll();
}

void TCBaseModuleEx::TCArrayInfoExtern::DeleteAll()
{
    for (InfoExtern* parameter : *this)
        delete parameter;
    RemoveAll();
}

TCBaseModuleEx::TCBaseModuleEx(int instance) : TCBaseModule(instance)
{
    m_pPortHelper = new TCPortHelper(this);
    m_pPortHelper->GetMessageA(16, reinterpret_cast<long>(&m_pErrMsg));
}

// The records go before the base deletes the port helper; the arrays delete them.
TCBaseModuleEx::~TCBaseModuleEx() = default;

int TCBaseModuleEx::GetTypeOfModule() { return 0; }

long TCBaseModuleEx::GetMessageA(unsigned code, long param)
{
    // A new run: GetInputStatus's marks and the records' status knowledge start afresh.
    if (code == 44 && param == 5)
        for (Info* info : m_inputs)
            info->Clear(Info::F_STATUS_READ | Info::F_STATUS_NA);
    return TCBaseModule::GetMessageA(code, param);
}

int TCBaseModuleEx::Init()
{
    CopyParametersToShadowVariables();
    return TCBaseModule::Init();
}

int TCBaseModuleEx::Fetch() { return m_pPortHelper->AnyDataAvail() ? 0 : 1; }

int TCBaseModuleEx::Done() { return m_pPortHelper->Done(); }

int TCBaseModuleEx::ComputeValidationData(CALLED_FROM from)
{
    CopyParametersToShadowVariables();
    return TCBaseModule::ComputeValidationData(from);
}

int TCBaseModuleEx::WriteError(CString& variable, CString text)
{
    if (text.IsEmpty())
        if (Info* info = SearchOutputInfo(&variable))
            if (info->GetDataType() == DTYPE_CSTRING)
                text = variable;
    return m_pPortHelper->WriteError(text, false);
}

void TCBaseModuleEx::RemoveAllInfo()
{
    m_pPortHelper->ClearPorts(true);
    m_pPortHelper->UseExtPar(nullptr);
    m_nextInput = 0;
    m_nextOutput = 0;
    m_pSelector = nullptr;
    m_pLastInput = nullptr;
    m_pLastOutput = nullptr;
    m_inputMap.RemoveAll();
    m_outputMap.RemoveAll();
    m_inputs.DeleteAll();
    m_outputs.DeleteAll();
    m_parameters.DeleteAll();
}

long TCBaseModuleEx::GetInstanceHandle() { return m_pPortHelper->GetInstanceHandle(); }
