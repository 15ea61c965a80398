// ArchiveParser writing and reading 10,000 sections of 20 typed values each (integers,
// doubles, strings), as a host saves and loads a large graph, against the floors on the
// same bytes: fwrite/fread of the file, and a raw libxml2 SAX parse of the XML file with
// a handler that only counts. Values per second are items; file bytes per second are bytes.
#include <benchmark/benchmark.h>

#include <libxml/parser.h>

#include <cstdio>
#include <string>
#include <vector>
#include <unistd.h>

#include "corekit80/archive/ArchiveParser.h"
#include "corekit80/platform/CFile.h"

namespace {

constexpr int kSections = 10000;
constexpr int kValues = 20;
constexpr int64_t kTotal = int64_t(kSections) * kValues;

// The module's settings: the values of one section repeat with small changes.
struct Settings {
    std::vector<int> ints;
    std::vector<double> doubles;
    std::vector<TCString> texts;
    const char* descriptions[kValues];
    std::vector<std::string> descriptionTexts;

    Settings() : ints(kTotal), doubles(kTotal), texts(kTotal), descriptionTexts(kValues)
    {
        for (int k = 0; k < kValues; ++k) {
            descriptionTexts[k] = "Value " + std::to_string(k);
            descriptions[k] = descriptionTexts[k].c_str();
        }
        for (int64_t i = 0; i < kTotal; ++i) {
            ints[i] = int(i * 7919 % 100003) - 50000;
            doubles[i] = double(i) * 0.001 + 1.0 / double(i % 7 + 1);
            texts[i].Format("channel %lld", (long long)(i % 977));
        }
    }

    // The same calls store the values when writing and fetch them when reading.
    void Serialize(ArchiveParser& p)
    {
        for (int s = 0; s < kSections; ++s) {
            ArchiveParser* section = p.SubSection(uint16_t(s), "Section", false);
            for (int k = 0; k < kValues; ++k) {
                int64_t i = int64_t(s) * kValues + k;
                switch (k % 3) {
                case 0: section->Serialize(uint16_t(k), descriptions[k], ints[i]); break;
                case 1: section->Serialize(uint16_t(k), descriptions[k], doubles[i]); break;
                default: section->Serialize(uint16_t(k), descriptions[k], texts[i]); break;
                }
            }
        }
    }
};

Settings& Data()
{
    static Settings settings;
    return settings;
}

std::string FilePath(bool xml)
{
    return "/tmp/ck80_bench_archive_" + std::to_string(getpid()) + (xml ? ".tcx" : ".tc2");
}

// Writes the settings in the form of the file name; the file's size. In place, the file
// is written like fwrite writes it; otherwise it is saved as a host saves, to a temporary
// that is synced and renamed.
int64_t WriteArchive(const std::string& path, bool inPlace = true)
{
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite | (inPlace ? unsigned(CFile::modeInPlace) : 0u));
    CArchive ar(&file, CArchive::store);
    ArchiveParser p;
    if (IsXMLArchive(ar))
        p.SaveAscii(ArchiveParser::modeXML);
    p.BeginSerialize(ar);
    Data().Serialize(p);
    p.EndSerialize(ar);
    ar.Close();
    int64_t size = int64_t(file.GetLength());
    file.Close();
    return size;
}

std::string FileBytes(const std::string& path)
{
    std::string bytes;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        char chunk[65536];
        for (size_t n; (n = fread(chunk, 1, sizeof chunk, f)) > 0;)
            bytes.append(chunk, n);
        fclose(f);
    }
    return bytes;
}

// Argument: 0 binary, 1 XML, 2 binary saved through a synced temporary.
void BM_ArchiveWrite(benchmark::State& state)
{
    std::string path = FilePath(state.range(0) == 1);
    int64_t size = WriteArchive(path); // the shared entry pool grows once
    for (auto _ : state)
        size = WriteArchive(path, state.range(0) != 2);
    state.SetItemsProcessed(state.iterations() * kTotal);
    state.SetBytesProcessed(state.iterations() * size);
    std::remove(path.c_str());
}

void BM_ArchiveRead(benchmark::State& state)
{
    std::string path = FilePath(state.range(0));
    int64_t size = WriteArchive(path);
    for (auto _ : state) {
        CFile file(path.c_str(), CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        ArchiveParser p;
        if (!p.BeginSerialize(ar))
            state.SkipWithError("not read");
        Data().Serialize(p);
        p.EndSerialize(ar);
    }
    state.SetItemsProcessed(state.iterations() * kTotal);
    state.SetBytesProcessed(state.iterations() * size);
    std::remove(path.c_str());
}

// The floor of writing: the same bytes with one fwrite.
void BM_Fwrite(benchmark::State& state)
{
    std::string path = FilePath(state.range(0));
    WriteArchive(path);
    std::string bytes = FileBytes(path);
    for (auto _ : state) {
        FILE* f = fopen(path.c_str(), "wb");
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    state.SetItemsProcessed(state.iterations() * kTotal);
    state.SetBytesProcessed(state.iterations() * int64_t(bytes.size()));
    std::remove(path.c_str());
}

// The floor of binary reading: the file's bytes with fread.
void BM_Fread(benchmark::State& state)
{
    std::string path = FilePath(state.range(0));
    WriteArchive(path);
    int64_t size = 0;
    for (auto _ : state) {
        std::string bytes = FileBytes(path);
        size = int64_t(bytes.size());
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetItemsProcessed(state.iterations() * kTotal);
    state.SetBytesProcessed(state.iterations() * size);
    std::remove(path.c_str());
}

struct SaxCount {
    int64_t elements = 0;
    int64_t characters = 0;
};

// The floor of XML reading: libxml2's SAX2 push parser over the file in 64 KiB pieces,
// with handlers that only count.
void BM_RawSax(benchmark::State& state)
{
    std::string path = FilePath(true);
    WriteArchive(path);
    xmlSAXHandler sax{};
    sax.initialized = XML_SAX2_MAGIC;
    sax.startElementNs = [](void* ctx, const xmlChar*, const xmlChar*, const xmlChar*, int, const xmlChar**,
                            int, int, const xmlChar**) { ++static_cast<SaxCount*>(ctx)->elements; };
    sax.characters = [](void* ctx, const xmlChar*, int n) { static_cast<SaxCount*>(ctx)->characters += n; };
    int64_t size = 0;
    for (auto _ : state) {
        SaxCount count;
        FILE* f = fopen(path.c_str(), "rb");
        char chunk[65536];
        size_t n = fread(chunk, 1, sizeof chunk, f);
        size = int64_t(n);
        xmlParserCtxtPtr ctxt = xmlCreatePushParserCtxt(&sax, &count, chunk, 4, nullptr);
        xmlCtxtUseOptions(ctxt, XML_PARSE_NONET);
        xmlParseChunk(ctxt, chunk + 4, int(n - 4), 0);
        while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) {
            size += int64_t(n);
            xmlParseChunk(ctxt, chunk, int(n), 0);
        }
        xmlParseChunk(ctxt, nullptr, 0, 1);
        if (!ctxt->wellFormed || count.elements != kTotal + kSections + 1)
            state.SkipWithError("parse failed");
        xmlFreeParserCtxt(ctxt);
        fclose(f);
    }
    state.SetItemsProcessed(state.iterations() * kTotal);
    state.SetBytesProcessed(state.iterations() * size);
    std::remove(path.c_str());
}
// Files are written and synced by the kernel, partly outside the calling thread's CPU
// time: every case is timed on the wall clock.
BENCHMARK(BM_RawSax)->Unit(benchmark::kMillisecond)->UseRealTime();

// Argument: 0 binary, 1 XML (2: see BM_ArchiveWrite).
BENCHMARK(BM_ArchiveWrite)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Fwrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ArchiveRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Fread)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
