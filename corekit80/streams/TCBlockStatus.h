#pragma once

// TCBlockStatus, the start and stop marks of block sequences.

#include <cstdint>

#include "corekit80/types/TCExport.h"

class TCTypeInfo;

// The sequence mark of a block: a producer marks the first block of a sequence with a
// start mark and the last with a stop mark; a block inside a sequence is BUSY and a whole
// sequence in one block is COMPLETE. Any value outside -1..3 is unknown and, like
// INVALID, carries neither mark.
enum TCBLOCKSTATUS : int32_t {
    TCBS_INVALID = -1,
    TCBS_START = 0,
    TCBS_BUSY = 1,
    TCBS_STOP = 2,
    TCBS_COMPLETE = 3,
};

// The rules that split and combine statuses. Every rule works on the two marks, so a
// status of a block cut into parts, or of blocks summed up, keeps its start and stop.
class TC_EXPORT TCBlockStatus {
public:
    static bool HasStart(int status) { return status == TCBS_START || status == TCBS_COMPLETE; }
    static bool HasStop(int status) { return status == TCBS_STOP || status == TCBS_COMPLETE; }
    // The status with exactly these marks.
    static TCBLOCKSTATUS FromMarks(bool start, bool stop);

    // The status of part index (0-based) of a block of status cut into count parts:
    // the start mark goes to the first part, the stop mark to the last. A status outside
    // 0..3 is returned unchanged.
    static int Split(int status, int count, int index);

    // Folds the status s of one more block into the combined status sum of the blocks
    // before it (start with TCBS_INVALID): the marks are united, INVALID is skipped.
    static TCBLOCKSTATUS Combine(TCBLOCKSTATUS sum, TCBLOCKSTATUS s);

    // The status whose start mark is that of status when start is -1, else start != 0,
    // and likewise for the stop mark.
    static TCBLOCKSTATUS ChangeMarks(int status, int start, int stop);
    // ti's State changed by ChangeMarks; nothing for a null ti.
    static void ChangeFlags(TCTypeInfo* ti, int start, int stop);
};
