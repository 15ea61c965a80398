// The walk position: a stack of per-level pairs and the end mark.
#include "corekit80/propertydialog/TCPropertyDialogIterator.h"

void TCPropertyDialogIterator::Reset()
{
    m_levels.SetSize(-1);
    m_finished = false;
}

void TCPropertyDialogIterator::Push(int index, bool flag)
{
    m_levels.Add(Level{index, flag});
}

bool TCPropertyDialogIterator::Pop(int& index, bool& flag)
{
    const int n = m_levels.GetSize();
    if (n == 0)
        return false;
    index = m_levels[n - 1].index;
    flag = m_levels[n - 1].flag;
    m_levels.SetSize(n - 1 > 0 ? n - 1 : -1);
    return true;
}
