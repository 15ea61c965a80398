// TCXML: creating, loading and saving documents, without network or entities.
#include "corekit80/archive/TCXMLImpl.h"

#include <cstring>
#include <memory>
#include <new>

#include <libxml/uri.h>
#include <libxml/xmlsave.h>

#include "corekit80/foundation/TCTextUtil.h"
#include "corekit80/platform/CFile.h"
#include "corekit80/types/TCCodePage.h"

namespace {

// Never the network, never external entities or DTDs, never entity substitution; the
// size and depth limits are libxml2's defaults.
int ParseOptions(const TCXMLDocImpl& doc)
{
    return XML_PARSE_NONET | (doc.preserveWhiteSpace ? 0 : XML_PARSE_NOBLANKS);
}

// Throws std::bad_alloc when the parser ran out of memory.
template <class Read>
xmlDocPtr Parse(TCXMLErrorScope& scope, Read read)
{
    xmlParserCtxtPtr parser = xmlNewParserCtxt();
    if (!parser)
        throw std::bad_alloc();
    scope.SetParser(parser);
    xmlDocPtr doc = read(parser);
    // libxml2 drops what it has no memory for and may still call the document well formed.
    const bool outOfMemory = scope.outOfMemory || parser->errNo == XML_ERR_NO_MEMORY;
    if (doc && (!parser->wellFormed || outOfMemory)) {
        xmlFreeDoc(doc);
        doc = nullptr;
    }
    scope.SetParser(nullptr);
    xmlFreeParserCtxt(parser);
    if (outOfMemory)
        throw std::bad_alloc();
    return doc;
}

// Runs a load of xml. Out of memory it fails and leaves no document (Create makes one).
template <class Load>
bool LoadGuarded(TCXML& xml, Load load)
{
    try {
        return load();
    } catch (const std::bad_alloc&) {
        xml.Release();
        xml.SetUserError("Out of memory");
        return false;
    }
}

// The file behind a local path or a "file:" URL; false when path names anything else.
bool LocalPath(const char* path, TCString& local)
{
    local = path;
    std::unique_ptr<xmlURI, void (*)(xmlURIPtr)> uri(xmlParseURI(path), xmlFreeURI);
    bool ok = !uri || !uri->scheme;
    if (!ok && xmlStrcasecmp(BAD_CAST uri->scheme, BAD_CAST "file") == 0 && uri->path) {
        local = uri->path;
        ok = true;
    }
    return ok;
}

bool HasDeclarationOrMark(const char* text)
{
    static const char* const starts[] = {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", "<?xml ", "<?xml\t", "<?xml\n", "<?xml\r"};
    for (const char* start : starts)
        if (strncmp(text, start, strlen(start)) == 0)
            return true;
    return false;
}

int ReadFile(void* file, char* buffer, int length)
{
    try {
        return int(static_cast<CFile*>(file)->Read(buffer, unsigned(length)));
    } catch (const CFileException&) {
        return -1;
    }
}

} // namespace

TCXML::TCXML() : m_doc(nullptr) { TCXMLInitParser(); }

TCXML::~TCXML() { Release(); }

bool TCXML::Create(bool async)
{
    m_error.Empty();
    if (m_doc && !m_doc->Doc()) {
        m_doc->Release();
        m_doc = nullptr;
    }
    if (!m_doc) {
        xmlDocPtr doc = xmlNewDoc(BAD_CAST "1.0");
        if (!doc) {
            m_error = TCXMLFormat(tcxmlCreate);
            return false;
        }
        m_doc = new TCXMLDocImpl(doc);
    }
    m_doc->async = async;
    return true;
}

bool TCXML::Release()
{
    m_error.Empty();
    if (m_doc) {
        m_doc->Drop();
        m_doc->Release();
        m_doc = nullptr;
    }
    return true;
}

TCXMLNode TCXML::GetDocument() const
{
    if (!m_doc || !m_doc->Doc())
        return TCXMLNode();
    return TCXMLNode(m_doc, reinterpret_cast<xmlNodePtr>(m_doc->Doc()));
}

xmlNodePtr TCXML::NodeOf(const TCXMLNode& node, const char*& why) const
{
    if (!m_doc || !m_doc->Doc()) {
        why = tcxmlInvalidPointer;
        return nullptr;
    }
    if (node.IsNull())
        return reinterpret_cast<xmlNodePtr>(m_doc->Doc());
    if (node.m_doc != m_doc) {
        why = node.m_doc->Doc() ? tcxmlForeignNode : tcxmlStaleNode;
        return nullptr;
    }
    return node.m_node;
}

bool TCXML::Adopt(xmlDocPtr parsed, const TCXMLErrorScope& scope)
{
    xmlDocPtr doc = parsed ? parsed : xmlNewDoc(BAD_CAST "1.0");
    TCXMLDocImpl* next = doc ? new (std::nothrow) TCXMLDocImpl(doc) : nullptr;
    if (!next) {
        if (doc)
            xmlFreeDoc(doc);
        throw std::bad_alloc();
    }
    next->async = m_doc->async;
    next->preserveWhiteSpace = m_doc->preserveWhiteSpace;
    m_doc->Drop();
    m_doc->Release();
    m_doc = next;
    return parsed ? true : GenParseErrMsg(scope);
}

bool TCXML::GenParseErrMsg(const TCXMLErrorScope& scope)
{
    m_error = TCXMLFormat(tcxmlParse, scope.code, (const char*)scope.Description("Unknown error"), scope.line,
                          scope.column, int(scope.filePosition), (const char*)scope.source);
    return false;
}

bool TCXML::Load(const char* path)
{
    return LoadGuarded(*this, [&] { return LoadFile(path); });
}

bool TCXML::LoadFile(const char* path)
{
    m_error.Empty();
    if (!m_doc || !m_doc->Doc()) {
        m_error = TCXMLFormat(tcxmlLoad, tcxmlInvalidPointer);
        return false;
    }
    TCString local;
    if (!LocalPath(path ? path : "", local)) {
        m_error = TCXMLFormat(tcxmlLoad, "Only local files can be loaded");
        return false;
    }
    CFile file;
    CFileException e;
    if (!file.Open(local, CFile::modeRead | CFile::shareDenyWrite, &e)) {
        m_error = TCXMLFormat(tcxmlLoad, (const char*)TCXMLFileError(e));
        return false;
    }
    TCXMLErrorScope scope;
    const int options = ParseOptions(*m_doc);
    xmlDocPtr doc = Parse(scope, [&](xmlParserCtxtPtr parser) {
        return xmlCtxtReadIO(parser, ReadFile, nullptr, &file, local, nullptr, options);
    });
    return Adopt(doc, scope);
}

bool TCXML::LoadXML(const char* text)
{
    return LoadGuarded(*this, [&] { return LoadText(text); });
}

bool TCXML::LoadText(const char* text)
{
    m_error.Empty();
    if (!m_doc || !m_doc->Doc()) {
        m_error = TCXMLFormat(tcxmlLoad, tcxmlInvalidPointer);
        return false;
    }
    // The encoding is settled here; the parser gets UTF-8 and ignores the declaration's.
    // Only a declaration at the very start names an encoding: a processing instruction
    // further on that looks like one must not change how the text is read.
    const char* const source = text ? text : "";
    TCString wide, utf8;
    if (HasDeclarationOrMark(source))
        XMLToUnicode(wide, source);
    else
        XMLToUnicode(wide, TCString("\xEF\xBB\xBF") + source);
    // UTF-16 after a byte-order mark keeps its terminating zero unit in the length.
    const char16_t* units = reinterpret_cast<const char16_t*>(static_cast<const char*>(wide));
    int count = wide.GetLength() / 2;
    if (count > 0 && units[count - 1] == 0)
        --count;
    utf8.ToMultibyte(units, count, TC_CP_UTF8);
    TCXMLErrorScope scope;
    const int options = ParseOptions(*m_doc) | XML_PARSE_IGNORE_ENC;
    xmlDocPtr doc = Parse(scope, [&](xmlParserCtxtPtr parser) {
        return xmlCtxtReadMemory(parser, utf8, utf8.GetLength(), nullptr, "UTF-8", options);
    });
    return Adopt(doc, scope);
}

bool TCXML::PreserveWhiteSpace(bool preserve)
{
    m_error.Empty();
    if (!m_doc || !m_doc->Doc()) {
        m_error = TCXMLFormatWith(tcxmlInvalidPointer, tcxmlWhiteSpace, preserve ? 1 : 0);
        return false;
    }
    m_doc->preserveWhiteSpace = preserve;
    return true;
}

void TCXML::SetUserError(const char* text)
{
    try {
        m_error = text;
    } catch (const std::bad_alloc&) {
        // No room for the text: the error stays unsaid.
        m_error.Empty();
    }
}

namespace {

// libxml2's output callback onto a file; the first failure is kept and ends the writing.
struct FileSink {
    CFile* file;
    TCString failure;
};

int WriteToFile(void* context, const char* buffer, int length)
{
    FileSink* sink = static_cast<FileSink*>(context);
    if (!sink->failure.IsEmpty())
        return -1;
    try {
        sink->file->Write(buffer, unsigned(length));
        return length;
    } catch (const CFileException& e) {
        sink->failure = TCXMLFileError(e);
        return -1;
    }
}

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

} // namespace

bool TCXML::Save(const char* path) const
{
    m_error.Empty();
    if (!m_doc || !m_doc->Doc()) {
        m_error = TCXMLFormatWith(tcxmlInvalidPointer, tcxmlSave);
        return false;
    }
    CFile file;
    CFileException e;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &e)) {
        m_error = TCXMLFormat(tcxmlOpenFile, path ? path : "", (const char*)TCXMLFileError(e));
        return false;
    }
    if (!SaveFormatedDOMDocument(file)) {
        file.Abort();
        return false;
    }
    try {
        file.Close();
    } catch (const CFileException& failure) {
        m_error = TCXMLFormatWith(TCXMLFileError(failure), tcxmlSave);
        return false;
    }
    return true;
}

// The declaration is written here, since libxml2 names standalone only when the
// document says so; the rest is libxml2's indented form.
bool TCXML::SaveFormatedDOMDocument(CFile& stream) const
{
    FileSink sink{&stream, TCString()};
    TCXMLErrorScope scope;
    bool ok = WriteToFile(&sink, kDeclaration, int(sizeof kDeclaration - 1)) > 0;
    xmlSaveCtxtPtr saver =
        ok ? xmlSaveToIO(WriteToFile, nullptr, &sink, "UTF-8", XML_SAVE_FORMAT | XML_SAVE_NO_DECL) : nullptr;
    if (saver) {
        ok = xmlSaveDoc(saver, m_doc->Doc()) >= 0;
        ok = xmlSaveClose(saver) >= 0 && ok;
    }
    ok = ok && saver && sink.failure.IsEmpty();
    if (!ok)
        m_error = TCXMLFormatWith(!sink.failure.IsEmpty() ? (const char*)sink.failure
                                                          : (const char*)scope.Description("Out of memory"),
                                  tcxmlSave);
    return ok;
}
