// The three walks against a recursive flatten on random trees, with sub-dialogs destroyed
// between walks and the whole tree freed at the end (run under the sanitizers).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "corekit80/propertydialog/TCPropertyDialog.h"

namespace {
enum Walk { ITEMS, WITH_SUB, VISIBLE };
using Infos = std::vector<const TCPropertyDialogInfo*>;

void Flatten(const TCPropertyDialog& dialog, Walk walk, Infos& out)
{
    for (const TCPropertyDialogInfoImpl* item : dialog.GetInfo()) {
        const bool isSub = item->GetType() == TCPropertyDialogInfo::TYPE_SUBDIALOG ||
                           item->GetType() == TCPropertyDialogInfo::TYPE_INPLACE;
        if (!isSub || walk != ITEMS)
            out.push_back(item->GetInfo());
        const TCPropertyDialog* sub = item->GetSubDialog();
        if (sub && (walk != VISIBLE || item->GetFlag(TCPropertyDialogInfoImpl::FLAG_ENABLED)))
            Flatten(*sub, walk, out);
    }
}

const TCPropertyDialogInfo* Step(const TCPropertyDialog& dialog, Walk walk, TCPropertyDialogIterator& it)
{
    switch (walk) {
    case ITEMS: return dialog.GetNext(it);
    case WITH_SUB: return dialog.GetNextWithSub(it);
    default: return dialog.GetImpl()->GetNextWithSubVisible(it);
    }
}

// A random tree: plain items, sub-dialogs (some left empty), in-place sub-dialogs that
// may chain, and items disabled at random. Returns every sub-dialog made.
void Grow(TCPropertyDialog& dialog, std::mt19937& rng, int depth, int& value,
          std::vector<TCPropertyDialog*>& subs)
{
    const int count = std::uniform_int_distribution<int>(0, depth > 3 ? 2 : 5)(rng);
    for (int i = 0; i < count; ++i) {
        const int kind = std::uniform_int_distribution<int>(0, 5)(rng);
        const int before = dialog.GetInfo().GetSize();
        TCPropertyDialog* sub = nullptr;
        if (kind == 0 && depth < 6)
            sub = &TCCreateSubProperty(dialog, "S", false);
        else if (kind == 1 && depth < 6)
            sub = &TCCreateInplaceProperty(dialog, "I");
        else
            TCPropertyDialogInfo::Create(dialog, TCPropertyDialogInfo::TYPE_INT, &value, "x");
        if (sub && sub->IsValid()) {
            subs.push_back(sub);
            Grow(*sub, rng, depth + 1, value, subs);
        }
        // An ordinary sub-dialog under an in-place one is refused: nothing was added.
        if (dialog.GetInfo().GetSize() == before)
            continue;
        TCPropertyDialogInfoImpl* added = dialog.GetInfo()[before];
        added->SetFlag(TCPropertyDialogInfoImpl::FLAG_ENABLED, rng() % 4 != 0);
        // What dynamic and replacing functions made belongs to the item (the sanitizers
        // tell when it is not freed with it).
        if (rng() % 4 == 0) {
            TCPropertyDialog& made = TCCreatePropertyDialog(nullptr, "D", "", 0);
            TCPropertyDialogInfo::Create(made, TCPropertyDialogInfo::TYPE_INT, &value, "d");
            added->GetDynamicSub().produced.Add(&made);
            added->GetDynamicItem().produced.Add(
                &TCPropertyDialogInfo::Create(TCPropertyDialog::GetDummy(), TCPropertyDialogInfo::TYPE_INT, &value, "i"));
            added->GetReplaceSub().produced = &TCCreatePropertyDialog(nullptr, "R", "", 0);
        }
    }
}

void ExpectWalksMatch(const TCPropertyDialog& dialog, std::mt19937& rng)
{
    Infos expected[3];
    Infos seen[3];
    TCPropertyDialogIterator its[3];
    bool done[3] = {};
    for (int w = 0; w < 3; ++w)
        Flatten(dialog, Walk(w), expected[w]);
    // The three walks advance interleaved at random; each must keep its own place.
    while (!(done[0] && done[1] && done[2])) {
        const int w = int(rng() % 3);
        if (done[w])
            continue;
        if (const TCPropertyDialogInfo* info = Step(dialog, Walk(w), its[w]))
            seen[w].push_back(info);
        else
            done[w] = true;
    }
    for (int w = 0; w < 3; ++w) {
        EXPECT_EQ(seen[w], expected[w]) << "walk " << w;
        EXPECT_TRUE(its[w].IsEmpty());
        EXPECT_EQ(Step(dialog, Walk(w), its[w]), nullptr) << "a finished walk stays finished";
        dialog.Reset(its[w]);
        EXPECT_EQ(Step(dialog, Walk(w), its[w]), expected[w].empty() ? nullptr : expected[w][0]);
    }
}
} // namespace

TEST(TCPropertyDialogWalk, MatchesFlattenOnRandomTrees)
{
    std::mt19937 rng(20261206);
    int value = 0;
    for (int round = 0; round < 300; ++round) {
        TCPropertyDialog& top = TCCreatePropertyDialog(nullptr, "M", "S", 0);
        std::vector<TCPropertyDialog*> subs;
        Grow(top, rng, 0, value, subs);
        ExpectWalksMatch(top, rng);
        // Destroying a sub-dialog unhooks it; the walks then pass over its item.
        for (TCPropertyDialog* sub : subs) {
            if (rng() % 5 == 0) {
                TCPropertyDialogInfoImpl* standing = sub->GetParent()->GetInfo()[sub->GetIndex()];
                if (rng() % 2)
                    sub->Delete();
                TCDestroyPropertyDialog(*sub);
                EXPECT_EQ(standing->GetSubDialog(), nullptr);
                break; // the others may have gone with it
            }
        }
        ExpectWalksMatch(top, rng);
        TCDestroyPropertyDialog(top);
    }
}

TEST(TCPropertyDialogWalk, ExampleOrders)
{
    int a = 0;
    TCPropertyDialog& top = TCCreatePropertyDialog(nullptr, "M", "S", 0);
    TCPropertyDialogInfo& A = TCPropertyDialogInfo::Create(top, TCPropertyDialogInfo::TYPE_INT, &a, "A");
    TCPropertyDialog& sub = TCCreateSubProperty(top, "S", false);
    TCPropertyDialogInfo& B = TCPropertyDialogInfo::Create(sub, TCPropertyDialogInfo::TYPE_INT, &a, "B");
    TCPropertyDialogInfo& C = TCPropertyDialogInfo::Create(sub, TCPropertyDialogInfo::TYPE_INT, &a, "C");
    TCPropertyDialogInfo& D = TCPropertyDialogInfo::Create(top, TCPropertyDialogInfo::TYPE_INT, &a, "D");
    const TCPropertyDialogInfo* S = top.GetInfo()[1]->GetInfo();
    const Infos items{&A, &B, &C, &D}, withSub{&A, S, &B, &C, &D};
    for (auto [walk, expected] : {std::pair{ITEMS, items}, std::pair{WITH_SUB, withSub}}) {
        Infos seen;
        TCPropertyDialogIterator it;
        while (const TCPropertyDialogInfo* info = Step(top, walk, it))
            seen.push_back(info);
        EXPECT_EQ(seen, expected);
    }
    TCDestroyPropertyDialog(top);
}
