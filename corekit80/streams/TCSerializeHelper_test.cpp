// Tests of the binary layouts of values and of the type info record.
#include "corekit80/streams/TCSerializeHelper.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "corekit80/streams/TCIOStreamSerialize_test.h"
#include "corekit80/streams/TCTypeInfo.h"

namespace {

using SH = TCSerializeHelper;

// The bytes Serialize writes for v, after checking that the null-buffer size agrees.
template <class... A>
std::string Bytes(const A&... v)
{
    int size = SH::Serialize(nullptr, v...);
    std::string out(size_t(size), '\x55');
    EXPECT_EQ(SH::Serialize(out.data(), v...), size);
    return out;
}

TEST(TCSerializeHelper, Layouts)
{
    TCSI_Unit unit;
    unit.factor = 2.0;
    unit.exponents[6] = -3;
    const unsigned char run[] = {9, 0, 8};
    struct Case { std::string bytes, expected; };
    const Case cases[] = {
        {Bytes(true), std::string("\x01", 1)},
        {Bytes(-2), std::string("\xfe\xff\xff\xff", 4)},
        {Bytes(0x89abcdefu), std::string("\xef\xcd\xab\x89", 4)},
        {Bytes(0x1234567890abcdefUL), std::string("\xef\xcd\xab\x90", 4)}, // low 32 bits
        {Bytes(-0.0), std::string("\0\0\0\0\0\0\0\x80", 8)},
        {Bytes(run, 3, 1), std::string("\x03\0\0\0\x09\0\x08", 7)},
        {Bytes(run, 3, 0), std::string("\x09\0\x08", 3)},
        {Bytes(TCString("a\0b", 3)), std::string("\x03\0\0\0a\0b", 7)},
        {Bytes(CString("xy")), std::string("\x02\0\0\0xy", 6)},
        {Bytes(unit), std::string("\0\0\0\0\0\0\0\x40\0\0\0\0\0\0\xfd", 15)},
        {Bytes(reinterpret_cast<const void*>(uintptr_t(0x7f0012345678))), std::string("\x78\x56\x34\x12", 4)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.bytes, c.expected);
}

// The type info record: 59 bytes and the name, its length field counting the rest.
TEST(TCSerializeHelper, TypeInfoRecord)
{
    TCTypeInfo ti, back;
    ti.Name.SetString("a\0b", 3);
    ti.State = TCBS_STOP;
    std::string bytes(size_t(ti.SerializeWithStatus(nullptr)), '\0');
    ASSERT_EQ(ti.SerializeWithStatus(bytes.data()), 62);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x3a\0\0\0", 4));
    EXPECT_EQ(bytes.substr(51), std::string("\x03\0\0\0a\0b\x02\0\0\0", 11));
    back.DeSerializeWithStatus(TCString(bytes.data(), 62));
    EXPECT_EQ(serialize_test::DiffTI(&ti, &back), "");
    for (int len = 0; len < 62; ++len)
        EXPECT_EQ(SH::DeSerializeWithStatus(back, bytes.data(), bytes.data() + len), nullptr) << len;
}

} // namespace
