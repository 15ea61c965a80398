// Tests of TCXML: built documents round trip, stream documents, building errors.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "corekit80/archive/TCXML.h"

namespace {

std::string Str(const TCString& s) { return std::string((const char*)s, size_t(s.GetLength())); }

std::string XmlOf(const TCXML& x, const TCXMLNode& n = TCXMLNode())
{
    TCString s;
    EXPECT_TRUE(x.GetNodeXML(n, s)) << x.GetError();
    return Str(s);
}

// A name of a letter and a number ("e3").
std::string Name(char letter, unsigned number)
{
    std::string name(1, letter);
    return name += std::to_string(number);
}

// Builds a random tree: names, attributes (with characters that need escaping and
// non-ASCII ones) and texts; returns the elements in document order.
std::vector<TCXMLNode> BuildRandom(TCXML& x, std::mt19937& rng)
{
    static const char* const texts[] = {"plain", "a<b&c>d", "\"q\" 'a'", "tab\tnl\ncr\r", "  spaced  ",
                                        "h\xC3\xA4lt \xE2\x82\xAC \xF0\x9F\x98\x80", "]]>", "x"};
    std::vector<TCXMLNode> nodes{x.CreateElement("Root")};
    for (int i = 0; i < 40; ++i) {
        TCXMLNode parent = nodes[rng() % nodes.size()];
        TCXMLNode e = x.CreateElement(Name('e', rng() % 5).c_str(), parent);
        for (unsigned a = rng() % 3; a > 0; --a)
            EXPECT_TRUE(x.SetAttribute(e, Name('a', a).c_str(), texts[rng() % 8]));
        if (rng() % 3 == 0)
            EXPECT_TRUE(x.SetNodeText(e, texts[rng() % 8]));
        else
            nodes.push_back(e);
    }
    return nodes;
}

} // namespace

// Built documents come back unchanged through their markup, and the readers agree.
TEST(TCXML, BuildRoundTrip)
{
    std::mt19937 rng(8080);
    for (int round = 0; round < 20; ++round) {
        TCXML built;
        ASSERT_TRUE(built.Create(false));
        BuildRandom(built, rng);
        ASSERT_FALSE(built.IsError()) << built.GetError();
        const std::string markup = XmlOf(built);

        TCXML loaded;
        ASSERT_TRUE(loaded.Create(false));
        ASSERT_TRUE(loaded.PreserveWhiteSpace(true));
        ASSERT_TRUE(loaded.LoadXML(markup.c_str())) << loaded.GetError() << "\n" << markup;
        EXPECT_EQ(XmlOf(loaded), markup);
        TCXMLNodeList a = built.SelectNodes("//node() | //@*"), b = loaded.SelectNodes("//node() | //@*");
        for (TCXMLNode m = built.NextNode(a), n = loaded.NextNode(b); m || n;
             m = built.NextNode(a), n = loaded.NextNode(b)) {
            ASSERT_TRUE(m && n);
            TCString s, t;
            for (auto read : {&TCXML::GetNodeType, &TCXML::GetNodeName, &TCXML::GetNodeText, &TCXML::GetNodeXML}) {
                EXPECT_EQ((built.*read)(m, s), (loaded.*read)(n, t));
                EXPECT_EQ(Str(s), Str(t));
            }
        }
    }
}

// The way stream blocks are written and read: a document from "<Stream/>", elements
// under the found node, relative queries and the node list.
TEST(TCXML, StreamDocument)
{
    TCXML x;
    ASSERT_TRUE(x.Create(false));
    ASSERT_TRUE(x.LoadXML("<Stream/>"));
    EXPECT_EQ(XmlOf(x), "<Stream/>");
    TCXMLNode stream = x.SelectSingleNode("Stream", TCXMLNode(), false);
    ASSERT_TRUE(stream);
    for (const char* name : {"one", "two"}) {
        TCXMLNode block = x.CreateElement("Block", stream);
        TCXMLNode info = x.CreateElement("TypeInfo", block);
        TCXMLNode state = x.CreateElement("State", info);
        EXPECT_TRUE(x.SetNodeText(state, "COMPLETE"));
        EXPECT_TRUE(x.SetAttribute(state, "Value", "3"));
        EXPECT_TRUE(x.SetNodeText(x.CreateElement("Name", info), name));
    }
    EXPECT_FALSE(x.IsError());
    EXPECT_EQ(XmlOf(x, stream),
              "<Stream><Block><TypeInfo><State Value=\"3\">COMPLETE</State><Name>one</Name></TypeInfo></Block>"
              "<Block><TypeInfo><State Value=\"3\">COMPLETE</State><Name>two</Name></TypeInfo></Block></Stream>");

    TCXMLNodeList blocks = x.SelectNodes("Stream/Block");
    std::vector<std::string> names;
    while (TCXMLNode block = x.NextNode(blocks)) {
        TCString text;
        EXPECT_TRUE(x.GetNodeText(x.SelectSingleNode("TypeInfo/Name", block), text));
        names.push_back(Str(text));
        EXPECT_FALSE(x.SelectSingleNode("Missing", block));
        EXPECT_FALSE(x.IsError());
        EXPECT_TRUE(x.GetNodeText(x.SelectSingleNode("TypeInfo/State/@Value", block), text));
        EXPECT_EQ(Str(text), "3");
    }
    EXPECT_EQ(names, (std::vector<std::string>{"one", "two"}));
    EXPECT_FALSE(x.NextNode(blocks));
    EXPECT_FALSE(x.IsError());
    TCXMLNodeList none;
    EXPECT_FALSE(x.NextNode(none));
    EXPECT_STREQ(x.GetError(), "Cannot select next node: 'Invalid pointer'");
}

// A processing instruction keeps only text that reads back the same: no "?>", no white
// space first (a reader takes it as the separator after the target), no carriage return.
TEST(TCXML, ProcessingInstructionText)
{
    const struct {
        const char* text;
        const char* error;  // null: set, and the markup loads back to the same
    } cases[] = {
        {"a b ", nullptr},
        {"", nullptr},
        {"\tx", "Cannot set node text: A processing instruction cannot begin with white space"},
        {" x", "Cannot set node text: A processing instruction cannot begin with white space"},
        {"x?>y", "Cannot set node text: A processing instruction cannot contain \"?>\""},
        {"a\r\nb", "Cannot set node text: A comment or processing instruction cannot hold a carriage return"},
    };
    for (const auto& c : cases) {
        TCXML x;
        ASSERT_TRUE(x.Create(false) && x.LoadXML("<?pi data?><r/>"));
        const bool set = x.SetNodeText(x.SelectSingleNode("//processing-instruction()"), c.text);
        EXPECT_EQ(set, c.error == nullptr) << c.text;
        if (c.error) {
            EXPECT_STREQ(x.GetError(), c.error);
            continue;
        }
        TCString first, again;
        ASSERT_TRUE(x.GetNodeXML(TCXMLNode(), first));
        TCXML y;
        ASSERT_TRUE(y.Create(false) && y.PreserveWhiteSpace(true) && y.LoadXML(first));
        ASSERT_TRUE(y.GetNodeXML(TCXMLNode(), again));
        EXPECT_STREQ(again, first) << c.text;
    }
}

// Building errors accumulate: later successful calls leave the first error in place.
TEST(TCXML, BuildingErrors)
{
    TCXML x;
    EXPECT_FALSE(x.CreateElement("a"));
    EXPECT_STREQ(x.GetError(), "Cannot create element 'a': Invalid pointer");
    ASSERT_TRUE(x.Create(false));
    EXPECT_FALSE(x.IsError());
    TCXMLNode root = x.CreateElement("root");
    ASSERT_TRUE(root);
    EXPECT_FALSE(x.CreateElement("second"));
    const std::string first = x.GetError();
    EXPECT_EQ(first.rfind("Cannot create element 'second': ", 0), 0u) << first;
    EXPECT_TRUE(x.CreateElement("child", root));
    EXPECT_EQ(x.GetError(), first);

    struct Case {
        bool (*call)(TCXML&, TCXMLNode);
        const char* error;
    };
    const Case cases[] = {
        {[](TCXML& x, TCXMLNode) { return x.SetAttribute(TCXMLNode(), "n", "v"); },
         "Cannot set attribute 'n' with value 'v'"},
        {[](TCXML& x, TCXMLNode e) { return x.SetAttribute(e, "n", "bell\x07"); },
         "Cannot set attribute 'n' with value 'bell\x07': The text contains a character that XML does not allow"},
        {[](TCXML& x, TCXMLNode e) { return x.SetAttribute(e, "1n", "v"); },
         "Cannot set attribute '1n' with value 'v': The name is not a valid XML name"},
        {[](TCXML& x, TCXMLNode) { return x.SetNodeText(TCXMLNode(), "t"); }, "Cannot set node text"},
        {[](TCXML& x, TCXMLNode e) { return x.SetNodeText(e, "bad \xC3 UTF-8"); },
         "Cannot set node text: The text is not valid UTF-8"},
        {[](TCXML& x, TCXMLNode e) { return x.CreateElement("a b", e).IsNull() == false; },
         "Cannot create element 'a b': The name is not a valid XML name"},
        {[](TCXML& x, TCXMLNode e) { return x.SetAttribute(x.SelectSingleNode("text()", e), "n", "v"); },
         "Cannot set attribute 'n' with value 'v': Only an element has attributes"},
    };
    ASSERT_TRUE(x.SetNodeText(root, "text"));
    for (const Case& c : cases) {
        x.SetUserError("");
        EXPECT_FALSE(c.call(x, root));
        EXPECT_STREQ(x.GetError(), c.error);
    }
    EXPECT_EQ(XmlOf(x, root), "<root>text</root>");
}
