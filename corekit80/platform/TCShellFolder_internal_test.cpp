// Tests of the special folders: XDG variables, the user-dirs file, virtual folders.
#include "corekit80/platform/TCShellFolderImpl.h"

#include <fstream>

#include <gtest/gtest.h>

#include "corekit80/platform/TCScratchHome_test.h"

namespace {

std::string Folder(int id)
{
    TCString folder("unchanged");
    EXPECT_TRUE(TCGetSpecialFolderPath(id, folder)) << id;
    return static_cast<const char*>(folder);
}

TEST(TCSpecialFolder, XdgBaseFoldersFollowTheirVariables)
{
    TCScratchHome home;
    const std::string h = home.Root();
    EXPECT_EQ(Folder(CSIDL_APPDATA), h + "/.config");
    EXPECT_EQ(Folder(CSIDL_LOCAL_APPDATA), h + "/.local/share");
    EXPECT_EQ(Folder(CSIDL_INTERNET_CACHE), h + "/.cache");
    EXPECT_EQ(Folder(CSIDL_PROFILE), h);
    EXPECT_EQ(Folder(CSIDL_FONTS), h + "/.local/share/fonts");
    EXPECT_EQ(Folder(CSIDL_STARTUP), h + "/.config/autostart");

    home.Set("XDG_CONFIG_HOME", "/cfg");
    home.Set("XDG_DATA_HOME", "/data");
    home.Set("XDG_CACHE_HOME", "relative/is/ignored");
    EXPECT_EQ(Folder(CSIDL_APPDATA), "/cfg");
    EXPECT_EQ(Folder(CSIDL_PROGRAMS), "/data/applications");
    EXPECT_EQ(Folder(CSIDL_INTERNET_CACHE), h + "/.cache");
}

TEST(TCSpecialFolder, VirtualAndUnknownFolders)
{
    EXPECT_EQ(Folder(CSIDL_DRIVES), "");
    TCString folder("x");
    for (int id : {0x000f, 0x0032, 0x003c, int(CSIDL_FLAG_CREATE), -1}) {
        EXPECT_FALSE(TCGetSpecialFolderPath(id, folder)) << id;
        EXPECT_STREQ(folder, "");
    }
}

TEST(TCSpecialFolder, UserFoldersComeFromUserDirsFile)
{
    TCScratchHome home;
    const std::string h = home.Root();
    EXPECT_EQ(Folder(CSIDL_PERSONAL), h + "/Documents");
    EXPECT_EQ(Folder(CSIDL_DESKTOP), h + "/Desktop");

    std::filesystem::create_directories(h + "/.config");
    std::ofstream(h + "/.config/user-dirs.dirs")
        << "# written by the desktop\n"
           "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
           "  XDG_DOCUMENTS_DIR=\"/srv/docs/\"\n"
           "XDG_MUSIC_DIR=\"$HOME/\"\n"
           "XDG_PICTURES_DIR=\"$HOME/My \\\"Pics\\\"\"\n"
           "XDG_VIDEOS_DIR=\"relative/ignored\"\n"
           "XDG_TEMPLATES_DIR=\"$HOMEX/ignored\"\n"
           "XDG_DESKTOP_DIR=\"unterminated\n";
    EXPECT_EQ(Folder(CSIDL_DESKTOPDIRECTORY), h + "/Schreibtisch");
    EXPECT_EQ(Folder(CSIDL_MYDOCUMENTS), "/srv/docs");
    EXPECT_EQ(Folder(CSIDL_MYMUSIC), h);
    EXPECT_EQ(Folder(CSIDL_MYPICTURES), h + "/My \"Pics\"");
    EXPECT_EQ(Folder(CSIDL_MYVIDEO), h + "/Videos");
    EXPECT_EQ(Folder(CSIDL_TEMPLATES), h + "/Templates");
}

} // namespace
