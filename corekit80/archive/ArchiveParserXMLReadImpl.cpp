// The XML form of archive trees read with libxml2's SAX parser.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include "corekit80/archive/ArchiveParserImpl.h"
#include "corekit80/foundation/TCHexDouble.h"
#include "corekit80/foundation/TCTextUtil.h"
#include "corekit80/types/TCCLocaleImpl.h"

using Data = ArchiveParser::ArchiveData;
using Buf = Data::Buf;

namespace {

// The character that the reference at p ("&...;", n bytes) stands for, or -1: the five
// predefined entities and character references only.
long ReferencedChar(const char* p, size_t n)
{
    static const struct { const char* name; char c; } predefined[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    for (const auto& e : predefined)
        if (n == strlen(e.name) && memcmp(p, e.name, n) == 0)
            return e.c;
    if (n < 4 || p[1] != '#')
        return -1;
    bool hex = p[2] == 'x';
    const char* digits = p + (hex ? 3 : 2);
    unsigned long c = 0;
    for (const char* q = digits; q < p + n - 1; ++q) {
        int d = *q >= '0' && *q <= '9' ? *q - '0'
              : hex && (*q | 0x20) >= 'a' && (*q | 0x20) <= 'f' ? (*q | 0x20) - 'a' + 10 : -1;
        if (d < 0 || (c = c * (hex ? 16 : 10) + unsigned(d)) > 0x10FFFF)
            return -1;
    }
    bool surrogate = c >= 0xD800 && c <= 0xDFFF;
    return digits == p + n - 1 || c == 0 || surrogate ? -1 : long(c);
}

} // namespace

// An attribute value as the parser hands it over. Entity substitution stays off, so that
// no document can pull in text from elsewhere; without it libxml2 leaves references in
// attribute values (an '&' always comes back as "&#38;"). They are decoded here in one
// pass, so that a decoded '&' never starts another reference. Entities a document
// declares never reach here: the parser is given no declarations, so using one fails.
std::string DecodeAttributeValue(const char* p, size_t n)
{
    std::string out;
    out.reserve(n);
    for (size_t i = 0; i < n;) {
        const void* amp = memchr(p + i, '&', n - i);
        size_t next = amp ? size_t(static_cast<const char*>(amp) - p) : n;
        out.append(p + i, next - i);
        if ((i = next) == n)
            break;
        const void* semicolon = memchr(p + i, ';', std::min(n - i, size_t(12)));
        size_t length = semicolon ? size_t(static_cast<const char*>(semicolon) - (p + i)) + 1 : 0;
        long c = length ? ReferencedChar(p + i, length) : -1;
        if (c < 0) {
            out += '&';
            ++i;
        } else {
            xmlChar utf8[4];
            out.append(reinterpret_cast<const char*>(utf8), size_t(xmlCopyCharMultiByte(utf8, int(c))));
            i += length;
        }
    }
    return out;
}

// SAX state of an XML read: the entry being read, the section being filled and the
// sections around it. Character data is gathered per element, since it arrives in pieces.
class ArchiveParser::XMLContent {
public:
    explicit XMLContent(Data* root) : m_root(root) {}
    ~XMLContent()
    {
        if (m_entry)
            m_root->pool->Free(m_entry);
    }

    void StartElement(const char* name, int nAttributes, const xmlChar** attributes);
    void EndElement(const char* name);
    void Characters(const char* p, int n)
    {
        if (m_entry)
            m_text.append(p, size_t(n));
    }
    void Fail()
    {
        m_failed = true;
        xmlStopParser(m_context);
    }

    xmlParserCtxtPtr m_context = nullptr;
    bool m_failed = false;
    // Exceptions must not cross the parser's C frames: a failed allocation stops the
    // parse here and is thrown again once the parser is freed.
    bool m_outOfMemory = false;

private:
    static int TypeOf(const char* name);
    void FinishValue();

    Data* m_root;
    Data* m_section = nullptr;
    std::vector<Data*> m_stack;
    Buf* m_entry = nullptr;
    std::string m_text;
    int m_depth = 0;
};

int ArchiveParser::XMLContent::TypeOf(const char* name)
{
    static const char* const names[] = {"integer", "double", "string", "binary", "subsection"};
    for (int t = 0; t < 5; ++t)
        if (strcmp(name, names[t]) == 0)
            return t + 1;
    return 0;
}

void ArchiveParser::XMLContent::StartElement(const char* name, int nAttributes,
                                              const xmlChar** attributes)
{
    int type = TypeOf(name);
    if (type == 0 || m_entry || (m_depth == 0 && (type != typeSubSection || m_section)))
        return Fail();
    if (m_depth == 0) {
        m_section = m_root;
        m_depth = 1;
        return;
    }
    Buf* e = m_section->pool->Alloc(0, type);
    // Back to the pool unless it joins the tree or becomes the entry being read.
    struct Claimed {
        Data* section;
        Buf* e;
        ~Claimed()
        {
            if (e)
                section->pool->Free(e);
        }
    } claimed{m_section, e};
    std::string version;
    bool hasVersion = false;
    for (int k = 0; k < nAttributes; ++k, attributes += 5) {
        const char* attr = reinterpret_cast<const char*>(attributes[0]);
        std::string value = DecodeAttributeValue(reinterpret_cast<const char*>(attributes[3]),
                                                 size_t(attributes[4] - attributes[3]));
        if (strncmp(attr, "id", 2) == 0) {
            long id = strtol(value.c_str(), nullptr, 10);
            e->id = uint16_t(id < 0 ? 0 : id > 0xFFFF ? 0xFFFF : id);
        } else if (strncmp(attr, "description", 11) == 0) {
            free(e->description);
            if (!(e->description = strdup(value.c_str())))
                throw std::bad_alloc();
        } else if (strncmp(attr, "version", 7) == 0 && type == typeSubSection) {
            version = value;
            hasVersion = true;
        } else if (strncmp(attr, "hex", 3) == 0 && type == typeDouble) {
            double d = HexString2Double(value.c_str());
            if (std::isfinite(d)) {
                e->value.d = d;
                e->flags |= Data::flagValueSet;
            }
        }
    }
    if (type != typeSubSection) {
        m_entry = e;
        claimed.e = nullptr;
        m_text.clear();
        return;
    }
    if (m_depth > Data::maxDepth)
        return Fail();
    e->child = m_section->NewChild(e->description ? e->description : "");
    Data* child = Data::Of(e->child);
    if (m_section->loading && hasVersion && !version.empty()) {
        child->ownVersion = 1;
        child->archiveVersion = ArchiveVersionFromText(version.c_str());
    }
    m_section->Append(e);
    claimed.e = nullptr;
    m_stack.push_back(m_section);
    m_section = child;
    ++m_depth;
}

void ArchiveParser::XMLContent::FinishValue()
{
    // The entry stays m_entry (freed with the content) until it joins the section.
    Buf* e = m_entry;
    switch (e->Type()) {
    case typeInteger:
        if (!m_text.empty()) {
            long long v = strtoll(m_text.c_str(), nullptr, 10);
            e->value.i = int32_t(v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : v);
        }
        break;
    case typeDouble:
        if (!(e->flags & Data::flagValueSet) && !m_text.empty())
            e->value.d = strtod_l(m_text.c_str(), nullptr, TCCLocale());
        e->flags &= uint8_t(~Data::flagValueSet);
        break;
    case typeString: {
        TCString s;
        UnQuoteEscapeChar(s, TCString(m_text.data(), int(m_text.size())));
        e->bytes = static_cast<char*>(malloc(size_t(s.GetLength()) + 1));
        if (!e->bytes)
            throw std::bad_alloc();
        memcpy(e->bytes, (const char*)s, size_t(s.GetLength()) + 1);
        e->length = uint32_t(s.GetLength());
        break;
    }
    }
    m_section->Append(e);
    m_entry = nullptr;
}

void ArchiveParser::XMLContent::EndElement(const char* name)
{
    int type = TypeOf(name);
    if (type == 0)
        return Fail();
    if (type != typeSubSection) {
        if (m_entry)
            FinishValue();
        return;
    }
    --m_depth;
    if (m_stack.empty()) {
        m_section = nullptr;
    } else {
        m_section = m_stack.back();
        m_stack.pop_back();
    }
}

namespace {

using Content = ArchiveParser::XMLContent;

// Runs a callback's work; a failed allocation stops the parse instead of unwinding the parser.
template <class Work>
void Guarded(void* ctx, Work work)
{
    Content* content = static_cast<Content*>(ctx);
    try {
        work(*content);
    } catch (const std::bad_alloc&) {
        content->m_outOfMemory = true;
        content->Fail();
    }
}

void OnStart(void* ctx, const xmlChar* localname, const xmlChar*, const xmlChar*, int, const xmlChar**,
             int nAttributes, int, const xmlChar** attributes)
{
    Guarded(ctx, [&](Content& c) {
        c.StartElement(reinterpret_cast<const char*>(localname), nAttributes, attributes);
    });
}

void OnEnd(void* ctx, const xmlChar* localname, const xmlChar*, const xmlChar*)
{
    Guarded(ctx, [&](Content& c) { c.EndElement(reinterpret_cast<const char*>(localname)); });
}

void OnCharacters(void* ctx, const xmlChar* p, int n)
{
    Guarded(ctx, [&](Content& c) { c.Characters(reinterpret_cast<const char*>(p), n); });
}

// Errors end the parse through its result; nothing goes to standard error.
void OnError(void*, xmlErrorPtr) {}

} // namespace

bool Data::ReadXML(CArchive& ar)
{
    if (!ar.IsLoading())
        return false;
    xmlSAXHandler sax;
    memset(&sax, 0, sizeof sax);
    sax.initialized = XML_SAX2_MAGIC;
    sax.startElementNs = OnStart;
    sax.endElementNs = OnEnd;
    sax.characters = OnCharacters;
    sax.cdataBlock = OnCharacters;
    sax.serror = OnError;

    XMLContent content(this);
    char chunk[65536];
    unsigned n = ar.Read(chunk, sizeof chunk);
    xmlParserCtxtPtr ctxt = xmlCreatePushParserCtxt(&sax, &content, chunk, int(n < 4 ? n : 4), nullptr);
    if (!ctxt)
        return false;
    content.m_context = ctxt;
    xmlCtxtUseOptions(ctxt, XML_PARSE_NONET);
    int rc = n > 4 ? xmlParseChunk(ctxt, chunk + 4, int(n - 4), 0) : 0;
    while (rc == 0 && !content.m_failed && n == sizeof chunk) {
        n = ar.Read(chunk, sizeof chunk);
        rc = xmlParseChunk(ctxt, chunk, int(n), 0);
    }
    if (rc == 0 && !content.m_failed)
        rc = xmlParseChunk(ctxt, nullptr, 0, 1);
    bool ok = rc == 0 && !content.m_failed && ctxt->wellFormed;
    // A document type declaration makes the parser build a document of its own.
    if (ctxt->myDoc)
        xmlFreeDoc(ctxt->myDoc);
    xmlFreeParserCtxt(ctxt);
    if (content.m_outOfMemory)
        throw std::bad_alloc();
    return ok;
}
