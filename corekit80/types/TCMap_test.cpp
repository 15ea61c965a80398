// Tests of TCMap against std::map, its key hashes, deep copies and iteration errors.
#include "corekit80/types/TCMap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>

#include "corekit80/types/TCString.h"

namespace {

// Keys of the model test are ints, made into the map's key type.
template <class K> K MakeKey(int k) { return K(k); }
template <> TCString MakeKey<TCString>(int k) { return TCString(("key" + std::to_string(k)).c_str()); }

template <class M> struct KeyOf;
template <class K, class AK, class V, class AV> struct KeyOf<TCMap<K, AK, V, AV>> { using type = K; };

template <class M>
class TCMapTyped : public ::testing::Test {};
using MapTypes = ::testing::Types<TCMap<int, int, int, int>, TCMap<TCString, const char*, int, int>,
                                  TCMap<TCString, const TCString&, int, const int&>>;
TYPED_TEST_SUITE(TCMapTyped, MapTypes);

// Random operation sequences against std::map; the pairs found by iteration must be
// the model's, and the allocated nodes the peak count rounded up to a block of ten.
TYPED_TEST(TCMapTyped, MatchesMapModel)
{
    using M = TypeParam;
    using Key = typename KeyOf<M>::type;
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 rng(seed);
        auto rnd = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        M map;
        std::map<int, int> model;
        int peak = 0;
        for (int step = 0; step < 2000; ++step) {
            int k = rnd(-20, 100), v = rnd(0, 1000);
            Key key = MakeKey<Key>(k);
            int got = -1;
            switch (rnd(0, 6)) {
            case 0: case 1:
                map.SetAt(key, v);
                model[k] = v;
                break;
            case 2:
                map[key] += v;
                model[k] += v;
                break;
            case 3:
                EXPECT_EQ(map.RemoveKey(key), model.erase(k) == 1);
                break;
            case 4:
                EXPECT_EQ(map.Lookup(key, got), model.count(k) == 1);
                EXPECT_EQ(got, model.count(k) ? model[k] : -1);
                break;
            case 5:
                if (rnd(0, 20) == 0)
                    map.InitHashTable(static_cast<unsigned>(rnd(1, 300)), rnd(0, 1));
                break;
            case 6:
                if (rnd(0, 100) == 0) {
                    map.RemoveAll();
                    model.clear();
                    peak = 0;
                }
                break;
            }
            peak = std::max(peak, static_cast<int>(model.size()));
            std::map<int, int> seen;
            for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
                Key key2{};
                int value = 0;
                map.GetNextAssoc(pos, key2, value);
                int k2;
                if constexpr (std::is_same_v<Key, int>)
                    k2 = key2;
                else
                    k2 = std::stoi(std::string(key2).substr(3));
                ASSERT_TRUE(seen.emplace(k2, value).second);
            }
            ASSERT_EQ(seen, model) << "seed " << seed << " step " << step;
            ASSERT_EQ(map.GetCount(), static_cast<int>(model.size()));
            ASSERT_EQ(map.GetAllocatedNodes(), (peak + 9) / 10 * 10);
        }
    }
}

TEST(TCMap, HashKeysFollowTheFrameworkRules)
{
    const struct { unsigned got, expect; } cases[] = {
        {TCHashKey(5), 0},
        {TCHashKey(16), 1},
        {TCHashKey(0x12345), 0x1234},
        {TCHashKey(-1), 0x0FFFFFFFu},
        {TCHashKey(reinterpret_cast<void*>(std::uintptr_t{0x1230})), 0x123},
        {TCHashKey(static_cast<const char*>(nullptr)), 0},
        {TCHashKey(""), 0},
        {TCHashKey("a"), 'a'},
        {TCHashKey("ab"), 'a' * 33u + 'b'},
        {TCHashKey(TCString("ab")), 'a' * 33u + 'b'},
        // A string key hashes by its text, as it compares.
        {TCHashKey(TCString("ab\0c", 4)), 'a' * 33u + 'b'},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].got, cases[i].expect) << "case " << i;
}

// Node reuse and rehashing with content are covered by the model test.
TEST(TCMap, CopiesAreDeepAndIterationErrorsThrow)
{
    TCMap<TCString, const char*, int, int> map;
    for (int i = 0; i < 10000; ++i)
        map.SetAt(std::to_string(i % 8).c_str(), i);
    map.InitHashTable(0);
    EXPECT_EQ(map.GetHashTableSize(), 17u) << "a size of 0 is ignored";
    TCMap<TCString, const char*, int, int> copy(map), assigned;
    assigned = map;
    map["7"] = -1;
    int value = 0;
    EXPECT_TRUE(copy.Lookup("7", value) && value == 9999);
    EXPECT_TRUE(assigned.Lookup("7", value) && value == 9999);
    EXPECT_EQ(copy.GetCount(), map.GetCount());
    TCMap<TCString, const char*, int, int> moved(std::move(map));
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(moved["7"], -1);
    POSITION none = nullptr;
    TCString k;
    int v;
    EXPECT_THROW(moved.GetNextAssoc(none, k, v), CInvalidArgException);
}

} // namespace
