// External parameters: the declarators published for the host, and a module that reads its
// parameters from the input "EXT", run by the module harness.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
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

TEST(TCExtPar, DeclaratorsDescribeNameBoundsAndValue)
{
    int i = 1;
    unsigned u = 4000000000u;
    unsigned long ul = 7;
    double d = 0.5;
    bool b = true;
    TCString t = "a b\\c";
    CString c = "x";
    TCTranslatedString tr = "hi";
    const struct {
        const char* min;
        const char* max;
        char kind;  // i int, u unsigned, l unsigned long, d double, b bool, t TCString, c CString, r translated
        const char* want;
    } rows[] = {
        {"0", "1", 'i', "SWORD{X:0,1(1)}"},
        {"0", "10", 'i', "SWORD{X:0..10(1)}"},
        {"5", "5", 'i', "SWORD{X:5(1)}"},
        {"", "10", 'i', "SWORD{X(1)}"},
        {"10", "0", 'i', "SWORD{X:100(1)}"},
        {"0.", "5", 'i', "SWORD{X:0.5(1)}"},
        {"-3,", "-2", 'i', "SWORD{X:-3,-2(1)}"},
        {"", "", 'b', "SWORD{X:0,1(1)}"},
        {"0", "4294967295", 'u', "SWORD{X:0..4294967295(4000000000)}"},
        {"1", "2", 'l', "SWORD{X:1,2(7)}"},
        {"0", "1", 'd', "DOUBLE{X:0..1(0.5)}"},
        {"0.5", "0.5", 'd', "DOUBLE{X:0.5(0.5)}"},
        {"", "", 'd', "DOUBLE{X:(0.5)}"},
        {"2", "1", 'd', "DOUBLE{X:21(0.5)}"},
        {"0", "8", 't', "UBYTE[]{X:0..8(a\\ b\\\\c)}"},
        {"3", "4", 'c', "UBYTE[]{X:3,4(x)}"},
        {"", "", 'r', "UBYTE[]{X(hi)}"},
    };
    TCExtPar ext;
    for (const auto& row : rows) {
        ext.ClearParam();
        switch (row.kind) {
        case 'i': ext.AddParam("X", i, row.min, row.max); break;
        case 'u': ext.AddParam("X", u, row.min, row.max); break;
        case 'l': ext.AddParam("X", ul, row.min, row.max); break;
        case 'd': ext.AddParam("X", d, row.min, row.max); break;
        case 'b': ext.AddParam("X", b); break;
        case 't': ext.AddParam("X", t, row.min, row.max); break;
        case 'c': ext.AddParam("X", c, row.min, row.max); break;
        default: ext.AddParam("X", tr); break;
        }
        EXPECT_EQ(Published(ext), row.want) << row.kind << " " << row.min << " " << row.max;
        TCString name, type;
        ASSERT_TRUE(ext.GetExtParamAt(0, name, type));
        EXPECT_EQ(std::string(row.want).substr(0, size_t(type.GetLength()) + 1), std::string(type) + "{");
    }
    TCString name, type;
    EXPECT_FALSE(ext.GetExtParamAt(1, name, type));
    EXPECT_FALSE(ext.GetExtParamAt(-1, name, type));
    TCValidateActualPortType v;
    ext.ComputeValidationData(false, v);
    EXPECT_STREQ(v.GetInternalPortType(), "NULL{not_selected}");
    EXPECT_EQ(v.GetNoOfInternalPortToken(), 1);
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

// The host checks the line into "EXT" against the parameters' description.
TEST(TCExtPar, TheInputPublishesTheParameters)
{
    Tunable module;
    TCModuleHarness host(module);
    ASSERT_EQ(host.Start(), 0);
    int tokens = 0;
    EXPECT_STREQ(module.Helper().GetPortType(PT_INPUT, 0, &tokens),
                 "SWORD{Gain:0..10(3)} SWORD{Run:0,1(0)} UBYTE[]{Label:2..4(ab)} DOUBLE{Rate:(1)}");
    EXPECT_EQ(tokens, 4);
    EXPECT_TRUE(host.HostRecords().IsEmpty());
}

int Consent(long arg) { return *reinterpret_cast<const int*>(arg); }

// Random parameters of every numeric and text kind, random bounds (empty, in either order,
// beyond the kind's range) and random values written as segments: what arrives follows a
// model of clamping, bool, padding and cutting, and the module's consent.
TEST(TCExtPar, RandomBlocksFollowTheClampingModel)
{
    struct Param {
        char kind;  // i int, u unsigned, l unsigned long, d double, b bool, t TCString, c CString
        std::string min, max;
        int i = 0;
        unsigned u = 0;
        unsigned long l = 0;
        double d = 0;
        bool b = false;
        TCString t;
        CString c;
    };
    Tunable module;
    TCModuleHarness host(module);
    ASSERT_EQ(host.Start(), 0);
    std::mt19937 rng(80);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    auto intBound = [&](char kind) -> std::string {
        static const char* odd[] = {"", "", "-5", "5000000000", "-2147483648", "2147483647", "4294967295"};
        return pick(3) == 0 ? odd[pick(7)] : std::to_string(pick(201) - (kind == 'i' ? 100 : 0));
    };
    auto text = [&]() {
        std::string s(size_t(pick(9)), 'a');
        for (char& ch : s)
            ch = " \\a{("[pick(5)];
        return s;
    };
    int consent = 1;
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<Param> params(size_t(1 + pick(6)));
        module.ext->ClearParam();
        for (size_t k = 0; k < params.size(); ++k) {
            Param& p = params[k];
            p.kind = "iuldbtc"[pick(7)];
            if (p.kind == 'd') {
                char buf[32];
                std::snprintf(buf, sizeof buf, "%.17g", (pick(2001) - 1000) / 7.0);
                p.min = pick(4) ? buf : "";
                std::snprintf(buf, sizeof buf, "%.17g", (pick(2001) - 1000) / 3.0);
                p.max = pick(4) ? buf : "";
            } else if (p.kind == 't' || p.kind == 'c') {
                p.min = pick(3) ? std::to_string(pick(7)) : "";
                p.max = pick(3) ? std::to_string(pick(7)) : "";
            } else {
                p.min = intBound(p.kind);
                p.max = intBound(p.kind);
            }
            p.i = pick(100);
            p.u = unsigned(pick(100));
            p.l = 1ul << 40;
            p.d = 0.25;
            p.t = "old";
            p.c = "old";
            const char* name = "P";
            switch (p.kind) {
            case 'i': module.ext->AddParam(name, p.i, p.min.c_str(), p.max.c_str()); break;
            case 'u': module.ext->AddParam(name, p.u, p.min.c_str(), p.max.c_str()); break;
            case 'l': module.ext->AddParam(name, p.l, p.min.c_str(), p.max.c_str()); break;
            case 'd': module.ext->AddParam(name, p.d, p.min.c_str(), p.max.c_str()); break;
            case 'b': module.ext->AddParam(name, p.b); break;
            case 't': module.ext->AddParam(name, p.t, p.min.c_str(), p.max.c_str()); break;
            default: module.ext->AddParam(name, p.c, p.min.c_str(), p.max.c_str()); break;
            }
        }
        const std::vector<Param> before = params;
        std::vector<Param> want = params;
        std::vector<Seg> segs(size_t(1 + pick(int(params.size()) + 2)));
        for (size_t k = 0; k < segs.size(); ++k) {
            const char kind = k < params.size() ? params[k].kind : 'i';
            static const long long ints[] = {0, 1, -1, INT_MIN, INT_MAX, 7, -77, 4096};
            static const double dbls[] = {0.0, -0.0, 1e308, -1e308, INFINITY, -INFINITY, NAN, 3.5};
            Seg& g = segs[k];
            g.type = kind == 'd' ? 'd' : kind == 't' || kind == 'c' ? 't' : 'i';
            g.i = pick(2) ? ints[pick(8)] : pick(401) - 200;
            g.d = pick(2) ? dbls[pick(8)] : (pick(4001) - 2000) / 9.0;
            g.t = text();
            if (k >= params.size())
                continue;
            // The model: bounds in [least, most], either order, empty = the extreme.
            Param& w = want[k];
            auto bounds = [&](long long least, long long most) {
                auto of = [&](const std::string& s, long long extreme) {
                    return s.empty() ? extreme : std::clamp(std::stoll(s), least, most);
                };
                const long long a = of(w.min, least), b = of(w.max, most);
                return std::pair(std::min(a, b), std::max(a, b));
            };
            switch (kind) {
            case 'i': {
                const auto [lo, hi] = bounds(INT_MIN, INT_MAX);
                w.i = int(std::clamp(g.i, lo, hi));
                break;
            }
            case 'u':
            case 'l': {
                const auto [lo, hi] = bounds(0, UINT32_MAX);
                // The segment's 32 bits, taken as unsigned.
                const long long v = std::clamp<long long>(uint32_t(int(g.i)), lo, hi);
                w.u = kind == 'u' ? unsigned(v) : w.u;
                w.l = kind == 'l' ? (unsigned long)(v) : w.l;
                break;
            }
            case 'b': w.b = g.i != 0; break;
            case 'd': {
                double lo = w.min.empty() ? -DBL_MAX : std::stod(w.min);
                double hi = w.max.empty() ? DBL_MAX : std::stod(w.max);
                if (hi < lo)
                    std::swap(lo, hi);
                if (!std::isnan(g.d))
                    w.d = std::clamp(g.d, lo, hi);
                break;
            }
            default: {
                const auto [lo, hi] = bounds(0, UINT32_MAX);
                std::string s = g.t;
                if ((long long)s.size() < lo)
                    s.resize(size_t(lo), ' ');
                else if ((long long)s.size() > hi)
                    s.resize(size_t(hi));
                w.t = s.c_str();
                w.c = s.c_str();
            }
            }
        }
        consent = std::array{1, 5, 0, -7}[size_t(pick(4))];
        module.ext->SetValidateFkt(&Consent, reinterpret_cast<long>(&consent));
        module.results.clear();
        ASSERT_EQ(WriteBlock(host, segs), 0);
        host.Run(4);
        ASSERT_EQ(module.results.size(), 1u) << trial;
        const int n = int(std::min(segs.size(), params.size()));
        EXPECT_EQ(module.results[0], consent > 0 ? n : consent) << trial;
        if (consent < 0) {
            EXPECT_EQ(host.ErrMsg()->code, consent) << trial;
        }
        const std::vector<Param>& expect = consent > 0 ? want : before;
        for (size_t k = 0; k < params.size(); ++k) {
            const Param& got = params[k];
            const Param& w = expect[k];
            const std::string where = "trial " + std::to_string(trial) + " param " + std::to_string(k) + " " +
                                      got.kind + " [" + got.min + "," + got.max + "]";
            switch (got.kind) {
            case 'i': EXPECT_EQ(got.i, w.i) << where; break;
            case 'u': EXPECT_EQ(got.u, w.u) << where; break;
            case 'l': EXPECT_EQ(got.l, w.l) << where; break;
            case 'b': EXPECT_EQ(got.b, w.b) << where; break;
            case 'd': EXPECT_EQ(std::signbit(got.d), std::signbit(w.d)) << where; EXPECT_EQ(got.d, w.d) << where; break;
            case 't': EXPECT_STREQ(got.t, w.t) << where; break;
            default: EXPECT_STREQ(got.c, w.c) << where; break;
            }
        }
        // Texts come back out of the published declarators unchanged.
        TCValidateActualPortType v;
        module.ext->ComputeValidationData(true, v);
        ASSERT_EQ(v.GetNoOfInternalPortToken(), int(params.size()));
        for (size_t k = 0; k < params.size(); ++k) {
            if (params[k].kind != 't' && params[k].kind != 'c')
                continue;
            CString token, decl;
            ASSERT_TRUE(v.GetInternalToken(int(k), token, decl));
            const std::string s(decl);
            const size_t open = s.find('(');
            ASSERT_TRUE(open != std::string::npos && s.back() == ')') << s;
            TCString value(s.substr(open + 1, s.size() - open - 2).c_str());
            TCValidationUnQuote(value);
            EXPECT_STREQ(value, params[k].kind == 't' ? static_cast<const char*>(params[k].t)
                                                      : static_cast<const char*>(params[k].c))
                << s;
        }
    }
}

}  // namespace
