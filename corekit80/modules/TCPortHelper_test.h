#pragma once

// The test rig of the port helper tests: a helper with inputs that sources feed.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/streams/TCIOStream.h"

namespace port_helper_test {

using H = TCPortHelper;

inline const char* NameOf(PORTTYPE type, unsigned port)
{
    static std::string name;
    name = (type == PT_INPUT ? "In" : "Out") + std::to_string(port);
    return name.c_str();
}

// A helper with n inputs of one type; sources[i] feeds input i once connected.
struct Rig {
    explicit Rig(unsigned n, const char* base = "DOUBLE[]", bool typeInfo = true) : h(nullptr), sources(n)
    {
        if (n)
            h.SetPortRange(PT_INPUT, 0, n, &NameOf, base, nullptr, typeInfo);
        for (auto& s : sources)
            s = std::make_unique<TCIOStream>();
    }
    ~Rig()
    {
        for (auto& s : sources)
            s->DeleteStreams();
        h.DeleteStreams();
    }
    void Connect(unsigned i)
    {
        sources[i]->AddOutputStream(static_cast<TCIOStream*>(h.SetInputStream(i, 0, 3)));
    }
    void Feed(unsigned i, std::vector<double> v, double rate = 0, TCBLOCKSTATUS state = TCBS_BUSY,
              const char* unit = "")
    {
        TCTypeInfo ti;
        ti.Samplerate = rate;
        ti.State = state;
        EXPECT_TRUE(ti.Unit.FromString(unit));
        sources[i]->SetTI(&ti, false);
        ASSERT_EQ(sources[i]->WriteDblVec(v.data(), int(v.size())), 0);
    }
    H h;
    std::vector<std::unique_ptr<TCIOStream>> sources;
};

}  // namespace port_helper_test
