// Unit texts: TCSI_Convert::scan and TCSI_Unit::FromString on any bytes, and the round
// trips of what they accept through GetString and ToString.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "corekit80/foundation/TCSI_Convert.h"
#include "corekit80/foundation/TCSI_Unit.h"
#include "corekit80/types/TCString.h"

namespace {

// Exponents beyond 10 are valid sums but cannot be written as one symbol's power.
bool Writable(const TCSI_Unit& u)
{
    for (signed char e : u.exponents) {
        if (e < -10 || e > 10)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    TCSI_Unit u;
    if (TCSI_Convert().scan(text.c_str(), u) && Writable(u)) {
        TCString s;
        u.GetString(s);
        TCSI_Unit back;
        if (!TCSI_Convert().scan(s, back) || back != u)
            std::abort();
    }

    TCSI_Unit f;
    if (f.FromString(text.c_str()) && Writable(f) && std::isfinite(f.factor) && f.factor > 0) {
        TCString s;
        f.ToString(s);
        TCSI_Unit back;
        if (!back.FromString(s) || back != f)
            std::abort();
    }
    return 0;
}
