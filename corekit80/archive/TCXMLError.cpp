// TCXML's messages and the scope that collects libxml2's errors.
#include "corekit80/archive/TCXMLImpl.h"

#include <algorithm>
#include <mutex>
#include <new>

#include "corekit80/foundation/TCFormatError.h"
#include "corekit80/foundation/TCStringResource.h"

namespace {

// The reason and the source line of a parse error (6) are passed as UTF-8 text.
const _TC_StrResource kMessages[] = {
    {0, "The XML document cannot be created",
     "Das XML Dokument kann nicht erzeugt werden"},
    {1, "Microsoft XML engine could not be initialized: '%s'.\nSuppose MSXML3 is not installed. Is is part of Microsoft Internet Explorer 5, but resides on the FLOWDECK installation CD too.",
     "Microsoft XML engine konnte nicht initialisiert werden: '%s'.\nVermutlich ist MSXML3 nicht installiert. Es ist Bestandteil von Microsoft Internet Explorer 5, befindet sich aber auch auf der Installations-CD von FLOWDECK."},
    {2, "Cannot set asynchronous loading to %d",
     "Asynchrones Laden kann nicht auf %d gesetzt werden"},
    {3, "The XML document cannot be released: '%s'",
     "Das XML Dokument kann nicht freigegeben werden: '%s'"},
    {4, "Cannot set preserving whitespace to %d",
     "Leerzeichen beibehalten kann nicht auf %d gesetzt werden"},
    {5, "Cannot open file %s for writing: %s",
     "Die Datei '%s' kann nicht zum Schreiben geöffnet werden: %s"},
    {6, "The XML source could not be parsed: %d, '%s' at line %d/%d (file position %d, source '%s')",
     "Die XML-Quelle konnte nicht interpretiert werden: %d, '%s' bei Zeile %d/%d (Datei Position %d, Quelle '%s')"},
    {7, "The XML source could not be loaded: '%s'",
     "Der XML-Quelle konnte nicht geladen werden: '%s'"},
    {8, "Cannot select single node '%s'",
     "Selektieren des Einzeleintrags '%s' fehlgeschlagen"},
    {9, "Cannot select nodes '%s'",
     "Selektieren der Mehrfacheinträge '%s' fehlgeschlagen"},
    {10, "Cannot select next node: '%s'",
     "Selektieren des nächsten Eintrags fehlgeschlagen: '%s'"},
    {11, "Cannot read node type",
     "Typ den Eintrags kann nicht gelesen werden"},
    {12, "Cannot read node name",
     "Name den Eintrags kann nicht gelesen werden"},
    {13, "Cannot read node value",
     "Wert den Eintrags kann nicht gelesen werden"},
    {14, "Cannot read node text",
     "Text den Eintrags kann nicht gelesen werden"},
    {15, "Cannot read node XML",
     "XML den Eintrags kann nicht gelesen werden"},
    {16, "Cannot create element '%s'",
     "Erzeugen des Elements '%s' fehlgeschlagen"},
    {20, "Cannot set attribute '%s' with value '%s'",
     "Setzen des Attributs '%s' mit dem Wert '%s' fehlgeschlagen"},
    {17, "Cannot append created node '%s' as child",
     "Anfügen des Eintrags '%s' als Child fehlgeschlagen"},
    {18, "Cannot set node text",
     "Text den Eintrags kann nicht gesetzt werden"},
    {19, "The XML document could not be saved",
     "Das XML Dokument konnte nicht gespeichert werden"},
};
const int kMessageCount = int(sizeof kMessages / sizeof kMessages[0]);

// Bytes of the source line shown on either side of an error.
const int kSourceReach = 200;

TCString FormatMessageV(int id, va_list args)
{
    return TCString::FormatVS(LoadStrRes(id, kMessageCount, kMessages), args);
}

} // namespace

const char* const tcxmlInvalidPointer = "Invalid pointer";
const char* const tcxmlStaleNode = "The node belongs to a document that no longer exists";
const char* const tcxmlForeignNode = "The node belongs to another document";

TCString TCXMLFormat(int id, ...)
{
    va_list args;
    va_start(args, id);
    TCString s = FormatMessageV(id, args);
    va_end(args);
    return s;
}

TCString TCXMLFormatWith(const char* description, int id, ...)
{
    va_list args;
    va_start(args, id);
    TCString s = FormatMessageV(id, args);
    va_end(args);
    return s + ": " + description;
}

TCString TCXMLFileError(const CFileException& e)
{
    return e.m_lOsError > 0 ? TCFormatError::GetLastErrorText((unsigned long)e.m_lOsError) : TCString(e.what());
}

void TCXMLInitParser()
{
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

TCXMLErrorScope::TCXMLErrorScope()
    : m_oldStructured(xmlStructuredError),
      m_oldStructuredContext(xmlStructuredErrorContext),
      m_oldGeneric(xmlGenericError),
      m_oldGenericContext(xmlGenericErrorContext)
{
    xmlSetStructuredErrorFunc(this, OnStructuredError);
    xmlSetGenericErrorFunc(this, OnGenericError);
}

TCXMLErrorScope::~TCXMLErrorScope()
{
    xmlSetStructuredErrorFunc(m_oldStructuredContext, m_oldStructured);
    xmlSetGenericErrorFunc(m_oldGenericContext, m_oldGeneric);
}

void TCXMLErrorScope::OnStructuredError(void* scope, xmlErrorPtr error)
{
    if (!scope || !error)
        return;
    TCXMLErrorScope* s = static_cast<TCXMLErrorScope*>(scope);
    // Nothing may unwind through the parser: a lack of memory is noted instead.
    if (error->code == XML_ERR_NO_MEMORY)
        s->outOfMemory = true;
    try {
        s->Record(*error);
    } catch (const std::bad_alloc&) {
        s->outOfMemory = true;
    }
}

// Unstructured messages carry no code or level; they are dropped, and the operation
// fails through its own result.
void TCXMLErrorScope::OnGenericError(void*, const char*, ...) {}

void TCXMLErrorScope::Record(const xmlError& error)
{
    if (error.level < XML_ERR_ERROR || (HasError() && (m_level == XML_ERR_FATAL || error.level != XML_ERR_FATAL)))
        return;
    m_level = error.level;
    code = error.code;
    line = error.line;
    column = error.int2;
    reason = error.message ? error.message : "";
    reason.TrimRight();
    source.Empty();
    filePosition = 0;
    if (!m_parser || m_parser->inputNr < 1)
        return;
    // The document's own input, also when the error arose inside an entity.
    const xmlParserInputPtr input = m_parser->inputTab[0];
    if (!input || !input->base || !input->cur)
        return;
    const xmlChar* const base = input->base;
    const long end = long((input->end ? input->end : input->cur) - base);
    const long at = std::min(long(input->cur - base), end);
    filePosition = long(input->consumed) + at;
    // The line around the error, cut at most kSourceReach bytes either side, at characters.
    auto within = [&](long i) { return base[i] != '\n' && base[i] != '\r' && base[i] != 0; };
    auto continuation = [&](long i) { return (base[i] & 0xC0) == 0x80; };
    long from = at, to = at;
    while (from > 0 && at - from < kSourceReach && within(from - 1))
        --from;
    while (from < at && continuation(from))
        ++from;
    while (to < end && to - at < kSourceReach && within(to))
        ++to;
    while (to < end && to > at && continuation(to))
        --to;
    source = TCString(reinterpret_cast<const char*>(base + from), int(to - from));
}

TCString TCXMLErrorScope::Description(const char* fallback) const
{
    return HasError() && !reason.IsEmpty() ? reason : TCString(fallback);
}

const char* TCXMLCheckText(const char* text, int len)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* end = p + len;
    while (p < end) {
        unsigned c = *p++;
        int more = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (more < 0 || end - p < more)
            return "The text is not valid UTF-8";
        const unsigned least[] = {0, 0x80, 0x800, 0x10000};
        c &= 0x7Fu >> more;
        for (int k = 0; k < more; ++k, ++p) {
            if ((*p & 0xC0) != 0x80)
                return "The text is not valid UTF-8";
            c = c << 6 | (*p & 0x3Fu);
        }
        if (c < least[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return "The text is not valid UTF-8";
        if ((c < 0x20 && c != 0x9 && c != 0xA && c != 0xD) || c == 0xFFFE || c == 0xFFFF)
            return "The text contains a character that XML does not allow";
    }
    return nullptr;
}
