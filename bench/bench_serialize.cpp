// Blocks to binary records and back against memcpy of the same bytes, and blocks to XML
// and back against a raw libxml2 parse of the same text. Each round takes the queued
// block of a loopback stream out (record or document) and reads it back in, so the stream
// holds one block throughout and reuses its buffers.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <cstring>
#include <vector>

#include "corekit80/archive/TCXML.h"
#include "corekit80/streams/TCIOStream.h"

namespace {

// A loopback stream holding one block: type info and a DOUBLE segment of n values.
struct Source {
    TCIOStream s;
    explicit Source(int n)
    {
        s.SetInputStream(3);
        s.AddOutputStream(&s);
        std::vector<double> v(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            v[size_t(i)] = 1.0 / (i + 3);
        TCTypeInfo ti;
        ti.Name = "signal";
        ti.State = TCBS_BUSY;
        ti.Timestamp = 1.7e12;
        s.SetTI(&ti, true);
        s.WriteDblVec(v.data(), n);
    }
};

void BM_BlockToBinaryAndBack(benchmark::State& state)
{
    Source src(int(state.range(0)));
    TCString record;
    const int size = src.s.SerializeBlock(nullptr, true);
    for (auto _ : state) {
        if (src.s.SerializeBlock(record.GetBuffer(size), true) != size ||
            src.s.DeSerializeBlock(record.ReleaseBuffer(size)) != size) {
            state.SkipWithError("the block did not come back");
            break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
}
BENCHMARK(BM_BlockToBinaryAndBack)->Arg(16)->Arg(1024)->Arg(16384);

void BM_MemcpyOutAndBack(benchmark::State& state)
{
    Source src(int(state.range(0)));
    const size_t size = size_t(src.s.SerializeBlock(nullptr, true));
    std::vector<char> from(size, 1), record(size), to(size);
    for (auto _ : state) {
        std::memcpy(record.data(), from.data(), size);
        benchmark::ClobberMemory();
        std::memcpy(to.data(), record.data(), size);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}
BENCHMARK(BM_MemcpyOutAndBack)->Arg(16)->Arg(1024)->Arg(16384);

TCString XmlText(int n)
{
    Source src(n);
    TCXML xml;
    TCString text;
    src.s.StreamToXML(xml, true, 0);
    xml.GetNodeXML(xml.GetDocument(), text);
    return text;
}

void BM_BlockToXmlAndBack(benchmark::State& state)
{
    Source src(int(state.range(0)));
    const int64_t bytes = XmlText(int(state.range(0))).GetLength();
    TCXML xml;
    for (auto _ : state) {
        if (!src.s.StreamToXML(xml, false, 0) || src.s.XMLToStream(xml) != 1) {
            state.SkipWithError("the block did not come back");
            break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
}
BENCHMARK(BM_BlockToXmlAndBack)->Arg(16)->Arg(1024);

// Loading the text and reading the block from it: the reading half on its own.
void BM_XmlTextToBlock(benchmark::State& state)
{
    Source src(1);
    const TCString text = XmlText(int(state.range(0)));
    TCXML xml;
    xml.Create(false);
    for (auto _ : state) {
        if (!xml.LoadXML(text) || src.s.XMLToStream(xml) != 1 || src.s.RemoveContents(false) != 1) {
            state.SkipWithError("the block was not read");
            break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.GetLength());
}
BENCHMARK(BM_XmlTextToBlock)->Arg(16)->Arg(1024);

void BM_RawLibxml2Parse(benchmark::State& state)
{
    const TCString text = XmlText(int(state.range(0)));
    for (auto _ : state) {
        xmlDocPtr doc = xmlReadMemory(text, text.GetLength(), "block.xml", nullptr, XML_PARSE_NONET);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.GetLength());
}
BENCHMARK(BM_RawLibxml2Parse)->Arg(16)->Arg(1024);

} // namespace
