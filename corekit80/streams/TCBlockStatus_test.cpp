// Tests of block statuses against a model of marks.
#include "corekit80/streams/TCBlockStatus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "corekit80/streams/TCTypeInfo.h"

namespace {

// The model: a status is nothing (INVALID, unknown) or a pair of marks.
struct Marks {
    bool valid, start, stop;
};

Marks ModelOf(int s)
{
    bool valid = s >= TCBS_START && s <= TCBS_COMPLETE;
    return {valid, valid && (s == TCBS_START || s == TCBS_COMPLETE), valid && s >= TCBS_STOP};
}

TCBLOCKSTATUS CombineAll(const std::vector<TCBLOCKSTATUS>& v)
{
    TCBLOCKSTATUS sum = TCBS_INVALID;
    for (TCBLOCKSTATUS s : v)
        sum = TCBlockStatus::Combine(sum, s);
    return sum;
}

TEST(TCBlockStatus, SplitPartsCombineToTheStatus)
{
    EXPECT_EQ(TCTypeInfo::SplitStat(3, 1, 0), 3);
    EXPECT_EQ(TCTypeInfo::SplitStat(-1, 5, 2), -1);
    EXPECT_EQ(TCTypeInfo::SplitStat(7, 2, 0), 7);
    for (int s = TCBS_START; s <= TCBS_COMPLETE; ++s) {
        for (int count = 1; count <= 6; ++count) {
            std::vector<TCBLOCKSTATUS> parts;
            for (int i = 0; i < count; ++i) {
                parts.push_back(TCBLOCKSTATUS(TCTypeInfo::SplitStat(s, count, i)));
                // Only the first part starts and only the last stops.
                EXPECT_EQ(ModelOf(parts[i]).start, ModelOf(s).start && i == 0);
                EXPECT_EQ(ModelOf(parts[i]).stop, ModelOf(s).stop && i == count - 1);
            }
            EXPECT_EQ(CombineAll(parts), s) << s << " in " << count;
        }
    }
}

TEST(TCBlockStatus, CombiningUnitesTheMarksInAnyOrder)
{
    std::mt19937 rng(2);
    for (int n = 0; n < 5000; ++n) {
        std::vector<TCBLOCKSTATUS> v(rng() % 7);
        Marks sum{false, false, false};
        for (TCBLOCKSTATUS& s : v) {
            s = TCBLOCKSTATUS(int(rng() % 5) - 1);
            Marks m = ModelOf(s);
            sum = {sum.valid || m.valid, sum.start || m.start, sum.stop || m.stop};
        }
        TCBLOCKSTATUS want = sum.valid ? TCBlockStatus::FromMarks(sum.start, sum.stop) : TCBS_INVALID;
        ASSERT_EQ(CombineAll(v), want);
        std::shuffle(v.begin(), v.end(), rng);
        ASSERT_EQ(CombineAll(v), want);
    }
}

TEST(TCBlockStatus, ChangeFlagsSetsOrKeepsEachMark)
{
    for (int s : {-1, 0, 1, 2, 3, 7}) {
        for (int start : {-1, 0, 1, 5}) {
            for (int stop : {-1, 0, -7}) {
                TCTypeInfo ti;
                ti.State = TCBLOCKSTATUS(s);
                TCBlockStatus::ChangeFlags(&ti, start, stop);
                Marks m = ModelOf(s), got = ModelOf(ti.State);
                EXPECT_TRUE(got.valid && got.start == (start == -1 ? m.start : start != 0) &&
                            got.stop == (stop == -1 ? m.stop : stop != 0))
                    << s << " " << start << " " << stop;
            }
        }
    }
    TCBlockStatus::ChangeFlags(nullptr, 1, 1);
}

} // namespace
