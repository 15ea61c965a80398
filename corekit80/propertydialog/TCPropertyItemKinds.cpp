// The groups of item types that hosts ask about.
#include "corekit80/propertydialog/TCPropertyCodeSetImpl.h"
#include "corekit80/propertydialog/TCPropertyDialogInfoRecord.h"

namespace {
const TCPropertyCodeSet kKinds[TCPD_KIND_COUNT] = {
    {3, 8, 11, 18, 20, 21, 35, 39, 48},      // int
    {3, 21, 48},                             // number
    {4, 26, 50},                             // double
    {5, 6, 7, 12, 13, 16, 17, 28},           // CString
    {24, 38, 40, 41, 42, 43, 44, 47},        // TCString
    {36},                                    // translated string
    {33, 34, 51, 52},                        // file path
    {12, 16, 17, 33, 40, 42, 43, 51, 52},    // file chooser
    {14, 15, 23, 25, 45, 46, 49, 50},        // combo box
    {14, 25},                                // int combo box
    {50},                                    // double combo box
    {15, 23},                                // CString combo box
    {45, 46},                                // TCString combo box
    {49},                                    // bool
    {18, 19},                                // button
    {21, 26},                                // spinner
    {1, 2},                                  // sub-dialog
    {28, 47},                                // editor
    {27, 28, 47},                            // special grid
    {1, 27, 28, 47},                         // own grid
};
} // namespace

bool TCPropertyDialogInfo::IsKind(Types type, TCPropertyItemKind kind)
{
    return kind >= 0 && kind < TCPD_KIND_COUNT && kKinds[kind].Has(type);
}

bool TCPropertyDialogInfo::IsKind(const TCPropertyDialogInfo* info, TCPropertyItemKind kind)
{
    return info && info->m_pImpl && info->m_pImpl->IsKind(kind);
}
