// The item record: defaults, effective bounds, owned products and the enabled state.
#include "corekit80/propertydialog/TCPropertyDialogInfoRecord.h"

#include <cfloat>

#include "corekit80/propertydialog/TCPropertyDialog.h"

namespace {
constexpr uint32_t kDefaultFlags = (1u << TCPropertyDialogInfoImpl::FLAG_HORIZONTAL) |
                                   (1u << TCPropertyDialogInfoImpl::FLAG_ENABLED) |
                                   (1u << TCPropertyDialogInfoImpl::FLAG_DYNAMIC);

const char* const kFlagNames[TCPropertyDialogInfoImpl::FLAG_COUNT] = {
    "read-only", "horizontal", "mark-disabled", "always-visible", "hidden",
    "begin-group", "digits-only", "below-separator", "last-element", "status-field",
    "enabled", "needs-edit-right", "initial-callback", "parameter-source", "delete",
    "dynamic-changes", "movable", "deleted", "dynamic", "event",
    "was-created", "selected", "new-caption", "dynamic-contents", "range-check"};
} // namespace

TCPropertyDialogInfoImpl::TCPropertyDialogInfoImpl(Types type, void* var, const char* caption)
    : m_type(type), m_var(var), m_text(caption), m_flags(kDefaultFlags)
{
}

TCPropertyDialogInfoImpl::~TCPropertyDialogInfoImpl()
{
    for (TCPropertyDialogInfo* item : m_dynamicItem.produced)
        delete item;
    ReleaseDynamicSubs();
    for (TCPropertyDialog* dialog : m_dynamicInplace.produced)
        TCDestroyPropertyDialog(*dialog);
    delete m_replaceItem.produced;
    if (m_replaceSub.produced)
        TCDestroyPropertyDialog(*m_replaceSub.produced);
}

const char* TCPropertyDialogInfoImpl::GetFlagName(Flag flag)
{
    return flag >= 0 && flag < FLAG_COUNT ? kFlagNames[flag] : nullptr;
}

bool TCPropertyDialogInfoImpl::GetDefaultFlag(Flag flag)
{
    return flag >= 0 && flag < FLAG_COUNT && ((kDefaultFlags >> flag) & 1u);
}

void TCPropertyDialogInfoImpl::SetCallerContents(CStringArray* contents)
{
    m_callerContents = contents;
    SetFlag(FLAG_DYNAMIC_COMBO_CONTENTS, contents != nullptr);
}

bool TCPropertyDialogInfoImpl::IsIntValued() const
{
    return !IsDblItem();
}

double TCPropertyDialogInfoImpl::GetLowerValue() const
{
    if (m_lower.IsPresent())
        return m_lower.Read();
    if (!IsIntValued())
        return -DBL_MAX;
    return m_type == TCPropertyDialogInfo::TYPE_UINT ? 0.0 : -2147483648.0;
}

double TCPropertyDialogInfoImpl::GetUpperValue() const
{
    if (m_upper.IsPresent())
        return m_upper.Read();
    if (!IsIntValued())
        return DBL_MAX;
    return m_type == TCPropertyDialogInfo::TYPE_UINT ? 4294967295.0 : 2147483647.0;
}

void TCPropertyDialogInfoImpl::SetUserHelpText(const char* text, TCString* callerText)
{
    m_helpText = text;
    m_helpText.TrimLeft();
    m_helpText.TrimRight();
    m_callerHelpText = callerText;
}

void TCPropertyDialogInfoImpl::ReleaseDynamicSubs()
{
    for (TCPropertyDialog* dialog : m_dynamicSub.produced)
        TCDestroyPropertyDialog(*dialog);
    m_dynamicSub.produced.SetSize(0);
    m_dynamicSub.lastCount = 0;
}

TCPropertyDialog* TCPropertyDialogInfoImpl::GetSubDialog() const
{
    const bool sub =
        m_type == TCPropertyDialogInfo::TYPE_SUBDIALOG || m_type == TCPropertyDialogInfo::TYPE_INPLACE;
    return sub ? static_cast<TCPropertyDialog*>(m_var) : nullptr;
}

bool TCPropertyDialogInfoImpl::EvaluateEnabled() const
{
    return m_isEnabled.Call(GetFlag(FLAG_ENABLED));
}
