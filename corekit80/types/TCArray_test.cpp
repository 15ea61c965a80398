// Tests of TCArray against a vector model: bounds, deep copies, growth steps, throwing elements.
#include "corekit80/types/TCArray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "corekit80/types/TCString.h"

namespace {

// Owns heap memory and counts its lives, so that leaks, double destructions and
// lost bytewise moves show in the count or under the sanitizers. It can be told to
// throw from the n-th construction to come.
class Counted {
public:
    static inline int live = 0;
    static inline int throwAt = 0;

    Counted() : Counted(0) {}
    Counted(int v) : m_value(Born(v)) {}
    Counted(const Counted& o) : m_value(Born(*o.m_value)) {}
    Counted& operator=(const Counted& o) { *m_value = *o.m_value; return *this; }
    ~Counted()
    {
        EXPECT_EQ(m_alive, kAlive) << "destroyed twice";
        m_alive = 0;
        delete m_value;
        --live;
    }
    int Value() const { return *m_value; }

private:
    static constexpr unsigned kAlive = 0xA11CEu;
    static int* Born(int v)
    {
        if (throwAt > 0 && --throwAt == 0)
            throw std::bad_alloc();
        ++live;
        return new int(v);
    }
    unsigned m_alive = kAlive;
    int* m_value;
};

// Element access for the model test: values are ints, new elements read as 0.
int Read(int v) { return v; }
int Read(const TCString& s) { return s.IsEmpty() ? 0 : std::atoi(s); }
int Read(const Counted& c) { return c.Value(); }
template <class T> T Make(int v) { return T(v); }
template <> TCString Make<TCString>(int v) { return TCString(std::to_string(v).c_str()); }

template <class A>
std::vector<int> Contents(const A& a)
{
    std::vector<int> out;
    for (int i = 0; i < a.GetSize(); ++i)
        out.push_back(Read(a[i]));
    return out;
}

// The capacity after growing from cap to hold need elements.
int Grown(int cap, int size, int need, int growBy)
{
    if (need <= cap)
        return cap;
    return std::max(cap + (growBy > 0 ? growBy : std::clamp(size / 8, 4, 1024)), need);
}

template <class A> using Elem = std::remove_cvref_t<decltype(std::declval<A&>()[0])>;

template <class A>
class TCArrayTyped : public ::testing::Test {};
using ArrayTypes = ::testing::Types<TCArray<int, int>, TCArray<TCString>, TCArray<Counted>>;
TYPED_TEST_SUITE(TCArrayTyped, ArrayTypes);

// Random operation sequences against std::vector, with the capacity predicted
// by the growth rule after every step.
TYPED_TEST(TCArrayTyped, MatchesVectorModel)
{
    using A = TypeParam;
    using T = Elem<A>;
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 rng(seed);
        auto rnd = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        A a, other;
        std::vector<int> m, mo;
        int cap = 0, ocap = 0, growBy = 0;
        for (int step = 0; step < 1500; ++step) {
            int size = static_cast<int>(m.size());
            // Adding an element of the array itself must survive reallocation and shifts.
            bool self = size > 0 && rnd(0, 1);
            int from = self ? rnd(0, size - 1) : 0;
            int v = self ? m[from] : rnd(1, 999);
            // The other array, or this one for a self-insertion, as the source of a bulk operation.
            const std::vector<int> src = self ? m : mo;
            const int bulk = src.empty() ? cap : Grown(cap, size, size + static_cast<int>(src.size()), growBy);
            switch (rnd(0, 11)) {
            case 0: case 1:
                EXPECT_EQ(self ? a.Add(a[from]) : a.Add(Make<T>(v)), size);
                m.push_back(v);
                cap = Grown(cap, size, size + 1, growBy);
                break;
            case 2: {
                int n = rnd(-1, 40), g = rnd(0, 3) == 0 ? rnd(0, 12) : -1;
                a.SetSize(n, g);
                growBy = g >= 0 ? g : growBy;
                cap = n == 0 ? 0 : Grown(cap, size, n, growBy);
                m.resize(std::max(n, 0), 0);
                break;
            }
            case 3: {
                int i = rnd(0, size + 3), c = rnd(1, 4);
                a.InsertAt(i, self ? a[from] : Make<T>(v), c);
                cap = Grown(cap, size, std::max(i, size) + c, growBy);
                m.resize(std::max<size_t>(i, m.size()), 0);
                m.insert(m.begin() + i, c, v);
                break;
            }
            case 4: {
                int i = rnd(0, size);
                a.InsertAt(i, self ? &a : &other);
                cap = bulk;
                m.insert(m.begin() + i, src.begin(), src.end());
                break;
            }
            case 5:
                if (size > 0) {
                    int i = rnd(0, size - 1), c = rnd(0, size - i);
                    a.RemoveAt(i, c);
                    m.erase(m.begin() + i, m.begin() + i + c);
                }
                break;
            case 6: {
                int i = rnd(0, size + 5);
                a.SetAtGrow(i, Make<T>(v));
                cap = Grown(cap, size, std::max(i + 1, size), growBy);
                m.resize(std::max(i + 1, size), 0);
                m[i] = v;
                break;
            }
            case 7:
                EXPECT_EQ(a.Append(self ? a : other), size);
                cap = bulk;
                m.insert(m.end(), src.begin(), src.end());
                break;
            case 8: // the other array takes a copy, or this one takes the other's
                if (rnd(0, 1)) {
                    other.Copy(a);
                    ocap = m.empty() ? 0 : Grown(ocap, static_cast<int>(mo.size()), size, 0);
                    mo = m;
                } else {
                    a.Copy(other);
                    cap = mo.empty() ? 0 : Grown(cap, size, static_cast<int>(mo.size()), growBy);
                    m = mo;
                }
                break;
            case 9: a.FreeExtra(); cap = size; break;
            case 10:
                if (size > 0) {
                    int i = rnd(0, size - 1);
                    rnd(0, 1) ? a.SetAt(i, Make<T>(v)) : (void)(a.ElementAt(i) = Make<T>(v));
                    m[i] = v;
                }
                break;
            case 11:
                if (rnd(0, 20) == 0) {
                    a.RemoveAll();
                    m.clear();
                    cap = 0;
                }
                break;
            }
            ASSERT_EQ(Contents(a), m) << "seed " << seed << " step " << step;
            ASSERT_EQ(a.GetAllocSize(), cap) << "seed " << seed << " step " << step;
            ASSERT_EQ(other.GetAllocSize(), ocap);
            if constexpr (std::is_same_v<T, Counted>) {
                ASSERT_EQ(Counted::live, a.GetSize() + other.GetSize());
            }
        }
    }
    EXPECT_EQ(Counted::live, 0);
}

TYPED_TEST(TCArrayTyped, IndexOutsideThrowsInvalidArgAndChangesNothing)
{
    using A = TypeParam;
    using T = Elem<A>;
    A a;
    for (int v : {5, 6, 7})
        a.Add(Make<T>(v));
    const A& c = a;
    T x = Make<T>(9);
    for (int bad : {-1, 3, INT_MIN, INT_MAX}) {
        EXPECT_THROW(a.GetAt(bad), CInvalidArgException) << bad;
        EXPECT_THROW(c.GetAt(bad), CInvalidArgException);
        EXPECT_THROW(a.SetAt(bad, x), CInvalidArgException);
        EXPECT_THROW(a.ElementAt(bad), CInvalidArgException);
        EXPECT_THROW(a[bad], CInvalidArgException);
        EXPECT_THROW(c[bad], CInvalidArgException);
    }
    EXPECT_THROW(a.RemoveAt(-1), CInvalidArgException);
    EXPECT_THROW(a.RemoveAt(2, 2), CInvalidArgException);
    EXPECT_THROW(a.RemoveAt(0, -1), CInvalidArgException);
    EXPECT_THROW(a.RemoveAt(1, INT_MAX), CInvalidArgException);
    EXPECT_THROW(a.InsertAt(-1, x), CInvalidArgException);
    EXPECT_THROW(a.InsertAt(0, x, 0), CInvalidArgException);
    EXPECT_THROW(a.InsertAt(-1, &a), CInvalidArgException);
    EXPECT_THROW(a.InsertAt(0, static_cast<const A*>(nullptr)), CInvalidArgException);
    EXPECT_THROW(a.SetAtGrow(-1, x), CInvalidArgException);
    EXPECT_THROW(a.SetSize(-2), CInvalidArgException);
    // Counts that cannot be represented are refused before anything is allocated.
    EXPECT_THROW(a.SetAtGrow(INT_MAX, x), std::bad_alloc);
    EXPECT_THROW(a.InsertAt(INT_MAX, x), std::bad_alloc);
    EXPECT_THROW(a.InsertAt(1, x, INT_MAX - 2), std::bad_alloc);
    EXPECT_EQ(Contents(a), (std::vector<int>{5, 6, 7}));
}

TYPED_TEST(TCArrayTyped, CopiesAreDeepAndMovesTakeTheBuffer)
{
    using A = TypeParam;
    A a;
    for (int v = 1; v <= 20; ++v)
        a.Add(Make<Elem<A>>(v));
    const std::vector<int> expect = Contents(a);
    A b(a), c;
    c = a;
    b[0] = Make<Elem<A>>(100);
    c.RemoveAt(0, 10);
    EXPECT_EQ(Contents(a), expect);
    const auto* data = a.GetData();
    A d(std::move(a));
    c = std::move(d);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(c.GetData(), data);
    EXPECT_EQ(Contents(c), expect);
    // Arrays of arrays are moved bytewise by the outer one.
    TCArray<A> rows;
    for (int r = 0; r < 30; ++r) {
        rows.InsertAt(0, c);
        rows[0].SetSize(r % 20);
    }
    rows.RemoveAt(0, 10);
    for (int i = 0; i < rows.GetSize(); ++i)
        EXPECT_EQ(Contents(rows[i]), std::vector<int>(expect.begin(), expect.begin() + 19 - i));
}

// The model stays far below the size where the step reaches its upper bound.
TEST(TCArray, GrowthStepHasAnUpperBoundAndCanBeOverridden)
{
    TCArray<int, int> a;
    int before = 0;
    for (int i = 0; i < 20000; ++i) {
        if (a.GetAllocSize() == a.GetSize())
            before = a.GetAllocSize();
        a.Add(i);
    }
    EXPECT_EQ(a.GetAllocSize() - before, 1024);
    struct Coarse : TCArray<int, int> {
        int GetGrowStep() const override { return 100; }
    } coarse;
    coarse.Add(1);
    EXPECT_EQ(coarse.GetAllocSize(), 100);
}

TEST(TCArray, NewPlainElementsAreZeroInTheKeptBuffer)
{
    struct Rec { int a; double b; void* p; };
    TCArray<Rec> a;
    a.SetSize(6);
    std::fill_n(reinterpret_cast<unsigned char*>(a.GetData()), 6 * sizeof(Rec), 0xAB);
    const Rec* data = a.GetData();
    a.SetSize(-1);
    a.SetSize(6);
    EXPECT_EQ(a.GetData(), data);
    for (const Rec& r : a)
        EXPECT_TRUE(r.a == 0 && r.b == 0.0 && r.p == nullptr);
}

TEST(TCArray, ThrowingConstructionLeavesArrayIntact)
{
    // throwAt picks a construction inside the operation's own loop.
    struct Case { const char* what; int throwAt; void (*op)(TCArray<Counted>&); };
    const Case cases[] = {
        {"grow", 4, [](TCArray<Counted>& a) { a.SetSize(12); }},
        {"insert", 4, [](TCArray<Counted>& a) { a.InsertAt(2, Counted(7), 4); }},
        {"insert self", 8, [](TCArray<Counted>& a) { a.InsertAt(1, &a); }},
        {"append self", 8, [](TCArray<Counted>& a) { a.Append(a); }},
        {"copy", 4, [](TCArray<Counted>& a) { TCArray<Counted> b(a); }},
    };
    for (const Case& c : cases) {
        TCArray<Counted> a;
        for (int v = 1; v <= 5; ++v)
            a.Add(v);
        Counted::throwAt = c.throwAt;
        EXPECT_THROW(c.op(a), std::bad_alloc) << c.what;
        Counted::throwAt = 0;
        EXPECT_EQ(Contents(a), (std::vector<int>{1, 2, 3, 4, 5})) << c.what;
        EXPECT_EQ(Counted::live, 5) << c.what;
    }
}

} // namespace
