// Shared libraries opened by path: the reasons of failures, symbols, closing and moving.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "corekit80/platform/TCHostWindow.h"
#include "corekit80/platform/TCSharedLibrary.h"

namespace {

TEST(TCSharedLibrary, FailuresSayWhy)
{
    const std::string text = testing::TempDir() + "tc_shared_library_text.so";
    FILE* f = std::fopen(text.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("not a library\n", f);
    std::fclose(f);
    const struct {
        const char* path;
        const char* says;
    } cases[] = {
        {nullptr, "no file name given"},
        {"", "no file name given"},
        {"/nonexistent/libnothing.so", "No such file"},
        {text.c_str(), text.c_str()},
    };
    for (const auto& c : cases) {
        TCSharedLibrary library;
        EXPECT_FALSE(library.Open(c.path));
        EXPECT_FALSE(library.IsOpen());
        EXPECT_EQ(library.Handle(), nullptr);
        EXPECT_NE(std::string(library.Error()).find(c.says), std::string::npos) << library.Error();
    }
    std::remove(text.c_str());
}

TEST(TCSharedLibrary, SymbolsCloseAndMove)
{
    TCSharedLibrary library;
    // Already loaded by this program, so found by its name.
    ASSERT_TRUE(library.Open("libcorekit80.so.0")) << library.Error();
    EXPECT_STREQ(library.Error(), "");
    // Exported C++ functions go by their mangled names.
    const char* const name = "_Z15TCGetHostWindowv";
    EXPECT_EQ(library.Symbol(name), reinterpret_cast<void*>(&TCGetHostWindow));
    EXPECT_EQ(TCSharedLibrary::Symbol(library.Handle(), name), library.Symbol(name));
    EXPECT_EQ(library.Symbol("TCNoSuchFunction"), nullptr);
    EXPECT_EQ(library.Symbol(nullptr), nullptr);
    TCSharedLibrary moved(std::move(library));
    EXPECT_FALSE(library.IsOpen());
    EXPECT_EQ(library.Symbol(name), nullptr);
    EXPECT_TRUE(moved.IsOpen());
    library = std::move(moved);
    EXPECT_TRUE(library.IsOpen());
    library.Close();
    EXPECT_FALSE(library.IsOpen());
    EXPECT_EQ(library.Symbol(name), nullptr);
    EXPECT_EQ(TCSharedLibrary::Symbol(nullptr, name), nullptr);
}
}  // namespace
