// The "C" locale, created once for the process.
#include "corekit80/types/TCCLocaleImpl.h"

locale_t TCCLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return c;
}
