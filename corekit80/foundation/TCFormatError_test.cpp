// Tests of the errno names, messages and composed error texts.
#include "corekit80/foundation/TCFormatError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

TEST(TCFormatError, ConstantNamesAndMessageTexts)
{
    EXPECT_STREQ(TCFormatError::GetErrorConstant(0), "SUCCESS");
    EXPECT_STREQ(TCFormatError::GetErrorConstant(EACCES), "EACCES");
    EXPECT_STREQ(TCFormatError::GetErrorConstant(99999), "Unknown error");
    EXPECT_STREQ(TCFormatError::GetErrorConstant(0x100000000UL + ENOENT), "Unknown error");
    EXPECT_STREQ(TCFormatError::GetLastErrorText(ENOENT), std::strerror(ENOENT)) << "no trailing space";
    EXPECT_STREQ(TCFormatError::GetLastErrorText(0), "Success");
}

TEST(TCFormatError, AsStringComposes)
{
    const struct { int code; const char *name, *text, *detail, *codeFormat, *expected; } cases[] = {
        {2, nullptr, "No such file", "", "%d", "2 (ENOENT): No such file"},
        {2, nullptr, "", "", "%d", "2 (ENOENT)"},
        {2, nullptr, nullptr, nullptr, "%d", "2 (ENOENT)"},
        {2, "", "", "", "%d", "2"},
        {2, "", "text", "more", "%d", "2: text (more)"},
        {255, "MINE", "", "why", "0x%04X", "0x00FF (MINE): (why)"},
        {7, "", "ends with colons::", "", "%d", "7: ends with colons"},
        {-1, nullptr, "", "", nullptr, "-1 (Unknown error)"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(TCFormatError::AsString(c.code, c.name, c.text, c.detail, c.codeFormat), c.expected)
            << c.expected;
}

TEST(TCFormatError, ErrorAndLastErrorAsString)
{
    const std::string noEntry = std::string("2 (ENOENT): ") + std::strerror(ENOENT);
    EXPECT_EQ(std::string(TCFormatError::ErrorAsString(ENOENT, "file %s", "a.txt")), noEntry + " (file a.txt)");
    EXPECT_EQ(std::string(TCFormatError::ErrorAsString(ENOENT, nullptr)), noEntry);
    errno = ENOENT;
    EXPECT_EQ(std::string(TCFormatError::LastErrorAsString("step %d", 3)), noEntry + " (step 3)");
}

} // namespace
