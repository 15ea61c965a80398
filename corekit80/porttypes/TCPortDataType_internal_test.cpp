// Tests of TCPortDataType: type classes, names, multitypes, adoption, masks, loading.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "corekit80/archive/ArchiveParser.h"
#include "corekit80/porttypes/TCPortDataTypeImpl.h"
#include "corekit80/platform/CMemFile.h"
#include "corekit80/porttypes/TCValidateActualPortTypeHost_test.h"

namespace {

using DATATYPE = TCPortDataType;

unsigned long Code(const DATATYPE& t) { return t; }

TEST(TCPortDataType, FindTypeClassifiesTheFirstToken)
{
    const struct {
        const char* text;
        int count;
        uint32_t code;
        bool single;
    } cases[] = {
        {"SWORD", 1, 0x2000000, true}, {"SWORD{}", 1, 0x1, true}, {"DOUBLE{ANY}", 2, 0x0, true},
        {"TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}", 2, 0x4000040, true},
        {"double{TIME_DOMAIN}", 1, 0x40000000, true}, {"DOUBLE {TIME_DOMAIN}", 1, 0x40000000, true},
        {"MultiType{}", 1, 0x1000000, false}, {"EXT/DB{}", 1, 0x1000000, false},
        {"STRUCT_BUS{BUS}", 1, 0x1000000, true}, {"TYPEINFO{TypeInfo} MultiType{}", 2, 0x5000000, false},
        {"POINTER{SWORD[][]}", 1, 0x10000008, true}, {"POINTER{DOUBLE[][]}", 1, 0x10000080, true},
        {"POINTER{Image}", 1, 0x10000000, true}, {"POINTER{SWORD[][]", 1, 0x10000000, true},
        {"POINTER[]{x}", 1, 0x20000000, true}, {"  UBYTE[]{Text}  ", 1, 0x100, true},
        {"UBYTE[][]{Text}", 1, 0x200, true}, {"SWORD[1]{BIN}", 1, 0x2, true}, {"SWORD[]{BIN}", 1, 0x4, true},
        {"DOUBLE[1]{X}", 1, 0x20, true}, {"SWORD{BIN} DOUBLE{X}", 2, 0x0, true}, {"SWORD{G} DOUBLE{X}", 1, 0x1, true},
        {"X TYPEINFO{TypeInfo} SWORD{BIN}", 2, 0x4000001, true}, {"TYPEINFO{TypeInfo}", 1, 0x6000000, true},
        {"{}", 1, 0x2000000, true}, {"", 1, 0x2000000, true}, {nullptr, 1, 0x2000000, true},
    };
    for (const auto& c : cases) {
        bool single = !c.single;
        EXPECT_EQ(DATATYPE::FindType(c.text, c.count, &single), c.code) << (c.text ? c.text : "null");
        EXPECT_EQ(single, c.single) << (c.text ? c.text : "null");
        EXPECT_EQ(TCPortTypes::Datatype(c.count, c.text), c.code);
    }
}

TEST(TCPortDataType, GetTypeStrNamesTheCode)
{
    const struct {
        unsigned long code;
        const char *declarator, *text;
        int count;
    } cases[] = {
        {0x4000010, nullptr, "TYPEINFO{TypeInfo} DOUBLE{TIME_DOMAIN}", 2}, {0x8, nullptr, "POINTER{SWORD[][]}", 1},
        {0x10000080, "", "POINTER{DOUBLE[][]}", 1}, {0x10000080, "Mine", "POINTER{Mine}", 1},
        {0x10000000, "Image", "POINTER{Image}", 1}, {0x20000008, nullptr, "POINTER[]{}", 1},
        {0x100, "ignored", "UBYTE[]{Text}", 1}, {0x2000000, nullptr, "{}", 1}, {0x1000000, nullptr, "{}", 1},
        {0x3, nullptr, "{}", 1},
    };
    for (const auto& c : cases) {
        int n = -1;
        EXPECT_STREQ(DATATYPE::GetTypeStr(c.code, c.declarator, &n), c.text);
        EXPECT_EQ(n, c.count);
    }
    for (uint32_t code : {0x1, 0x2, 0x4, 0x10000008, 0x10, 0x20, 0x40, 0x10000080, 0x100, 0x200, 0x10000000,
                          0x20000000, 0x2000000})
        for (uint32_t typeInfo : {0u, 0x4000000u}) {
            int n = 0;
            const TCString text = DATATYPE::GetTypeStr(code | typeInfo, nullptr, &n);
            EXPECT_EQ(DATATYPE::FindType(text, n, nullptr), code | typeInfo) << text;
        }
}

struct Declared {
    const char *base, *declarator;
    bool typeInfo;
    uint32_t code;
    const char* shown;
    int count;
};
const Declared kDeclared[] = {
    {"SWORD", nullptr, false, 0x1, "SWORD{BIN}", 1},
    {"SWORD[1]", nullptr, true, 0x4000002, "TYPEINFO{TypeInfo} SWORD[1]{BIN}", 2},
    {"DOUBLE[]", "", true, 0x4000040, "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}", 2},
    {"DOUBLE", "SCALAR", false, 0x10, "DOUBLE{SCALAR}", 1},
    // Held as the text splits: a brace ends the declarator, a leading blank goes.
    {"DOUBLE", " a}b", false, 0x10, "DOUBLE{a}", 1},
    {"UBYTE[]", nullptr, true, 0x4000100, "TYPEINFO{TypeInfo} UBYTE[]{Text}", 2},
    {"UBYTE[][]", nullptr, false, 0x200, "UBYTE[][]{Text}", 1},
    {"STRUCT_BUS", nullptr, false, 0x1000000, "STRUCT_BUS{BUS}", 1},
    {"MultiType", nullptr, false, 0x1000000, "NULL{no_parameters}", 1},
    {"EXT/DB", "x", false, 0x1000000, "NULL{no_parameters}", 1},
    {"POINTER", "SWORD[][]", false, 0x10000008, "POINTER{SWORD[][]}", 1},
    {"POINTER", nullptr, false, 0x10000000, "POINTER{}", 1},
    {"POINTER[]", "Image", false, 0x20000000, "POINTER[]{Image}", 1},
    {"Whatever", nullptr, false, 0x40000000, "Whatever{}", 1},
    {"", "x", false, 0x2000000, nullptr, 0},
};

TEST(TCPortDataType, MultitypeCollectsTokens)
{
    DATATYPE multi, plain;
    multi.ParseType("MultiType", nullptr, false);
    multi.AddMultitype("SWORD", "Gain");
    multi.AddMultitype("DOUBLE", nullptr);  // the default declarator follows the entry's code
    plain.ParseType("SWORD", nullptr, false);
    plain.AddMultitype("DOUBLE", "X");
    int n = 0;
    EXPECT_STREQ(multi.GetPortType(&n), "SWORD{Gain} DOUBLE{}");
    EXPECT_EQ(n, 2);
    EXPECT_STREQ(plain.GetPortType(&n), "SWORD{BIN}");
}

// An undefined port takes the type of the first line and is open again when its lines
// are gone; a MultiType port takes any type while it has no token.
TEST(TCPortDataType, UndefinedPortsAdoptTheOfferedType)
{
    RecordingHost host;
    DATATYPE t, ext;
    t.ParseType("", nullptr, false);
    int n = -1;
    EXPECT_FALSE(t.ValidatePortType(nullptr, 0, "M"));
    EXPECT_FALSE(t.ValidatePortType("SWORD{BIN}", 0, "M"));
    EXPECT_TRUE(t.ValidatePortType("DOUBLE[]{TIME_DOMAIN}", 1, "M"));
    EXPECT_EQ(Code(t), 0x2000040u);
    EXPECT_EQ(t.GetPortType(&n), nullptr);  // no line yet
    t.AddLine(1);
    EXPECT_STREQ(t.GetPortType(&n), "DOUBLE[]{TIME_DOMAIN}");
    EXPECT_TRUE(t.ValidatePortType("DOUBLE[1]{TIME_DOMAIN}", 1, "M"));
    EXPECT_FALSE(t.ValidatePortType("SWORD{BIN}", 1, "M"));
    t.DelLine();
    t.DelLine();
    EXPECT_EQ(t.Lines(), 0);
    EXPECT_TRUE(t.ValidatePortType("TYPEINFO{TypeInfo} SWORD{BIN}", 2, "M"));
    EXPECT_EQ(Code(t), 0x6000001u);

    ext.ParseType("EXT/DB", nullptr, false);
    EXPECT_TRUE(ext.ValidatePortType("SWORD{a} DOUBLE{b}", 2, "M"));
    EXPECT_EQ(Code(ext), 0x1000000u);
    EXPECT_STREQ(ext.GetPortType(&n), "SWORD{a} DOUBLE{b}");
    EXPECT_TRUE(ext.ValidatePortType("SWORD{a} DOUBLE{b}", 2, "M"));
    EXPECT_EQ(host.codes, std::vector<int>{102});

    for (int lines : {INT_MAX, 5, -5})
        t.AddLine(lines);
    EXPECT_EQ(t.Lines(), INT_MAX - 5);
}

TEST(TCPortDataType, MatchesMasksAndCopies)
{
    DATATYPE t;
    t.GenType(0x4000040);
    const struct {
        unsigned long mask;
        int mode;
        bool match;
    } cases[] = {{0x70, 0, true}, {0x0, 0, true}, {0x7, 0, false}, {0x4000041, 1, false}, {0x4000040, 2, true},
                 {0x40, 2, false}, {0x40, 3, false}};
    for (const auto& c : cases)
        EXPECT_EQ(t.DoesDataTypeMatch(c.mask, TCPortTypes::CHECK_DT(c.mode)), c.match) << c.mask << " " << c.mode;
    EXPECT_TRUE(t.DoesDataTypeMatch(0x70));

    DATATYPE a, c;
    a.ParseType("MultiType", nullptr, false);
    a.AddMultitype("SWORD", "Gain");
    a.AddLine(3);
    c.AddLine(2);
    DATATYPE b(a);
    c = a;
    a.AddMultitype("DOUBLE", "Offset");
    int n = 0;
    EXPECT_EQ(Code(b), 0x1000000u);
    EXPECT_STREQ(b.GetPortType(&n), "SWORD{Gain}");
    EXPECT_STREQ(c.GetPortType(&n), "SWORD{Gain}");
    EXPECT_EQ(b.Lines() * 10 + c.Lines(), 2);  // lines are not copied
}

void SerializeAll(ArchiveParser& p, std::vector<DATATYPE>& types)
{
    for (size_t i = 0; i < types.size(); ++i)
        types[i].Serialize(p.SubSection(static_cast<unsigned short>(i), "Data Type", false));
}

// Declared ports show their type, and every type loads back as it was saved.
TEST(TCPortDataType, DeclaredTypesShowAndLoadBack)
{
    std::vector<DATATYPE> saved(std::size(kDeclared) + 2);
    for (size_t i = 0; i < std::size(kDeclared); ++i) {
        const Declared& d = kDeclared[i];
        saved[i].GenType(0x40);  // replaced entirely
        saved[i].ParseType(d.base, d.declarator, d.typeInfo);
        int n = -1;
        EXPECT_STREQ(saved[i].GetPortType(&n), d.shown) << d.base;
        EXPECT_EQ(Code(saved[i]) * 10 + n, d.code * 10ul + d.count) << d.base;
    }
    saved[std::size(kDeclared)].ParseType("MultiType", nullptr, false);
    saved[std::size(kDeclared)].AddMultitype("UBYTE[]", "Name\\ with\\ blanks");
    saved.back().ParseType("", nullptr, false);
    saved.back().ValidatePortType("TYPEINFO{TypeInfo} SWORD[]{BIN}", 2, "M");

    for (bool xml : {false, true}) {
        CMemFile f;
        f.SetFilePath(xml ? "a.tcx" : "a.tc2");
        {
            ArchiveParser writer;
            writer.SaveAscii(xml ? ArchiveParser::modeXML : ArchiveParser::modeBinary);
            CArchive ar(&f, CArchive::store);
            ASSERT_TRUE(writer.BeginSerialize(ar));
            SerializeAll(writer, saved);
            writer.EndSerialize(ar);
            ar.Close();
        }
        std::vector<DATATYPE> loaded(saved.size());
        for (DATATYPE& t : loaded)
            t.GenType(0x1);
        f.SeekToBegin();
        CArchive ar(&f, CArchive::load);
        ArchiveParser reader;
        ASSERT_TRUE(reader.BeginSerialize(ar));
        EXPECT_EQ(IsXMLArchive(&reader), xml);
        SerializeAll(reader, loaded);
        reader.EndSerialize(ar);
        for (size_t i = 0; i < saved.size(); ++i) {
            EXPECT_EQ(Code(loaded[i]), Code(saved[i])) << i << " xml " << xml;
            const TCValidateActualPortType &a = saved[i].Validation(), &b = loaded[i].Validation();
            EXPECT_STREQ(b.GetInternalPortType(), a.GetInternalPortType()) << i;
            EXPECT_EQ(b.GetNoOfInternalPortToken(), a.GetNoOfInternalPortToken()) << i;
        }
    }
}

}  // namespace
