#pragma once

// A producer stream wired to n input streams, for the stream tests.

#include <vector>

#include "corekit80/streams/TCIOStream.h"

struct StreamGraph {
    TCIOStream out;
    std::vector<TCIOStream> in;
    explicit StreamGraph(int n) : in(n)
    {
        for (TCIOStream& s : in)
            out.AddOutputStream(s.SetInputStream(3));
    }
};
