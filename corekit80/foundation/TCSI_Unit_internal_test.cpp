// Tests of TCSI_Unit: expressions, exponent limits, factors, arithmetic, round trips.
#include "corekit80/foundation/TCSI_Unit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "corekit80/foundation/TCPowerOfTenImpl.h"
#include "corekit80/foundation/TCSI_Convert.h"
#include "corekit80/types/TCString.h"

namespace {

TCSI_Unit Unit(std::initializer_list<int> e, double factor = 1.0)
{
    TCSI_Unit u;
    int i = 0;
    for (int v : e)
        u.exponents[i++] = static_cast<signed char>(v);
    u.factor = factor;
    return u;
}

TCString Text(const TCSI_Unit& u)
{
    TCString s;
    u.GetString(s);
    return s;
}

TEST(TCSI_Unit, ReadsAndWritesExpressions)
{
    const struct { const char *in, *out; } cases[] = {
        {"kg m^2 s^-2", "J"},       {"m s^-1", "m s^-1"},   {"m^ 2", "m^2"},
        {"m ^2", "m^2"},            {" m\t^ -1 ", "m^-1"},   {"s^-1", "Hz"},
        {"cd", "cd"},               {"lm", "cd"},            {"V A", "W"},
        {"", ""},                   {"m m^-1", ""},          {"mol^0", ""},
        {"Ohm^-1", "S"},            {"kgm", nullptr},        {"km", nullptr},
        {"m^11", nullptr},          {"m^-11", nullptr},      {"m^", nullptr},
        {"m^-", nullptr},           {"m^--2", nullptr},      {"m^2-", nullptr},
        {"m^+2", nullptr},          {"m2", nullptr},         {"1", nullptr},
        {"m^2^3", nullptr},         {"m^99999999999999999999", nullptr},
        {"m, s", nullptr},          {"\xc2\xb5m", nullptr},  {"M", nullptr},
    };
    for (const auto& c : cases) {
        TCSI_Unit u;
        bool ok = TCSI_Convert().scan(c.in, u);
        EXPECT_EQ(ok, c.out != nullptr) << c.in;
        if (ok) {
            EXPECT_STREQ(Text(u), c.out) << c.in;
        }
        EXPECT_EQ(u.factor, 1.0);
    }
}

TEST(TCSI_Unit, RefusesExponentSumsBeyondEightBits)
{
    TCString text;
    for (int i = 0; i < 12; ++i)
        text += "m^10 ";
    TCSI_Unit u;
    EXPECT_TRUE(TCSI_Convert().scan(text, u));
    EXPECT_EQ(u.exponents[0], 120);
    text += "m^8";
    EXPECT_FALSE(TCSI_Convert().scan(text, u));
}

TEST(TCSI_Unit, TextFormWithFactor)
{
    const struct { TCSI_Unit u; const char* text; } cases[] = {
        {Unit({2, 1, -3, -1}, 0.001), "V * 1e-003"}, {Unit({}, 1000.0), "1 * 1e+003"},
        {Unit({1}), "m"},                            {Unit({}), ""},
        {Unit({1}, 0.002), "m * 1e-002"},            {Unit({1}, 2500.0), "m * 1e+003"},
        {Unit({1}, 0.0), "m * 1e+000"},              {Unit({1}, -10.0), "m * 1e+000"},
        {Unit({1}, NAN), "m * 1e+000"},              {Unit({1}, INFINITY), "m * 1e+000"},
        {Unit({1}, 1e-300), "m * 1e-300"},
    };
    for (const auto& c : cases) {
        TCString s("old");
        EXPECT_STREQ(c.u.ToString(s), c.text);
    }
    // Written forms are read back in the round trip below; these are the other spellings.
    const struct { const char* text; bool ok; TCSI_Unit u; } reads[] = {
        {"  ", true, Unit({})},              {nullptr, true, Unit({})},
        {"* 1e5", true, Unit({}, 1e5)},      {"m * 1e+999", true, Unit({1}, INFINITY)},
        {"m * 1e-99999999999999999999", true, Unit({1}, 0.0)},
        {"V * 2", false, {}},                {"V *", false, {}},        {"km * 1e3", false, {}},
    };
    for (const auto& r : reads) {
        TCSI_Unit u;
        EXPECT_EQ(u.FromString(r.text), r.ok) << r.text;
        if (r.ok) {
            EXPECT_EQ(u, r.u) << r.text;
        }
    }
}

TEST(TCSI_Unit, Arithmetic)
{
    TCString s("x ");  // GetString appends, and trims only its own text
    EXPECT_STREQ(Unit({}).GetString(s), "x ");
    EXPECT_STREQ(Unit({1, 0, -1}).GetString(s), "x m s^-1");

    TCSI_Unit v = Unit({2, 1, -3, -1}, 2.0), a = Unit({0, 0, 0, 1}, 3.0);
    v.multiply(a);
    EXPECT_STREQ(Text(v), "W");
    EXPECT_EQ(v.factor, 6.0);
    TCSI_Unit m = Unit({1});
    m.divide(Unit({0, 0, 1}, 4.0));
    EXPECT_STREQ(Text(m), "m s^-1");
    EXPECT_EQ(m.factor, 0.25);
    EXPECT_NE(Unit({1}, 1.0), Unit({1}, 1.0000001));
    EXPECT_NE(Unit({1}), Unit({0, 1}));
}

TEST(TCSI_Unit, RandomUnitsRoundTrip)
{
    std::mt19937 rng(80);
    std::uniform_int_distribution<int> exponent(-10, 10), power(-323, 308), pick(0, 3);
    for (int n = 0; n < 5000; ++n) {
        TCSI_Unit u;
        for (signed char& e : u.exponents)
            e = static_cast<signed char>(pick(rng) == 0 ? exponent(rng) : 0);
        TCSI_Unit back;
        ASSERT_TRUE(TCSI_Convert().scan(Text(u), back)) << (const char*)Text(u);
        ASSERT_EQ(back, u) << (const char*)Text(u);

        if (pick(rng) != 0)
            u.factor = TCPow10(power(rng));
        TCString s;
        u.ToString(s);
        ASSERT_TRUE(back.FromString(s)) << (const char*)s;
        ASSERT_EQ(back, u) << (const char*)s;
    }
}

} // namespace
