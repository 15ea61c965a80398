// Tests of loading XML: node kinds, encodings, messages, handles, saving, hostile input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "corekit80/archive/TCXML.h"
#include "corekit80/foundation/TCResourceLanguage.h"

namespace {

std::string Str(const TCString& s) { return std::string((const char*)s, size_t(s.GetLength())); }

std::string Read(const TCXML& x, bool (TCXML::*read)(TCXMLNode, TCString&) const, const TCXMLNode& n)
{
    TCString s;
    EXPECT_TRUE((x.*read)(n, s)) << x.GetError();
    return Str(s);
}

std::string FileText(const std::filesystem::path& p)
{
    std::ostringstream s;
    s << std::ifstream(p, std::ios::binary).rdbuf();
    return s.str();
}

struct ScratchDir {
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "ck80xmlXXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~ScratchDir() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
};

// A document nested depth levels deep, as text.
std::string Nested(int depth)
{
    std::string s;
    for (int i = 0; i < depth; ++i)
        s += "<a>";
    for (int i = 0; i < depth; ++i)
        s += "</a>";
    return s;
}

} // namespace

// The DOM's node types, names, values and texts. (Entity references and the document
// type are not reached by XPath; their text shows in their parent's.)
TEST(TCXMLLoad, NodeKinds)
{
    TCXML x;
    ASSERT_TRUE(x.Create(false));
    ASSERT_TRUE(x.PreserveWhiteSpace(true));
    ASSERT_TRUE(x.LoadXML("<!DOCTYPE r [<!ENTITY e \"ent\">]><?pi data?><!--c--><r a=\"1\" xmlns:p=\"urn:p\">"
                          "<p:e p:b=\"2\">t<![CDATA[<cd>]]></p:e>&e;</r>"))
        << x.GetError();
    struct Case {
        const char* xpath;
        const char* type;
        const char* name;
        const char* value;   // null: has none
        const char* text;
    };
    const Case cases[] = {
        {"/", "9: document", "#document", nullptr, "t<cd>ent"},
        {"/r", "1: element", "r", nullptr, "t<cd>ent"},
        {"/r/@a", "2: attribute", "a", "1", "1"},
        {"/r/*", "1: element", "p:e", nullptr, "t<cd>"},
        {"/r/*/@*", "2: attribute", "p:b", "2", "2"},
        {"/r/*/text()", "3: text", "#text", "t", "t"},
        {"/r/*/node()[2]", "4: cdatasection", "#cdata-section", "<cd>", "<cd>"},
        {"/processing-instruction()", "7: processinginstruction", "pi", "data", "data"},
        {"/comment()", "8: comment", "#comment", "c", "c"},
    };
    for (const Case& c : cases) {
        TCXMLNode n = c.xpath[1] ? x.SelectSingleNode(c.xpath) : x.GetDocument();
        ASSERT_TRUE(n) << c.xpath;
        EXPECT_EQ(Read(x, &TCXML::GetNodeType, n), c.type) << c.xpath;
        EXPECT_EQ(Read(x, &TCXML::GetNodeName, n), c.name) << c.xpath;
        EXPECT_EQ(Read(x, &TCXML::GetNodeText, n), c.text) << c.xpath;
        TCString value;
        EXPECT_EQ(x.GetNodeValue(n, value), c.value != nullptr) << c.xpath;
        EXPECT_STREQ(x.GetError(), c.value ? "" : "Cannot read node value");
        EXPECT_EQ(Str(value), c.value ? c.value : "");
    }
}

// Text in every encoding the loader knows arrives as the same UTF-8.
TEST(TCXMLLoad, Encodings)
{
    const char* const texts[] = {
        "<r>h\xC3\xA4</r>",
        "\xEF\xBB\xBF<r>h\xC3\xA4</r>",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r>h\xC3\xA4</r>",
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>h\xE4</r>",
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<r>h\xE4</r>",
    };
    for (const char* t : texts) {
        TCXML x;
        ASSERT_TRUE(x.Create(false));
        ASSERT_TRUE(x.LoadXML(t)) << x.GetError();
        EXPECT_EQ(Read(x, &TCXML::GetNodeText, TCXMLNode()), "h\xC3\xA4") << t;
        EXPECT_EQ(Read(x, &TCXML::GetNodeXML, TCXMLNode()), "<r>h\xC3\xA4</r>") << t;
    }
    // Only the declaration names the encoding, not an instruction that looks like one.
    const char pi[] = "<?pi encoding=\"ISO-8859-1\"?>\n<r>h\xC3\xA4</r>";
    TCXML x;
    ASSERT_TRUE(x.Create(false));
    ASSERT_TRUE(x.LoadXML(pi)) << x.GetError();
    EXPECT_EQ(Read(x, &TCXML::GetNodeXML, TCXMLNode()), pi);
}

// Errors in English and German, following the resource language.
TEST(TCXMLLoad, Messages)
{
    struct Case {
        std::function<void(TCXML&)> call;
        const char* english;
        const char* german;
    };
    const Case cases[] = {
        {[](TCXML& x) { x.SelectSingleNode("Nothing", TCXMLNode(), true); }, "Cannot select single node 'Nothing'",
         "Selektieren des Einzeleintrags 'Nothing' fehlgeschlagen"},
        {[](TCXML& x) { x.SelectNodes("-"); }, "Cannot select nodes '-': Invalid expression",
         "Selektieren der Mehrfacheinträge '-' fehlgeschlagen: Invalid expression"},
        {[](TCXML& x) { TCString s; x.GetNodeValue(TCXMLNode(), s); }, "Cannot read node value",
         "Wert den Eintrags kann nicht gelesen werden"},
        {[](TCXML& x) { x.SetNodeText(TCXMLNode(), "t"); }, "Cannot set node text",
         "Text den Eintrags kann nicht gesetzt werden"},
        {[](TCXML& x) { x.Save("/nonexistent/x.xml"); },
         "Cannot open file /nonexistent/x.xml for writing: No such file or directory",
         "Die Datei '/nonexistent/x.xml' kann nicht zum Schreiben geöffnet werden: No such file or directory"},
        {[](TCXML& x) { x.LoadXML("<a>\n <b></a>"); },
         "The XML source could not be parsed: 76, 'Opening and ending tag mismatch: b line 2 and a' at line 2/9 "
         "(file position 12, source ' <b></a>')",
         "Die XML-Quelle konnte nicht interpretiert werden: 76, 'Opening and ending tag mismatch: b line 2 and a' "
         "bei Zeile 2/9 (Datei Position 12, Quelle ' <b></a>')"},
        {[](TCXML& x) { x.Load("http://localhost/x.xml"); },
         "The XML source could not be loaded: 'Only local files can be loaded'",
         "Der XML-Quelle konnte nicht geladen werden: 'Only local files can be loaded'"},
        {[](TCXML& x) { x.Release(); x.PreserveWhiteSpace(true); },
         "Cannot set preserving whitespace to 1: Invalid pointer",
         "Leerzeichen beibehalten kann nicht auf 1 gesetzt werden: Invalid pointer"},
        {[](TCXML& x) { x.Release(); TCString s; x.GetNodeType(TCXMLNode(), s); },
         "Cannot read node type: Invalid pointer", "Typ den Eintrags kann nicht gelesen werden: Invalid pointer"},
        {[](TCXML& x) { x.Release(); x.Save("/tmp/never.xml"); },
         "The XML document could not be saved: Invalid pointer",
         "Das XML Dokument konnte nicht gespeichert werden: Invalid pointer"},
    };
    for (int language : {1, 0}) {
        TCSetLoadStrResLanguage(language);
        for (const Case& c : cases) {
            TCXML x;
            ASSERT_TRUE(x.Create(false));
            c.call(x);
            EXPECT_STREQ(x.GetError(), language ? c.german : c.english);
        }
    }
    TCXML x;
    x.SetUserError("Error Values is missing in Segment");
    EXPECT_TRUE(x.IsError());
    EXPECT_TRUE(x.Create(false));
    EXPECT_FALSE(x.IsError());
}

// Handles of removed nodes stay usable; handles of a replaced document fail cleanly.
TEST(TCXMLLoad, HandleLifetime)
{
    TCXML x, other;
    ASSERT_TRUE(x.Create(false) && other.Create(false));
    ASSERT_TRUE(x.LoadXML("<r><a><b>old</b></a></r>"));
    TCXMLNode a = x.SelectSingleNode("r/a"), b = x.SelectSingleNode("//b");
    TCXMLNodeList list = x.SelectNodes("//*");
    ASSERT_TRUE(x.SetNodeText(a, "new"));
    EXPECT_EQ(Read(x, &TCXML::GetNodeXML, TCXMLNode()), "<r><a>new</a></r>");
    EXPECT_EQ(Read(x, &TCXML::GetNodeXML, b), "<b>old</b>");
    EXPECT_TRUE(x.CreateElement("c", b));
    EXPECT_EQ(Read(x, &TCXML::GetNodeXML, b), "<b>old<c/></b>");

    TCXMLNode document = x.GetDocument();
    ASSERT_TRUE(x.LoadXML("<s/>"));
    for (const TCXMLNode& stale : {a, b, document, x.NextNode(list)}) {
        TCString s;
        EXPECT_FALSE(x.GetNodeName(stale, s));
        EXPECT_STREQ(x.GetError(), "Cannot read node name: The node belongs to a document that no longer exists");
    }
    TCXMLNode foreign = other.CreateElement("f");
    EXPECT_FALSE(x.CreateElement("g", foreign));
    EXPECT_STREQ(x.GetError(), "Cannot create element 'g': The node belongs to another document");
    EXPECT_TRUE(x.Release());
    EXPECT_FALSE(x.SetNodeText(b, "t"));
    EXPECT_STREQ(x.GetError(), "Cannot set node text: Invalid pointer");
}

// Saved files are formatted UTF-8 with a standalone declaration, replace their target
// whole, and load back to the same document.
TEST(TCXMLLoad, SaveAndLoad)
{
    ScratchDir dir;
    const std::filesystem::path file = dir.path / "doc.xml";
    std::ofstream(file) << "old content";
    TCXML x;
    ASSERT_TRUE(x.Create(false));
    TCXMLNode root = x.CreateElement("Stream");
    TCXMLNode block = x.CreateElement("Block", root);
    x.SetAttribute(block, "id", "1 & \xE2\x82\xAC");
    x.SetNodeText(x.CreateElement("Name", block), "sig \xC3\xA4");
    x.CreateElement("Empty", root);
    ASSERT_TRUE(x.Save(file.c_str())) << x.GetError();
    EXPECT_EQ(FileText(file), "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                              "<Stream>\n"
                              "  <Block id=\"1 &amp; \xE2\x82\xAC\">\n"
                              "    <Name>sig \xC3\xA4</Name>\n"
                              "  </Block>\n"
                              "  <Empty/>\n"
                              "</Stream>\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1);

    for (const std::string& path : {file.string(), "file://" + file.string()}) {
        TCXML y;
        ASSERT_TRUE(y.Create(false));
        ASSERT_TRUE(y.Load(path.c_str())) << y.GetError();
        EXPECT_EQ(Read(y, &TCXML::GetNodeXML, TCXMLNode()), Read(x, &TCXML::GetNodeXML, TCXMLNode()));
    }
    TCXML y;
    ASSERT_TRUE(y.Create(false));
    EXPECT_FALSE(y.Load((dir.path / "missing.xml").c_str()));
    EXPECT_STREQ(y.GetError(), "The XML source could not be loaded: 'No such file or directory'");
}

// Hostile documents: deep nesting, entity expansion and external references are
// refused or left alone, nothing is fetched, nothing crashes.
TEST(TCXMLLoad, HostileInput)
{
    std::string bomb = "<!DOCTYPE r [<!ENTITY a0 \"lol\">";
    for (int i = 1; i <= 9; ++i) {
        bomb += "<!ENTITY a" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k)
            bomb += "&a" + std::to_string(i - 1) + ";";
        bomb += "\">";
    }
    bomb += "]><r>&a9;</r>";
    struct Case {
        std::string text;
        bool loads;
    };
    const Case cases[] = {
        {Nested(200), true},
        {Nested(100000), false},
        {bomb, false},
        {"<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><r>&x;</r>", true},
        {"<!DOCTYPE r [<!ENTITY % p SYSTEM \"file:///etc/passwd\"> %p;]><r/>", true},
        {"<!DOCTYPE r SYSTEM \"http://127.0.0.1:9/r.dtd\"><r/>", true},
        {"<r xmlns:xi=\"http://www.w3.org/2001/XInclude\"><xi:include href=\"/etc/passwd\" parse=\"text\"/></r>", true},
        {"<r>&undefined;</r>", false},
        {std::string("<r>\x01</r>"), false},
    };
    for (const Case& c : cases) {
        TCXML x;
        ASSERT_TRUE(x.Create(false));
        EXPECT_EQ(x.LoadXML(c.text.c_str()), c.loads) << c.text.substr(0, 60) << ": " << x.GetError();
        TCString text;
        EXPECT_TRUE(x.GetNodeText(TCXMLNode(), text));
        EXPECT_EQ(Str(text).find("root:"), std::string::npos);
        EXPECT_FALSE(x.SelectSingleNode("//*[contains(., 'root:')]"));
    }
}

// Built documents are held to the depth the parser reads, so they load again.
TEST(TCXMLLoad, BuildDepthLimit)
{
    ScratchDir dir;
    TCXML x;
    ASSERT_TRUE(x.Create(false));
    TCXMLNode n;
    int depth = 0;
    while (TCXMLNode child = x.CreateElement("a", n))
        n = child, ++depth;
    EXPECT_EQ(depth, 256);
    EXPECT_STREQ(x.GetError(), "Cannot create element 'a': Elements cannot be nested this deep");
    const std::string file = (dir.path / "deep.xml").string();
    ASSERT_TRUE(x.Save(file.c_str()));
    TCXML y;
    ASSERT_TRUE(y.Create(false));
    ASSERT_TRUE(y.Load(file.c_str())) << y.GetError();
    EXPECT_EQ(Read(y, &TCXML::GetNodeXML, TCXMLNode()), Nested(256).replace(256 * 3 - 3, 7, "<a/>"));
}
