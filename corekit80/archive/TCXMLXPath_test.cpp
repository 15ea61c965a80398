// Tests of TCXML's XPath selection against xmllint.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "corekit80/archive/TCXML.h"

namespace {

std::string Str(const TCString& s) { return std::string((const char*)s, size_t(s.GetLength())); }

const char kDocument[] =
    "<?xml version=\"1.0\"?>"
    "<Stream version=\"2\"><!--first--><Block id=\"1\"><TypeInfo><State Value=\"3\">COMPLETE</State>"
    "<Name>sig a</Name></TypeInfo><Segments><Segment><Name>x</Name><Values><Integer>1 2 3</Integer>"
    "</Values></Segment><Segment><Name>y</Name><Values><Double>0.5</Double></Values></Segment></Segments>"
    "</Block><Block id=\"2\"><Segments><Segment><Name>x</Name><Values><String>s1</String><String>s2</String>"
    "</Values></Segment></Segments></Block><?pi some data?><Block id=\"3\"/></Stream>";

// The lines that xmllint prints for a node set: each node's markup, attributes after a
// space; empty for an empty set.
std::vector<std::string> Xmllint(const std::string& file, const std::string& xpath)
{
    const std::string command = "/usr/bin/xmllint --xpath '" + xpath + "' " + file + " 2>/dev/null";
    std::vector<std::string> lines;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return lines;
    std::string out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    pclose(pipe);
    for (size_t start = 0, end; start < out.size(); start = end + 1) {
        end = out.find('\n', start);
        if (end == std::string::npos)
            end = out.size();
        std::string line = out.substr(start, end - start);
        lines.push_back(line.size() > 1 && line[0] == ' ' ? line.substr(1) : line);
    }
    return lines;
}

std::vector<std::string> Ours(TCXML& x, const std::string& xpath, TCXMLNode context = TCXMLNode())
{
    std::vector<std::string> lines;
    TCXMLNodeList list = x.SelectNodes(xpath.c_str(), context);
    EXPECT_TRUE(list) << xpath << ": " << x.GetError();
    while (TCXMLNode n = x.NextNode(list)) {
        TCString s;
        EXPECT_TRUE(x.GetNodeXML(n, s));
        lines.push_back(Str(s));
    }
    return lines;
}

} // namespace

// Node sets agree with xmllint's on the same document, in document order.
TEST(TCXMLXPath, AgreesWithXmllint)
{
    if (!std::filesystem::exists("/usr/bin/xmllint"))
        GTEST_SKIP() << "xmllint is not installed";
    const std::string file = (std::filesystem::temp_directory_path() / "ck80_xpath_peer.xml").string();
    std::ofstream(file) << kDocument;
    TCXML x;
    ASSERT_TRUE(x.Create(false));
    ASSERT_TRUE(x.PreserveWhiteSpace(true));
    ASSERT_TRUE(x.LoadXML(kDocument));
    const char* const queries[] = {
        "/Stream/Block", "//Name", "//Segment[Name=\"x\"]/Values/*", "//Block[@id=2]//String[2]",
        "//@*", "//@id[. > 1]", "/Stream/Block[last()]", "//Block[not(TypeInfo)]", "//text()",
        "//comment() | //processing-instruction()", "//Segment/Name | //TypeInfo/Name", "//*[starts-with(name(), \"S\")]",
        "//Values/*[contains(., \"2\")]", "//String/following::*", "//Double/ancestor::*", "//Name/..",
        "//Segment[position() = 2]", "/Stream/*[2]/preceding-sibling::node()", "//Block[count(.//Segment) = 1]",
        "//Nothing", "/Stream/Block/Segments/Segment[Values/Integer]/Name/text()", "//*[@Value = 3]",
        "descendant::Block[1]", "Stream/Block[@id = \"3\"]", "//node()[self::Integer or self::Double]",
    };
    for (const char* q : queries)
        EXPECT_EQ(Ours(x, q), Xmllint(file, q)) << q;
    std::filesystem::remove(file);
}

// Relative expressions start at the given node; the first node in document order wins.
TEST(TCXMLXPath, ContextAndSingleNode)
{
    TCXML x;
    ASSERT_TRUE(x.Create(false));
    ASSERT_TRUE(x.LoadXML(kDocument));
    TCXMLNode second = x.SelectSingleNode("Stream/Block[2]");
    ASSERT_TRUE(second);
    EXPECT_EQ(Ours(x, "Segments/Segment/Name", second), (std::vector<std::string>{"<Name>x</Name>"}));
    EXPECT_EQ(Ours(x, "../Block/@id", second), (std::vector<std::string>{"id=\"1\"", "id=\"2\"", "id=\"3\""}));
    TCString s;
    EXPECT_TRUE(x.GetNodeText(x.SelectSingleNode("(//Name)[last()] | //Name[1]"), s));
    EXPECT_EQ(Str(s), "sig a");
    EXPECT_EQ(x.SelectSingleNode("/Stream", second), x.SelectSingleNode("Stream"));

    struct Case {
        const char* xpath;
        bool reportMissing;
        const char* error;
    };
    const Case cases[] = {
        {"Nothing", false, ""},
        {"Nothing", true, "Cannot select single node 'Nothing'"},
        {"//[", false, "Cannot select single node '//[': Invalid expression"},
        {"count(//Block)", false, "Cannot select single node 'count(//Block)': The expression does not give a set of nodes"},
        {"p:Block", false, "Cannot select single node 'p:Block': Undefined namespace prefix"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(x.SelectSingleNode(c.xpath, TCXMLNode(), c.reportMissing)) << c.xpath;
        EXPECT_STREQ(x.GetError(), c.error);
    }
    EXPECT_FALSE(x.SelectNodes("1 + 1"));
    EXPECT_STREQ(x.GetError(), "Cannot select nodes '1 + 1': The expression does not give a set of nodes");
    TCXMLNodeList empty = x.SelectNodes("//Nothing");
    EXPECT_TRUE(empty);
    EXPECT_FALSE(x.NextNode(empty));
    EXPECT_FALSE(x.IsError());
}

// The search literal, and which stored texts it finds.
TEST(TCXMLXPath, SearchStrings)
{
    struct Case {
        const char* in;
        bool quote, bound;
        const char* out;
    };
    const Case cases[] = {
        {"", false, false, "\"\""},
        {"  ", true, false, "\"\""},
        {" a\\b'c\" ", false, false, "\"a\\\\b\\'c\\\"\""},
        {"\ta b\n", false, false, "\"a b\""},
        {" a ", true, true, "\"\\\\x20a\\\\x20\""},
        {" ", true, true, "\"\\\\x20\""},
        {" a ", true, false, "\"a\""},
        {" a ", false, true, "\"a\""},
        {"a\nb", true, false, "\"a\\\\nb\""},
        {"tab\t", true, true, "\"tab\\\\t\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(TCXML::PrepareXPathSearchString(c.in, c.quote, c.bound)), c.out) << c.in;

    // Stored texts without escapes or quotes are found; the others are not (see the header).
    TCXML x;
    ASSERT_TRUE(x.Create(false));
    TCXMLNode root = x.CreateElement("r");
    const char* const values[] = {"plain value", "  padded  ", "h\xC3\xA4" "t", "it's", "a\\b", "line\nbreak"};
    const bool found[] = {true, true, true, false, false, false};
    for (const char* v : values) {
        TCString stored = TCXML::QuoteNodeTextString(v);
        ASSERT_TRUE(x.SetNodeText(x.CreateElement("v", root), stored));
        EXPECT_TRUE(TCXML::UnquoteNodeTextString(stored));
        EXPECT_EQ(Str(stored), v);
    }
    for (size_t i = 0; i < std::size(values); ++i) {
        const TCString literal = TCXML::PrepareXPathSearchString(values[i], true, false);
        const TCString xpath = TCString("//v[normalize-space(.) = ") + literal + "]";
        EXPECT_EQ(bool(x.SelectSingleNode(xpath)), found[i]) << values[i];
    }
}
