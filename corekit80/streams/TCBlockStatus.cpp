// The rules that split, combine and change block statuses.
#include "corekit80/streams/TCBlockStatus.h"

#include "corekit80/streams/TCTypeInfo.h"

TCBLOCKSTATUS TCBlockStatus::FromMarks(bool start, bool stop)
{
    if (start)
        return stop ? TCBS_COMPLETE : TCBS_START;
    return stop ? TCBS_STOP : TCBS_BUSY;
}

int TCBlockStatus::Split(int status, int count, int index)
{
    if (status < TCBS_START || status > TCBS_COMPLETE)
        return status;
    if (status == TCBS_COMPLETE && count < 2)
        return TCBS_COMPLETE;
    return FromMarks(HasStart(status) && index == 0, HasStop(status) && index == count - 1);
}

TCBLOCKSTATUS TCBlockStatus::Combine(TCBLOCKSTATUS sum, TCBLOCKSTATUS s)
{
    if (sum == TCBS_INVALID)
        return s;
    if (s == TCBS_INVALID)
        return sum;
    if (sum == TCBS_BUSY)
        return s;
    if (s == TCBS_BUSY || s == sum)
        return sum;
    return TCBS_COMPLETE;
}

TCBLOCKSTATUS TCBlockStatus::ChangeMarks(int status, int start, int stop)
{
    return FromMarks(start == -1 ? HasStart(status) : start != 0,
                     stop == -1 ? HasStop(status) : stop != 0);
}

void TCBlockStatus::ChangeFlags(TCTypeInfo* ti, int start, int stop)
{
    if (ti)
        ti->State = ChangeMarks(ti->State, start, stop);
}
