// Icon handles: the stock icons are shared, every other one is allocated per load.
#include "corekit80/platform/TCResourceHandles.h"

#include <new>

namespace {
HICON__ g_hand{nullptr, IDI_HAND};
HICON__ g_asterisk{nullptr, IDI_ASTERISK};

HICON StockIcon(HINSTANCE module, uint32_t resourceId)
{
    if (module)
        return nullptr;
    if (resourceId == IDI_HAND)
        return &g_hand;
    return resourceId == IDI_ASTERISK ? &g_asterisk : nullptr;
}
} // namespace

HICON TCLoadIcon(HINSTANCE module, uint32_t resourceId)
{
    if (resourceId == 0)
        return nullptr;
    if (HICON stock = StockIcon(module, resourceId))
        return stock;
    return new (std::nothrow) HICON__{module, resourceId};
}

void TCDestroyIcon(HICON icon)
{
    if (icon != &g_hand && icon != &g_asterisk)
        delete icon;
}
