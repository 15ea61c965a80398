#pragma once

// TCXMLDocImpl and TCXMLNodeListImpl, the document and node lists behind the handles.

#include <cstdarg>
#include <vector>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xmlerror.h>

#include "corekit80/archive/TCXML.h"
#include "corekit80/platform/CFileException.h"
#include "corekit80/types/TCString.h"

// One libxml2 document and everything that refers to it. The TCXML, its node handles
// and node lists each hold a reference, so a handle can tell that its document is gone
// (Doc() is null) instead of following a freed pointer. Every node carries in its
// _private field the number of handles on it, so that nodes taken out of the tree are
// freed at once unless a handle still refers to them; those are kept until the
// document goes.
class TCXMLDocImpl {
public:
    // Takes doc over; its content is UTF-8 and is always written so.
    explicit TCXMLDocImpl(xmlDocPtr doc);
    TCXMLDocImpl(const TCXMLDocImpl&) = delete;
    TCXMLDocImpl& operator=(const TCXMLDocImpl&) = delete;

    void AddRef() { ++m_refs; }
    void Release();
    xmlDocPtr Doc() const { return m_doc; }
    // Frees the document; handles on it become stale.
    void Drop();
    // Takes node out of the tree, freeing it unless handles refer into it.
    void Detach(xmlNodePtr node);

    // Document properties, kept when a load replaces the document.
    bool async = false;
    bool preserveWhiteSpace = false;

    static void AddHandle(xmlNodePtr node) { SetCount(node, Count(node) + 1); }
    static void DropHandle(xmlNodePtr node) { SetCount(node, Count(node) - 1); }

private:
    ~TCXMLDocImpl() { Drop(); }
    // A node's handle count lives in its user pointer, as a number.
    static intptr_t Count(xmlNodePtr node) { return reinterpret_cast<intptr_t>(node->_private); }
    static void SetCount(xmlNodePtr node, intptr_t n) { node->_private = reinterpret_cast<void*>(n); }
    static bool HasHandles(xmlNodePtr node);

    int m_refs = 1;
    xmlDocPtr m_doc;
    std::vector<xmlNodePtr> m_detached;
};

// The nodes found by SelectNodes and the position of the next one to read.
class TCXMLNodeListImpl {
public:
    TCXMLNodeListImpl(TCXMLDocImpl* doc, xmlNodeSetPtr nodes);
    TCXMLNodeListImpl(const TCXMLNodeListImpl&) = delete;
    TCXMLNodeListImpl& operator=(const TCXMLNodeListImpl&) = delete;

    void AddRef() { ++m_refs; }
    void Release()
    {
        if (--m_refs == 0)
            delete this;
    }
    TCXMLNode Next() { return m_next < m_nodes.size() ? m_nodes[m_next++] : TCXMLNode(); }

private:
    ~TCXMLNodeListImpl() = default;

    int m_refs = 1;
    std::vector<TCXMLNode> m_nodes;
    size_t m_next = 0;
};

// While it lives, libxml2's errors on this thread come here instead of going to
// standard error; the first one is kept (the first fatal one when there is one). With a
// parser attached, the byte position and the source line of that error are kept too.
class TCXMLErrorScope {
public:
    TCXMLErrorScope();
    ~TCXMLErrorScope();
    TCXMLErrorScope(const TCXMLErrorScope&) = delete;
    TCXMLErrorScope& operator=(const TCXMLErrorScope&) = delete;

    void SetParser(xmlParserCtxtPtr parser) { m_parser = parser; }
    bool HasError() const { return m_level != XML_ERR_NONE; }
    // The kept error's message, or fallback when there is none.
    TCString Description(const char* fallback) const;

    // libxml2 ran out of memory, or this scope did while keeping an error.
    bool outOfMemory = false;
    int code = 0;
    int line = 0;
    int column = 0;
    long filePosition = 0;
    TCString reason;
    TCString source;

private:
    static void OnStructuredError(void* scope, xmlErrorPtr error);
    static void OnGenericError(void* scope, const char* message, ...);
    void Record(const xmlError& error);

    xmlParserCtxtPtr m_parser = nullptr;
    xmlErrorLevel m_level = XML_ERR_NONE;
    xmlStructuredErrorFunc m_oldStructured;
    void* m_oldStructuredContext;
    xmlGenericErrorFunc m_oldGeneric;
    void* m_oldGenericContext;
};

// The messages of TCXML, by their number in the string table.
enum TCXMLMessage {
    tcxmlCreate = 0,
    tcxmlInitialize = 1,
    tcxmlAsync = 2,
    tcxmlRelease = 3,
    tcxmlWhiteSpace = 4,
    tcxmlOpenFile = 5,
    tcxmlParse = 6,
    tcxmlLoad = 7,
    tcxmlSelectSingleNode = 8,
    tcxmlSelectNodes = 9,
    tcxmlNextNode = 10,
    tcxmlNodeType = 11,
    tcxmlNodeName = 12,
    tcxmlNodeValue = 13,
    tcxmlNodeText = 14,
    tcxmlNodeXML = 15,
    tcxmlCreateElement = 16,
    tcxmlAppendChild = 17,
    tcxmlSetNodeText = 18,
    tcxmlSave = 19,
    tcxmlSetAttribute = 20,
};

// The message (a TCXMLMessage) in the resource language, formatted with the arguments.
TCString TCXMLFormat(int id, ...);
// The message formatted with the arguments, then ": " and the description.
TCString TCXMLFormatWith(const char* description, int id, ...);

// Descriptions of failures that libxml2 does not report itself.
extern const char* const tcxmlInvalidPointer;
extern const char* const tcxmlStaleNode;
extern const char* const tcxmlForeignNode;

// The system's description of a file failure.
TCString TCXMLFileError(const CFileException& e);

// Brings up libxml2 once per process.
void TCXMLInitParser();

// Null when text (len bytes) is UTF-8 made of characters that XML 1.0 allows, else why not.
const char* TCXMLCheckText(const char* text, int len);

// Serializes node (an attribute as name="value") in UTF-8 and appends it to out.
bool TCXMLAppendMarkup(TCString& out, xmlNodePtr node);
