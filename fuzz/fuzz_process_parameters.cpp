// Parameter texts parsed, edited and built: the recorded positions stay on the text and
// the memory held stays within a fixed multiple of it. The first byte picks the syntax;
// the text runs to the first zero byte; the rest is the edits, each an operation byte, an
// index byte and, where the operation takes strings, texts ended by zero bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "corekit80/archive/TCProcessParametersImpl.h"

namespace {

using PP = TCProcessParameters;
using Impl = PP::TCProcessParamsImpl;

PP Make(uint8_t syntax)
{
    switch (syntax % 4) {
    case 0: return PP();
    case 1: return PP(syntax & 4, false, "-/", " ", " =", nullptr);
    case 2: {
        PP p(true, syntax & 4, nullptr, "\n;", ":=", "#");
        p.AddCommentStart("//");
        return p;
    }
    default: {
        PP p;
        p.UnQuote(true);
        p.AddParamSplitStr(" = ");
        return p;
    }
    }
}

// One record per parameter (at least two bytes of text each) in a vector that may hold
// twice its size, plus the texts: about 75 bytes per byte of text at worst; a section
// ("[a]", three bytes) costs less.
constexpr size_t heldPerByte = 80;

size_t HeldBytes(const Impl& m)
{
    size_t n = size_t(m.text.GetAllocLength() + m.errorText.GetAllocLength()) +
               m.params.capacity() * sizeof(Impl::Param) + m.sections.capacity() * sizeof(Impl::Section);
    for (const Impl::Param& p : m.params)
        n += size_t(p.name.GetAllocLength() + p.value.GetAllocLength());
    for (const Impl::Section& s : m.sections)
        n += size_t(s.name.GetAllocLength());
    // The section lookup: a node per name (key, index, link, hash) and its buckets.
    n += m.firstSection.bucket_count() * sizeof(void*);
    for (const auto& entry : m.firstSection)
        n += sizeof(entry) + 2 * sizeof(void*) + entry.first.capacity();
    return n;
}

std::string Take(const uint8_t*& p, const uint8_t* end)
{
    const uint8_t* stop = static_cast<const uint8_t*>(std::memchr(p, 0, size_t(end - p)));
    std::string s(p, stop ? stop : end);
    p = stop ? stop + 1 : end;
    return s;
}

void Check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t* p = data + 1;
    const uint8_t* end = data + size;
    const std::string text = Take(p, end);
    PP params = Make(data[0]);
    const Impl& m = *Impl::Of(params);
    const int n = params.ParseParamString(text.c_str());
    Check((n < 0) == !m.errorText.IsEmpty() && (n < 0 || n == params.GetParamCount()));
    Check(params.CheckConsistency() && text == params.BuildParamString());
    Check(HeldBytes(m) <= heldPerByte * text.size() + 1024);
    for (int edits = 0; end - p >= 2 && edits < 16; ++edits) {
        const uint8_t op = *p++;
        const int i = int(*p++) - 1;
        switch (op % 8) {
        case 0: params.SetParamValInt(i, op * 1000 - 77777); break;
        case 1: params.SetParamValDbl(i, op / 7.0 - 3, StringFormat(op % 4), op % 12); break;
        case 2: params.SetParamValStr(i, Take(p, end).c_str()); break;
        case 3: params.ClearParamVal(i); break;
        case 4: {
            const std::string name = Take(p, end);
            const std::string section = Take(p, end);
            params.InsertParameter(name.c_str(), op & 8 ? nullptr : section.c_str(), op & 16);
            break;
        }
        case 5: params.DeleteParameter(i); break;
        case 6: params.DeleteSection(Take(p, end).c_str()); break;
        default: params.FindParameterNoCase(Take(p, end).c_str(), op & 8 ? nullptr : ""); break;
        }
        Check(params.CheckConsistency() && m.text.GetLength() == int(std::strlen(params.BuildParamString())));
    }
    PP again = Make(data[0]);
    again.ParseParamString(params.BuildParamString());
    Check(again.CheckConsistency());
    return 0;
}
