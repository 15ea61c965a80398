// XPath selection of single nodes and node lists, bounded in work, and the quoting of node texts.
#include "corekit80/archive/TCXMLImpl.h"

#include <memory>

#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include "corekit80/foundation/TCTextUtil.h"

namespace {

// Bounds the work of one expression, so that no expression runs for minutes.
const unsigned long kXPathOpLimit = 50000000;

// Evaluates xpath on node: a node set in document order, or null with why.
xmlXPathObjectPtr Evaluate(xmlNodePtr node, const char* xpath, TCString& why)
{
    TCXMLErrorScope scope;
    xmlXPathContextPtr context = xmlXPathNewContext(node->doc ? node->doc : reinterpret_cast<xmlDocPtr>(node));
    if (!context) {
        why = "Out of memory";
        return nullptr;
    }
    context->node = node;
    context->opLimit = kXPathOpLimit;
    xmlXPathObjectPtr result = xmlXPathEval(BAD_CAST(xpath ? xpath : ""), context);
    xmlXPathFreeContext(context);
    if (!result) {
        why = scope.Description("Invalid XPath expression");
        return nullptr;
    }
    if (result->type != XPATH_NODESET) {
        xmlXPathFreeObject(result);
        why = "The expression does not give a set of nodes";
        return nullptr;
    }
    xmlXPathNodeSetSort(result->nodesetval);
    return result;
}

// Evaluates xpath at the context node (null when the handle was refused with why); on
// failure error holds the message of the operation id.
xmlXPathObjectPtr EvaluateAt(xmlNodePtr node, const char* why, const char* xpath, int id, TCString& error)
{
    TCString failure;
    xmlXPathObjectPtr result = node ? Evaluate(node, xpath, failure) : nullptr;
    if (!result)
        error = TCXMLFormatWith(node ? (const char*)failure : why, id, xpath ? xpath : "");
    return result;
}

// An evaluation's result, freed also when what is made of it runs out of memory.
struct Result : std::unique_ptr<xmlXPathObject, void (*)(xmlXPathObjectPtr)> {
    explicit Result(xmlXPathObjectPtr p) : unique_ptr(p, xmlXPathFreeObject) {}
};

} // namespace

TCXMLNode TCXML::SelectSingleNode(const char* xpath, TCXMLNode context, bool reportMissing)
{
    m_error.Empty();
    const char* why = nullptr;
    xmlNodePtr node = NodeOf(context, why);
    const Result result(EvaluateAt(node, why, xpath, tcxmlSelectSingleNode, m_error));
    if (!result)
        return TCXMLNode();
    TCXMLNode found;
    const xmlNodeSetPtr nodes = result->nodesetval;
    for (int i = 0; nodes && i < nodes->nodeNr && found.IsNull(); ++i)
        if (nodes->nodeTab[i]->type != XML_NAMESPACE_DECL)
            found = TCXMLNode(m_doc, nodes->nodeTab[i]);
    if (found.IsNull() && reportMissing)
        m_error = TCXMLFormat(tcxmlSelectSingleNode, xpath ? xpath : "");
    return found;
}

TCXMLNodeList TCXML::SelectNodes(const char* xpath, TCXMLNode context)
{
    m_error.Empty();
    const char* why = nullptr;
    xmlNodePtr node = NodeOf(context, why);
    const Result result(EvaluateAt(node, why, xpath, tcxmlSelectNodes, m_error));
    if (!result)
        return TCXMLNodeList();
    return TCXMLNodeList(new TCXMLNodeListImpl(m_doc, result->nodesetval));
}

TCXMLNode TCXML::NextNode(TCXMLNodeList& list)
{
    m_error.Empty();
    if (list.IsNull()) {
        m_error = TCXMLFormat(tcxmlNextNode, tcxmlInvalidPointer);
        return TCXMLNode();
    }
    return list.m_impl->Next();
}

TCString TCXML::QuoteNodeTextString(const TCString& s)
{
    TCString out;
    return QuoteControlChar(out, s);
}

bool TCXML::UnquoteNodeTextString(TCString& s)
{
    TCString out;
    const bool ok = UnQuoteEscapeChar(out, s);
    s = static_cast<TCString&&>(out);
    return ok;
}

void TCXML::QuoteBoundSpaces(TCString& s)
{
    if (s.IsEmpty())
        return;
    if (s[0] == ' ')
        s = "\\x20" + s.Mid(1);
    if (s[s.GetLength() - 1] == ' ')
        s = s.Left(s.GetLength() - 1) + "\\x20";
}

TCString TCXML::PrepareXPathSearchString(const TCString& s, bool quote, bool quoteBoundSpaces)
{
    TCString r = s;
    if (quote) {
        r = QuoteNodeTextString(s);
        if (quoteBoundSpaces)
            QuoteBoundSpaces(r);
    }
    r.TrimLeft();
    r.TrimRight();
    TCString out("\"");
    for (int i = 0; i < r.GetLength(); ++i) {
        const char c = r[i];
        if (c == '\\' || c == '"' || c == '\'')
            out += '\\';
        out += c;
    }
    return out + "\"";
}
