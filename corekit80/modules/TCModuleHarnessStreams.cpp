// TCModuleHarness's streams: blocks written into the inputs, blocks the outputs wrote.
#include "corekit80/modules/TCModuleHarness.h"
#include "corekit80/modules/TCModuleHarnessImpl.h"

namespace {
TCIOStream* At(const std::vector<std::unique_ptr<TCIOStream>>& streams, unsigned port)
{
    return port < streams.size() ? streams[port].get() : nullptr;
}

// The first segment of a queued block, copied.
template <class T, class ARG, class Peek>
TCArray<T, ARG> Copy(TCIOStream* s, Peek peek)
{
    TCArray<T, ARG> values;
    const T* data = nullptr;
    const int n = s ? peek(*s, data) : -1;
    if (n > 0 && data) {
        values.SetSize(n);
        for (int i = 0; i < n; ++i)
            values[i] = data[i];
    }
    return values;
}
}

TCIOStream* TCModuleHarness::Producer(unsigned input) { return At(m_pImpl->producers, input); }
TCIOStream* TCModuleHarness::Collector(unsigned output) { return At(m_pImpl->collectors, output); }

int TCModuleHarness::Write(unsigned input, int value)
{
    return WriteWith(input, [&](TCIOStream& s) { return s.WriteIntVec(&value, 1); });
}

int TCModuleHarness::Write(unsigned input, double value)
{
    return WriteWith(input, [&](TCIOStream& s) { return s.WriteDblVec(&value, 1); });
}

int TCModuleHarness::Write(unsigned input, const double* values, int n, const TCTypeInfo* ti)
{
    return WriteWith(input, [&](TCIOStream& s) {
        if (ti) {
            const int r = s.SetTI(ti, false);
            if (r < 0)
                return r;
        }
        return s.WriteDblVec(values, n);
    });
}

int TCModuleHarness::Write(unsigned input, const char* text)
{
    const TCString value(text ? text : "");
    return WriteWith(input, [&](TCIOStream& s) { return s.WriteStrVec(&value, 1); });
}

int TCModuleHarness::OutputBlockCnt(unsigned output)
{
    TCIOStream* s = Collector(output);
    return s ? s->GetBlockCnt(nullptr) : 0;
}

TCArray<int, int> TCModuleHarness::OutputInts(unsigned output, int block)
{
    return Copy<int, int>(Collector(output),
                          [&](TCIOStream& s, const int*& data) { return s.PeekIntData(block, data, nullptr, nullptr); });
}

TCArray<double, double> TCModuleHarness::OutputDoubles(unsigned output, int block)
{
    return Copy<double, double>(Collector(output), [&](TCIOStream& s, const double*& data) {
        return s.PeekDblData(block, data, nullptr, nullptr);
    });
}

TCArray<TCString> TCModuleHarness::OutputTexts(unsigned output, int block)
{
    return Copy<TCString, const TCString&>(Collector(output),
                                           [&](TCIOStream& s, const TCString*& data) { return s.PeekStrData(block, data); });
}

const TCTypeInfo* TCModuleHarness::OutputTI(unsigned output, int block)
{
    TCIOStream* s = Collector(output);
    return s && s->PeekBlock(block) == 1 ? s->GetTI() : nullptr;
}
