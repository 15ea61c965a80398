#pragma once

// TCXML, an XML document on libxml2, with TCXMLNode handles and node lists.

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

class CFile;
class TCXMLDocImpl;
class TCXMLErrorScope;
class TCXMLNodeListImpl;
struct _xmlDoc;
struct _xmlNode;

// A node of the document of a TCXML: an element, attribute, text, comment ... or the
// document itself. The handle keeps what it refers to in memory: it stays usable while
// its document lives, also when the node has been taken out of the tree (by SetNodeText
// on its parent). Once the document is released or replaced (Release, Load, LoadXML),
// the handle is stale and every operation given it fails. A default handle is null,
// which the operations of TCXML read as the document.
class TC_EXPORT TCXMLNode {
public:
    TCXMLNode() noexcept : m_doc(nullptr), m_node(nullptr) {}
    TCXMLNode(const TCXMLNode& other) noexcept;
    TCXMLNode(TCXMLNode&& other) noexcept;
    ~TCXMLNode();
    TCXMLNode& operator=(const TCXMLNode& other) noexcept;
    TCXMLNode& operator=(TCXMLNode&& other) noexcept;

    bool IsNull() const { return m_node == nullptr; }
    explicit operator bool() const { return m_node != nullptr; }
    // Whether both handles refer to the same node of the same document.
    bool operator==(const TCXMLNode& other) const { return m_doc == other.m_doc && m_node == other.m_node; }
    bool operator!=(const TCXMLNode& other) const { return !(*this == other); }

private:
    friend class TCXML;
    friend class TCXMLNodeListImpl;
    TCXMLNode(TCXMLDocImpl* doc, _xmlNode* node) noexcept;
    void Reset() noexcept;

    TCXMLDocImpl* m_doc;   // holds a reference
    _xmlNode* m_node;
};

// The result of TCXML::SelectNodes: the matching nodes in document order, read one after
// the other with TCXML::NextNode. Copies share the list and its reading position. A
// default list is null; NextNode fails on it.
class TC_EXPORT TCXMLNodeList {
public:
    TCXMLNodeList() noexcept : m_impl(nullptr) {}
    TCXMLNodeList(const TCXMLNodeList& other) noexcept;
    TCXMLNodeList(TCXMLNodeList&& other) noexcept;
    ~TCXMLNodeList();
    TCXMLNodeList& operator=(const TCXMLNodeList& other) noexcept;
    TCXMLNodeList& operator=(TCXMLNodeList&& other) noexcept;

    bool IsNull() const { return m_impl == nullptr; }
    explicit operator bool() const { return m_impl != nullptr; }

private:
    friend class TCXML;
    explicit TCXMLNodeList(TCXMLNodeListImpl* impl) noexcept : m_impl(impl) {}

    TCXMLNodeListImpl* m_impl;   // holds a reference
};

// An XML document: created, loaded from a file or a text, navigated with XPath 1.0,
// built element by element, read and saved formatted. Every failure is reported by the
// result (false or a null handle) and an error text in the resource language, which
// the caller fetches with GetError. Nothing throws.
//
// Text crosses the interface as UTF-8. Loading never fetches anything from the network
// and never loads external entities or DTDs; entity references stay references.
// Operations that "clear" empty the error text first; CreateElement, SetAttribute and
// SetNodeText only ever set it, so a series of building calls can be checked once with
// IsError at the end.
class TC_EXPORT TCXML {
public:
    TCXML();
    ~TCXML();
    TCXML(const TCXML&) = delete;
    TCXML& operator=(const TCXML&) = delete;

    // Clears. Creates the empty document unless there is one (which keeps its content).
    // Loading is always synchronous; async is recorded only.
    bool Create(bool async);
    // Clears and drops the document; handles on it become stale. Always true.
    bool Release();
    // The document as a node (null without a document).
    TCXMLNode GetDocument() const;

    // Clear; replace the document's content by the file at path (a local path or a
    // "file:" URL) or by text. LoadXML reads the encoding from a byte-order mark or the
    // XML declaration at the start (UTF-8 otherwise). After a failed load the
    // document is empty and the error text names the parser's code, reason, line, column,
    // byte position and the source line; out of memory there is no document left (as
    // after Release) and the error text says so when there was room for it.
    bool Load(const char* path);
    bool LoadXML(const char* text);
    // Clears; writes the document formatted (declaration with UTF-8 and standalone, one
    // element per line, indented by depth) to a temporary file beside path that then
    // replaces path. On failure path is left as it was.
    bool Save(const char* path) const;
    // Clears; whether the next loads keep white-space-only text between elements
    // (initially false).
    bool PreserveWhiteSpace(bool preserve);

    // Clear; evaluate an XPath 1.0 expression relative to context (null: the document).
    // SelectSingleNode gives the first node in document order, or null; a miss is an
    // error only with reportMissing. SelectNodes gives a list (empty when nothing
    // matches, null when xpath is not a valid node-set expression). Namespace nodes are
    // left out of results; an expression that takes too much work fails.
    TCXMLNode SelectSingleNode(const char* xpath, TCXMLNode context = TCXMLNode(),
                               bool reportMissing = false);
    TCXMLNodeList SelectNodes(const char* xpath, TCXMLNode context = TCXMLNode());
    // Clears; the list's next node, null at its end.
    TCXMLNode NextNode(TCXMLNodeList& list);

    // Creates an element called name as last child of parent (null: the document, making
    // it the root element) and returns it; null on failure. Elements nest at most as
    // deep as loading reads (256 levels), so that what is built loads again.
    TCXMLNode CreateElement(const char* name, TCXMLNode parent = TCXMLNode());
    // SetAttribute and SetNodeText take text literally and refuse what XML cannot hold
    // (bytes that are not UTF-8, control characters other than tab, line feed and
    // carriage return; "--" or a final "-" in a comment; "?>" or white space first in a
    // processing instruction; a carriage return in either, which a reader would turn
    // into a line feed).
    // Sets an attribute of the element node.
    bool SetAttribute(TCXMLNode node, const char* name, const char* value);
    // Replaces the text of node: the content of an element (its children are removed),
    // or the value of an attribute, text, comment or processing instruction.
    bool SetNodeText(TCXMLNode node, const char* text);

    // Readers: each clears the error text and out first; a null node is the document.
    // The type is "number: name" with the DOM's numbers and names ("1: element",
    // "3: text", "9: document"); names are the DOM's ("#text", "#document"); the value of
    // an element or document is missing, which fails; the text is that of the node and
    // all its descendants; the XML is the markup of the node and its subtree.
    bool GetNodeType(TCXMLNode node, TCString& out) const;
    bool GetNodeName(TCXMLNode node, TCString& out) const;
    bool GetNodeValue(TCXMLNode node, TCString& out) const;
    bool GetNodeText(TCXMLNode node, TCString& out) const;
    bool GetNodeXML(TCXMLNode node, TCString& out) const;

    bool IsError() const { return !m_error.IsEmpty(); }
    const char* GetError() const { return m_error; }
    // Replaces the error text, for the caller's own content errors (emptied when there is
    // no memory for it).
    void SetUserError(const char* text);

    // The form in which text is stored in a node: control characters and backslashes
    // written as C escapes.
    static TCString QuoteNodeTextString(const TCString& s);
    // Turns a stored text back; false when an escape was malformed (s still gets the
    // best decoding).
    static bool UnquoteNodeTextString(TCString& s);
    // A string literal in double quotes for comparing stored texts in an XPath
    // expression: s, escaped as a stored text when quote is set (and with a space at
    // either end written as "\x20" when quoteBoundSpaces is set as well), trimmed,
    // with backslashes doubled and a backslash put before each quote and apostrophe.
    // XPath literals know no escapes, so only values that come out without a backslash
    // or a quote can be matched this way: texts with control characters, backslashes,
    // quotes or apostrophes (and, with quoteBoundSpaces, leading or trailing spaces)
    // never match.
    static TCString PrepareXPathSearchString(const TCString& s, bool quote, bool quoteBoundSpaces);

private:
    bool SaveFormatedDOMDocument(CFile& stream) const;
    bool GenParseErrMsg(const TCXMLErrorScope& scope);
    // Load and LoadXML but for a lack of memory, which they throw.
    bool LoadFile(const char* path);
    bool LoadText(const char* text);
    // Replaces the document by parsed (null: an empty one, after a failed load).
    bool Adopt(_xmlDoc* parsed, const TCXMLErrorScope& scope);
    // The node of a handle (null: the document); null with why when there is no
    // document or the handle is stale or of another document.
    _xmlNode* NodeOf(const TCXMLNode& node, const char*& why) const;
    // The node for a reader of out: clears the error state and out; null with the error of
    // operation id when NodeOf refuses the handle.
    _xmlNode* ReaderNode(const TCXMLNode& node, int id, TCString& out) const;
    static void QuoteBoundSpaces(TCString& s);

    TCXMLDocImpl* m_doc;   // holds a reference; null without a document
    mutable TCString m_error;
};
