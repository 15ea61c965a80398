// The number that a combo's entry stands for.
#include <climits>
#include <cstdlib>
#include <limits>

#include "corekit80/foundation/TCCompareDBL.h"
#include "corekit80/propertydialog/TCPropertyDialogInfoRecord.h"
#include "corekit80/types/CStringArray.h"
#include "corekit80/types/TCCLocaleImpl.h"

namespace {
// An integer as strtoll reads it, kept within int; 0 when there is none.
int ReadInt(const char* text)
{
    const long long value = std::strtoll(text, nullptr, 10);
    return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : int(value);
}

double ReadDouble(const char* text) { return strtod_l(text, nullptr, TCCLocale()); }

bool Same(int a, int b) { return a == b; }
bool Same(double a, double b) { return TCCompareDBL::IsEqual(a, b); }

template <class V>
V Check(V value, const CStringArray& entries, bool plainNumbers, V& min, V& max, V (*readPlain)(const char*))
{
    min = std::numeric_limits<V>::max();
    max = std::numeric_limits<V>::lowest();
    if (entries.GetSize() == 0)
        return max;
    V number = 0;
    for (int i = 0; i < entries.GetSize(); ++i) {
        const CString& entry = entries[i];
        if (plainNumbers)
            number = readPlain(entry);
        else if (const int colon = entry.Find(':'); colon >= 0)
            number = V(ReadInt(entry.Left(colon)));
        if (Same(number, value))
            return value;
        if (number < min)
            min = number;
        if (number > max)
            max = number;
    }
    return value >= max ? max : min;
}
} // namespace

int TCPropertyDialogInfoImpl::CheckValueForSpecialComboBox(int value, const CStringArray& entries,
                                                           bool plainNumbers)
{
    int min, max;
    return CheckValueForSpecialComboBox(value, entries, plainNumbers, min, max);
}

int TCPropertyDialogInfoImpl::CheckValueForSpecialComboBox(int value, const CStringArray& entries,
                                                           bool plainNumbers, int& min, int& max)
{
    return Check(value, entries, plainNumbers, min, max, ReadInt);
}

double TCPropertyDialogInfoImpl::CheckValueForSpecialComboBox(double value, const CStringArray& entries,
                                                              bool plainNumbers)
{
    double min, max;
    return CheckValueForSpecialComboBox(value, entries, plainNumbers, min, max);
}

double TCPropertyDialogInfoImpl::CheckValueForSpecialComboBox(double value, const CStringArray& entries,
                                                              bool plainNumbers, double& min, double& max)
{
    return Check(value, entries, plainNumbers, min, max, ReadDouble);
}
