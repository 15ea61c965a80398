// TCBaseModuleEx::Info: a bound variable's port type, and its blocks read into it and written
// from it by the variable's kind.
#include "corekit80/modules/TCBaseModuleEx.h"

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/streams/TCTypeInfo.h"

namespace {
typedef TCBaseModuleEx::DataTypes DT;

template <class T>
int ReadMatrix(TCPortHelper& h, unsigned port, void* variable, bool readOnly,
               int (TCPortHelper::*read)(unsigned, unsigned&, unsigned&, T**))
{
    unsigned rows = 0, cols = 0;
    T* data = nullptr;
    const int r = (h.*read)(port, rows, cols, &data);
    if (r <= 0)
        return r;
    if (readOnly) {
        static_cast<MyReadonlyMatrix<T>*>(variable)->Attach(rows, cols, data);
        return r;
    }
    auto& m = *static_cast<MyInternalMatrix<T>*>(variable);
    if (!m.SetSize(rows, cols))
        return h.SetErrMsg(-14, PT_INPUT, port, -1);
    if (data && rows && cols)
        std::copy(data, data + size_t(rows) * cols, m.GetData());
    return r;
}

// One value into a vector resized to one element.
template <class T>
int ReadOne(TCPortHelper& h, unsigned port, void* variable, int (TCPortHelper::*read)(unsigned, unsigned&, T*))
{
    auto& v = *static_cast<MyInternalVector<T>*>(variable);
    T value{};
    unsigned n = 1;
    const int r = (h.*read)(port, n, &value);
    if (r > 0) {
        v.SetSize(1);
        v[0] = value;
    }
    return r;
}
}

TCBaseModuleEx::Info::Info(TCBaseModuleEx* module, void* variable, DataTypes type, TCTypeInfo* typeInfo)
    : m_pModule(module), m_pTypeInfo(typeInfo ? typeInfo : new TCTypeInfo), m_pVariable(variable), m_dataType(type)
{
    m_pTypeInfo->State = TCBS_COMPLETE;
}

TCBaseModuleEx::Info::Info(const char* text, TCArrayInfoExtern* parameters)
    : m_text(text), m_pVariable(parameters), m_dataType(DTYPE_PARAMETERS)
{
    if (parameters)
        m_flags = F_PARAMETER_EXTERN;
}

TCBaseModuleEx::Info::~Info() { delete m_pTypeInfo; }

TCTypeInfo& TCBaseModuleEx::Info::GetTypeInfo()
{
    if (!m_pTypeInfo) {
        m_pTypeInfo = new TCTypeInfo;
        m_pTypeInfo->State = TCBS_COMPLETE;
    }
    if (m_flags & F_TYPEINFO_AT_PORT) {
        Clear(F_TYPEINFO_AT_PORT);
        TCPortHelper* h = m_pModule ? m_pModule->GetPortHelper() : nullptr;
        if (h && h->GetTypeInfo(unsigned(m_port), m_pTypeInfo) >= 0)
            Clear(F_STATUS_NA);
        else
            Set(F_STATUS_NA);
    }
    return *m_pTypeInfo;
}

bool TCBaseModuleEx::Info::GetStringFromDataType(DataTypes type, CString& base, CString& declarator,
                                                 int& withTypeInfo)
{
    static const char* const bases[] = {"SWORD",    "DOUBLE",   "SWORD[]",   "SWORD[1]",  "SWORD[1]",
                                        "SWORD[1]", "SWORD[1]", "DOUBLE[]",  "DOUBLE[1]", "DOUBLE[1]",
                                        "UBYTE[]",  "POINTER",  "POINTER",   "UBYTE[][]", "POINTER",
                                        nullptr,    "",         "UBYTE[]",   "UBYTE[][]"};
    if (type < 0 || type > DTYPE_TCSTRING_ARRAY || type == DTYPE_PARAMETERS)
        return false;
    base = bases[type];
    if (type == DTYPE_INT_MATRIX)
        declarator = "SWORD[][]";
    else if (type == DTYPE_DOUBLE_MATRIX)
        declarator = "DOUBLE[][]";
    else if (type == DTYPE_DRAW_HELPER)
        declarator = "DrawHelper";
    withTypeInfo = type == DTYPE_DRAW_HELPER ? 0 : 1;
    return true;
}

int TCBaseModuleEx::Info::ReadValue(ERR_MSG&)
{
    TCPortHelper* helper = m_pModule ? m_pModule->GetPortHelper() : nullptr;
    if (!helper || m_portType != PT_INPUT || m_port < 0)
        return 0;
    TCPortHelper& h = *helper;
    const unsigned port = unsigned(m_port);
    void* v = m_pVariable;
    unsigned n = 1;
    int r = 0;
    switch (m_dataType) {
    case DTYPE_INT:
    case DTYPE_INT_VAR:
        r = h.ReadIntData(port, n, static_cast<int*>(v));
        break;
    case DTYPE_DOUBLE:
    case DTYPE_DOUBLE_VAR:
        r = h.ReadDblData(port, n, static_cast<double*>(v));
        break;
    case DTYPE_INT_ARRAY:
        r = h.ReadIntArray(port, *static_cast<MyInternalVector<int>*>(v));
        break;
    case DTYPE_DOUBLE_ARRAY:
        r = h.ReadDblArray(port, *static_cast<MyInternalVector<double>*>(v));
        break;
    case DTYPE_INT_TRIGGER:
        r = *static_cast<int*>(v) = h.ReadTrigger(port, false);
        break;
    case DTYPE_INT_VECTOR_VAR:
        r = ReadOne<int>(h, port, v, &TCPortHelper::ReadIntData);
        break;
    case DTYPE_DOUBLE_VECTOR_VAR:
        r = ReadOne<double>(h, port, v, &TCPortHelper::ReadDblData);
        break;
    case DTYPE_INT_VECTOR_TRIGGER: {
        auto& vec = *static_cast<MyInternalVector<int>*>(v);
        vec.SetSize(1);
        r = vec[0] = h.ReadTrigger(port, false);
        break;
    }
    case DTYPE_CSTRING:
        r = h.ReadCString(port, *static_cast<CString*>(v));
        break;
    case DTYPE_INT_MATRIX:
        r = ReadMatrix<int>(h, port, v, IsReadOnly(), &TCPortHelper::ReadIntMatrix);
        break;
    case DTYPE_DOUBLE_MATRIX:
        r = ReadMatrix<double>(h, port, v, IsReadOnly(), &TCPortHelper::ReadDblMatrix);
        break;
    case DTYPE_CSTRING_ARRAY:
        r = h.ReadCStringArray(port, *static_cast<CStringArray*>(v));
        break;
    case DTYPE_TCSTRING:
        r = h.ReadString(port, *static_cast<TCString*>(v));
        break;
    case DTYPE_TCSTRING_ARRAY:
        r = h.ReadStringArray(port, *static_cast<TCArray<TCString>*>(v));
        break;
    default:
        return 0;
    }
    if (r < 0)
        return r;
    // The block's type information waits at the port until the module asks for it.
    Set(F_TYPEINFO_AT_PORT);
    return 0;
}

int TCBaseModuleEx::Info::WriteValue(ERR_MSG&)
{
    TCPortHelper* helper = m_pModule ? m_pModule->GetPortHelper() : nullptr;
    if (!helper || m_portType != PT_OUTPUT || m_port < 0)
        return 0;
    TCPortHelper& h = *helper;
    const unsigned port = unsigned(m_port);
    const void* v = m_pVariable;
    if (!m_errorPort) {
        // A time or name not set (0, empty) stays the port's own: the synchronisation time and
        // the port's name, as on outputs written through the port helper alone.
        const TCTypeInfo& ti = *m_pTypeInfo;
        const double range[2] = {ti.Min, ti.Max};
        h.SetTypeInfo(port, ti.Timestamp > 0 ? &ti.Timestamp : nullptr, &ti.State,
                      ti.Name.IsEmpty() ? nullptr : static_cast<const char*>(ti.Name), range, &ti.Samplerate,
                      &ti.Unit);
    }
    switch (m_dataType) {
    case DTYPE_INT:
    case DTYPE_INT_VAR:
        return h.WriteIntVal(port, *static_cast<const int*>(v));
    case DTYPE_DOUBLE:
    case DTYPE_DOUBLE_VAR:
        return h.WriteDblVal(port, *static_cast<const double*>(v));
    case DTYPE_INT_ARRAY:
        return h.WriteIntArray(port, *static_cast<const MyInternalVector<int>*>(v));
    case DTYPE_DOUBLE_ARRAY:
        return h.WriteDblArray(port, *static_cast<const MyInternalVector<double>*>(v));
    case DTYPE_CSTRING:
        if (m_errorPort)
            return h.WriteError(*static_cast<const CString*>(v), true);
        return h.WriteCStringVal(port, *static_cast<const CString*>(v));
    case DTYPE_TCSTRING:
        if (m_errorPort)
            return h.WriteError(*static_cast<const TCString*>(v), true);
        return h.WriteStringVal(port, *static_cast<const TCString*>(v));
    case DTYPE_INT_MATRIX: {
        const auto& m = *static_cast<const MyInternalMatrix<int>*>(v);
        return h.WriteIntMatrix(port, m.GetRows(), m.GetCols(), m.GetData());
    }
    case DTYPE_DOUBLE_MATRIX: {
        const auto& m = *static_cast<const MyInternalMatrix<double>*>(v);
        return h.WriteDblMatrix(port, m.GetRows(), m.GetCols(), m.GetData());
    }
    case DTYPE_CSTRING_ARRAY:
        return h.WriteCStringArray(port, *static_cast<const CStringArray*>(v));
    case DTYPE_TCSTRING_ARRAY:
        return h.WriteStringArray(port, *static_cast<const TCArray<TCString>*>(v));
    default:
        return 0;
    }
}
