// TCXML on any text: loading, fixed XPath queries with every reader on the nodes found,
// changes made with text from the input, and the markup of the result, which must load
// again to the same markup.
#include <cstdint>
#include <cstring>
#include <string>

#include "corekit80/archive/TCXML.h"

namespace {

const char* const kQueries[] = {"//node()", "//@*", "/*/*[1]", "//*[text()][last()]", "//comment() | //processing-instruction()",
                                "//*[@*][2]/..", "//*[contains(., 'a')]", "descendant::*[position() mod 2 = 0]"};

void ReadAll(const TCXML& x, const TCXMLNode& n)
{
    TCString s;
    x.GetNodeType(n, s);
    x.GetNodeName(n, s);
    x.GetNodeValue(n, s);
    x.GetNodeText(n, s);
    x.GetNodeXML(n, s);
}

std::string Markup(const TCXML& x)
{
    TCString s;
    if (!x.GetNodeXML(TCXMLNode(), s))
        __builtin_trap();
    return std::string((const char*)s, size_t(s.GetLength()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const unsigned flags = data[0];
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    // Texts for the changes: the input's last bytes, up to its first zero byte.
    const std::string tail = text.substr(text.size() > 16 ? text.size() - 16 : 0).c_str();

    TCXML x;
    if (!x.Create(false) || !x.PreserveWhiteSpace(flags & 1))
        __builtin_trap();
    const bool loaded = x.LoadXML(text.c_str());
    if (loaded == x.IsError())
        __builtin_trap();
    for (const char* q : kQueries) {
        TCXMLNodeList list = x.SelectNodes(q);
        int k = 0;
        while (TCXMLNode n = x.NextNode(list)) {
            ReadAll(x, n);
            if ((flags & 2) && k % 3 == 0)
                x.SetNodeText(n, tail.c_str());
            if ((flags & 4) && k % 5 == 0)
                x.SetAttribute(n, "a", tail.c_str());
            if ((flags & 8) && k % 7 == 0)
                x.CreateElement(tail.empty() ? "e" : tail.c_str(), n);
            ++k;
        }
        ReadAll(x, x.SelectSingleNode(q));
    }

    const std::string markup = Markup(x);
    if (!loaded || markup.empty())
        return 0;
    TCXML again;
    if (!again.Create(false) || !again.PreserveWhiteSpace(true) || !again.LoadXML(markup.c_str()))
        __builtin_trap();
    if (Markup(again) != markup)
        __builtin_trap();
    return 0;
}
