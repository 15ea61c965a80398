#pragma once

// TCPropertyDialogIterator, the position of a walk over a property dialog's items.

#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCExport.h"

// The position of a walk (TCPropertyDialog::GetNext and its kin): one (index, flag) pair
// per nesting level, the dialog's own level at the bottom. The index is the next item of
// that level to look at; the flag says that the item at the index is a sub-dialog whose
// items come next. A walk that has reached the end stays there, returning nothing, until
// Reset; IsEmpty holds both before the start and after the end.
class TC_EXPORT TCPropertyDialogIterator {
public:
    struct Level {
        int index;
        bool flag;
    };

    void Reset();
    bool IsEmpty() const { return m_levels.GetSize() == 0; }
    void Push(int index, bool flag);
    // Takes the top pair off; false (and nothing changed) when empty.
    bool Pop(int& index, bool& flag);

    int GetDepth() const { return m_levels.GetSize(); }
    // The pair of nesting level depth (0 is the dialog's own level); depth must be valid.
    const Level& GetLevel(int depth) const { return m_levels[depth]; }
    bool IsFinished() const { return m_finished; }
    void SetFinished() { m_levels.SetSize(-1); m_finished = true; }

private:
    TCArray<Level> m_levels;
    bool m_finished = false;
};
