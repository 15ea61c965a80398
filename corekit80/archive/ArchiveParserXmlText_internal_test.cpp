// Texts through the XML form: every character a description or a string value can hold
// comes back unchanged, from archives this library wrote and from hand-written ones.
#include "corekit80/archive/ArchiveParser_test.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace archive_test;

namespace {

using Data = ArchiveParser::ArchiveData;

std::string Description(const ArchiveParser& p, int index)
{
    const Data::Buf* e = Data::Of(&p)->entries[index];
    return e->description ? e->description : "";
}

std::string Value(const ArchiveParser& p, int index)
{
    const Data::Buf* e = Data::Of(&p)->entries[index];
    return std::string(e->bytes ? e->bytes : "", e->length);
}

// One character of each class, as UTF-8; strings also take bytes XML cannot carry.
std::string RandomPiece(std::mt19937& rng, bool anyByte)
{
    static const char* const specials[] = {"&", "<", ">", "\"", "'", "\\", ";", "#", "&amp;", "&#38;",
                                           "&#x41;", "&lt;", "]]>", "\t", "\n", "\r", "\r\n", "  ", "%"};
    switch (rng() % (anyByte ? 7 : 5)) {
    case 0: return std::string(1, char(0x20 + rng() % 0x5F));
    case 1: return specials[rng() % std::size(specials)];
    case 2: {
        // Two, three and four byte characters, surrogates and U+FFFE/U+FFFF left out.
        static const uint32_t starts[] = {0x80, 0x800, 0xE000, 0x10000};
        static const uint32_t spans[] = {0x780, 0xD000, 0x1FFE, 0x100000};
        int k = int(rng() % 4);
        uint32_t c = starts[k] + rng() % spans[k];
        std::string out;
        if (c < 0x800)
            out = {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
        else if (c < 0x10000)
            out = {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
        else
            out = {char(0xF0 | c >> 18), char(0x80 | (c >> 12 & 0x3F)), char(0x80 | (c >> 6 & 0x3F)),
                   char(0x80 | (c & 0x3F))};
        return out;
    }
    case 3: return "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"; // a-umlaut, euro, an emoji
    case 4: return " ";
    case 5: return std::string(1, char(1 + rng() % 0x1F)) + "\x7F";
    default: return std::string(1, char(0x80 + rng() % 0x80)); // alone, no UTF-8 character
    }
}

std::string RandomText(std::mt19937& rng, bool anyByte)
{
    std::string s;
    for (int n = int(rng() % 12); n > 0; --n)
        s += RandomPiece(rng, anyByte);
    return s;
}

// An XML archive of the document text (UTF-8), as the reader meets it in a file.
Bytes XmlFile(const std::string& document)
{
    Bytes out("\xFF\xFE", 2);
    for (size_t i = 0; i < document.size();) {
        auto* p = reinterpret_cast<const unsigned char*>(document.data() + i);
        int len = p[0] < 0x80 ? 1 : p[0] < 0xE0 ? 2 : p[0] < 0xF0 ? 3 : 4;
        uint32_t c = len == 1 ? p[0] : p[0] & (0x7F >> len);
        for (int k = 1; k < len; ++k)
            c = c << 6 | (p[k] & 0x3F);
        i += size_t(len);
        auto put = [&out](uint32_t u) { out += char(u & 0xFF); out += char(u >> 8); };
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    return out;
}

TEST(ArchiveParserXmlText, RandomTextsSurviveRoundTrips)
{
    std::mt19937 rng(38);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> descriptions, values;
        for (int k = 0; k < 8; ++k) {
            descriptions.push_back(RandomText(rng, false));
            values.push_back(RandomText(rng, true));
        }
        ArchiveParser writer;
        writer.SaveAscii(ArchiveParser::modeXML);
        Bytes bytes = Store(writer, [&](ArchiveParser& p) {
            for (int k = 0; k < 8; ++k) {
                TCString value(values[size_t(k)].data(), int(values[size_t(k)].size()));
                p.Serialize(uint16_t(k + 1), descriptions[size_t(k)].c_str(), value);
            }
        }, "a.tcx");
        ArchiveParser reader;
        ASSERT_TRUE(Load(reader, bytes));
        ASSERT_EQ(Data::Of(&reader)->entries.GetSize(), 8);
        for (int k = 0; k < 8; ++k) {
            ASSERT_EQ(Description(reader, k), descriptions[size_t(k)]) << round << " " << k;
            ASSERT_EQ(Value(reader, k), values[size_t(k)]) << round << " " << k;
        }
    }
}

// References and the other ways XML spells a character, in attribute values and text.
TEST(ArchiveParserXmlText, HandWrittenReferences)
{
    const struct { const char* xml; const char* text; } cases[] = {
        {"a &amp; b", "a & b"},
        {"&lt;&gt;&quot;&apos;", "<>\"'"},
        {"&#65;&#x42;&#x0043;&#00068;", "ABCD"},
        {"&#38;&#x26;", "&&"},
        {"&#38;amp; &amp;#38; &amp;amp;", "&amp; &#38; &amp;"},
        {"&#60;b&#62;", "<b>"},
        {"&#xE4;&#x20AC;&#x1F600;", "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80", "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"'", "'"},
        {"\"", "\""},
        {"", ""},
    };
    for (const auto& c : cases) {
        // In the description attribute (quoted with " or '), and as string text.
        std::string attribute = c.xml;
        for (const char* quote : {"\"", "'"}) {
            if (attribute.find(quote) != std::string::npos)
                continue;
            std::string doc = std::string("<?xml version=\"1.0\"?><subsection id=\"0\" description=\"x\">"
                                          "<string id=\"1\" description=") + quote + c.xml + quote + ">" + c.xml +
                              "</string></subsection>";
            ArchiveParser p;
            ASSERT_TRUE(Load(p, XmlFile(doc))) << doc;
            EXPECT_EQ(Description(p, 0), c.text) << doc;
            EXPECT_EQ(Value(p, 0), c.text) << doc;
        }
    }
    // Tab, line feed and carriage return survive in attributes as references only; written
    // plainly they are normalised to blanks, as every XML reader does.
    ArchiveParser p;
    ASSERT_TRUE(Load(p, XmlFile("<subsection><string id=\"1\" description=\"&#9;&#10;&#13;|\t\n.\">"
                                "<![CDATA[&amp;<]]>\\t</string></subsection>")));
    EXPECT_EQ(Description(p, 0), "\t\n\r|  .");
    EXPECT_EQ(Value(p, 0), "&amp;<\t");
}

// Entities other than the predefined ones are never expanded: a document that uses one fails.
TEST(ArchiveParserXmlText, DeclaredEntitiesAreNotExpanded)
{
    CaptureMessages capture;
    for (const char* use : {"<string id=\"1\">&e;</string>", "<string id=\"1\" description=\"&e;\"/>"}) {
        ArchiveParser p;
        std::string doc = std::string("<!DOCTYPE subsection [<!ENTITY e \"expanded\">]><subsection>") + use +
                          "</subsection>";
        EXPECT_THROW(Load(p, XmlFile(doc)), CArchiveException) << use;
    }
}

// The reader's attribute values against libxml2's document reader substituting references
// itself (safe here: the documents have no document type declaration).
TEST(ArchiveParserXmlText, AttributeValuesAsTheDocumentReaderGetsThem)
{
    std::mt19937 rng(9);
    for (int round = 0; round < 500; ++round) {
        std::string raw = RandomText(rng, false), written;
        for (char ch : raw) {
            switch (ch) {
            case '&': written += rng() % 2 ? "&amp;" : "&#38;"; break;
            case '<': written += rng() % 2 ? "&lt;" : "&#x3C;"; break;
            case '"': written += rng() % 2 ? "&quot;" : "&#34;"; break;
            case '\t': written += "&#9;"; break;
            case '\n': written += "&#xA;"; break;
            case '\r': written += "&#13;"; break;
            default: written += ch;
            }
        }
        std::string doc = "<subsection><integer id=\"1\" description=\"" + written + "\">1</integer></subsection>";
        std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> peer(
            xmlReadMemory(doc.data(), int(doc.size()), "peer.xml", "UTF-8", XML_PARSE_NONET | XML_PARSE_NOENT),
            xmlFreeDoc);
        ASSERT_TRUE(peer) << doc;
        xmlChar* expected = xmlGetProp(xmlDocGetRootElement(peer.get())->children, BAD_CAST "description");
        ASSERT_TRUE(expected);
        ArchiveParser p;
        ASSERT_TRUE(Load(p, XmlFile(doc))) << doc;
        EXPECT_EQ(Description(p, 0), reinterpret_cast<const char*>(expected)) << doc;
        EXPECT_EQ(Description(p, 0), raw) << doc;
        xmlFree(expected);
    }
}

TEST(ArchiveParserXmlText, DecodeAttributeValue)
{
    const struct { const char* in; const char* out; } cases[] = {
        {"&#38;", "&"},
        {"&#38;#38;", "&#38;"},
        {"&#38;amp;", "&amp;"},
        {"&amp;&lt;&gt;&quot;&apos;", "&<>\"'"},
        {"&#x10FFFF;", "\xF4\x8F\xBF\xBF"},
        {"&#x110000;", "&#x110000;"},
        {"&#xD800;", "&#xD800;"},
        {"&#0;", "&#0;"},
        {"&#;&#x;&#12a;&e;&;&", "&#;&#x;&#12a;&e;&;&"},
        {"&#0000000000000000065;", "&#0000000000000000065;"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeAttributeValue(c.in, strlen(c.in)), c.out) << c.in;
}

} // namespace
