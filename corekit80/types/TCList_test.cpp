// Tests of TCList against std::list: node reuse, missing nodes, deep copies and bytewise moves.
#include "corekit80/types/TCList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <list>
#include <random>
#include <string>
#include <vector>

#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCString.h"

namespace {

using List = TCList<TCString>;

std::vector<std::string> Walk(const List& l, bool forward = true)
{
    std::vector<std::string> out;
    for (POSITION pos = forward ? l.GetHeadPosition() : l.GetTailPosition(); pos != nullptr;)
        out.emplace_back(forward ? l.GetNext(pos) : l.GetPrev(pos));
    return out;
}

int IndexOf(const List& l, POSITION target)
{
    int i = 0;
    for (POSITION pos = l.GetHeadPosition(); pos != target; l.GetNext(pos))
        ++i;
    return target ? i : -1;
}

int RoundUpToBlock(int n) { return (n + 9) / 10 * 10; }

// Random operation sequences against std::list. Nodes come from blocks of ten and
// are reused, so the allocated nodes are the peak count rounded up to a block (a
// queue's churn stays in one block; RemoveAll frees them all).
TEST(TCList, MatchesListModel)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 rng(seed);
        auto rnd = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        List l;
        std::list<std::string> m;
        int peak = 0;
        for (int step = 0; step < 3000; ++step) {
            int size = static_cast<int>(m.size());
            std::string s = "v" + std::to_string(rnd(0, 30));
            int i = rnd(0, size);
            auto at = std::next(m.begin(), i);
            switch (rnd(0, 9)) {
            case 0: case 1: {
                POSITION added = i % 2 ? l.AddHead(s.c_str()) : l.AddTail(s.c_str());
                EXPECT_EQ(added, i % 2 ? l.GetHeadPosition() : l.GetTailPosition());
                i % 2 ? m.push_front(s) : m.push_back(s);
                break;
            }
            case 2:
                if (size > 0) {
                    bool head = rnd(0, 1);
                    const std::string& end = head ? m.front() : m.back();
                    EXPECT_EQ(head ? l.GetHead() : l.GetTail(), end.c_str());
                    EXPECT_EQ(head ? l.RemoveHead() : l.RemoveTail(), end.c_str());
                    head ? m.pop_front() : m.pop_back();
                }
                break;
            case 3: // a null position inserts at the head
                l.InsertBefore(l.FindIndex(i), s.c_str());
                m.insert(i == size ? m.begin() : at, s);
                break;
            case 4: // a null position inserts at the tail
                l.InsertAfter(l.FindIndex(i), s.c_str());
                m.insert(i == size ? m.end() : std::next(at), s);
                break;
            case 5:
                if (i < size) {
                    l.RemoveAt(l.FindIndex(i));
                    m.erase(at);
                }
                break;
            case 6:
                if (i < size) {
                    l.SetAt(l.FindIndex(i), s.c_str());
                    *at = s;
                }
                break;
            case 7: {
                POSITION after = rnd(0, 1) ? l.FindIndex(i) : nullptr;
                auto from = after ? std::next(at) : m.begin();
                auto found = std::find(from, m.end(), s);
                EXPECT_EQ(IndexOf(l, l.Find(s.c_str(), after)),
                          found == m.end() ? -1 : static_cast<int>(std::distance(m.begin(), found)));
                break;
            }
            case 8:
                if (size < 40) {
                    rnd(0, 1) ? l.AddTail(&l) : l.AddHead(&l);
                    m.insert(m.end(), m.begin(), m.end());
                }
                break;
            case 9:
                if (rnd(0, 30) == 0) {
                    l.RemoveAll();
                    m.clear();
                    peak = 0;
                }
                break;
            }
            peak = std::max(peak, static_cast<int>(m.size()));
            std::vector<std::string> expect(m.begin(), m.end());
            ASSERT_EQ(Walk(l), expect) << "seed " << seed << " step " << step;
            std::reverse(expect.begin(), expect.end());
            ASSERT_EQ(Walk(l, false), expect);
            ASSERT_EQ(l.GetCount(), static_cast<int>(m.size()));
            ASSERT_EQ(l.GetAllocatedNodes(), RoundUpToBlock(peak));
        }
    }
}

TEST(TCList, MissingNodeThrowsInvalidArg)
{
    TCList<int, int> l;
    const TCList<int, int>& c = l;
    POSITION none = nullptr;
    EXPECT_THROW(l.GetHead(), CInvalidArgException);
    EXPECT_THROW(c.GetTail(), CInvalidArgException);
    EXPECT_THROW(l.RemoveHead(), CInvalidArgException);
    EXPECT_THROW(l.RemoveTail(), CInvalidArgException);
    EXPECT_THROW(l.GetNext(none), CInvalidArgException);
    EXPECT_THROW(c.GetPrev(none), CInvalidArgException);
    EXPECT_THROW(l.GetAt(none), CInvalidArgException);
    EXPECT_THROW(l.SetAt(none, 1), CInvalidArgException);
    EXPECT_THROW(l.RemoveAt(none), CInvalidArgException);
    EXPECT_THROW(l.AddTail(static_cast<const TCList<int, int>*>(nullptr)), CInvalidArgException);
    l.AddTail(1);
    EXPECT_EQ(l.FindIndex(-1), nullptr);
    EXPECT_EQ(l.FindIndex(1), nullptr);
}

TEST(TCList, CopiesAreDeepAndListsSurviveBytewiseMoves)
{
    TCArray<TCList<TCString>> lists;
    for (int n = 0; n < 40; ++n) {
        lists.InsertAt(0, TCList<TCString>());
        for (int i = 0; i < n; ++i)
            lists[0].AddTail(TCString(std::to_string(i).c_str()));
    }
    for (int n = 0; n < 40; ++n) {
        const TCList<TCString>& l = lists[39 - n];
        ASSERT_EQ(l.GetCount(), n);
        if (n > 0) {
            EXPECT_EQ(l.GetTail(), std::to_string(n - 1).c_str());
        }
    }
    List a = lists[0], b;
    b = a;
    a.SetAt(a.GetHeadPosition(), "x");
    EXPECT_EQ(b.GetHead(), "0");
    List c(std::move(a));
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(Walk(c).front(), "x");
}

} // namespace
