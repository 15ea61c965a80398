#pragma once

// The builders of property-dialog items that edit one value: numbers, texts, fonts,
// colours, times, paths, buttons, lists and separators.

#include "corekit80/platform/TCResourceHandles.h"
#include "corekit80/propertydialog/TCPropertyDialogInfo.h"
#include "corekit80/propertydialog/TCPropertyListHeader.h"
#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCExport.h"

class CString;
class CStringArray;
class TCFilePath;
class TCString;
class TCTranslatedFont;
class TCTranslatedString;
struct CHARFORMATA;
struct COleDateTime;
struct CTime;
struct LOGFONTA;
struct SYSTEMTIME;
struct TCKeyboardHook_KEY;

// Every builder adds one item to dialog and returns it (see TCPropertyDialogInfo::Create):
// the item points at the module's variable, which the host reads and writes while the
// dialog is shown, so the variable must outlive the dialog. The comment of each builder
// names the item type it makes (TCPropertyDialogInfo::Types).

// 3 int, 48 unsigned int, 4 double, 8 int 0 or 1, 11 colour (0x00BBGGRR).
TC_EXPORT TCPropertyDialogInfo& TCPropertyInt(TCPropertyDialog& dialog, int& value, const char* caption);
TC_EXPORT TCPropertyDialogInfo& TCPropertyInt(TCPropertyDialog& dialog, unsigned int& value, const char* caption);
TC_EXPORT TCPropertyDialogInfo& TCPropertyDbl(TCPropertyDialog& dialog, double& value, const char* caption);
TC_EXPORT TCPropertyDialogInfo& TCPropertyBool(TCPropertyDialog& dialog, int& value, const char* caption);
TC_EXPORT TCPropertyDialogInfo& TCPropertyColor(TCPropertyDialog& dialog, unsigned long& colour,
                                                const char* caption);
// Spinners, 21 int and 26 double, stepping by step.
TC_EXPORT TCPropertyDialogInfo& TCPropertySpin(TCPropertyDialog& dialog, int& value, const char* caption,
                                               const int& step = 1);
TC_EXPORT TCPropertyDialogInfo& TCPropertySpinDbl(TCPropertyDialog& dialog, double& value, const char* caption,
                                                  const double& step = 0.1);

// 9 logical font (a TCLogFont is one; its colour is not edited), 10 rich-text character
// format, 29 translated font.
TC_EXPORT TCPropertyDialogInfo& TCPropertyFont(TCPropertyDialog& dialog, LOGFONTA& font, const char* caption);
TC_EXPORT TCPropertyDialogInfo& TCPropertyFont(TCPropertyDialog& dialog, CHARFORMATA& format,
                                               const char* caption);
TC_EXPORT TCPropertyDialogInfo& TCPropertyFont(TCPropertyDialog& dialog, TCTranslatedFont& font,
                                               const char* caption);

// 30 OLE date, 31 time, 32 calendar record, 35 seconds.
TC_EXPORT TCPropertyDialogInfo& TCPropertyDateTime(TCPropertyDialog& dialog, COleDateTime& value,
                                                   const char* caption);
TC_EXPORT TCPropertyDialogInfo& TCPropertyDateTime(TCPropertyDialog& dialog, CTime& value, const char* caption);
TC_EXPORT TCPropertyDialogInfo& TCPropertyDateTime(TCPropertyDialog& dialog, SYSTEMTIME& value,
                                                   const char* caption);
TC_EXPORT TCPropertyDialogInfo& TCPropertyDateTime(TCPropertyDialog& dialog, long& seconds, const char* caption);
// 37.
TC_EXPORT TCPropertyDialogInfo& TCPropertyHotKey(TCPropertyDialog& dialog, TCKeyboardHook_KEY& key,
                                                 const char* caption);

// Texts: 5 CString, 24 TCString, 36 translated; newCaption puts the control below the
// caption.
TC_EXPORT TCPropertyDialogInfo& TCPropertyString(TCPropertyDialog& dialog, CString& text, const char* caption,
                                                 const bool& newCaption = false);
TC_EXPORT TCPropertyDialogInfo& TCPropertyString(TCPropertyDialog& dialog, TCString& text, const char* caption,
                                                 const bool& newCaption = false);
TC_EXPORT TCPropertyDialogInfo& TCPropertyString(TCPropertyDialog& dialog, TCTranslatedString& text,
                                                 const char* caption, const bool& newCaption = false);
// 6 CString, 38 TCString, lines high: -1 for the most, 19; kept within 1 .. 19.
TC_EXPORT TCPropertyDialogInfo& TCPropertyMultiline(TCPropertyDialog& dialog, CString& text, const char* caption,
                                                    const int& lines = -1);
TC_EXPORT TCPropertyDialogInfo& TCPropertyMultiline(TCPropertyDialog& dialog, TCString& text,
                                                    const char* caption, const int& lines = -1);
// Source editors: 28 CString, 47 TCString.
TC_EXPORT TCPropertyDialogInfo& TCPropertyEditor(TCPropertyDialog& dialog, CString& text, const char* caption,
                                                 const bool& newCaption = false);
TC_EXPORT TCPropertyDialogInfo& TCPropertyEditor(TCPropertyDialog& dialog, TCString& text, const char* caption,
                                                 const bool& newCaption = false);
// 7 CString, 44 TCString.
TC_EXPORT TCPropertyDialogInfo& TCPropertyPassword(TCPropertyDialog& dialog, CString& password,
                                                   const char* caption);
TC_EXPORT TCPropertyDialogInfo& TCPropertyPassword(TCPropertyDialog& dialog, TCString& password,
                                                   const char* caption);

// 33 file, 34 folder; 51 icon and 52 bitmap files with the handle of what was loaded.
TC_EXPORT TCPropertyDialogInfo& TCPropertyFile(TCPropertyDialog& dialog, TCFilePath& path, const char* caption);
TC_EXPORT TCPropertyDialogInfo& TCPropertyFolder(TCPropertyDialog& dialog, TCFilePath& path, const char* caption);
TC_EXPORT TCPropertyDialogInfo& TCPropertyIcon(TCPropertyDialog& dialog, TCFilePath& path, HICON& icon,
                                               const char* caption);
TC_EXPORT TCPropertyDialogInfo& TCPropertyBitmap(TCPropertyDialog& dialog, TCFilePath& path, HBITMAP& bitmap,
                                                 const char* caption);

// Buttons labelled buttonText: 18 with an int the click may change, 19 without.
TC_EXPORT TCPropertyDialogInfo& TCPropertyButton(TCPropertyDialog& dialog, int& value, const char* caption,
                                                 const char* buttonText);
TC_EXPORT TCPropertyDialogInfo& TCPropertyButton(TCPropertyDialog& dialog, const char* caption,
                                                 const char* buttonText);

// 27: a table of rows with the columns described by headers (copied); newCaption puts
// the table below the caption.
TC_EXPORT TCPropertyDialogInfo& TCPropertyListCtrl(TCPropertyDialog& dialog, TCArray<CStringArray>& rows,
                                                   const char* caption, TCArray<TCPropertyListHeader>& headers,
                                                   const bool& newCaption = false);
// 22: a line between groups of items.
TC_EXPORT TCPropertyDialogInfo& TCPropertySeparator(TCPropertyDialog& dialog);
