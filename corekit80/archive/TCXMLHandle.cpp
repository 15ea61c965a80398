// TCXMLNode and TCXMLNodeList handles, counted on their nodes and documents.
#include "corekit80/archive/TCXMLImpl.h"

#include <libxml/xpath.h>

// A handle counts itself on its node only while the document lives: once the document
// is gone, the node's memory is too.

TCXMLNode::TCXMLNode(TCXMLDocImpl* doc, _xmlNode* node) noexcept : m_doc(doc), m_node(node)
{
    m_doc->AddRef();
    TCXMLDocImpl::AddHandle(m_node);
}

TCXMLNode::TCXMLNode(const TCXMLNode& other) noexcept : m_doc(other.m_doc), m_node(other.m_node)
{
    if (!m_doc)
        return;
    m_doc->AddRef();
    if (m_doc->Doc())
        TCXMLDocImpl::AddHandle(m_node);
}

TCXMLNode::TCXMLNode(TCXMLNode&& other) noexcept : m_doc(other.m_doc), m_node(other.m_node)
{
    other.m_doc = nullptr;
    other.m_node = nullptr;
}

TCXMLNode::~TCXMLNode() { Reset(); }

void TCXMLNode::Reset() noexcept
{
    if (!m_doc)
        return;
    if (m_doc->Doc())
        TCXMLDocImpl::DropHandle(m_node);
    m_doc->Release();
    m_doc = nullptr;
    m_node = nullptr;
}

TCXMLNode& TCXMLNode::operator=(const TCXMLNode& other) noexcept
{
    if (this != &other) {
        TCXMLNode copy(other);
        *this = static_cast<TCXMLNode&&>(copy);
    }
    return *this;
}

TCXMLNode& TCXMLNode::operator=(TCXMLNode&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_doc = other.m_doc;
        m_node = other.m_node;
        other.m_doc = nullptr;
        other.m_node = nullptr;
    }
    return *this;
}

TCXMLNodeList::TCXMLNodeList(const TCXMLNodeList& other) noexcept : m_impl(other.m_impl)
{
    if (m_impl)
        m_impl->AddRef();
}

TCXMLNodeList::TCXMLNodeList(TCXMLNodeList&& other) noexcept : m_impl(other.m_impl)
{
    other.m_impl = nullptr;
}

TCXMLNodeList::~TCXMLNodeList()
{
    if (m_impl)
        m_impl->Release();
}

TCXMLNodeList& TCXMLNodeList::operator=(const TCXMLNodeList& other) noexcept
{
    if (other.m_impl)
        other.m_impl->AddRef();
    if (m_impl)
        m_impl->Release();
    m_impl = other.m_impl;
    return *this;
}

TCXMLNodeList& TCXMLNodeList::operator=(TCXMLNodeList&& other) noexcept
{
    if (this != &other) {
        if (m_impl)
            m_impl->Release();
        m_impl = other.m_impl;
        other.m_impl = nullptr;
    }
    return *this;
}

TCXMLNodeListImpl::TCXMLNodeListImpl(TCXMLDocImpl* doc, xmlNodeSetPtr nodes)
{
    if (!nodes)
        return;
    m_nodes.reserve(size_t(nodes->nodeNr));
    for (int i = 0; i < nodes->nodeNr; ++i)
        if (nodes->nodeTab[i]->type != XML_NAMESPACE_DECL)
            m_nodes.push_back(TCXMLNode(doc, nodes->nodeTab[i]));
}

TCXMLDocImpl::TCXMLDocImpl(xmlDocPtr doc) : m_doc(doc)
{
    // Without an encoding libxml2 writes non-ASCII attribute text as character references.
    if (!doc)
        return;
    if (doc->encoding)
        xmlFree(const_cast<xmlChar*>(doc->encoding));
    doc->encoding = xmlStrdup(BAD_CAST "UTF-8");
}

void TCXMLDocImpl::Release()
{
    if (--m_refs == 0)
        delete this;
}

void TCXMLDocImpl::Drop()
{
    for (xmlNodePtr node : m_detached)
        xmlFreeNode(node);
    m_detached.clear();
    if (m_doc)
        xmlFreeDoc(m_doc);
    m_doc = nullptr;
}

// Walks the subtree in document order without recursion; attributes count as part of
// their element. Entity references are not entered: their children are the shared
// entity declaration.
bool TCXMLDocImpl::HasHandles(xmlNodePtr top)
{
    xmlNodePtr node = top;
    for (;;) {
        if (Count(node) != 0)
            return true;
        if (node->type == XML_ELEMENT_NODE)
            for (xmlAttrPtr a = node->properties; a; a = a->next)
                if (Count(reinterpret_cast<xmlNodePtr>(a)) != 0)
                    return true;
        if (node->children && node->type != XML_ENTITY_REF_NODE) {
            node = node->children;
            continue;
        }
        while (node != top && !node->next)
            node = node->parent;
        if (node == top)
            return false;
        node = node->next;
    }
}

void TCXMLDocImpl::Detach(xmlNodePtr node)
{
    xmlUnlinkNode(node);
    if (HasHandles(node))
        m_detached.push_back(node);
    else
        xmlFreeNode(node);
}
