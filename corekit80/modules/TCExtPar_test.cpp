// External parameters: the declarators published for the host, and a module that reads its
// parameters from the input "EXT", run by the module harness.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "corekit80/foundation/TCTranslatedString.h"
#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/modules/TCExtPar.h"
#include "corekit80/modules/TCModuleHarness.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/porttypes/TCValidateActualPortType.h"
#include "corekit80/streams/TCIOStream.h"

namespace {

// Reads its parameters whenever a block waits at "EXT" and keeps each result.
class Tunable : public TCBaseModule {
public:
    Tunable() : TCBaseModule(0)
    {
        m_pPortHelper = new TCPortHelper(this);
        ext = m_pPortHelper->UseExtPar();
        ext->AddParam("Gain", gain, "0", "10");
        ext->AddParam("Run", run);
        ext->AddParam("Label", label, "2", "4");
        ext->AddParam("Rate", rate, "", "");
    }
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    const char* GetModuleTypeName() override { return "Tunable"; }
    int Fetch() override
    {
        const int r = TCBaseModule::Fetch();
        if (r == 0 && m_pPortHelper->IsExtParamsAvail())
            results.push_back(m_pPortHelper->ReadExtParam());
        return r;
    }
    TCPortHelper& Helper() { return *m_pPortHelper; }

    TCExtPar* ext;
    std::vector<int> results;
    int gain = 3;
    bool run = false;
    TCString label = "ab";
    double rate = 1;
};

// One segment of a parameter block: an integer, a double or a text.
struct Seg {
    char type;  // 'i', 'd', 't'
    long long i;
    double d;
    std::string t;
};

int WriteBlock(TCModuleHarness& host, const std::vector<Seg>& segs)
{
    return host.WriteWith(0, [&](TCIOStream& s) {
        if (s.StartWriteSegments() < 0)
            return -1;
        for (size_t k = 0; k < segs.size(); ++k) {
            const std::string name = "p" + std::to_string(k);
            const Seg& g = segs[k];
            const int r = g.type == 'i'   ? s.WriteSegment(name.c_str(), int(g.i))
                          : g.type == 'd' ? s.WriteSegment(name.c_str(), g.d)
                                          : s.WriteSegment(name.c_str(), TCString(g.t.data(), int(g.t.size())));
            if (r < 0)
                return r;
        }
        return s.EndWriteSegments() ? 0 : -1;
    });
}

// The port type the parameters publish while their input is selected.
std::string Published(TCExtPar& ext)
{
    TCValidateActualPortType v;
    ext.ComputeValidationData(true, v);
    return v.GetInternalPortType();
}

// A variable of each kind, registered by its kind: i int, u unsigned, l unsigned long,
// d double, b bool, t TCString, c CString, r TCTranslatedString.
struct Var {
    char kind;
    std::string min, max;
    int i = 1;
    unsigned u = 4000000000u;
    unsigned long l = 7;
    double d = 0.5;
    bool b = true;
    TCString t = "a b\\c";
    CString c = "x";
    TCTranslatedString r = "hi";
    void Add(TCExtPar& ext, const char* name)
    {
        const char *lo = min.c_str(), *hi = max.c_str();
        switch (kind) {
        case 'i': return ext.AddParam(name, i, lo, hi);
        case 'u': return ext.AddParam(name, u, lo, hi);
        case 'l': return ext.AddParam(name, l, lo, hi);
        case 'd': return ext.AddParam(name, d, lo, hi);
        case 'b': return ext.AddParam(name, b);
        case 't': return ext.AddParam(name, t, lo, hi);
        case 'c': return ext.AddParam(name, c, lo, hi);
        default: return ext.AddParam(name, r);
        }
    }
};

TEST(TCExtPar, DeclaratorsDescribeNameBoundsAndValue)
{
    const struct {
        char kind;
        const char *min, *max, *want;
    } rows[] = {
        {'i', "0", "1", "SWORD{X:0,1(1)}"},
        {'i', "0", "10", "SWORD{X:0..10(1)}"},
        {'i', "5", "5", "SWORD{X:5(1)}"},
        {'i', "", "10", "SWORD{X(1)}"},
        {'i', "10", "0", "SWORD{X:100(1)}"},
        {'i', "0.", "5", "SWORD{X:0.5(1)}"},
        {'i', "-3,", "-2", "SWORD{X:-3,-2(1)}"},
        {'b', "", "", "SWORD{X:0,1(1)}"},
        {'u', "0", "4294967295", "SWORD{X:0..4294967295(4000000000)}"},
        {'l', "1", "2", "SWORD{X:1,2(7)}"},
        {'d', "0", "1", "DOUBLE{X:0..1(0.5)}"},
        {'d', "0.5", "0.5", "DOUBLE{X:0.5(0.5)}"},
        {'d', "", "", "DOUBLE{X:(0.5)}"},
        {'d', "2", "1", "DOUBLE{X:21(0.5)}"},
        {'t', "0", "8", "UBYTE[]{X:0..8(a\\ b\\\\c)}"},
        {'c', "3", "4", "UBYTE[]{X:3,4(x)}"},
        {'r', "", "", "UBYTE[]{X(hi)}"},
    };
    TCExtPar ext;
    TCString name, type;
    for (const auto& row : rows) {
        Var v{row.kind, row.min, row.max};
        ext.ClearParam();
        v.Add(ext, "X");
        EXPECT_EQ(Published(ext), row.want) << row.kind << " " << row.min << " " << row.max;
        ASSERT_TRUE(ext.GetExtParamAt(0, name, type));
        EXPECT_EQ(std::string(row.want).substr(0, size_t(type.GetLength()) + 1), std::string(type) + "{");
    }
    EXPECT_FALSE(ext.GetExtParamAt(1, name, type));
    EXPECT_FALSE(ext.GetExtParamAt(-1, name, type));
    TCValidateActualPortType v;
    ext.ComputeValidationData(false, v);
    EXPECT_STREQ(v.GetInternalPortType(), "NULL{not_selected}");
}

// Each row is one block at "EXT" for the module as constructed (Gain 0..10 = 3, Run = false,
// Label of 2 to 4 characters = "ab", Rate unbounded = 1).
TEST(TCExtPar, ABlockSetsTheParametersItReaches)
{
    const struct {
        const char* what;
        std::vector<Seg> segs;
        int result;
        int gain;
        bool run;
        const char* label;
        double rate;
        bool toldUser;  // a host error record naming the parameter
    } rows[] = {
        {"two segments, four parameters", {{'i', 7, 0, ""}, {'i', 1, 0, ""}}, 2, 7, true, "ab", 1, false},
        {"clamped above and padded", {{'i', 15, 0, ""}, {'i', 0, 0, ""}, {'t', 0, 0, "x"}}, 3, 10, false, "x ", 1,
         false},
        {"clamped below and cut", {{'i', -3, 0, ""}, {'i', -9, 0, ""}, {'t', 0, 0, "abcdef"}, {'d', 0, 2.5, ""}}, 4,
         0, true, "abcd", 2.5, false},
        {"more segments than parameters",
         {{'i', 4, 0, ""}, {'i', 0, 0, ""}, {'t', 0, 0, "wxyz"}, {'d', 0, -1e300, ""}, {'i', 1, 0, ""}}, 4, 4,
         false, "wxyz", -1e300, false},
        {"'}' cut off at the maximum length", {{'i', 4, 0, ""}, {'i', 1, 0, ""}, {'t', 0, 0, "abcd}"}}, 3, 4, true,
         "abcd", 1, false},
        {"'}' refused", {{'i', 5, 0, ""}, {'i', 1, 0, ""}, {'t', 0, 0, "a}b"}, {'d', 0, 9, ""}}, -2, 5, true, "ab",
         1, true},
        {"a double for an integer", {{'d', 0, 4, ""}}, -2, 3, false, "ab", 1, false},
        {"NaN keeps the double", {{'i', 3, 0, ""}, {'i', 0, 0, ""}, {'t', 0, 0, "ab"}, {'d', 0, NAN, ""}}, 4, 3,
         false, "ab", 1, false},
    };
    for (const auto& row : rows) {
        Tunable module;
        TCModuleHarness host(module);
        ASSERT_EQ(host.Start(), 0);
        // The line into "EXT" was checked against the parameters' description.
        EXPECT_STREQ(module.Helper().GetPortType(PT_INPUT, 0, nullptr),
                     "SWORD{Gain:0..10(3)} SWORD{Run:0,1(0)} UBYTE[]{Label:2..4(ab)} DOUBLE{Rate:(1)}");
        ASSERT_EQ(WriteBlock(host, row.segs), 0) << row.what;
        host.Run(4);
        ASSERT_EQ(module.results.size(), 1u) << row.what;
        EXPECT_EQ(module.results[0], row.result) << row.what;
        EXPECT_EQ(module.gain, row.gain) << row.what;
        EXPECT_EQ(module.run, row.run) << row.what;
        EXPECT_STREQ(module.label, row.label) << row.what;
        EXPECT_EQ(module.rate, row.rate) << row.what;
        const ERR_MSG* e = host.ErrMsg();
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->code, row.result < 0 ? row.result : 0) << row.what;
        EXPECT_EQ(e->port, row.result < 0 ? 0 : -1) << row.what;
        bool told = false;
        for (const TCModuleHarness::HostRecord& r : host.HostRecords())
            told |= r.request == 11 && std::string(r.text).find("'Label'") != std::string::npos;
        EXPECT_EQ(told, row.toldUser) << row.what;
        if (row.toldUser) {
            EXPECT_STREQ(e->text2, "Label");
        }
    }
}

int Consent(long arg) { return *reinterpret_cast<const int*>(arg); }

// The bounds' interval within [least, most]: either order, an empty bound is the extreme.
std::pair<long long, long long> Interval(const Var& v, long long least, long long most)
{
    auto of = [&](const std::string& s, long long extreme) {
        return s.empty() ? extreme : std::clamp(std::stoll(s), least, most);
    };
    const long long a = of(v.min, least), b = of(v.max, most);
    return {std::min(a, b), std::max(a, b)};
}

// Random parameters, random bounds (empty, in either order, beyond the kind's range) and
// random values written as segments: what arrives follows a model of clamping, bool,
// padding and cutting, and of the module's consent.
TEST(TCExtPar, RandomBlocksFollowTheClampingModel)
{
    Tunable module;
    TCModuleHarness host(module);
    ASSERT_EQ(host.Start(), 0);
    std::mt19937 rng(80);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const char* odd[] = {"", "", "-5", "5000000000", "-2147483648", "2147483647", "4294967295"};
    const long long ints[] = {0, 1, -1, INT_MIN, INT_MAX, 7, -77, 4096};
    const double dbls[] = {0.0, -0.0, 1e308, -1e308, INFINITY, -INFINITY, NAN, 3.5};
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<Var> vars(size_t(1 + pick(6)), Var{'i'});
        module.ext->ClearParam();
        for (Var& v : vars) {
            v.kind = "iuldbt"[pick(6)];
            for (std::string* bound : {&v.min, &v.max})
                *bound = v.kind == 'd'   ? std::to_string((pick(2001) - 1000) / 8.0)
                         : v.kind == 't' ? std::to_string(pick(7))
                         : pick(3)       ? std::to_string(pick(201) - (v.kind == 'i' ? 100 : 0))
                                         : odd[pick(7)];
            if (pick(4) == 0)
                (pick(2) ? v.min : v.max).clear();
            v.Add(*module.ext, "P");
        }
        const std::vector<Var> before = vars;
        std::vector<Var> want = vars;
        std::vector<Seg> segs(size_t(1 + pick(int(vars.size()) + 2)));
        for (size_t k = 0; k < segs.size(); ++k) {
            Seg& g = segs[k];
            const char kind = k < vars.size() ? vars[k].kind : 'i';
            g.type = kind == 'd' ? 'd' : kind == 't' ? 't' : 'i';
            g.i = pick(2) ? ints[pick(8)] : pick(401) - 200;
            g.d = pick(2) ? dbls[pick(8)] : (pick(4001) - 2000) / 9.0;
            g.t.assign(size_t(pick(9)), ' ');
            for (char& ch : g.t)
                ch = " \\a{("[pick(5)];
            if (k >= vars.size())
                continue;
            Var& w = want[k];
            if (kind == 'i') {
                const auto [lo, hi] = Interval(w, INT_MIN, INT_MAX);
                w.i = int(std::clamp(g.i, lo, hi));
            } else if (kind == 'u' || kind == 'l') {
                // The segment's 32 bits, taken as unsigned.
                const auto [lo, hi] = Interval(w, 0, UINT32_MAX);
                w.u = kind == 'u' ? unsigned(std::clamp<long long>(uint32_t(g.i), lo, hi)) : w.u;
                w.l = kind == 'l' ? (unsigned long)(std::clamp<long long>(uint32_t(g.i), lo, hi)) : w.l;
            } else if (kind == 'b') {
                w.b = g.i != 0;
            } else if (kind == 'd') {
                const double a = w.min.empty() ? -DBL_MAX : std::stod(w.min);
                const double b = w.max.empty() ? DBL_MAX : std::stod(w.max);
                w.d = std::isnan(g.d) ? w.d : std::clamp(g.d, std::min(a, b), std::max(a, b));
            } else {
                const auto [lo, hi] = Interval(w, 0, UINT32_MAX);
                std::string t = g.t;
                t.resize(size_t(std::clamp<long long>((long long)t.size(), lo, hi)), ' ');
                w.t = t.c_str();
            }
        }
        int consent = std::array{1, 5, 0, -7}[size_t(pick(4))];
        module.ext->SetValidateFkt(&Consent, reinterpret_cast<long>(&consent));
        module.results.clear();
        ASSERT_EQ(WriteBlock(host, segs), 0);
        host.Run(4);
        ASSERT_EQ(module.results.size(), 1u) << trial;
        EXPECT_EQ(module.results[0], consent > 0 ? int(std::min(segs.size(), vars.size())) : consent) << trial;
        if (consent < 0) {
            EXPECT_EQ(host.ErrMsg()->code, consent) << trial;
        }
        const std::vector<Var>& expect = consent > 0 ? want : before;
        for (size_t k = 0; k < vars.size(); ++k) {
            const Var &got = vars[k], &w = expect[k];
            const std::string where = std::to_string(trial) + ":" + std::to_string(k) + " " + got.kind + " [" +
                                      got.min + "," + got.max + "]";
            EXPECT_TRUE(got.i == w.i && got.u == w.u && got.l == w.l && got.b == w.b && got.t == w.t) << where;
            EXPECT_TRUE(got.d == w.d && std::signbit(got.d) == std::signbit(w.d)) << where << " " << got.d;
        }
    }
    module.ext->SetValidateFkt(nullptr, 0);
}

}  // namespace
