// TCXML's readers: node types, names, values, texts and markup.
#include "corekit80/archive/TCXMLImpl.h"

#include <memory>

#include <libxml/xmlsave.h>

namespace {

// The DOM's number and name of a node type; 0 and null for libxml2's declaration
// nodes, which the DOM does not have.
int DomType(xmlElementType type)
{
    switch (type) {
    case XML_ENTITY_DECL:
        return 6;
    case XML_HTML_DOCUMENT_NODE:
        return 9;
    case XML_DTD_NODE:
        return 10;
    default:
        return type >= XML_ELEMENT_NODE && type <= XML_NOTATION_NODE ? int(type) : 0;
    }
}

const char* DomTypeName(int type)
{
    static const char* const names[] = {
        nullptr,   "element", "attribute",     "text",     "cdatasection",     "entityreference", "entity",
        "processinginstruction", "comment", "document", "documenttype", "documentfragment", "notation"};
    return names[type];
}

TCString QualifiedName(const xmlChar* prefix, const xmlChar* name)
{
    TCString s;
    if (prefix)
        s = TCString(reinterpret_cast<const char*>(prefix)) + ":";
    return s + reinterpret_cast<const char*>(name);
}

// The DOM's node name.
TCString NodeName(xmlNodePtr node)
{
    switch (node->type) {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE:
        return QualifiedName(node->ns ? node->ns->prefix : nullptr, node->name);
    case XML_TEXT_NODE:
        return "#text";
    case XML_CDATA_SECTION_NODE:
        return "#cdata-section";
    case XML_COMMENT_NODE:
        return "#comment";
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE:
        return "#document";
    case XML_DOCUMENT_FRAG_NODE:
        return "#document-fragment";
    default:
        return node->name ? reinterpret_cast<const char*>(node->name) : "";
    }
}

bool HasOwnContent(xmlElementType type)
{
    return type == XML_TEXT_NODE || type == XML_CDATA_SECTION_NODE || type == XML_COMMENT_NODE ||
           type == XML_PI_NODE;
}

bool TakeContent(xmlChar* content, TCString& out)
{
    if (!content)
        return false;
    // Freed also when the copy runs out of memory.
    std::unique_ptr<xmlChar, void (*)(xmlChar*)> owned(content, [](xmlChar* p) { xmlFree(p); });
    out = reinterpret_cast<const char*>(content);
    return true;
}

} // namespace

bool TCXMLAppendMarkup(TCString& out, xmlNodePtr node)
{
    xmlOutputBufferPtr buffer = xmlAllocOutputBuffer(nullptr);
    if (!buffer)
        return false;
    xmlNodeDumpOutput(buffer, node->doc, node, 0, 0, "UTF-8");
    xmlOutputBufferFlush(buffer);
    const char* p = reinterpret_cast<const char*>(xmlOutputBufferGetContent(buffer));
    int n = int(xmlOutputBufferGetSize(buffer));
    const bool ok = buffer->error == 0 && p;
    // An attribute is written as it stands in its element, after a space.
    if (ok && node->type == XML_ATTRIBUTE_NODE && n > 0 && *p == ' ')
        ++p, --n;
    if (ok)
        out.Append(p, n);
    xmlOutputBufferClose(buffer);
    return ok;
}

xmlNodePtr TCXML::ReaderNode(const TCXMLNode& node, int id, TCString& out) const
{
    m_error.Empty();
    out.Empty();
    const char* why = nullptr;
    xmlNodePtr n = NodeOf(node, why);
    if (!n)
        m_error = TCXMLFormatWith(why, id);
    return n;
}

bool TCXML::GetNodeType(TCXMLNode node, TCString& out) const
{
    xmlNodePtr n = ReaderNode(node, tcxmlNodeType, out);
    if (!n)
        return false;
    const int type = DomType(n->type);
    if (type == 0)
        out.Format("%d", int(n->type));
    else
        out.Format("%d: %s", type, DomTypeName(type));
    return true;
}

bool TCXML::GetNodeName(TCXMLNode node, TCString& out) const
{
    xmlNodePtr n = ReaderNode(node, tcxmlNodeName, out);
    if (!n)
        return false;
    out = NodeName(n);
    return true;
}

bool TCXML::GetNodeValue(TCXMLNode node, TCString& out) const
{
    xmlNodePtr n = ReaderNode(node, tcxmlNodeValue, out);
    if (!n)
        return false;
    TCXMLErrorScope scope;
    if ((n->type == XML_ATTRIBUTE_NODE || HasOwnContent(n->type)) && TakeContent(xmlNodeGetContent(n), out))
        return true;
    // Elements, documents and the like have no value.
    m_error = TCXMLFormat(tcxmlNodeValue);
    return false;
}

bool TCXML::GetNodeText(TCXMLNode node, TCString& out) const
{
    xmlNodePtr n = ReaderNode(node, tcxmlNodeText, out);
    if (!n)
        return false;
    TCXMLErrorScope scope;
    TakeContent(xmlNodeGetContent(n), out);
    return true;
}

bool TCXML::GetNodeXML(TCXMLNode node, TCString& out) const
{
    xmlNodePtr n = ReaderNode(node, tcxmlNodeXML, out);
    if (!n)
        return false;
    TCXMLErrorScope scope;
    bool ok = true;
    if (n->type == XML_DOCUMENT_NODE) {
        // The document's top-level nodes, one per line.
        for (xmlNodePtr child = n->children; child && ok; child = child->next) {
            if (child != n->children)
                out += '\n';
            ok = TCXMLAppendMarkup(out, child);
        }
    } else {
        ok = TCXMLAppendMarkup(out, n);
    }
    if (!ok) {
        out.Empty();
        m_error = TCXMLFormatWith(scope.Description("Out of memory"), tcxmlNodeXML);
    }
    return ok;
}
