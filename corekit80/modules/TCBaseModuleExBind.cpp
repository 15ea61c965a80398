// TCBaseModuleEx: variables bound as input and output ports.
#include "corekit80/modules/TCBaseModuleEx.h"

#include <cstring>

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/streams/TCTypeInfo.h"

namespace {
typedef TCBaseModuleEx::DataTypes DT;

DT IntKind(TCBaseModuleEx::VariableArrayTypes how)
{
    return how == TCBaseModuleEx::VAT_ARRAY1    ? TCBaseModuleEx::DTYPE_INT_VAR
           : how == TCBaseModuleEx::VAT_TRIGGER ? TCBaseModuleEx::DTYPE_INT_TRIGGER
                                                : TCBaseModuleEx::DTYPE_INT;
}

DT DoubleKind(TCBaseModuleEx::VariableArrayTypes how)
{
    return how == TCBaseModuleEx::VAT_ARRAY1 ? TCBaseModuleEx::DTYPE_DOUBLE_VAR : TCBaseModuleEx::DTYPE_DOUBLE;
}

bool IsErrorName(const char* name) { return name && std::strcmp(name, "Error") == 0; }
}

TCBaseModuleEx::Info* TCBaseModuleEx::CreateInfo(const char*, void* variable, DataTypes type, const char*,
                                                 TCTypeInfo* typeInfo)
{
    return new Info(this, variable, type, typeInfo);
}

int TCBaseModuleEx::Bind(PORTTYPE type, const char* name, void* variable, DataTypes kind, const char* declarator,
                         TCTypeInfo* typeInfo)
{
    const bool input = type == PT_INPUT;
    InfoMap& map = input ? m_inputMap : m_outputMap;
    Info* existing = nullptr;
    if (map.Lookup(variable, existing)) {
        delete typeInfo;
        return -1;
    }
    Info* info = CreateInfo(name, variable, kind, declarator, typeInfo);
    info->m_port = GetNextCounter(type);
    info->m_portType = input ? PT_INPUT : PT_OUTPUT;
    const unsigned port = unsigned(info->m_port);
    TCPortHelper& h = *m_pPortHelper;

    Info* twin = input ? SearchOutputInfo(variable) : SearchInputInfo(variable);
    unsigned shared = 0;
    CString base, decl(declarator ? declarator : "");
    int withTypeInfo = 1;
    if (twin && twin->m_port >= 0 && h.DataType(twin->m_portType, unsigned(twin->m_port), &shared) != 0) {
        h.AttachPort(info->m_portType, port, name, shared);
    } else if (!input && IsErrorName(name) && (kind == DTYPE_CSTRING || kind == DTYPE_TCSTRING)) {
        h.SetErrorPort(port, name);
        info->m_errorPort = true;
    } else if (info->GetStringFromDataType(kind, base, decl, withTypeInfo)) {
        if (base.IsEmpty())
            h.SetPort(info->m_portType, port, name, static_cast<unsigned long>(TCPortTypes::DT_UNDEFINED));
        else
            h.SetPort(info->m_portType, port, name, base, decl.IsEmpty() ? nullptr : static_cast<const char*>(decl),
                      withTypeInfo != 0);
    }
    if (input && m_supportRealStatus)
        info->Set(Info::F_SUPPORT_REAL_STATUS);
    map.SetAt(variable, info);
    return (input ? m_inputs : m_outputs).Add(info);
}

int TCBaseModuleEx::Input(const char* name, int& v, const char* declarator)
{
    return Bind(PT_INPUT, name, &v, DTYPE_INT, declarator, nullptr);
}

int TCBaseModuleEx::Input(const char* name, double& v, const char* declarator)
{
    return Bind(PT_INPUT, name, &v, DTYPE_DOUBLE, declarator, nullptr);
}

int TCBaseModuleEx::Input(const char* name, MyInternalVector<int>& v, const char* declarator)
{
    return Bind(PT_INPUT, name, &v, DTYPE_INT_ARRAY, declarator, nullptr);
}

int TCBaseModuleEx::Input(const char* name, MyInternalVector<double>& v, const char* declarator)
{
    return Bind(PT_INPUT, name, &v, DTYPE_DOUBLE_ARRAY, declarator, nullptr);
}

int TCBaseModuleEx::Input(const char* name, MyInternalMatrix<int>& v, const char* declarator)
{
    return Bind(PT_INPUT, name, &v, DTYPE_INT_MATRIX, declarator, nullptr);
}

int TCBaseModuleEx::Input(const char* name, MyInternalMatrix<double>& v, const char* declarator)
{
    return Bind(PT_INPUT, name, &v, DTYPE_DOUBLE_MATRIX, declarator, nullptr);
}

int TCBaseModuleEx::Input(const char* name, MyReadonlyMatrix<int>& v, const char* declarator)
{
    const int index = Bind(PT_INPUT, name, &v, DTYPE_INT_MATRIX, declarator, nullptr);
    if (index >= 0)
        m_inputs[index]->Set(Info::F_READ_ONLY);
    return index;
}

int TCBaseModuleEx::Input(const char* name, MyReadonlyMatrix<double>& v, const char* declarator)
{
    const int index = Bind(PT_INPUT, name, &v, DTYPE_DOUBLE_MATRIX, declarator, nullptr);
    if (index >= 0)
        m_inputs[index]->Set(Info::F_READ_ONLY);
    return index;
}

int TCBaseModuleEx::Input(const char* name, CString& v, const char* declarator)
{
    return Bind(PT_INPUT, name, &v, DTYPE_CSTRING, declarator, nullptr);
}

int TCBaseModuleEx::Input(const char* name, CStringArray& v, const char* declarator)
{
    return Bind(PT_INPUT, name, &v, DTYPE_CSTRING_ARRAY, declarator, nullptr);
}

int TCBaseModuleEx::Input(const char* name, TCString& v, const char* declarator)
{
    return Bind(PT_INPUT, name, &v, DTYPE_TCSTRING, declarator, nullptr);
}

int TCBaseModuleEx::Input(const char* name, TCArray<TCString>& v, const char* declarator)
{
    return Bind(PT_INPUT, name, &v, DTYPE_TCSTRING_ARRAY, declarator, nullptr);
}

int TCBaseModuleEx::Input(const char* name, int& v, VariableArrayTypes how, const char* declarator)
{
    return Bind(PT_INPUT, name, &v, IntKind(how), declarator, nullptr);
}

int TCBaseModuleEx::Input(const char* name, double& v, VariableArrayTypes how, const char* declarator)
{
    return Bind(PT_INPUT, name, &v, DoubleKind(how), declarator, nullptr);
}

int TCBaseModuleEx::Input(const char* name, MyInternalVector<int>& v, VariableArrayTypes how, const char* declarator)
{
    const DT kind = how == VAT_ARRAY1    ? DTYPE_INT_VECTOR_VAR
                    : how == VAT_TRIGGER ? DTYPE_INT_VECTOR_TRIGGER
                                         : DTYPE_INT_ARRAY;
    return Bind(PT_INPUT, name, &v, kind, declarator, nullptr);
}

int TCBaseModuleEx::Input(const char* name, MyInternalVector<double>& v, VariableArrayTypes how,
                          const char* declarator)
{
    return Bind(PT_INPUT, name, &v, how == VAT_ARRAY1 ? DTYPE_DOUBLE_VECTOR_VAR : DTYPE_DOUBLE_ARRAY, declarator,
                nullptr);
}

int TCBaseModuleEx::Output(const char* name, int& v, const char* declarator, TCTypeInfo* typeInfo)
{
    return Bind(PT_OUTPUT, name, &v, DTYPE_INT, declarator, typeInfo);
}

int TCBaseModuleEx::Output(const char* name, double& v, const char* declarator, TCTypeInfo* typeInfo)
{
    return Bind(PT_OUTPUT, name, &v, DTYPE_DOUBLE, declarator, typeInfo);
}

int TCBaseModuleEx::Output(const char* name, MyInternalVector<int>& v, const char* declarator, TCTypeInfo* typeInfo)
{
    return Bind(PT_OUTPUT, name, &v, DTYPE_INT_ARRAY, declarator, typeInfo);
}

int TCBaseModuleEx::Output(const char* name, MyInternalVector<double>& v, const char* declarator,
                           TCTypeInfo* typeInfo)
{
    return Bind(PT_OUTPUT, name, &v, DTYPE_DOUBLE_ARRAY, declarator, typeInfo);
}

int TCBaseModuleEx::Output(const char* name, MyInternalMatrix<int>& v, const char* declarator, TCTypeInfo* typeInfo)
{
    return Bind(PT_OUTPUT, name, &v, DTYPE_INT_MATRIX, declarator, typeInfo);
}

int TCBaseModuleEx::Output(const char* name, MyInternalMatrix<double>& v, const char* declarator,
                           TCTypeInfo* typeInfo)
{
    return Bind(PT_OUTPUT, name, &v, DTYPE_DOUBLE_MATRIX, declarator, typeInfo);
}

int TCBaseModuleEx::Output(const char* name, CString& v, const char* declarator, TCTypeInfo* typeInfo)
{
    return Bind(PT_OUTPUT, name, &v, DTYPE_CSTRING, declarator, typeInfo);
}

int TCBaseModuleEx::Output(const char* name, CStringArray& v, const char* declarator, TCTypeInfo* typeInfo)
{
    return Bind(PT_OUTPUT, name, &v, DTYPE_CSTRING_ARRAY, declarator, typeInfo);
}

int TCBaseModuleEx::Output(const char* name, TCString& v, const char* declarator, TCTypeInfo* typeInfo)
{
    return Bind(PT_OUTPUT, name, &v, DTYPE_TCSTRING, declarator, typeInfo);
}

int TCBaseModuleEx::Output(const char* name, TCArray<TCString>& v, const char* declarator, TCTypeInfo* typeInfo)
{
    return Bind(PT_OUTPUT, name, &v, DTYPE_TCSTRING_ARRAY, declarator, typeInfo);
}

int TCBaseModuleEx::Output(const char* name, int& v, VariableArrayTypes how, const char* declarator,
                           TCTypeInfo* typeInfo)
{
    return Bind(PT_OUTPUT, name, &v, IntKind(how), declarator, typeInfo);
}

int TCBaseModuleEx::Output(const char* name, double& v, VariableArrayTypes how, const char* declarator,
                           TCTypeInfo* typeInfo)
{
    return Bind(PT_OUTPUT, name, &v, DoubleKind(how), declarator, typeInfo);
}

int TCBaseModuleEx::ErrorOutput(CString& v) { return Bind(PT_OUTPUT, "Error", &v, DTYPE_CSTRING, nullptr, nullptr); }

int TCBaseModuleEx::ErrorOutput(TCString& v)
{
    return Bind(PT_OUTPUT, "Error", &v, DTYPE_TCSTRING, nullptr, nullptr);
}

int TCBaseModuleEx::InputExt(int& selector)
{
    if (!m_inputs.IsEmpty())
        return -1;
    m_pSelector = &selector;
    // Parameters bound before keep their list: only the selector and the ports are added.
    if (m_pPortHelper->GetExtPar()) {
        m_pPortHelper->SetExtParVar(&selector);
        m_pPortHelper->SetExtPorts(true);
    } else {
        m_pPortHelper->UseExtPar(&selector);
    }
    if (m_nextInput < 2)
        m_nextInput = 2;
    return 0;
}
