// The resource language: from the locale until it is set.
#include "corekit80/foundation/TCResourceLanguage.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<int> g_mode{-1};

int LocaleLanguage()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return std::strncmp(value, "de", 2) == 0 ? 1 : 0;
    }
    return 0;
}

}  // namespace

int TCGetResourceLanguage()
{
    int mode = g_mode.load(std::memory_order_relaxed);
    return mode < 0 ? LocaleLanguage() : mode;
}

int TCSetLoadStrResLanguage(int language)
{
    return g_mode.exchange(std::clamp(language, 0, 1), std::memory_order_relaxed);
}
