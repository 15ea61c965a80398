// The external parameters' list and the port type it publishes.
#include "corekit80/modules/TCExtPar.h"

#include <cstdlib>

#include "corekit80/foundation/TCHexDouble.h"
#include "corekit80/foundation/TCTranslatedString.h"
#include "corekit80/modules/TCExtParImpl.h"
#include "corekit80/porttypes/TCValidateActualPortType.h"

using Impl = TCExtPar::TCExtParImpl;

TCExtPar::TCExtPar() : m_pImpl(new TCExtParImpl) {}

TCExtPar::~TCExtPar() { delete m_pImpl; }

void Impl::Add(const char* name, int32_t kind, void* var, const char* min, const char* max, int32_t bytes)
{
    PARAM p;
    p.name = name ? name : "";
    p.min = min ? min : "";
    p.max = max ? max : "";
    p.kind = kind;
    p.bytes = bytes;
    p.var = var;
    index.SetAt(p.name, params.Add(p));
}

long long Impl::IntOf(const char* text) { return text ? std::strtoll(text, nullptr, 10) : 0; }

void TCExtPar::AddParam(const char* name, bool& v) { m_pImpl->Add(name, Impl::K_BOOL, &v, nullptr, nullptr); }

void TCExtPar::AddParam(const char* name, int& v, const char* min, const char* max)
{
    m_pImpl->Add(name, Impl::K_INT, &v, min, max);
}

void TCExtPar::AddParam(const char* name, unsigned int& v, const char* min, const char* max)
{
    m_pImpl->Add(name, Impl::K_UNSIGNED, &v, min, max, sizeof v);
}

void TCExtPar::AddParam(const char* name, unsigned long& v, const char* min, const char* max)
{
    m_pImpl->Add(name, Impl::K_UNSIGNED, &v, min, max, sizeof v);
}

void TCExtPar::AddParam(const char* name, double& v, const char* min, const char* max)
{
    m_pImpl->Add(name, Impl::K_DOUBLE, &v, min, max);
}

void TCExtPar::AddParam(const char* name, TCString& v, const char* min, const char* max)
{
    m_pImpl->Add(name, Impl::K_TCSTRING, &v, min, max);
}

void TCExtPar::AddParam(const char* name, CString& v, const char* min, const char* max)
{
    m_pImpl->Add(name, Impl::K_CSTRING, &v, min, max);
}

void TCExtPar::AddParam(const char* name, TCTranslatedString& v)
{
    m_pImpl->Add(name, Impl::K_TRANSLATED, &v, nullptr, nullptr);
}

void TCExtPar::ClearParam()
{
    m_pImpl->params.RemoveAll();
    m_pImpl->index.RemoveAll();
}

int TCExtPar::GetExtParamCount() const { return m_pImpl->params.GetSize(); }

const char* Impl::BaseName(int32_t kind)
{
    switch (kind) {
    case K_DOUBLE:
        return "DOUBLE";
    case K_TCSTRING:
    case K_TRANSLATED:
    case K_CSTRING:
        return "UBYTE[]";
    default:
        return "SWORD";
    }
}

bool TCExtPar::GetExtParamAt(int i, TCString& name, TCString& type) const
{
    if (i < 0 || i >= m_pImpl->params.GetSize())
        return false;
    name = m_pImpl->params[i].name;
    type = Impl::BaseName(m_pImpl->params[i].kind);
    return true;
}

void TCExtPar::SetValidateFkt(int (*fn)(long), long arg)
{
    m_pImpl->validate = fn;
    m_pImpl->validateArg = arg;
}

namespace {

// The bounds as the host reads them: ":min", ":min,max" for two neighbouring integers,
// ":min..max", or the two texts joined when they form no interval.
TCString RangeText(const Impl::PARAM& p)
{
    if (p.kind == Impl::K_BOOL)
        return ":0,1";
    if (p.kind == Impl::K_TRANSLATED)
        return TCString();
    const bool ints = p.kind != Impl::K_DOUBLE;
    if (ints && p.min.IsEmpty())
        return TCString();
    if (p.min == p.max)
        return ":" + p.min;
    const long long lo = Impl::IntOf(p.min), hi = Impl::IntOf(p.max);
    const bool above = ints ? hi > lo : StringToDouble(p.max) > StringToDouble(p.min);
    const char last = p.min.GetAt(p.min.GetLength() - 1);
    if (above && last != ',' && last != '.')
        return TCString::FormatS(ints && hi == lo + 1 ? ":%s,%s" : ":%s..%s", static_cast<const char*>(p.min),
                                 static_cast<const char*>(p.max));
    return ":" + p.min + p.max;
}

TCString ValueText(const Impl::PARAM& p)
{
    TCString text;
    switch (p.kind) {
    case Impl::K_INT:
        return TCString::FormatS("%d", *static_cast<const int*>(p.var));
    case Impl::K_BOOL:
        return TCString::FormatS("%d", int(*static_cast<const bool*>(p.var)));
    case Impl::K_UNSIGNED:
        return TCString::FormatS("%llu", p.bytes == sizeof(unsigned long)
                                             ? (unsigned long long)(*static_cast<const unsigned long*>(p.var))
                                             : *static_cast<const unsigned*>(p.var));
    case Impl::K_DOUBLE:
        return TCString::FormatS("%g", *static_cast<const double*>(p.var));
    case Impl::K_TCSTRING:
        text = *static_cast<const TCString*>(p.var);
        break;
    case Impl::K_TRANSLATED:
        text = static_cast<const TCTranslatedString*>(p.var)->Translate();
        break;
    case Impl::K_CSTRING:
        text = CString2BinTCString(*static_cast<const CString*>(p.var));
        break;
    }
    TCValidationQuote(text);
    return text;
}

// The parameter's declarator: name, range text, value text.
TCString Declarator(const Impl::PARAM& p)
{
    return TCString::FormatS("%s%s(%s)", static_cast<const char*>(p.name),
                             static_cast<const char*>(RangeText(p)), static_cast<const char*>(ValueText(p)));
}

}  // namespace

void TCExtPar::ComputeValidationData(bool selected, TCValidateActualPortType& validation)
{
    validation.ClearAll();
    if (!selected) {
        validation.InsertPortToken("NULL", "not_selected");
        return;
    }
    for (const Impl::PARAM& p : m_pImpl->params)
        validation.InsertPortToken(Impl::BaseName(p.kind), Declarator(p));
}
