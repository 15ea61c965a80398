// Tests of TCFilePath: relative paths, name parts, placeholders and folder creation.
#include "corekit80/foundation/TCFilePath.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "corekit80/platform/TCScratchHome_test.h"

namespace {

std::string Str(const TCString& s) { return static_cast<const char*>(s); }

// Backslash form of a system path, as the library writes it.
std::string Inside(std::string path)
{
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    return path;
}

TEST(TCFilePath, KeepsPathRelativeToDefaultFolder)
{
    TCFilePath p;
    EXPECT_TRUE(p.SetDefPath("C:/Data/"));
    EXPECT_TRUE(p.SetPath("C:\\Data\\a.txt"));
    EXPECT_FALSE(p.SetPath("c:/data/./a.txt"));
    EXPECT_EQ(Str(p.GetRelPath()), ".\\a.txt");
    EXPECT_EQ(Str(p.GetAbsPath()), "C:\\Data\\a.txt");
    EXPECT_TRUE(p.SetDefPath("D:\\Data"));
    EXPECT_FALSE(p.SetDefPath("D:\\Data\\"));
    EXPECT_EQ(Str(p.GetAbsPath()), "D:\\Data\\a.txt");
    EXPECT_EQ(Str(p.GetDirectory()), "D:\\Data");

    // A path set before the default folder becomes relative to it.
    TCFilePath q("/proj/in/x.dat");
    EXPECT_EQ(Str(q.GetRelPath()), "\\proj\\in\\x.dat");
    EXPECT_EQ(q.GetMessage(12, reinterpret_cast<long>("/proj")), 1);
    EXPECT_EQ(q.GetMessage(12, reinterpret_cast<long>("/proj")), 0);
    EXPECT_EQ(q.GetMessage(13, reinterpret_cast<long>("/x")), 0);
    EXPECT_EQ(Str(q.GetRelPath()), ".\\in\\x.dat");
    TCFilePath copy(q);
    EXPECT_EQ(Str(copy.GetAbsPath()), "\\proj\\in\\x.dat");
    EXPECT_TRUE(TCFilePath().IsEmpty());
}

TEST(TCFilePath, EditedPathIsRebuilt)
{
    TCFilePath p("/a/b.txt");
    p.GetAbsPath();
    EXPECT_FALSE(p.HasChanged());
    p.GetPathRef() = "/a/c.txt";
    EXPECT_TRUE(p.HasChanged());
    EXPECT_EQ(Str(p.GetRelPath()), "\\a\\c.txt");
    EXPECT_EQ(Str(p.GetAbsPath()), "\\a\\c.txt");
    EXPECT_FALSE(p.HasChanged());
}

TEST(TCFilePath, NameParts)
{
    const struct { const char *path, *name, *title, *ext, *dir; } cases[] = {
        {"C:\\d\\f.tar.gz", "f.tar.gz", "f.tar", ".gz", "C:\\d"}, {"C:\\f", "f", "f", "", "C:\\"},
        {"/x/.profile", ".profile", "", ".profile", "\\x"},     {"rel\\..", ".", ".", "", ""},
    };
    for (const auto& c : cases) {
        TCFilePath p(c.path);
        EXPECT_EQ(Str(p.GetFileName()), c.name) << c.path;
        EXPECT_EQ(Str(p.GetFileTitle()), c.title) << c.path;
        EXPECT_EQ(Str(p.GetFileExt()), c.ext) << c.path;
        EXPECT_EQ(Str(p.GetDirectory()), c.dir) << c.path;
    }
}

TEST(TCFilePath, ResolvesEnvironmentOnce)
{
    TCScratchHome home;
    home.Set("CK80_A", "/tmp/a");
    home.Set("CK80_SELF", "%CK80_SELF%");
    home.Set("CK80_EMPTY", "");
    const struct { const char* in; bool shell, env; const char* out; int count; } cases[] = {
        {"%CK80_A%\\x", true, true, "/tmp/a\\x", 1},
        {"%CK80_UNSET%\\x", true, true, "\\x", 0},
        {"%CK80_EMPTY%x", true, true, "x", 0},
        {"%CK80_SELF%-%CK80_SELF%", true, true, "%CK80_SELF%-%CK80_SELF%", 1},
        {"%CK80_A%%CK80_A%%", true, true, "/tmp/a/tmp/a%", 1},
        {"50% of %CK80_A%", true, true, "50CK80_A%", 0},
        {"%CK80_A%", true, false, "%CK80_A%", 0},
        {"%CSIDL_PROFILE%|%CK80_A%", false, true, "|/tmp/a", 1},
    };
    for (const auto& c : cases) {
        TCString path(c.in);
        EXPECT_EQ(TCFilePath::Resolve(path, c.shell, c.env), c.count) << c.in;
        EXPECT_EQ(Str(path), c.out) << c.in;
    }
    CString framework("%CK80_A%");
    EXPECT_EQ(TCFilePath::Resolve(framework), 1);
    EXPECT_STREQ(framework, "/tmp/a");
}

TEST(TCFilePath, ResolvesSpecialFolders)
{
    TCScratchHome home;
    const std::string h = home.Root();
    home.Set("CK80_B", "%CSIDL_PROFILE%");
    const struct { const char* in; std::string out; int count; } cases[] = {
        {"%CSIDL_APPDATA%\\Cfg", h + "/.config\\Cfg", 1},
        {"%CSIDL_NOSUCH%\\x", "\\x", 0},
        {"%CSIDL_DRIVES%\\x", "\\x", 1},
        {"%csidl_profile%", "", 0},
        {"%CSIDL_PROFILE%%CK80_B%", h + "%CSIDL_PROFILE%", 2},
        {"%CSIDL_FLAG_CREATE%", "", 0},
        {"%CSIDL_PROFILE", "%CSIDL_PROFILE", 0},
    };
    for (const auto& c : cases) {
        TCString path(c.in);
        EXPECT_EQ(TCFilePath::Resolve(path), c.count) << c.in;
        EXPECT_EQ(Str(path), c.out) << c.in;
    }
    EXPECT_FALSE(std::filesystem::exists(h + "/.local/share"));
    for (const char* flagged : {"%CSIDL_LOCAL_APPDATA|CSIDL_FLAG_CREATE%", "%CSIDL_FLAG_CREATE&CSIDL_LOCAL_APPDATA%"}) {
        TCString path(flagged);
        EXPECT_EQ(TCFilePath::Resolve(path), 1);
        EXPECT_EQ(Str(path), h + "/.local/share");
        EXPECT_TRUE(std::filesystem::is_directory(h + "/.local/share"));
    }
    // The names are the folder constants' own spelling, in upper case only.
    struct Names : TCFilePath { using TCFilePath::CSIDL2ID; };
    EXPECT_EQ(Names::CSIDL2ID("CSIDL_APPDATA"), 0x1a);
    EXPECT_EQ(Names::CSIDL2ID("CSIDL_COMPUTERSNEARME"), 0x3d);
    EXPECT_EQ(Names::CSIDL2ID("CSIDL_FLAG_CREATE"), 32768);
    EXPECT_EQ(Names::CSIDL2ID("CSIDL_appdata"), -1);
}

TEST(TCFilePath, AbsolutePathResolvesPlaceholdersOfBothPaths)
{
    TCScratchHome home;
    home.Set("CK80_PROJ", "/srv/proj");
    TCFilePath p;
    p.SetDefPath("%CK80_PROJ%\\in");
    p.SetPath("%CK80_PROJ%\\in\\a.txt");
    EXPECT_EQ(Str(p.GetRelPath()), ".\\a.txt");
    EXPECT_EQ(Str(p.GetAbsPath()), "\\srv\\proj\\in\\a.txt");
    p.SetPath("%CSIDL_APPDATA%\\app/x.cfg");
    EXPECT_EQ(Str(p.GetAbsPath()), Inside(home.Root()) + "\\.config\\app\\x.cfg");
    p.EnableResolveCSIDL(false);
    EXPECT_EQ(Str(p.GetAbsPath()), "\\app\\x.cfg");
    p.EnableResolveEnvironment(false);
    EXPECT_EQ(Str(p.GetAbsPath()), "%CSIDL_APPDATA%\\app\\x.cfg");
}

TEST(TCFilePath, CreatesMissingFolders)
{
    TCScratchHome home;
    const std::string deep = home.Root() + "\\one/two\\three\\";
    EXPECT_TRUE(TCFilePath::CreateRecursiveDirectory(deep.c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(home.Root() + "/one/two/three"));
    EXPECT_TRUE(TCFilePath::CreateRecursiveDirectory(deep.c_str()));
    std::ofstream(home.Root() + "/file") << "x";
    EXPECT_FALSE(TCFilePath::CreateRecursiveDirectory((home.Root() + "/file/a/b").c_str()));
    EXPECT_FALSE(TCFilePath::CreateRecursiveDirectory(""));
    TCFilePath p((home.Root() + "/four/five/data.bin").c_str());
    EXPECT_TRUE(p.CreateRecursiveDirectory());
    EXPECT_TRUE(std::filesystem::is_directory(home.Root() + "/four/five"));
}

struct ChooserLog {
    static inline TCFileChooserRequest::Kind kind;
    static inline std::string start, answer;
    static int Choose(const TCFileChooserRequest& r, TCString& chosen)
    {
        kind = r.kind;
        start = r.start;
        chosen = answer.c_str();
        return answer.empty() ? TCFileChooserRequest::RESULT_CANCEL : TCFileChooserRequest::RESULT_OK;
    }
    // Every byte is 10 pixels wide.
    static int Measure(HWND, const char* text) { return static_cast<int>(strlen(text)) * 10; }
};

TEST(TCFilePath, ChoosersAskTheHost)
{
    TCFilePath p("/data/in/a.txt");
    p.SetDefPath("/data");
    EXPECT_EQ(p.DoFileOpenDialog(), TCFileChooserRequest::RESULT_CANCEL);

    TCSetPathUI({ChooserLog::Choose, nullptr});
    ChooserLog::answer = "";
    EXPECT_EQ(p.DoFileSaveDialog("*.txt|*.txt||", "txt"), TCFileChooserRequest::RESULT_CANCEL);
    EXPECT_EQ(ChooserLog::kind, TCFileChooserRequest::SAVE_FILE);
    EXPECT_EQ(ChooserLog::start, "/data/in/a.txt");
    EXPECT_EQ(Str(p.GetRelPath()), ".\\in\\a.txt");

    ChooserLog::answer = "/data/out/b.txt";
    EXPECT_EQ(p.DoFileOpenDialog(), TCFileChooserRequest::RESULT_OK);
    EXPECT_EQ(ChooserLog::kind, TCFileChooserRequest::OPEN_FILE);
    EXPECT_EQ(Str(p.GetRelPath()), ".\\out\\b.txt");

    p.SetPath("/data/*.txt");
    ChooserLog::answer = "/elsewhere";
    EXPECT_EQ(p.DoFolderDialog("Pick"), TCFileChooserRequest::RESULT_OK);
    EXPECT_EQ(ChooserLog::kind, TCFileChooserRequest::FOLDER);
    EXPECT_EQ(ChooserLog::start, "/data");
    EXPECT_EQ(Str(p.GetAbsPath()), "\\elsewhere");
    TCSetPathUI({nullptr, nullptr});
}

TEST(TCFilePath, CompactPathFitsTheWidth)
{
    const HWND window = reinterpret_cast<HWND>(1);
    TCString path("C:\\Folder\\Sub\\file.txt");
    EXPECT_FALSE(TCFilePath::MakeCompactPath(path, 100, nullptr));
    EXPECT_FALSE(TCFilePath::MakeCompactPath(path, 100, window));
    TCSetPathUI({nullptr, ChooserLog::Measure});
    const struct { int width; const char* out; } cases[] = {
        {1000, "C:\\Folder\\Sub\\file.txt"}, {180, "C:\\Fol...\\file.txt"},
        {120, "...\\file.txt"}, {100, "file.tx..."}, {70, "file..."}, {20, "..."},
    };
    for (const auto& c : cases) {
        TCString compact(path);
        EXPECT_TRUE(TCFilePath::MakeCompactPath(compact, c.width, window));
        EXPECT_EQ(Str(compact), c.out) << c.width;
    }
    TCSetPathUI({nullptr, nullptr});
}

} // namespace
