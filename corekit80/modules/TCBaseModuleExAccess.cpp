// TCBaseModuleEx: bound variables read and written, and their ports asked, by address alone.
#include "corekit80/modules/TCBaseModuleEx.h"

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/streams/TCTypeInfo.h"

TCBaseModuleEx::Info* TCBaseModuleEx::SearchInputInfo(void* variable)
{
    if (m_pLastInput && m_pLastInput->m_pVariable == variable)
        return m_pLastInput;
    Info* info = nullptr;
    return m_inputMap.Lookup(variable, info) ? m_pLastInput = info : nullptr;
}

TCBaseModuleEx::Info* TCBaseModuleEx::SearchOutputInfo(void* variable)
{
    if (m_pLastOutput && m_pLastOutput->m_pVariable == variable)
        return m_pLastOutput;
    Info* info = nullptr;
    return m_outputMap.Lookup(variable, info) ? m_pLastOutput = info : nullptr;
}

TCBaseModuleEx::Info* TCBaseModuleEx::SearchInfo(void* variable)
{
    Info* info = SearchInputInfo(variable);
    return info ? info : SearchOutputInfo(variable);
}

int TCBaseModuleEx::Read(void* variable)
{
    Info* info = SearchInputInfo(variable);
    return info && m_pErrMsg ? info->ReadValue(*m_pErrMsg) : 0;
}

int TCBaseModuleEx::Write(void* variable)
{
    Info* info = SearchOutputInfo(variable);
    return info && m_pErrMsg ? info->WriteValue(*m_pErrMsg) : 0;
}

bool TCBaseModuleEx::Obligatory(void* variable, bool obligatory)
{
    const int port = GetInputIndex(variable);
    if (port >= 0 && obligatory)
        m_pPortHelper->SetObligatoryInput(unsigned(port));
    return port >= 0;
}

int TCBaseModuleEx::GetFillSize(void* variable) { return GetNumberOfBlocks(variable); }

int TCBaseModuleEx::GetNumberOfBlocks(void* variable)
{
    const int port = GetInputIndex(variable);
    return port >= 0 ? m_pPortHelper->BlocksOnStream(PT_INPUT, unsigned(port)) : 0;
}

int TCBaseModuleEx::GetInputStatus(void* variable)
{
    Info* info = SearchInputInfo(variable);
    if (!info)
        return -1;
    const TCBLOCKSTATUS status = info->GetTypeInfo().State;
    if (info->GetFlags() & Info::F_STATUS_NA)
        return -1;
    info->Set(Info::F_STATUS_READ);
    return status;
}

int TCBaseModuleEx::ReadInputStatus(void* variable)
{
    Info* info = SearchInputInfo(variable);
    return info ? info->ReadStatus() : -1;
}

void TCBaseModuleEx::SetOutputStatus(void* variable, TCBLOCKSTATUS status)
{
    if (Info* info = SearchOutputInfo(variable))
        info->GetTypeInfo().State = status;
}

TCTypeInfo* TCBaseModuleEx::InputTypeInfo(void* variable)
{
    Info* info = SearchInputInfo(variable);
    return info ? &info->GetTypeInfo() : nullptr;
}

TCTypeInfo* TCBaseModuleEx::OutputTypeInfo(void* variable)
{
    Info* info = SearchOutputInfo(variable);
    return info ? &info->GetTypeInfo() : nullptr;
}

bool TCBaseModuleEx::CopyTypeInfo(void* input, void* output)
{
    Info* in = SearchInputInfo(input);
    Info* out = SearchOutputInfo(output);
    if (!in || !out)
        return false;
    out->GetTypeInfo() = in->GetTypeInfo();
    return true;
}

int TCBaseModuleEx::GetInputIndex(void* variable) { return GetInputIndex(SearchInputInfo(variable)); }

int TCBaseModuleEx::GetInputIndex(Info* info) { return info && info->GetPortType() == PT_INPUT ? info->GetPort() : -1; }

int TCBaseModuleEx::GetOutputIndex(void* variable)
{
    Info* info = SearchOutputInfo(variable);
    return info && info->GetPortType() == PT_OUTPUT ? info->GetPort() : -1;
}

bool TCBaseModuleEx::IsInputConnected(void* variable)
{
    const int port = GetInputIndex(variable);
    return port >= 0 && m_pPortHelper->IsWired(PT_INPUT, unsigned(port), TCPortHelper::LT_RUNNING);
}

bool TCBaseModuleEx::IsOutputConnected(void* variable)
{
    const int port = GetOutputIndex(variable);
    return port >= 0 && m_pPortHelper->IsWired(PT_OUTPUT, unsigned(port), TCPortHelper::LT_RUNNING);
}

bool TCBaseModuleEx::IsPacketStart(void* variable)
{
    const int port = GetInputIndex(variable);
    return port >= 0 && m_pPortHelper->IsPacketStart(unsigned(port), false);
}

bool TCBaseModuleEx::IsPacketStop(void* variable)
{
    const int port = GetInputIndex(variable);
    return port >= 0 && m_pPortHelper->IsPacketStop(unsigned(port));
}

int TCBaseModuleEx::GetNextCounter(PORTTYPE type)
{
    return type == PT_INPUT ? m_nextInput++ : m_nextOutput++;
}
