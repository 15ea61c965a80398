// Tests of bus segment names, validation headers and data-type comparison.
#include "corekit80/streams/TCBusSerializeHelper.h"

#include <gtest/gtest.h>

#include <string>

#include "corekit80/porttypes/TCPortTypes.h"

namespace {

TEST(TCBusSerializeHelper, SegmentNames)
{
    EXPECT_EQ(TCBusSerializeHelper::GenSegmentName(0x40, "DOUBLE[]{TIME_DOMAIN}", 1, 2, "ch", "x"),
              "2\r\nch\r\nx\r\nDT_00000040");
    EXPECT_EQ(TCBusSerializeHelper::GenSegmentName(0x1000000, "DOUBLE[]{TIME_DOMAIN}", 1, 2, "ch", "x"),
              "2\r\nch\r\nx\r\n1 DOUBLE[]{TIME_DOMAIN}");
    TCBusSerializeHelper h;
    EXPECT_EQ(h.PortIdx(), 0);
    EXPECT_FALSE(h.ParseSegmentName("1\r\na\r\nb"));
    EXPECT_TRUE(h.GetSegmentName().IsEmpty());
    ASSERT_TRUE(h.ParseSegmentName("7\r\n\r\ncc\r\nDT_04000040"));
    EXPECT_EQ(h.PortIdx(), 7);
    EXPECT_EQ(h.CompCheck(), "cc");
    EXPECT_EQ(h.GetDataType(), 0x4000040u);
    TCString header = h.SerializeValidation("7\r\n\r\ncc\r\nDT_04000040");
    TCString text("TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}");
    EXPECT_EQ(std::string(header, header.GetLength()),
              std::string("2 \xff\x28\0\0\0", 7) + std::string(text) + " ");
    EXPECT_TRUE(h.SerializeValidation("no parts").IsEmpty());
    EXPECT_EQ(h.PortIdx(), 7); // a failed parse leaves the port index

    TCArray<TCString> names;
    names.Add("a");
    names.Add("");
    EXPECT_EQ(h.FindOutputPort(names, false), 7);
    EXPECT_EQ(h.FindOutputPort(names, true), 1);
    h.ParseSegmentName("0\r\nzz\r\n\r\n1 SWORD{BIN}");
    EXPECT_EQ(h.FindOutputPort(names, true), -1);
    EXPECT_EQ(h.PortIdx(), -1);
}

TEST(TCBusSerializeHelper, ValidationHeaders)
{
    struct Case { const char* validation; int count; const char* text; unsigned long code; };
    const Case cases[] = {
        {"DT_00000001", 1, "SWORD{BIN}", 0x1},
        {"DT_00000080", 1, "POINTER{DOUBLE[][]}", 0x80},
        {"DT_04000010", 2, "TYPEINFO{TypeInfo} DOUBLE{SCALAR}", 0x4000010},
        {"1 UBYTE[][]{Text}", 1, "UBYTE[][]{Text}", 0x200},
        {"2 TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}", 2, "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}", 0x4000040},
        {"1 POINTER{SWORD[][]}", 1, "POINTER{SWORD[][]}", 0x10000008},
        {"1 STRUCT_BUS{BUS}", 1, "STRUCT_BUS{BUS}", 0x1000000},
        {"2 DOUBLE{X} SWORD{BIN}", 2, "DOUBLE{X} SWORD{BIN}", 0},
        {"1 double{X}", 1, "double{X}", 0x40000000},
        {"1 SWORD", 1, "SWORD", 0x2000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.validation);
        TCBusSerializeHelper h, back;
        TCString name = TCString("3\r\nn\r\n\r\n") + c.validation;
        ASSERT_TRUE(h.ParseSegmentName(name));
        EXPECT_EQ(h.GetDataType(), c.code);
        TCString header = h.SerializeValidation(name);
        back.PortIdx() = 3;
        const char* p = header;
        TCString readName;
        ASSERT_TRUE(back.DeSerializeValidation(readName, p, p + header.GetLength()));
        EXPECT_EQ(p, static_cast<const char*>(header) + header.GetLength());
        EXPECT_EQ(back.GetValidation(), TCString::FormatS("%d %s", c.count, c.text));
        // The read name carries the code of the text, which may say more than the "DT_" form.
        unsigned long code = TCPortTypes::Datatype(c.count, c.text);
        EXPECT_EQ(code & TCPortTypes::DT_ELEMENT_BITS, c.code & TCPortTypes::DT_ELEMENT_BITS);
        EXPECT_EQ(readName, TCBusSerializeHelper::GenSegmentName(code, c.text, c.count, 3, "", ""));
        for (int len = 0; len < header.GetLength() - 1; ++len) {
            p = header;
            EXPECT_FALSE(back.DeSerializeValidation(readName, p, p + len)) << len;
        }
    }
}

TEST(TCBusSerializeHelper, SameDataType)
{
    struct Case { const char* own; const char* other; int otherCount; bool match; };
    const Case cases[] = {
        {"1 DOUBLE[]{TIME_DOMAIN}", "DOUBLE[1]{SCALAR}", 1, true},
        {"1 DOUBLE[2]{TIME_DOMAIN}", "DOUBLE[1]{TIME_DOMAIN}", 1, false},
        {"DT_00000008", "POINTER{DOUBLE[][]}", 1, false},
        {"DT_00000008", "POINTER{SWORD[][]}", 1, true},
        {"1 SWORD{BIN}", "SWORD[]{BIN}", 1, false},
        {"0 ", "", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.own);
        TCBusSerializeHelper h;
        ASSERT_TRUE(h.ParseSegmentName(TCString("0\r\nn\r\nkey\r\n") + c.own));
        TCString cache;
        EXPECT_EQ(h.SameDataType(cache, c.other, c.otherCount), c.match);
        EXPECT_EQ(cache, c.match ? "key" : "");
        // A cache equal to the comp-check part answers without looking at the type.
        cache = "key";
        EXPECT_TRUE(h.SameDataType(cache, "nonsense", 1));
    }
}

} // namespace
