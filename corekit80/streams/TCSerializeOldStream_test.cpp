// Tests of old-stream items, integers against strtol, type info and truncations.
#include "corekit80/streams/TCSerializeOldStream.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "corekit80/streams/TCIOStreamSerialize_test.h"
#include "corekit80/streams/TCTypeInfo.h"

namespace {

using OS = TCSerializeOldStream;

std::string Str(const TCString& s) { return std::string(s, size_t(s.GetLength())); }

TEST(TCSerializeOldStream, Items)
{
    const int ints[] = {1, 2, 3};
    TCSI_Unit unit;
    unit.factor = 1.0;
    unit.exponents[1] = -1;
    struct Case { TCString text; std::string expected; };
    const Case cases[] = {
        {OS::Serialize(-5), "-5 "},
        {OS::Serialize(ints, 3), "1 2 3 "},
        {OS::Serialize(0.5), std::string("\xfe\0\0\0\0\0\0\xe0\x3f ", 10)},
        {OS::Serialize(TCString("a\0b", 3)), std::string("\xff\x03\0\0\0a\0b ", 9)},
        {OS::Serialize(CString()), std::string("\xff\0\0\0\0 ", 6)},
        {OS::Serialize(reinterpret_cast<const void*>(uintptr_t(0x7f0001020304))), "\xfd\x04\x03\x02\x01"},
        {OS::Serialize(unit), std::string("\xfe\0\0\0\0\0\0\xf0\x3f ", 10) + "0 -1 0 0 0 0 0 "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(c.text), c.expected);
}

// Integers read as strtol reads them in base 10, saturated to 32 bits.
TEST(TCSerializeOldStream, IntegersAgainstStrtol)
{
    const char* texts[] = {"0 ", "-5 ", "  42\t", "+7 ", "2147483647 ", "2147483648 ",
                           "-2147483649 ", "99999999999999999999 ", "12x", "- 1", "x ", " ", "0x10 "};
    for (const char* t : texts) {
        SCOPED_TRACE(t);
        const char* p = t;
        const char* end = t + std::strlen(t);
        char* stop;
        long long expected = std::strtoll(t, &stop, 10);
        expected = expected > INT_MAX ? INT_MAX : expected < INT_MIN ? INT_MIN : expected;
        int v = -99;
        bool ok = OS::DeSerialize(v, p, end);
        EXPECT_EQ(v, expected);
        EXPECT_EQ(ok, stop < end && (*stop == ' ' || *stop == '\t'));
    }
    const char* p = nullptr;
    int v;
    EXPECT_FALSE(OS::DeSerialize(v, p, p));
    EXPECT_FALSE(OS::EatOneWS(p, p));
}

// Type info as status and items; every proper prefix fails but the one without the
// name's blank, which is optional.
TEST(TCSerializeOldStream, TypeInfoAndTruncations)
{
    std::mt19937_64 rng(11);
    for (int round = 0; round < 50; ++round) {
        TCTypeInfo ti, back;
        serialize_test::RandomTypeInfo(ti, rng, serialize_test::RandomOptions());
        TCBLOCKSTATUS s;
        TCString text = OS::Serialize(ti.State, ti);
        const char* p = text;
        const char* end = p + text.GetLength();
        ASSERT_TRUE(OS::DeSerialize(s, back, p, end) && p == end);
        back.State = s;
        EXPECT_EQ(serialize_test::DiffTI(&ti, &back), "");
        for (int len = 0; len < text.GetLength() - 1; ++len)
            EXPECT_FALSE(OS::DeSerialize(s, back, p = text, static_cast<const char*>(text) + len)) << len;
    }
}

} // namespace
