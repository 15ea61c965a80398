// The built-in string table of property-dialog items.
#include "corekit80/propertydialog/TCPropertyDialogStrings.h"

#include "corekit80/foundation/TCStringResource.h"

namespace {
const _TC_StrResource kTable[] = {
    {TCPD_STR_DISPLAY, "Display", "Anzeige"},
    {TCPD_STR_PARAMETER_SOURCE, "Parameter source", "Parameterquelle"},
    {TCPD_STR_INTERNAL, "Internal", "Intern"},
    {TCPD_STR_EXTERNAL, "External", "Extern"},
    {TCPD_STR_DATABASE, "Database", "Datenbank"},
    {TCPD_STR_YES, "Yes", "Ja"},
    {TCPD_STR_NO, "No", "Nein"},
    {TCPD_STR_ON, "On", "Ein"},
    {TCPD_STR_OFF, "Off", "Aus"},
    {TCPD_STR_GENERAL_PROPERTIES, "General properties", "Allgemeine Einstellungen"},
};
} // namespace

const char* TCPropertyDialogString(int number)
{
    return LoadStrRes(number, int(sizeof kTable / sizeof kTable[0]), kTable);
}
