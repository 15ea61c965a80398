// Reading external parameters from a MultiType block: bounds, texts, the module's consent.
#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

#include "corekit80/foundation/TCHexDouble.h"
#include "corekit80/foundation/TCTranslatedString.h"
#include "corekit80/modules/TCExtPar.h"
#include "corekit80/modules/TCExtParImpl.h"
#include "corekit80/modules/TCPortHelper.h"

using Impl = TCExtPar::TCExtParImpl;

namespace {

struct IntRange {
    long long lo, hi;
};

// The bounds as an interval inside [least, most], taken in either order; an empty bound is
// the extreme on its side.
IntRange Bounds(const Impl::PARAM& p, long long least, long long most)
{
    const long long a = p.min.IsEmpty() ? least : std::clamp(Impl::IntOf(p.min), least, most);
    const long long b = p.max.IsEmpty() ? most : std::clamp(Impl::IntOf(p.max), least, most);
    return {std::min(a, b), std::max(a, b)};
}

void StoreInt(Impl::PARAM& p, int v)
{
    switch (p.kind) {
    case Impl::K_BOOL:
        *static_cast<bool*>(p.var) = v != 0;
        break;
    case Impl::K_INT: {
        const IntRange r = Bounds(p, INT_MIN, INT_MAX);
        *static_cast<int*>(p.var) = int(std::clamp<long long>(v, r.lo, r.hi));
        break;
    }
    default: {
        // An unsigned parameter takes the integer's 32 bits, so its whole range can arrive;
        // an unsigned long keeps to the same range.
        const IntRange r = Bounds(p, 0, UINT32_MAX);
        const long long u = std::clamp<long long>(uint32_t(v), r.lo, r.hi);
        if (p.bytes == sizeof(unsigned long))
            *static_cast<unsigned long*>(p.var) = (unsigned long)(u);
        else
            *static_cast<unsigned*>(p.var) = unsigned(u);
        break;
    }
    }
}

void StoreDouble(const Impl::PARAM& p, double v)
{
    // NaN lies in no interval: the variable keeps its value.
    if (std::isnan(v))
        return;
    double a = p.min.IsEmpty() ? -DBL_MAX : StringToDouble(p.min);
    double b = p.max.IsEmpty() ? DBL_MAX : StringToDouble(p.max);
    if (b < a)
        std::swap(a, b);
    *static_cast<double*>(p.var) = v < a ? a : v > b ? b : v;
}

// The text padded with blanks or cut to the length bounds, then stored; -2 for a text with
// '}', which would end the parameter's declarator early in the published port type.
int StoreText(TCPortHelper& h, unsigned input, const Impl::PARAM& p, TCString& v)
{
    const IntRange r = Bounds(p, 0, UINT32_MAX);
    const long long len = v.GetLength();
    if (len < r.lo)
        v += TCString(' ', int(std::min<long long>(r.lo, INT_MAX) - len));
    else if (len > r.hi)
        v = v.Left(int(r.hi));
    if (std::memchr(static_cast<const char*>(v), '}', size_t(v.GetLength()))) {
        const TCString text = TCString::FormatS(
            "The text for the external parameter '%s' is refused: it contains '}', which the port type of "
            "the parameters cannot hold",
            static_cast<const char*>(p.name));
        h.WriteError(text, false);
        return h.SetErrMsg(-2, PT_INPUT, input, -1, text, p.name);
    }
    switch (p.kind) {
    case Impl::K_TCSTRING:
        *static_cast<TCString*>(p.var) = static_cast<TCString&&>(v);
        break;
    case Impl::K_TRANSLATED:
        *static_cast<TCTranslatedString*>(p.var) = v;
        break;
    default:
        *static_cast<CString*>(p.var) = TCString2BinCString(v);
        break;
    }
    return 1;
}

}  // namespace

void Impl::Save(PARAM& p)
{
    switch (p.kind) {
    case K_INT:
        p.savedInt = *static_cast<const int*>(p.var);
        break;
    case K_BOOL:
        p.savedInt = *static_cast<const bool*>(p.var);
        break;
    case K_UNSIGNED:
        p.savedInt = p.bytes == sizeof(unsigned long) ? (long long)(*static_cast<const unsigned long*>(p.var))
                                                      : *static_cast<const unsigned*>(p.var);
        break;
    case K_DOUBLE:
        p.savedDbl = *static_cast<const double*>(p.var);
        break;
    case K_TCSTRING:
        p.savedText = *static_cast<const TCString*>(p.var);
        break;
    case K_TRANSLATED:
        p.savedText = static_cast<const TCTranslatedString*>(p.var)->GetSource();
        break;
    case K_CSTRING:
        p.savedText = CString2BinTCString(*static_cast<const CString*>(p.var));
        break;
    }
}

void Impl::Restore(const PARAM& p)
{
    switch (p.kind) {
    case K_INT:
        *static_cast<int*>(p.var) = int(p.savedInt);
        break;
    case K_BOOL:
        *static_cast<bool*>(p.var) = p.savedInt != 0;
        break;
    case K_UNSIGNED:
        if (p.bytes == sizeof(unsigned long))
            *static_cast<unsigned long*>(p.var) = (unsigned long)(p.savedInt);
        else
            *static_cast<unsigned*>(p.var) = unsigned(p.savedInt);
        break;
    case K_DOUBLE:
        *static_cast<double*>(p.var) = p.savedDbl;
        break;
    case K_TCSTRING:
        *static_cast<TCString*>(p.var) = p.savedText;
        break;
    case K_TRANSLATED:
        *static_cast<TCTranslatedString*>(p.var) = p.savedText;
        break;
    case K_CSTRING:
        *static_cast<CString*>(p.var) = TCString2BinCString(p.savedText);
        break;
    }
}

int Impl::Read(TCPortHelper& h, unsigned input, int index, PARAM& p)
{
    int r;
    switch (p.kind) {
    case K_INT:
    case K_UNSIGNED:
    case K_BOOL: {
        int v = 0;
        if ((r = h.ReadMultitypeInt(input, index, v)) == 1)
            StoreInt(p, v);
        return r;
    }
    case K_DOUBLE: {
        double v = 0;
        if ((r = h.ReadMultitypeDbl(input, index, v)) == 1)
            StoreDouble(p, v);
        return r;
    }
    default: {
        TCString v;
        r = h.ReadMultitypeString(input, index, v);
        return r == 1 ? StoreText(h, input, p, v) : r;
    }
    }
}

int TCExtPar::ReadParams(TCPortHelper* helper, unsigned input)
{
    if (!helper)
        return 0;
    const int started = helper->StartReadMultitype(input);
    if (started < 1)
        return started;
    Impl& d = *m_pImpl;
    const int n = std::min(helper->GetMultitypeInfo(input, nullptr), d.params.GetSize());
    try {
        for (int i = 0; i < n; ++i) {
            Impl::Save(d.params[i]);
            const int r = Impl::Read(*helper, input, i, d.params[i]);
            if (r < 0)
                return r;
        }
        if (!d.validate)
            return n;
        const int verdict = d.validate(d.validateArg);
        if (verdict > 0)
            return n;
        // Bounded by the list as it is now, should the callback have shortened it.
        for (int i = 0; i < n && i < d.params.GetSize(); ++i)
            Impl::Restore(d.params[i]);
        return verdict < 0 ? helper->SetErrMsg(verdict, PT_INPUT, input, -1) : verdict;
    } catch (const std::bad_alloc&) {
        return helper->SetErrMsg(-14, PT_INPUT, input, -1);
    }
}
