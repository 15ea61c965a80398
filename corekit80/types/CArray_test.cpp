// Tests of CStringArray and nested arrays through growth, shifts, copies and bytewise moves.
#include "corekit80/types/CArray.h"

#include <gtest/gtest.h>

#include <string>

#include "corekit80/types/CString.h"
#include "corekit80/types/CStringArray.h"

namespace {

CString Text(int i) { return CString(std::to_string(i).c_str()); }

// Strings with embedded zero bytes keep their whole content through growth,
// shifts, adding an element of the array itself, and copies.
TEST(CStringArray, KeepsBinaryStringsThroughGrowthShiftsAndCopies)
{
    const CString binary("a\0b", 3);
    CStringArray a;
    for (int i = 0; i < 100; ++i)
        a.Add(Text(i));
    a.InsertAt(0, "first");
    a.InsertAt(50, binary, 3);
    for (int i = 0; i < 40; ++i)
        a.Add(a[50]);
    a.RemoveAt(10, 20);
    ASSERT_EQ(a.GetSize(), 124);
    EXPECT_EQ(a[0], "first");
    EXPECT_EQ(a[10], Text(29));
    for (int i : {30, 32, 84, 123}) {
        ASSERT_EQ(a[i].GetLength(), 3) << i;
        EXPECT_EQ(a[i][2], 'b');
    }
    CStringArray b(a);
    b.SetAt(0, "changed");
    b.Append(a);
    EXPECT_EQ(a[0], "first");
    EXPECT_EQ(b.GetSize(), 248);
    EXPECT_EQ(b[124], "first");
}

// Rows of string arrays, as tables are kept, survive the bytewise moves of the
// outer array; the framework's form with a non-const reference argument works too.
TEST(CStringArray, RowsSurviveBytewiseMoves)
{
    CArray<CStringArray> rows;
    for (int r = 0; r < 60; ++r) {
        CStringArray row;
        row.SetSize(r % 5);
        for (int c = 0; c < row.GetSize(); ++c)
            row[c] = Text(r * 10 + c);
        rows.InsertAt(0, row);
    }
    for (int r = 0; r < 60; ++r) {
        const CStringArray& row = rows[59 - r];
        ASSERT_EQ(row.GetSize(), r % 5);
        if (row.GetSize() > 0) {
            EXPECT_EQ(row[row.GetUpperBound()], Text(r * 10 + r % 5 - 1));
        }
    }
    CArray<CString, CString&> refs;
    CString s("x");
    refs.SetAtGrow(3, s);
    refs.InsertAt(0, refs[3], 2);
    EXPECT_EQ(refs.GetSize(), 6);
    EXPECT_EQ(refs[0], "x");
    EXPECT_EQ(refs[2], "");
}

} // namespace
