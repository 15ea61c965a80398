// Tests of the absolute and relative paths against golden data, own rules and random paths.
#include "corekit80/foundation/TCPathUtil.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string TestData(const char* name)
{
    const char* dir = getenv("CK80_TEST_DATA");
    const std::string here = __FILE__;
    return (dir ? std::string(dir) : here.substr(0, here.rfind('/')) + "/../../tests/data") + "/" + name;
}

std::string Abs(const char* base, const char* path) { return static_cast<const char*>(MakeAbsPath(base, path)); }
std::string Rel(const char* base, const char* path) { return static_cast<const char*>(MakeRelPath(base, path)); }

// Expected values computed independently (see tools/gen_path_golden.py).
TEST(TCPathUtil, AgreesWithGoldenData)
{
    std::ifstream in(TestData("path_golden.tsv"));
    ASSERT_TRUE(in) << TestData("path_golden.tsv");
    int cases = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::string field[4];
        for (size_t i = 0, from = 0, tab; i < 4; ++i, from = tab + 1) {
            tab = i < 3 ? line.find('\t', from) : line.size();
            ASSERT_NE(tab, std::string::npos) << line;
            field[i] = line.substr(from, tab - from);
        }
        const bool abs = field[0] == "abs";
        const char *base = field[1].c_str(), *path = field[2].c_str();
        EXPECT_EQ(abs ? Abs(base, path) : Rel(base, path), field[3]) << line;
        const CString framework = abs ? MakeAbsPath(CString(base), path) : MakeRelPath(base, CString(path));
        EXPECT_STREQ(framework, field[3].c_str()) << line;
        ++cases;
    }
    EXPECT_GT(cases, 500);
}

// Rules of our own where other implementations differ.
TEST(TCPathUtil, OwnRules)
{
    const struct { const char *base, *path, *abs, *rel; } cases[] = {
        {"C:\\Data", "\\\\srv\\share\\\\a", "\\\\srv\\share\\a", "\\\\srv\\share\\a"},
        {"C:\\Data", "\\\\srv\\share\\..\\x", "\\\\srv\\x", "\\\\srv\\x"},
        {"C:\\Data", "C:\\..\\x", "C:\\..\\x", "C:\\..\\x"},
        {"C:\\", "..", "C:\\..", ".\\.."},
        {"C:\\Data", "\\x", "\\x", "\\x"},
        {"C:\\Data", "C:x\\..\\y", "C:y", "C:y"},
        {"/home/u", "docs/a.txt", "\\home\\u\\docs\\a.txt", ".\\docs\\a.txt"},
        {"/home/u", "/home/U/a", "\\home\\U\\a", "\\home\\U\\a"},
        {"/home/u", "/", "\\", "\\"},
        {"/", "//srv/x", "\\\\srv\\x", "\\\\srv\\x"},
        {"\\\\", "a\\b", "\\a\\b", ".\\a\\b"},
        {"\\\\srv\\", "x", "\\\\srv\\x", ".\\x"},
        {"\\\\srv\\", "\\\\srv\\x\\..", "\\\\srv", "."},
        {"%HOME%\\cfg", "a", "%HOME%\\cfg\\a", ".\\a"},
        {"%HOME%\\", "x", "%HOME%\\x", ".\\x"},
        {"%HOME%", "%HOME%\\", "%HOME%", "."},
        {"C:\\Data", "%HOME%\\a\\..\\..\\x", "%HOME%\\..\\x", "%HOME%\\..\\x"},
        {"", "a\\b\\..", ".\\a", ".\\a"},
        {"", ".hidden", ".hidden", ".hidden"},
        {"rel", "x", ".\\rel\\x", ".\\rel\\x"},
        {"..", "x", "..\\x", ".\\..\\x"},
        {"C:\\Data", ".", "C:\\Data", "."},
        {"C:", "C:", "C:", "."},  // the drive, not its root "C:\\"
        {"C:", ".", "C:", "."},
        {"C:", "x\\..", "C:", "."},
        {"C:", "x", "C:\\x", ".\\x"},
        {"c:", "C:\\", "C:\\", "C:\\"},
        {nullptr, nullptr, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Abs(c.base, c.path), c.abs) << c.base << " | " << c.path;
        EXPECT_EQ(Rel(c.base, c.path), c.rel) << c.base << " | " << c.path;
    }
}

TEST(TCPathUtil, LongPathsAreCutOutsideCharacters)
{
    const std::string longName = "C:\\" + std::string(255, 'a') + "\xc3\xa4" + "bcdef";
    EXPECT_EQ(Abs("", longName.c_str()), longName.substr(0, 258));
    EXPECT_EQ(Abs("C:\\x", std::string(300, 'b').c_str()).size(), 259u);
}

// Random paths over roots, separators and dot components.
std::string RandomPath(std::mt19937& rng, bool rooted)
{
    static const char* const roots[] = {"C:\\", "d:/", "\\\\srv\\sh\\", "/home/u/", "%HOME%\\", "\\", "e:"};
    static const char* const parts[] = {"a", "B", "c.txt", "..", ".", "...", ".x", "sub dir", "Grüße"};
    static const char* const seps[] = {"\\", "/", "\\\\", "/./"};
    std::string path = rooted ? roots[rng() % 7] : "";
    for (unsigned n = rng() % 6 + (rooted ? 0 : 1); n > 0; --n)
        path += std::string(parts[rng() % 9]) + (n > 1 || rng() % 4 == 0 ? seps[rng() % 4] : "");
    return path;
}

// Drive and UNC folders compare without regard to case.
bool SameFolder(const std::string& a, const std::string& b)
{
    const bool folds = (isalpha(static_cast<unsigned char>(b[0])) && b[1] == ':') || b.compare(0, 2, "\\\\") == 0;
    if (a.size() != b.size() || !folds)
        return a == b;
    for (size_t i = 0; i < a.size(); ++i)
        if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

TEST(TCPathUtil, CanonicalFormIsIdempotent)
{
    std::mt19937 rng(4);
    for (int i = 0; i < 20000; ++i) {
        const std::string path = RandomPath(rng, rng() % 2), base = RandomPath(rng, rng() % 2);
        const std::string abs = Abs(base.c_str(), path.c_str());
        ASSERT_EQ(Abs("", abs.c_str()), abs) << base << " | " << path;
    }
}

TEST(TCPathUtil, RelativeThenAbsoluteGivesTheAbsolutePath)
{
    std::mt19937 rng(5);
    for (int i = 0; i < 20000; ++i) {
        const std::string base = RandomPath(rng, true);
        // Half of the paths lie inside the base.
        const std::string path = rng() % 2 ? base + "\\" + RandomPath(rng, false) : RandomPath(rng, rng() % 2);
        const std::string rel = Rel(base.c_str(), path.c_str());
        const std::string expected = Abs(base.c_str(), path.c_str());
        // The base's spelling wins where case does not matter.
        ASSERT_TRUE(SameFolder(Abs(base.c_str(), rel.c_str()), expected)) << base << " | " << path << " -> " << rel;
        ASSERT_EQ(Rel(base.c_str(), rel.c_str()), rel) << base << " | " << path;
    }
}

} // namespace
