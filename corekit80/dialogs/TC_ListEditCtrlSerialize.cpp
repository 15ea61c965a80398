// The list edit control's content in an archive.
#include "corekit80/dialogs/TC_ListEditCtrl.h"

#include "corekit80/dialogs/TC_ListEditCtrlImpl.h"

namespace {

bool Fits(int rows, int columns)
{
    using Ctrl = TC_ListEditCtrl;
    return rows >= 0 && columns >= 0 && rows <= Ctrl::maxRows && columns <= Ctrl::maxRows &&
           static_cast<long long>(rows) * columns <= Ctrl::maxCells;
}

CString Name(const char* format, int i)
{
    CString name;
    name.Format(format, i);
    return name;
}

} // namespace

bool TC_ListEditCtrl::Serialize(ArchiveParser* archive)
{
    if (!archive)
        return false;
    CArray<CStringArray>& content = m_impl->content;
    const bool loading = archive->IsLoading();
    int rows = loading ? 0 : content.GetSize();
    int columns = loading || !rows ? 0 : content[0].GetSize();
    if (!loading && !Fits(rows, columns))
        return false;
    archive->Serialize(1, "Number of rows", rows);
    archive->Serialize(2, "Number of columns", columns);
    if (loading) {
        content.SetSize(0);
        if (!Fits(rows, columns))
            return false;
        content.SetSize(rows);
    } else {
        // XML writes keep entries that were not touched: a table that shrank would leave
        // its old lines behind, so the lines are written afresh.
        archive->DeleteEntry(11);
    }
    ArchiveParser* lines = archive->SubSection(11, "Content lines", true);
    for (int i = 0; i < rows; ++i) {
        ArchiveParser* line = lines->SubSection(static_cast<unsigned short>(i), Name("Line %d", i), true);
        CStringArray& cells = content[i];
        if (loading)
            cells.SetSize(columns);
        for (int j = 0; j < columns; ++j) {
            CString stored = loading || j >= cells.GetSize() ? CString() : cells[j];
            line->Serialize(static_cast<unsigned short>(j), Name("Entry %d", j), loading ? cells[j] : stored);
        }
    }
    return true;
}
