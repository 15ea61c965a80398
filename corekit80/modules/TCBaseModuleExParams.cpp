// TCBaseModuleEx: parameters, received into shadow values that reach the variables when the
// module accepts them.
#include "corekit80/modules/TCBaseModuleEx.h"

#include <utility>

#include "corekit80/modules/TCExtPar.h"
#include "corekit80/modules/TCPortHelper.h"

namespace {
// The selector of modules that never called InputExt: nothing is selected.
int g_defaultSelector = 0;

TCString DoubleBound(double v)
{
    const TCString fixed = TCString::FormatS("%lf", v);
    return fixed.GetLength() >= 11 ? TCString::FormatS("%g", v) : fixed;
}
}

TCBaseModuleEx::InfoExtern::InfoExtern(const char* name, int& variable)
    : m_pVariable(&variable), m_int(variable), m_type(DTYPE_INT), m_name(name)
{
    ParameterNameCheck(m_name);
}

TCBaseModuleEx::InfoExtern::InfoExtern(const char* name, double& variable)
    : m_pVariable(&variable), m_double(variable), m_type(DTYPE_DOUBLE), m_name(name)
{
    ParameterNameCheck(m_name);
}

TCBaseModuleEx::InfoExtern::InfoExtern(const char* name, CString& variable)
    : m_pVariable(&variable), m_text(CString2BinTCString(variable)), m_type(DTYPE_CSTRING), m_name(name)
{
    ParameterNameCheck(m_name);
}

TCBaseModuleEx::InfoExtern::InfoExtern(const char* name, TCString& variable)
    : m_pVariable(&variable), m_text(variable), m_type(DTYPE_TCSTRING), m_name(name)
{
    ParameterNameCheck(m_name);
}

TCBaseModuleEx::InfoExtern::~InfoExtern() = default;

void TCBaseModuleEx::InfoExtern::ParameterNameCheck(CString& name) { name.Replace(" ", "_"); }

void TCBaseModuleEx::InfoExtern::CopyToShadow()
{
    switch (m_type) {
    case DTYPE_INT:
        m_int = *static_cast<int*>(m_pVariable);
        break;
    case DTYPE_DOUBLE:
        m_double = *static_cast<double*>(m_pVariable);
        break;
    case DTYPE_CSTRING:
        m_text = CString2BinTCString(*static_cast<CString*>(m_pVariable));
        break;
    default:
        m_text = *static_cast<TCString*>(m_pVariable);
        break;
    }
}

void TCBaseModuleEx::InfoExtern::AcceptShadow()
{
    switch (m_type) {
    case DTYPE_INT:
        *static_cast<int*>(m_pVariable) = m_int;
        break;
    case DTYPE_DOUBLE:
        *static_cast<double*>(m_pVariable) = m_double;
        break;
    case DTYPE_CSTRING:
        *static_cast<CString*>(m_pVariable) = TCString2BinCString(m_text);
        break;
    default:
        *static_cast<TCString*>(m_pVariable) = m_text;
        break;
    }
}

void TCBaseModuleEx::InfoExtern::Swap()
{
    switch (m_type) {
    case DTYPE_INT:
        std::swap(*static_cast<int*>(m_pVariable), m_int);
        break;
    case DTYPE_DOUBLE:
        std::swap(*static_cast<double*>(m_pVariable), m_double);
        break;
    case DTYPE_CSTRING: {
        CString& v = *static_cast<CString*>(m_pVariable);
        TCString received = CString2BinTCString(v);
        v = TCString2BinCString(m_text);
        m_text = std::move(received);
        break;
    }
    default:
        std::swap(*static_cast<TCString*>(m_pVariable), m_text);
        break;
    }
}

int TCBaseModuleEx::AddParameter(InfoExtern* parameter, const char* min, const char* max)
{
    TCPortHelper& h = *m_pPortHelper;
    TCExtPar* ext = h.GetExtPar();
    if (!ext)
        ext = h.SetExtPar(&g_defaultSelector);
    const char* name = parameter->GetName();
    void* v = parameter->GetVar();
    switch (parameter->GetType()) {
    case DTYPE_INT:
        ext->AddParam(name, *static_cast<int*>(v), min, max);
        break;
    case DTYPE_DOUBLE:
        ext->AddParam(name, *static_cast<double*>(v), min, max);
        break;
    case DTYPE_CSTRING:
        ext->AddParam(name, *static_cast<CString*>(v), min, max);
        break;
    default:
        ext->AddParam(name, *static_cast<TCString*>(v), min, max);
        break;
    }
    return m_parameters.Add(parameter);
}

int TCBaseModuleEx::Parameter(const char* name, int& v) { return Parameter(name, v, "", ""); }

int TCBaseModuleEx::Parameter(const char* name, int& v, const char* min, const char* max)
{
    return AddParameter(new InfoExtern(name, v), min, max);
}

int TCBaseModuleEx::Parameter(const char* name, int& v, int min, int max)
{
    return Parameter(name, v, TCString::FormatS("%d", min), TCString::FormatS("%d", max));
}

int TCBaseModuleEx::Parameter(const char* name, double& v) { return Parameter(name, v, "", ""); }

int TCBaseModuleEx::Parameter(const char* name, double& v, const char* min, const char* max)
{
    return AddParameter(new InfoExtern(name, v), min, max);
}

int TCBaseModuleEx::Parameter(const char* name, double& v, double min, double max)
{
    return Parameter(name, v, DoubleBound(min), DoubleBound(max));
}

int TCBaseModuleEx::Parameter(const char* name, CString& v, int maxLength)
{
    const TCString max = maxLength < 1 ? TCString() : TCString::FormatS("%d", maxLength);
    return AddParameter(new InfoExtern(name, v), maxLength < 1 ? "" : "0", max);
}

int TCBaseModuleEx::Parameter(const char* name, TCString& v, int maxLength)
{
    const TCString max = maxLength < 1 ? TCString() : TCString::FormatS("%d", maxLength);
    return AddParameter(new InfoExtern(name, v), maxLength < 1 ? "" : "0", max);
}

void TCBaseModuleEx::CopyParametersToShadowVariables()
{
    for (InfoExtern* p : m_parameters)
        p->CopyToShadow();
}

int TCBaseModuleEx::ReadParameters()
{
    if (!m_pPortHelper->GetExtPar() || !m_pPortHelper->IsExtParamsAvail())
        return 0;
    CopyParametersToShadowVariables();
    const int result = m_pPortHelper->ReadExtParam();
    // The received values go to the shadows; the variables keep theirs until accepted.
    if (result >= 1)
        for (InfoExtern* p : m_parameters)
            p->Swap();
    return result;
}

TCBaseModuleEx::InfoExtern* TCBaseModuleEx::SearchInfoExtern(void* variable)
{
    for (InfoExtern* p : m_parameters)
        if (p->GetVar() == variable)
            return p;
    return nullptr;
}

TCBaseModuleEx::InfoExtern* TCBaseModuleEx::SearchParameterInfo(const char* name)
{
    CString wanted(name);
    InfoExtern::ParameterNameCheck(wanted);
    for (InfoExtern* p : m_parameters)
        if (p->GetName() == wanted)
            return p;
    return nullptr;
}

void TCBaseModuleEx::AcceptParameter(int& v)
{
    if (InfoExtern* p = SearchInfoExtern(&v))
        p->AcceptShadow();
}

void TCBaseModuleEx::AcceptParameter(double& v)
{
    if (InfoExtern* p = SearchInfoExtern(&v))
        p->AcceptShadow();
}

void TCBaseModuleEx::AcceptParameter(CString& v)
{
    if (InfoExtern* p = SearchInfoExtern(&v))
        p->AcceptShadow();
}

void TCBaseModuleEx::AcceptParameter(TCString& v)
{
    if (InfoExtern* p = SearchInfoExtern(&v))
        p->AcceptShadow();
}

void TCBaseModuleEx::AcceptParameters()
{
    for (InfoExtern* p : m_parameters)
        p->AcceptShadow();
}

int TCBaseModuleEx::GetParameter(int& v)
{
    const InfoExtern* p = SearchInfoExtern(&v);
    return p && p->GetType() == DTYPE_INT ? p->ShadowInt() : -1;
}

double TCBaseModuleEx::GetParameter(double& v)
{
    const InfoExtern* p = SearchInfoExtern(&v);
    return p && p->GetType() == DTYPE_DOUBLE ? p->ShadowDouble() : -1.0;
}

CString TCBaseModuleEx::GetParameter(CString& v)
{
    const InfoExtern* p = SearchInfoExtern(&v);
    return p && p->GetType() == DTYPE_CSTRING ? TCString2BinCString(p->ShadowText()) : CString();
}

TCString TCBaseModuleEx::GetParameter(TCString& v)
{
    const InfoExtern* p = SearchInfoExtern(&v);
    return p && p->GetType() == DTYPE_TCSTRING ? p->ShadowText() : TCString();
}

bool TCBaseModuleEx::IsParametersAvailable()
{
    TCPortHelper& h = *m_pPortHelper;
    if (!h.GetExtPar())
        return false;
    unsigned blocks = 0;
    return h.DataAvail(0, nullptr, &blocks, nullptr, nullptr) || h.DataAvail(1, nullptr, &blocks, nullptr, nullptr);
}

bool TCBaseModuleEx::IsParametersConnected() { return m_pPortHelper->IsExtWiredOK(); }

TCExtPar* TCBaseModuleEx::GetExtPar() { return m_pPortHelper->GetExtPar(); }
