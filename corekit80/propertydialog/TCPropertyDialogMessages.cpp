// Error, information and status texts and editor marks, kept in the top-level dialog.
#include "corekit80/propertydialog/TCPropertyDialog.h"

namespace {
TCPropertyDialogImpl* MainRecord(TCPropertyDialog& dialog)
{
    return dialog.IsValid() ? &dialog.GetImpl()->GetMain() : nullptr;
}

void SetMessage(TCPropertyDialogMessage& target, const char* caption, const char* message, HICON icon)
{
    target.caption = caption;
    target.message = message;
    target.icon = icon;
    target.isSet = true;
}
} // namespace

void TCPropertyDialogSetErrorMessage(TCPropertyDialog& dialog, const char* caption, const char* message, HICON icon)
{
    if (TCPropertyDialogImpl* main = MainRecord(dialog))
        SetMessage(main->GetErrorMessage(), caption, message, icon ? icon : TCLoadIcon(nullptr, IDI_HAND));
}

void TCPropertyDialogSetInfoMessage(TCPropertyDialog& dialog, const char* caption, const char* message, HICON icon)
{
    if (TCPropertyDialogImpl* main = MainRecord(dialog))
        SetMessage(main->GetInfoMessage(), caption, message, icon ? icon : TCLoadIcon(nullptr, IDI_ASTERISK));
}

void TCPropertyDialogSetStatusText(TCPropertyDialog& dialog, const char* caption, const char* message)
{
    if (TCPropertyDialogImpl* main = MainRecord(dialog))
        SetMessage(main->GetStatusText(), caption, message, nullptr);
}

void TCPropertyDialogClearStatusField(TCPropertyDialog& dialog)
{
    if (TCPropertyDialogImpl* main = MainRecord(dialog))
        main->SetClearStatusField(true);
}

void TCPropertyEditorMarkLine(TCPropertyDialog& dialog, const char* editorName, const char* line)
{
    TCPropertyDialogImpl* main = MainRecord(dialog);
    if (main && editorName && *editorName && line && *line)
        main->SetEditorMark(editorName, line);
}

void TCPropertyEditorMarkLine(TCPropertyDialog& dialog, const char* editorName, int line)
{
    if (line != 0 && line >= -1)
        TCPropertyEditorMarkLine(dialog, editorName, TCString::FormatS("%d", line));
}
