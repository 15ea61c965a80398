// Tests of blocks as XML: schema-checked round trips, XPath, error texts, integers.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/relaxng.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "corekit80/archive/TCXML.h"
#include "corekit80/foundation/TCSystemTime.h"
#include "corekit80/streams/TCIOStreamSerialize_test.h"

namespace {

using namespace serialize_test;

std::string DocumentText(const TCXML& xml)
{
    TCString text;
    EXPECT_TRUE(xml.GetNodeXML(xml.GetDocument(), text));
    return std::string(text, size_t(text.GetLength()));
}

// The element table as a RELAX NG schema, checked with libxml2.
class Schema {
public:
    Schema()
    {
        std::string path = std::string(__FILE__);
        path = path.substr(0, path.rfind('/') + 1) + "TCIOStreamXml_test.rng";
        xmlRelaxNGParserCtxtPtr pc = xmlRelaxNGNewParserCtxt(path.c_str());
        m_schema = xmlRelaxNGParse(pc);
        xmlRelaxNGFreeParserCtxt(pc);
    }
    ~Schema() { xmlRelaxNGFree(m_schema); }
    bool Valid(const std::string& text) const
    {
        if (!m_schema)
            return false;
        xmlDocPtr doc = xmlReadMemory(text.data(), int(text.size()), "block.xml", nullptr, XML_PARSE_NONET);
        xmlRelaxNGValidCtxtPtr vc = xmlRelaxNGNewValidCtxt(m_schema);
        bool ok = doc && xmlRelaxNGValidateDoc(vc, doc) == 0;
        xmlRelaxNGFreeValidCtxt(vc);
        xmlFreeDoc(doc);
        return ok;
    }

private:
    xmlRelaxNGPtr m_schema = nullptr;
};

TEST(TCIOStreamXML, RandomRoundTripsFollowTheSchema)
{
    Schema schema;
    ASSERT_FALSE(schema.Valid("<Stream><Block/></Stream>")); // the schema does reject
    std::mt19937_64 rng(1205);
    RandomOptions o;
    o.xml = true;
    for (int round = 0; round < 60; ++round) {
        Block original;
        FillRandom(original, rng, o);
        if (round % 3 == 0) { // control characters, zero bytes and backslashes in a string
            const int one = 1;
            TCString odd("a\0b\\q\x01 \t", 8);
            original.SegmentForWrite("odd\x02", false)->SetData(TCIOStream::STRING, 1, &one, &odd, true);
        }
        Loopback a, b;
        ASSERT_EQ(a.s.WriteCopy(&original), 1);
        TCXML xml, reloaded;
        ASSERT_TRUE(a.s.StreamToXML(xml, round % 2 == 0, 0)) << xml.GetError();
        std::string text = DocumentText(xml);
        EXPECT_TRUE(schema.Valid(text)) << text;
        // Through the document itself and through its text.
        ASSERT_TRUE(reloaded.Create(false) && reloaded.LoadXML(text.c_str())) << reloaded.GetError();
        for (TCXML* doc : {&xml, &reloaded}) {
            double before = TCSystemTime();
            ASSERT_EQ(b.s.XMLToStream(*doc), 1) << doc->GetError();
            b.s.RemoveBlock(true);
            const Block& back = *b.s.GetActBlock();
            EXPECT_EQ(Diff(original, back), "") << round << text;
            if (!original.GetTI()) { // a block without type info comes back with one
                ASSERT_TRUE(back.GetTI());
                EXPECT_EQ(back.GetTI()->State, TCBS_BUSY);
                EXPECT_GE(back.GetTI()->Timestamp, before);
            }
        }
    }
}

TEST(TCIOStreamXML, ElementsByXPath)
{
    Loopback s;
    TCTypeInfo ti;
    ti.State = TCBS_COMPLETE;
    ti.Name = "sig\nnal";
    ti.Samplerate = 0.5;
    s.s.SetTI(&ti, false);
    s.s.StartWriteSegments();
    const int dims[] = {2, 1};
    const int ints[] = {1, -1};
    s.s.GetActBlock()->SegmentForWrite("i", false)->SetData(TCIOStream::INT, 2, dims, ints, true);
    s.s.WritePtr(reinterpret_cast<void*>(uintptr_t(0xABCDEF0123)), 4);
    s.s.EndWriteSegments();
    TCXML xml;
    ASSERT_TRUE(s.s.StreamToXML(xml, false, 0));
    std::string path = testing::TempDir() + "ck80_stream_block.xml";
    ASSERT_TRUE(xml.Save(path.c_str())) << xml.GetError();
    struct Case { const char* xpath, *expected; };
    const Case cases[] = {
        {"string(/Stream/Block/TypeInfo/State)", "COMPLETE"},
        {"string(/Stream/Block/TypeInfo/State/@Value)", "3"},
        {"string(/Stream/Block/TypeInfo/Name)", "sig\\nnal"},
        {"string(/Stream/Block/TypeInfo/Samplerate)", "0x1.0000000000000p-1"},
        {"string(/Stream/Block/TypeInfo/Range/Max)", "0x1.0000000000000p+0"},
        {"string(/Stream/Block/Segments/Segment[1]/DataType/@Value)", "1"},
        {"string(/Stream/Block/Segments/Segment[1]/Length)", "2 1"},
        {"string(/Stream/Block/Segments/Segment[1]/Values/Integer)", "0x1 0xffffffff"},
        {"string(/Stream/Block/Segments/Segment[2]/DataType)", "POINTER"},
        {"string(/Stream/Block/Segments/Segment[2]/Values/Pointer)", "0x000000ABCDEF0123"},
        {"count(/Stream/Block/Segments/Segment)", "2"},
    };
    for (const Case& c : cases) {
        std::string cmd = "xmllint --xpath '" + std::string(c.xpath) + "' '" + path + "' 2>&1";
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
        ASSERT_TRUE(pipe);
        char buf[256] = {};
        size_t n = fread(buf, 1, sizeof buf - 1, pipe.get());
        std::string out(buf, n);
        while (!out.empty() && out.back() == '\n')
            out.pop_back();
        EXPECT_EQ(out, c.expected) << c.xpath;
    }
    std::remove(path.c_str());

    TCXML empty;
    EXPECT_TRUE(s.s.StreamToXML(empty, false, 0));
    EXPECT_EQ(DocumentText(empty).find("<Stream/>") != std::string::npos, true);
}

// Reads the Block body into a loopback: the result and the error text.
std::pair<int, std::string> Read(const std::string& body)
{
    TCXML xml;
    EXPECT_TRUE(xml.Create(false) && xml.LoadXML(("<Stream><Block>" + body + "</Block></Stream>").c_str()))
        << xml.GetError();
    Loopback s;
    int r = s.s.XMLToStream(xml);
    return {r, xml.GetError()};
}

TEST(TCIOStreamXML, ErrorTexts)
{
    const std::string state = "<TypeInfo><State>BUSY</State>";
    const std::string seg = "<Segments><Segment><DataType Value='1'/><Length>2</Length>";
    struct Case { std::string body; const char* error; };
    const Case cases[] = {
        {"<TypeInfo><State Value='x'>BUSY</State></TypeInfo>", "Error interpreting State/@Value in TypeInfo"},
        {"<TypeInfo/>", "State is missing in TypeInfo"},
        {"<TypeInfo><State>START_STOP</State></TypeInfo>", "Error interpreting State in TypeInfo"},
        {state + "<Name>\\q</Name></TypeInfo>", "Error unquoting Name in TypeInfo"},
        {state + "<Timestamp>t</Timestamp></TypeInfo>", "Error interpreting Timestamp in TypeInfo"},
        {state + "<Samplerate/></TypeInfo>", "Error interpreting Samplerate in TypeInfo"},
        {state + "<Range><Min>-</Min></Range></TypeInfo>", "Error interpreting Range/Min in TypeInfo"},
        {state + "<Range><Max>x1</Max></Range></TypeInfo>", "Error interpreting Range/Max in TypeInfo"},
        {state + "<Unit>furlong</Unit></TypeInfo>", "Error interpreting Unit in TypeInfo"},
        {"<Segments><Segment><Name>\\q</Name></Segment></Segments>", "Error unquoting Name in Segment"},
        {"<Segments><Segment><DataType Value=''/></Segment></Segments>", "Error interpreting DataType/@Value in Segment"},
        {"<Segments><Segment/></Segments>", "Error DataType is missing in Segment"},
        {"<Segments><Segment><DataType>BYTE</DataType></Segment></Segments>", "Error interpreting DataType in Segment"},
        {"<Segments><Segment><DataType>int</DataType></Segment></Segments>", "Error Length is missing in Segment"},
        {"<Segments><Segment><DataType>UNDEF</DataType><Length>1</Length></Segment></Segments>", "TCIOStream::DataSegment::XMLToStream: Error at SetData"},
        {"<Segments><Segment><DataType Value='9'/><Length>1</Length></Segment></Segments>", "TCIOStream::DataSegment::XMLToStream: Error at SetData"},
        {"<Segments><Segment><DataType>INT</DataType><Length>-1</Length></Segment></Segments>", "TCIOStream::DataSegment::XMLToStream: Error at SetData"},
        {"<Segments><Segment><DataType>INT</DataType><Length>65536 65536</Length></Segment></Segments>", "TCIOStream::DataSegment::XMLToStream: Error at SetData"},
        {"<Segments><Segment><DataType>INT</DataType><Length>0</Length></Segment></Segments>", "TCIOStream::DataSegment::XMLToStream: Error at SetData"},
        {seg + "</Segment></Segments>", "Error Values is missing in Segment"},
        {seg + "<Values/></Segment></Segments>", "Error Integer is missing in Values"},
        {seg + "<Values><Integer>1 x</Integer></Values></Segment></Segments>", "Error interpreting value in Integer"},
        {"<Segments><Segment><DataType>INT</DataType><Length>100000000</Length><Values><Integer>1</Integer></Values></Segment></Segments>", "Error interpreting value in Integer"},
        {"<Segments><Segment><DataType Value='2'/><Length>1</Length><Values/></Segment></Segments>", "Error Double is missing in Values"},
        {"<Segments><Segment><DataType Value='2'/><Length>2</Length><Values><Double>1.5 z</Double></Values></Segment></Segments>", "Error interpreting value in Double"},
        {"<Segments><Segment><DataType>STRING</DataType><Length>2</Length><Values><String/></Values></Segment></Segments>", "Error String is missing Values"},
        {"<Segments><Segment><DataType>STRING</DataType><Length>1</Length><Values><String>\\q</String></Values></Segment></Segments>", "Error unquoting String in Values"},
        {"<Segments><Segment><DataType>POINTER</DataType><Length>1</Length><Values/></Segment></Segments>", "Error Pointer is missing in Values"},
        {"<Segments><Segment><DataType>POINTER</DataType><Length>1</Length><Values><Pointer>zz</Pointer></Values></Segment></Segments>", "Error interpreting value in Pointer"},
        {"<Segments><Segment><DataType>BLOCK</DataType><Length>2</Length><Values><Block><Segments/></Block></Values></Segment></Segments>", "Error Block is missing in Values"},
        {"<Segments><Segment><DataType>BLOCK</DataType><Length>1</Length><Values><Block><TypeInfo/></Block></Values></Segment></Segments>", "State is missing in TypeInfo"},
        {"<Segments><Segment><Name>a</Name><DataType>POINTER</DataType><Length>1</Length><Values><Pointer>0</Pointer></Values></Segment>"
         "<Segment><Name>a</Name></Segment></Segments>", "Error Name occurs twice in Segments"},
    };
    for (const Case& c : cases) {
        auto [r, error] = Read(c.body);
        EXPECT_EQ(r, -2) << c.body;
        EXPECT_EQ(error, c.error) << c.body;
    }
}

// Integer values read as strtoul reads them with a 32-bit unsigned long: a negative text
// is the negated magnitude modulo 2^32, a magnitude beyond 32 bits saturates.
TEST(TCIOStreamXML, IntegerTextsAsUnsigned32)
{
    const struct { const char* text; uint32_t value; } cases[] = {
        {"0", 0},
        {"-0", 0},
        {"-3", 0xFFFFFFFD},
        {"-1", 0xFFFFFFFF},
        {"-2147483648", 0x80000000},
        {"-2147483649", 0x7FFFFFFF},
        {"-4294967295", 1},
        {"-4294967296", 0xFFFFFFFF},
        {"-18446744073709551616", 0xFFFFFFFF},
        {"0x10", 16},
        {"-0x10", 0xFFFFFFF0},
        {"010", 8},
        {"+7", 7},
        {"2147483648", 0x80000000},
        {"4294967295", 0xFFFFFFFF},
        {"4294967296", 0xFFFFFFFF},
        {"0x100000000", 0xFFFFFFFF},
        {"99999999999999999999999", 0xFFFFFFFF},
        {"\n\t 12", 12},
    };
    for (const auto& c : cases) {
        TCXML xml;
        std::string text = std::string("<Stream><Block><Segments><Segment><DataType>INT</DataType><Length>2</Length>"
                                       "<Values><Integer>") + c.text + " 5</Integer></Values></Segment></Segments></Block></Stream>";
        ASSERT_TRUE(xml.Create(false) && xml.LoadXML(text.c_str()));
        Loopback s;
        ASSERT_EQ(s.s.XMLToStream(xml), 1) << c.text << ": " << xml.GetError();
        s.s.RemoveBlock(true);
        const DataSegment* seg = s.s.GetActBlock()->ValidSegment(0);
        ASSERT_TRUE(seg && seg->ElementCount() == 2) << c.text;
        EXPECT_EQ(uint32_t(static_cast<int*>(seg->m_pData)[0]), c.value) << c.text;
        EXPECT_EQ(static_cast<int*>(seg->m_pData)[1], 5) << c.text;
    }
    for (const char* bad : {"-", "- 3", "--3", "x"}) {
        auto [r, error] = Read(std::string("<Segments><Segment><DataType>INT</DataType><Length>1</Length><Values><Integer>") +
                               bad + "</Integer></Values></Segment></Segments>");
        EXPECT_EQ(r, -2) << bad;
        EXPECT_EQ(error, "Error interpreting value in Integer") << bad;
    }
}

TEST(TCIOStreamXML, ReadingRules)
{
    TCXML xml;
    const char* text =
        "<Stream><Block><TypeInfo><State Value='3'>BUSY</State></TypeInfo><Segments><Segment>"
        "<DataType>int</DataType><Length>2 3</Length><Values><Integer>1 2 3 4 5 0xffffffff 7</Integer>"
        "</Values></Segment></Segments></Block></Stream>";
    ASSERT_TRUE(xml.Create(false) && xml.LoadXML(text));
    Loopback s;
    double before = TCSystemTime();
    ASSERT_EQ(s.s.XMLToStream(xml), 1) << xml.GetError();
    s.s.RemoveBlock(true);
    EXPECT_EQ(s.s.GetTI()->State, TCBS_COMPLETE);
    const DataSegment* seg = s.s.GetActBlock()->ValidSegment(0);
    ASSERT_EQ(seg->m_nDims, 2);
    EXPECT_EQ(seg->m_dims[0] * 10 + seg->m_dims[1], 23);
    EXPECT_EQ(static_cast<int*>(seg->m_pData)[5], -1);
    ASSERT_TRUE(xml.LoadXML("<Stream><Block><Segments/></Block></Stream>"));
    ASSERT_EQ(s.s.XMLToStream(xml), 1) << xml.GetError();
    s.s.RemoveBlock(true);
    EXPECT_EQ(s.s.GetTI()->State, TCBS_BUSY);
    EXPECT_GE(s.s.GetTI()->Timestamp, before);
    // A second sequence start while the first is still open is a status conflict; the
    // blocks before it stay dispatched.
    ASSERT_TRUE(xml.LoadXML("<Stream><Block><TypeInfo><State>START</State></TypeInfo><Segments/></Block>"
                            "<Block><TypeInfo><State>START</State></TypeInfo><Segments/></Block></Stream>"));
    EXPECT_EQ(s.s.XMLToStream(xml), -4);
    EXPECT_EQ(s.s.GetBlockCnt(nullptr), 1);
    ASSERT_TRUE(xml.LoadXML("<Other/>"));
    EXPECT_EQ(s.s.XMLToStream(xml), 0);
    TCIOStream unconnected;
    ASSERT_TRUE(xml.LoadXML(text));
    EXPECT_EQ(unconnected.XMLToStream(xml), 0);
}

} // namespace
