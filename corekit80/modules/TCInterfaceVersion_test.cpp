// Interface versions read from a module library's exports. This program exports the two
// functions itself, so its own handle stands for a module library.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include "corekit80/modules/TCInterfaceVersion.h"
#include "corekit80/modules/TCModuleLibrary.h"

namespace {
int g_provided = 0;
int g_required = 0;
}

int TCGetInterfaceVersionProvidedByModule() { return g_provided; }
int TCGetInterfaceVersionRequiredByModule() { return g_required; }

namespace {

TEST(TCInterfaceVersion, ExportsBelowTheFloorGiveTheFloor)
{
    void* self = dlopen(nullptr, RTLD_LAZY);
    ASSERT_NE(self, nullptr);
    const struct {
        int exported, provided, required;
    } cases[] = {{650, 800, 700}, {699, 800, 700}, {700, 800, 700}, {800, 800, 800},
                 {801, 801, 801}, {-1, 800, 700}, {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF}};
    for (const auto& c : cases) {
        g_provided = g_required = c.exported;
        EXPECT_EQ(TCGetInterfaceVersionProvidedByBase(self), c.provided) << c.exported;
        EXPECT_EQ(TCGetInterfaceVersionRequiredByBase(self), c.required) << c.exported;
    }
    dlclose(self);
}

TEST(TCInterfaceVersion, MissingLibraryOrExportGivesTheFloor)
{
    EXPECT_EQ(TCGetInterfaceVersionProvidedByBase(nullptr), 800);
    EXPECT_EQ(TCGetInterfaceVersionRequiredByBase(nullptr), 700);
    // The library itself exports neither function.
    void* library = dlopen("libcorekit80.so.0", RTLD_LAZY | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr);
    g_provided = g_required = 900;
    EXPECT_EQ(TCGetInterfaceVersionProvidedByBase(library), 800);
    EXPECT_EQ(TCGetInterfaceVersionRequiredByBase(library), 700);
    dlclose(library);
}

}  // namespace
