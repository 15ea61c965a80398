// Building TCXML documents: elements, attributes and node texts, checked.
#include "corekit80/archive/TCXMLImpl.h"

#include <climits>
#include <cstring>

#include <libxml/parserInternals.h>

namespace {

const char* const kBadName = "The name is not a valid XML name";
const char* const kTooLong = "The text is too long";

// The length of text, or -1 when it is beyond what a node holds.
int Measure(const char* text)
{
    const size_t n = strlen(text);
    return n > size_t(INT_MAX) ? -1 : int(n);
}

bool IsName(const char* name)
{
    return name && *name && Measure(name) > 0 && !TCXMLCheckText(name, Measure(name)) &&
           xmlValidateName(BAD_CAST name, 0) == 0;
}

// Whether the attribute's qualified name (as the markup writes it) is name.
bool HasName(xmlAttrPtr a, const char* name)
{
    if (!a->ns || !a->ns->prefix)
        return xmlStrEqual(a->name, BAD_CAST name);
    const size_t n = strlen(reinterpret_cast<const char*>(a->ns->prefix));
    return strncmp(reinterpret_cast<const char*>(a->ns->prefix), name, n) == 0 && name[n] == ':' &&
           xmlStrEqual(a->name, BAD_CAST(name + n + 1));
}

// Null when the text may stand in a node of this type, else why not.
const char* CheckContent(xmlElementType type, const char* text, int len)
{
    if (const char* why = TCXMLCheckText(text, len))
        return why;
    if (type == XML_COMMENT_NODE && ((len > 0 && text[len - 1] == '-') || memmem(text, size_t(len), "--", 2)))
        return "A comment cannot contain \"--\" or end with \"-\"";
    if (type == XML_PI_NODE && memmem(text, size_t(len), "?>", 2))
        return "A processing instruction cannot contain \"?>\"";
    // A reader takes the white space after the target as the separator, never as content.
    if (type == XML_PI_NODE && len > 0 &&
        (text[0] == ' ' || text[0] == '\t' || text[0] == '\r' || text[0] == '\n'))
        return "A processing instruction cannot begin with white space";
    // Markup has no reference for it there, and a reader turns it into a line feed.
    if ((type == XML_COMMENT_NODE || type == XML_PI_NODE) && memchr(text, '\r', size_t(len)))
        return "A comment or processing instruction cannot hold a carriage return";
    return nullptr;
}

// Replaces the children of an element or attribute by one text node; the text is taken
// literally (no entity references are read from it).
bool ReplaceChildren(TCXMLDocImpl& doc, xmlNodePtr node, const char* text, int len)
{
    while (node->children)
        doc.Detach(node->children);
    if (len == 0)
        return true;
    xmlNodePtr t = xmlNewDocTextLen(node->doc, BAD_CAST text, len);
    if (!t)
        return false;
    if (!xmlAddChild(node, t)) {
        xmlFreeNode(t);
        return false;
    }
    return true;
}

// Elements deeper than the parser reads would make a document that cannot be loaded again.
bool TooDeep(xmlNodePtr parent)
{
    unsigned depth = 1;
    for (xmlNodePtr p = parent; p && p->type == XML_ELEMENT_NODE; p = p->parent)
        if (++depth > xmlParserMaxDepth)
            return true;
    return false;
}

} // namespace

TCXMLNode TCXML::CreateElement(const char* name, TCXMLNode parent)
{
    const char* safeName = name ? name : "";
    const char* why = nullptr;
    xmlNodePtr into = NodeOf(parent, why);
    if (into && !IsName(name))
        why = kBadName;
    else if (into && into->type != XML_ELEMENT_NODE && into->type != XML_DOCUMENT_NODE)
        why = "Only an element or the document can hold elements";
    else if (into && into->type == XML_DOCUMENT_NODE && xmlDocGetRootElement(m_doc->Doc()))
        why = "Only one top level element is allowed in an XML document";
    else if (into && TooDeep(into))
        why = "Elements cannot be nested this deep";
    if (why) {
        m_error = TCXMLFormatWith(why, tcxmlCreateElement, safeName);
        return TCXMLNode();
    }
    TCXMLErrorScope scope;
    xmlNodePtr element = xmlNewDocNode(m_doc->Doc(), nullptr, BAD_CAST name, nullptr);
    if (!element) {
        m_error = TCXMLFormatWith(scope.Description("Out of memory"), tcxmlCreateElement, safeName);
        return TCXMLNode();
    }
    if (!xmlAddChild(into, element)) {
        xmlFreeNode(element);
        m_error = TCXMLFormat(tcxmlAppendChild, safeName);
        return TCXMLNode();
    }
    return TCXMLNode(m_doc, element);
}

bool TCXML::SetAttribute(TCXMLNode node, const char* name, const char* value)
{
    const char* safeName = name ? name : "";
    const char* safeValue = value ? value : "";
    if (node.IsNull()) {
        m_error = TCXMLFormat(tcxmlSetAttribute, safeName, safeValue);
        return false;
    }
    const int len = Measure(safeValue);
    const char* why = nullptr;
    xmlNodePtr element = NodeOf(node, why);
    if (element && element->type != XML_ELEMENT_NODE)
        why = "Only an element has attributes";
    else if (element && !IsName(name))
        why = kBadName;
    else if (element)
        why = len < 0 ? kTooLong : TCXMLCheckText(safeValue, len);
    xmlAttrPtr attribute = nullptr;
    if (!why) {
        for (attribute = element->properties; attribute && !HasName(attribute, name);)
            attribute = attribute->next;
        TCXMLErrorScope scope;
        if (!attribute)
            attribute = xmlNewProp(element, BAD_CAST name, nullptr);
        if (!attribute || !ReplaceChildren(*m_doc, reinterpret_cast<xmlNodePtr>(attribute), safeValue, len))
            why = "Out of memory";
    }
    if (why) {
        m_error = TCXMLFormatWith(why, tcxmlSetAttribute, safeName, safeValue);
        return false;
    }
    return true;
}

bool TCXML::SetNodeText(TCXMLNode node, const char* text)
{
    if (node.IsNull()) {
        m_error = TCXMLFormat(tcxmlSetNodeText);
        return false;
    }
    const char* safeText = text ? text : "";
    const int len = Measure(safeText);
    const char* why = nullptr;
    xmlNodePtr target = NodeOf(node, why);
    if (target)
        why = len < 0 ? kTooLong : CheckContent(target->type, safeText, len);
    if (!why) {
        TCXMLErrorScope scope;
        switch (target->type) {
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
            if (!ReplaceChildren(*m_doc, target, safeText, len))
                why = "Out of memory";
            break;
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
        case XML_COMMENT_NODE:
        case XML_PI_NODE:
            xmlNodeSetContentLen(target, BAD_CAST safeText, len);
            break;
        default:
            why = "The text of this node cannot be set";
        }
    }
    if (why) {
        m_error = TCXMLFormatWith(why, tcxmlSetNodeText);
        return false;
    }
    return true;
}
