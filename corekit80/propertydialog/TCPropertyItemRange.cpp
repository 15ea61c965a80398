// The range of an item: its bounds and the rules that make them fit the item.
#include "corekit80/propertydialog/TCPropertyCodeSetImpl.h"
#include "corekit80/propertydialog/TCPropertyDialogInfoRecord.h"

namespace {
using Item = TCPropertyDialogInfoImpl;

// Items whose bounds are lengths or counts.
constexpr TCPropertyCodeSet kNonNegative = {5, 6, 7, 12, 13, 16, 17, 27, 28, 33, 34, 47, 51, 52};
// The longest path a file chooser hands back.
constexpr double kLongestPath = 259.0;

// Sets one bound; on a combo box, whose entries are its range, clears it instead.
template <class Value>
void SetBound(Item* item, bool lower, Value value)
{
    if (!item)
        return;
    TCPropertyBound& bound = lower ? item->Lower() : item->Upper();
    if (item->IsComboboxItem()) {
        bound.Clear();
        item->SetFlag(Item::FLAG_NEEDS_RANGE_CHECK, false);
        return;
    }
    bound.Set(value);
    item->SetFlag(Item::FLAG_NEEDS_RANGE_CHECK, true);
    item->NormalizeRange();
}

// An int bound of an unsigned item stands for the unsigned value of its bits.
double IntBound(const Item* item, int value)
{
    const bool asUnsigned = item && item->GetType() == TCPropertyDialogInfo::TYPE_UINT && value < 0;
    return asUnsigned ? value + 4294967296.0 : double(value);
}
} // namespace

void TCPropertyDialogInfoImpl::NormalizeRange()
{
    for (TCPropertyBound* bound : {&m_lower, &m_upper}) {
        if (kNonNegative.Has(m_type) && bound->IsPresent() && bound->Read() < 0)
            bound->Write(0.0);
    }
    if (IsFilechooserItem() && m_upper.IsPresent() && m_upper.Read() > kLongestPath)
        m_upper.Write(kLongestPath);
}

TCPropertyDialogInfo& TCPropertyDialogInfo::Min(double value)
{
    SetBound(m_pImpl, true, value);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::Min(int value)
{
    SetBound(m_pImpl, true, IntBound(m_pImpl, value));
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::Min(const int* variable)
{
    SetBound(m_pImpl, true, variable);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::Min(const double* variable)
{
    SetBound(m_pImpl, true, variable);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::Max(double value)
{
    SetBound(m_pImpl, false, value);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::Max(int value)
{
    SetBound(m_pImpl, false, IntBound(m_pImpl, value));
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::Max(const int* variable)
{
    SetBound(m_pImpl, false, variable);
    return *this;
}

TCPropertyDialogInfo& TCPropertyDialogInfo::Max(const double* variable)
{
    SetBound(m_pImpl, false, variable);
    return *this;
}
