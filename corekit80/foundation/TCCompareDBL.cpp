// The tolerant comparison of doubles: IsEqual, IsGreater, IsLess, Compare and MakeUnequal.
#include "corekit80/foundation/TCCompareDBL.h"

#include <cmath>
#include <cstring>

namespace {

constexpr double kRelativeTolerance = 0x1p-52;  // the spacing of doubles at 1.0
constexpr double kNudge = 0x1p-23;

} // namespace

bool TCCompareDBL::IsEqual(double a, double b, bool exact)
{
    if (std::isnan(a) || std::isnan(b))
        return false;
    if (exact)
        return std::memcmp(&a, &b, sizeof a) == 0;
    if (std::isfinite(a) && std::isfinite(b)) {
        if ((a < 0 && b > 0) || (b < 0 && a > 0))
            return false;
        double difference = a - b;
        if (!std::isfinite(difference))
            return false;
        return std::fabs(difference) <= std::fmax(std::fabs(a), std::fabs(b)) * kRelativeTolerance;
    }
    return a == b;
}

bool TCCompareDBL::IsGreater(double a, double b, bool exact)
{
    return !IsEqual(a, b, exact) && a > b;
}

bool TCCompareDBL::IsGreaterOrEqual(double a, double b, bool exact)
{
    return IsEqual(a, b, exact) || a > b;
}

bool TCCompareDBL::IsLess(double a, double b, bool exact)
{
    return !IsEqual(a, b, exact) && a < b;
}

bool TCCompareDBL::IsLessOrEqual(double a, double b, bool exact)
{
    return IsEqual(a, b, exact) || a < b;
}

int TCCompareDBL::Compare(double a, double b, bool exact)
{
    if (std::isnan(a))
        return std::isnan(b) ? 0 : -1;
    if (std::isnan(b))
        return 1;
    if (IsEqual(a, b, exact))
        return 0;
    return IsGreater(a, b, exact) ? 1 : -1;
}

void TCCompareDBL::MakeUnequal(double& a, double& b)
{
    if (std::isfinite(a) && std::isfinite(b) && IsEqual(a, b, false)) {
        a += kNudge;
        b -= kNudge;
    }
}
