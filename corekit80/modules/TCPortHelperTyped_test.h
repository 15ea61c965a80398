#pragma once

// The rig of the typed input and output tests: a writing helper whose output feeds a reading
// helper's input, optionally with a second line to a plain collecting stream.

#include <memory>

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/streams/TCIOStream.h"

namespace port_typed_test {

using H = TCPortHelper;

struct Pair {
    // Output 0 of w and input 0 of r (of readBase when given) are of type base; the
    // collector, when asked for, is fan 1.
    explicit Pair(const char* base, bool typeInfo = true, const char* readBase = nullptr, bool collect = false)
        : w(nullptr), r(nullptr)
    {
        w.SetPort(PT_OUTPUT, 0, "Out", base, nullptr, typeInfo);
        r.SetPort(PT_INPUT, 0, "In", readBase ? readBase : base, nullptr, typeInfo);
        w.AddOutputStream(0, r.SetInputStream(0, 0, 3));
        if (collect)
            w.AddOutputStream(0, collector.SetInputStream(3));
    }
    // The ports of type code (the input of readCode when given).
    explicit Pair(unsigned long code, unsigned long readCode = 0) : w(nullptr), r(nullptr)
    {
        w.SetPort(PT_OUTPUT, 0, "Out", code);
        r.SetPort(PT_INPUT, 0, "In", readCode ? readCode : code);
        w.AddOutputStream(0, r.SetInputStream(0, 0, 3));
    }
    ~Pair()
    {
        w.DeleteStreams();
        r.DeleteStreams();
        collector.DeleteStreams();
    }
    int Waiting() { return r.BlocksOnStream(PT_INPUT, 0); }

    H w;
    H r;
    TCIOStream collector;
};

}  // namespace port_typed_test
