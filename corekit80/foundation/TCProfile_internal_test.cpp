// Tests of the profile functions: keys, existence, no files from reads, and a model.
#include "corekit80/foundation/TCProfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <variant>

#include "corekit80/platform/TCProfileStoreImpl.h"
#include "corekit80/platform/TCScratchHome_test.h"

namespace {

// Both scopes in files of a scratch folder.
class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_home.Set("COREKIT80_USER_PROFILE", (m_home.Root() + "/user.db").c_str());
        m_home.Set("COREKIT80_MACHINE_PROFILE", (m_home.Root() + "/machine.db").c_str());
    }
    void TearDown() override { ChangeRegistryPath("Software\\Vandrel\\FLOWDECK\\"); }
    TCScratchHome m_home;
};

TEST_F(ProfileTest, SectionsAreSubKeysOfTheRoot)
{
    SaveUserProfileInt("Modules\\Filter", "Order", 4);
    for (const char* key : {"Software", "Software\\Vandrel\\FLOWDECK\\Modules",
                            "software\\vandrel\\flowdeck\\modules\\filter"})
        EXPECT_TRUE(TCProfileStore::KeyExists(TCProfileStore::USER, key)) << key;
    int order = 0;
    EXPECT_TRUE(TCProfileStore::LoadInt(TCProfileStore::USER,
                                        "Software\\Vandrel\\FLOWDECK\\Modules\\Filter", "Order", order));
    EXPECT_EQ(order, 4);

    EXPECT_STREQ(ChangeRegistryPath("Software\\Test\\"), "Software\\Vandrel\\FLOWDECK\\");
    EXPECT_STREQ(GetRegistryPath(), "Software\\Test\\");
    EXPECT_EQ(LoadUserProfileInt("Modules\\Filter", "Order", -1), -1);
    SaveUserProfileInt("Modules\\Filter", "Order", 5);
    EXPECT_TRUE(TCProfileStore::LoadInt(TCProfileStore::USER, "Software\\Test\\Modules\\Filter",
                                        "Order", order));
    EXPECT_EQ(order, 5);
    // Deleting the last value keeps its section.
    DeleteUserProfileInt("Modules\\Filter", "Order");
    EXPECT_TRUE(TCProfileStore::KeyExists(TCProfileStore::USER, "Software\\Test\\Modules\\Filter"));
}

TEST_F(ProfileTest, ExistsNeedsAValueThatFitsTheBuffer)
{
    EXPECT_FALSE(ExistsUserProfileKey("Nowhere", "Entry"));
    SaveUserProfileString("Here", "Fits", std::string(254, 'x').c_str());
    SaveUserProfileString("Here", "TooLong", std::string(255, 'x').c_str());
    SaveUserProfileInt("Here", "", 1);
    EXPECT_FALSE(ExistsUserProfileKey("Here", "Entry"));
    EXPECT_TRUE(ExistsUserProfileKey("Here", "Fits"));
    EXPECT_FALSE(ExistsUserProfileKey("Here", "TooLong"));
    EXPECT_TRUE(ExistsUserProfileKey("Here", nullptr));
    EXPECT_EQ(LoadUserProfileString("Here", "TooLong").GetLength(), 255);
}

TEST_F(ProfileTest, ReadsCreateNoFile)
{
    EXPECT_EQ(LoadUserProfileInt("S", "E", 3), 3);
    EXPECT_STREQ(LoadMachineProfileString("S", "E"), "");
    EXPECT_FALSE(ExistsMachineProfileKey("S", "E"));
    EXPECT_FALSE(std::filesystem::exists(m_home.Root() + "/user.db"));
    EXPECT_FALSE(std::filesystem::exists(m_home.Root() + "/machine.db"));
}

// Random saves, loads, deletes and existence tests over both scopes, with names that
// differ only in case, against a map whose keys are folded to lower case: values read
// only as their own type, the scopes are separate, and either delete removes any type.
TEST_F(ProfileTest, AgreesWithAModel)
{
    using Value = std::variant<int, std::string>;
    using Key = std::tuple<int, std::string, std::string>;
    std::map<Key, Value> model;
    auto fold = [](std::string s) {
        for (char& c : s)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        return s;
    };
    const char* sections[] = {"Dlg", "DLG", "dlg\\Sub", "Dlg\\SUB", "Other"};
    const char* entries[] = {"Width", "WIDTH", "width", "Name", "nAME", ""};
    std::mt19937 random(80);
    for (int step = 0; step < 500; ++step) {
        const bool user = random() % 2;
        const char* section = sections[random() % std::size(sections)];
        const char* entry = entries[random() % std::size(entries)];
        const Key key{user, fold(section), fold(entry)};
        const auto found = model.find(key);
        const int number = static_cast<int>(random());
        const std::string text = std::to_string(number % 1000) + std::string(random() % 3 * 130, 'y');
        SCOPED_TRACE(testing::Message() << "step " << step << " " << section << " " << entry);
        switch (random() % 6) {
        case 0:
            (user ? SaveUserProfileInt : SaveMachineProfileInt)(section, entry, number);
            model[key] = number;
            break;
        case 1:
            (user ? SaveUserProfileString : SaveMachineProfileString)(section, entry, text.c_str());
            model[key] = text;
            break;
        case 2:
            (user ? DeleteUserProfileInt : DeleteMachineProfileString)(section, entry);
            model.erase(key);
            break;
        case 3: {
            const bool isInt = found != model.end() && found->second.index() == 0;
            EXPECT_EQ((user ? LoadUserProfileInt : LoadMachineProfileInt)(section, entry, -1),
                      isInt ? std::get<int>(found->second) : -1);
            break;
        }
        case 4: {
            const bool isText = found != model.end() && found->second.index() == 1;
            EXPECT_STREQ((user ? LoadUserProfileString : LoadMachineProfileString)(section, entry),
                         isText ? std::get<std::string>(found->second).c_str() : "");
            break;
        }
        case 5: {
            const bool fits = found != model.end() &&
                              (found->second.index() == 0 || std::get<std::string>(found->second).size() < 255);
            EXPECT_EQ((user ? ExistsUserProfileKey : ExistsMachineProfileKey)(section, entry), fits);
            break;
        }
        }
    }
}

}  // namespace
