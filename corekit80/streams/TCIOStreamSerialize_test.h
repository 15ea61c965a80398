#pragma once

// Random blocks and a bitwise block comparison for the serialization tests.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "corekit80/streams/TCIOStream.h"

namespace serialize_test {

using Block = TCIOStream::Block;
using DataSegment = TCIOStream::DataSegment;

// What the forms carry: the XML form wants finite doubles, text, unit factors that are
// powers of ten (the unit's text form) and keeps whole addresses; the binary record keeps
// 32-bit addresses.
struct RandomOptions {
    bool xml = false;
    int depth = 2;
};

inline double RandomDouble(std::mt19937_64& rng, bool finite)
{
    for (;;) {
        uint64_t bits = rng();
        double v;
        std::memcpy(&v, &bits, 8);
        if (!finite || (v == v && v - v == 0))
            return v;
    }
}

inline TCString RandomBytes(std::mt19937_64& rng, int maxLen, bool text)
{
    std::string s(rng() % (maxLen + 1), '\0');
    for (char& c : s)
        c = text ? char('a' + rng() % 26) : char(rng());
    return TCString(s.data(), int(s.size()));
}

inline void RandomTypeInfo(TCTypeInfo& ti, std::mt19937_64& rng, const RandomOptions& o)
{
    ti.Name = TCString2BinCString(RandomBytes(rng, 8, o.xml));
    for (double* v : {&ti.Timestamp, &ti.Samplerate, &ti.Min, &ti.Max, &ti.Unit.factor})
        *v = RandomDouble(rng, o.xml);
    if (o.xml)
        ti.Unit.factor = std::strtod(("1e" + std::to_string(int(rng() % 41) - 20)).c_str(), nullptr);
    for (signed char& e : ti.Unit.exponents)
        e = static_cast<signed char>(rng() % 9) - 4;
    ti.State = TCBLOCKSTATUS(int(rng() % 5) - 1);
}

// Fills a fresh block with 0 to 4 random segments and, half of the time, type info.
inline void FillRandom(Block& b, std::mt19937_64& rng, const RandomOptions& o, int depth = 0)
{
    if (rng() % 2) {
        TCTypeInfo ti;
        RandomTypeInfo(ti, rng, o);
        b.SetTI(&ti);
    }
    for (int s = 0, count = int(rng() % 5); s < count; ++s) {
        DataSegment* seg = b.SegmentForWrite(s ? TCString::FormatS("seg%d", s) : TCString(), false);
        auto type = TCIOStream::DATATYPE(rng() % (depth < o.depth ? 5 : 4) + 1);
        int dims[2] = {int(rng() % 4) + 1, int(rng() % 3) + 1};
        seg->SetData(type, int(rng() % 2) + 1, dims, nullptr, true);
        for (int i = 0; i < seg->ElementCount(); ++i) {
            if (type == TCIOStream::INT)
                static_cast<int*>(seg->m_pData)[i] = int(rng());
            else if (type == TCIOStream::DOUBLE)
                static_cast<double*>(seg->m_pData)[i] = RandomDouble(rng, o.xml);
            else if (type == TCIOStream::STRING)
                static_cast<TCString*>(seg->m_pData)[i] = RandomBytes(rng, 6, o.xml);
            else if (type == TCIOStream::BLOCK)
                FillRandom(*static_cast<Block**>(seg->m_pData)[i], rng, o, depth + 1);
        }
        if (type == TCIOStream::POINTER)
            seg->m_pData = reinterpret_cast<void*>(uintptr_t(o.xml ? rng() : rng() & 0xFFFFFFFF));
    }
}

inline bool Same(const void* a, const void* b, size_t n) { return std::memcmp(a, b, n) == 0; }

inline std::string DiffTI(const TCTypeInfo* a, const TCTypeInfo* b)
{
    if (!a || !b)
        return a == b ? "" : "type info present on one side only; ";
    const double x[] = {a->Timestamp, a->Samplerate, a->Unit.factor, a->Min, a->Max};
    const double y[] = {b->Timestamp, b->Samplerate, b->Unit.factor, b->Min, b->Max};
    bool same = a->Name.GetLength() == b->Name.GetLength() &&
                Same(a->Name.GetString(), b->Name.GetString(), size_t(a->Name.GetLength())) && Same(x, y, sizeof x) &&
                Same(a->Unit.exponents, b->Unit.exponents, sizeof a->Unit.exponents) && a->State == b->State;
    return same ? "" : "type info differs; ";
}

// Mismatches between the valid segments of a and b, and with withTI between the type
// infos of the blocks of a that carry one; empty when equal. Values compare bitwise.
inline std::string Diff(const Block& a, const Block& b, bool withTI = true)
{
    std::string d = withTI && a.GetTI() ? DiffTI(a.GetTI(), b.GetTI()) : "";
    if (a.ValidCount() != b.ValidCount())
        return d + "segment count differs; ";
    for (int s = 0; s < a.ValidCount(); ++s) {
        const DataSegment& x = *a.ValidSegment(s);
        const DataSegment& y = *b.ValidSegment(s);
        const int n = x.ElementCount();
        if (x.m_name.CompareBin(y.m_name) != 0 || x.m_type != y.m_type || x.m_nDims != y.m_nDims ||
            !Same(x.m_dims.GetData(), y.m_dims.GetData(), sizeof(int) * x.m_nDims)) {
            d += "segment " + std::to_string(s) + ": name, type or shape differs; ";
            continue;
        }
        bool same = x.m_type == TCIOStream::POINTER ? x.m_pData == y.m_pData
                    : x.m_type == TCIOStream::STRING || x.m_type == TCIOStream::BLOCK
                        ? true
                        : Same(x.m_pData, y.m_pData, size_t(n) * DataSegment::ElementSize(x.m_type));
        for (int i = 0; i < n && x.m_type == TCIOStream::STRING; ++i)
            same = same && static_cast<TCString*>(x.m_pData)[i].CompareBin(static_cast<TCString*>(y.m_pData)[i]) == 0;
        for (int i = 0; i < n && x.m_type == TCIOStream::BLOCK; ++i)
            d += Diff(*static_cast<Block**>(x.m_pData)[i], *static_cast<Block**>(y.m_pData)[i], withTI);
        if (!same)
            d += "segment " + std::to_string(s) + ": values differ; ";
    }
    return d;
}

// A stream that is its own input: what is written to it is queued at once.
struct Loopback {
    TCIOStream s;
    Loopback() { s.SetInputStream(3), s.AddOutputStream(&s); }
};

} // namespace serialize_test
