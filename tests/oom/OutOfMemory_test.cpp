// Every reader fed a heap that fails: for N = 1, 2, ... the N-th allocation of the read fails
// (once, and from then on) until the read no longer reaches N allocations. Each read either
// completes with the same result as with a healthy heap or fails as its header says, with
// the object it was filling left empty; the leak checker watches the rest.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <unistd.h>

#include <libxml/tree.h>

#include "FailingAllocator.h"
#include "GraphFile.h"
#include "corekit80/archive/ArchiveParser.h"
#include "corekit80/archive/TCProcessParameters.h"
#include "corekit80/archive/TCXML.h"
#include "corekit80/platform/CArchiveException.h"
#include "corekit80/platform/CMemFile.h"
#include "corekit80/platform/TCDebugOutput.h"
#include "corekit80/streams/TCBusSerializeHelper.h"
#include "corekit80/streams/TCIOStream.h"

namespace {

namespace fa = failing_allocator;

// What a row gives when the read failed as documented and left its object empty.
const std::string kFailed = "(failed as documented)";
// What a row's result starts with when the read broke its promise.
const std::string kFault = "fault: ";

// A failure whose error text could not be had is only excused while the heap stays empty.
bool ErrorTextOk(bool hasText) { return hasText || fa::Persistent(); }

// --- Archives -----------------------------------------------------------------------------

// The values every archive holds, stored or read back; the digest of what they are.
std::string Settings(ArchiveParser& p)
{
    const bool load = p.IsLoading();
    std::string digest;
    for (unsigned short k = 0; k < 8; ++k) {
        ArchiveParser& s = *p.SubSection(k + 10, "Channel", false);
        int i = load ? 0 : k * 7;
        double d = load ? 0 : k / 3.0;
        TCString text = load ? "" : TCString::FormatS("channel %d, named at some length", k);
        unsigned char bytes[40] = {};
        int length = load ? int(sizeof bytes) : 5 + k;
        for (int b = 0; !load && b < length; ++b)
            bytes[b] = static_cast<unsigned char>(b * k);
        s.Serialize(1, "Index", i);
        s.Serialize(2, "Gain", d);
        s.Serialize(3, "Name", text);
        s.Serialize(4, "Bytes", length, bytes, true);
        digest += std::to_string(i) + " " + std::to_string(d) + " " + static_cast<const char*>(text) + " " +
                  std::string(reinterpret_cast<char*>(bytes), size_t(length)) + "\n";
    }
    return digest;
}

std::string ArchiveBytes(int mode)
{
    ArchiveParser p;
    p.SaveAscii(mode);
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    p.BeginSerialize(ar);
    Settings(p);
    p.EndSerialize(ar);
    ar.Close();
    return std::string(reinterpret_cast<const char*>(file.GetData()), size_t(file.GetLength()));
}

// BeginSerialize throws on fatal errors; the tree is then empty.
std::string ReadArchive(const std::string& bytes)
{
    std::string copy = bytes;
    CMemFile file(reinterpret_cast<unsigned char*>(copy.data()), unsigned(copy.size()));
    CArchive ar(&file, CArchive::load);
    ArchiveParser p;
    bool threw = false;
    try {
        fa::Window w;
        p.BeginSerialize(ar);
    } catch (const CArchiveException&) {
        threw = true;
    } catch (const std::bad_alloc&) {
        threw = true;
    }
    if (threw)
        return p.GetVarType(0) == 0 ? kFailed : kFault + "tree not empty after a failed read";
    return Settings(p);
}

// --- XML documents ------------------------------------------------------------------------

const char kDocument[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- settings -->\n"
    "<Graph name=\"demo\" version=\"2\"><Modules>"
    "<Module id=\"1\" type=\"Generator\"><Frequency unit=\"Hz\">440</Frequency><Text>a &amp; b</Text></Module>"
    "<Module id=\"2\" type=\"Gain\"><Factor>0.25</Factor><![CDATA[raw <text>]]></Module>"
    "<Module id=\"3\" type=\"Writer\"><File>out.txt</File><?note keep?></Module>"
    "</Modules><Lines><Line from=\"1\" to=\"2\"/><Line from=\"2\" to=\"3\"/></Lines></Graph>\n";

std::string Document(TCXML& xml, bool ok)
{
    TCString text;
    if (!ok)
        return ErrorTextOk(xml.IsError()) && !xml.SelectSingleNode("/node()") ? kFailed
                                                                              : kFault + "document not empty, or no error text";
    xml.GetNodeXML(xml.GetDocument(), text);
    return static_cast<const char*>(text);
}

std::string LoadXML()
{
    TCXML xml;
    xml.Create(false);
    bool ok;
    {
        fa::Window w;
        ok = xml.LoadXML(kDocument);
    }
    return Document(xml, ok);
}

std::string LoadFile(const std::string& path)
{
    TCXML xml;
    xml.Create(false);
    bool ok;
    {
        fa::Window w;
        ok = xml.Load(path.c_str());
    }
    return Document(xml, ok);
}

// --- Stream records -----------------------------------------------------------------------

struct Pair {
    TCIOStream out, in;
    Pair() { out.AddOutputStream(in.SetInputStream(3)); }
};

// A bus block of integer, double and text channels, with type information.
void WriteSample(TCIOStream& out)
{
    static const struct { unsigned long code; const char* text; } kinds[] = {
        {0x4, "SWORD[]{BIN}"}, {0x40, "DOUBLE[]{TIME_DOMAIN}"}, {0x100, "UBYTE[]{Text}"}};
    TCTypeInfo ti;
    ti.Name = "sample";
    ti.Timestamp = 1000.5;
    ti.State = TCBS_BUSY;
    const int ints[3] = {1, -2, 3};
    const double doubles[3] = {0.5, 1e300, -7};
    const TCString texts[3] = {"one", "a longer second text", ""};
    out.StartWriteSegments();
    out.SetTI(&ti, false);
    for (int port = 0; port < 3; ++port) {
        const TCString name = TCBusSerializeHelper::GenSegmentName(kinds[port].code, kinds[port].text, 1, port, "", "");
        for (int channel = 0; channel < 2; ++channel)
            port == 0   ? out.WriteBusSegment(name, ints, 3, &ti)
            : port == 1 ? out.WriteBusSegment(name, doubles, 3, &ti)
                        : out.WriteBusSegment(name, texts, 3, &ti);
    }
    out.EndWriteSegments();
}

std::string TakeRecord(TCIOStream& in)
{
    std::string record(size_t(in.SerializeBlock(nullptr, true)), '\0');
    in.SerializeBlock(record.data(), true);
    return record;
}

// The block that arrived, or kFailed when none did and result is the documented code.
std::string Arrived(Pair& p, bool failed, bool errorTextOk = true)
{
    if (!failed)
        return p.in.GetBlockCnt(nullptr) == 1 ? TakeRecord(p.in) : kFault + "no block after a read that succeeded";
    return p.in.GetBlockCnt(nullptr) == 0 && errorTextOk ? kFailed : kFault + "a block dispatched, or no error text";
}

std::string DeSerializeBlock(const TCString& record)
{
    Pair p;
    int r;
    {
        fa::Window w;
        r = p.out.DeSerializeBlock(record);
    }
    return r == record.GetLength() ? Arrived(p, false) : r == -14 ? Arrived(p, true) : kFault + "result " + std::to_string(r);
}

std::string DeSerializeForOldStream(const TCString& text)
{
    Pair p;
    int r;
    {
        fa::Window w;
        r = p.out.DeSerializeForOldStream(text, text.GetLength());
    }
    return r == text.GetLength() ? Arrived(p, false) : r == -14 ? Arrived(p, true) : kFault + "result " + std::to_string(r);
}

std::string XMLToStream(const char* document)
{
    Pair p;
    TCXML xml;
    xml.Create(false);
    if (!xml.LoadXML(document))
        return kFault + "the document does not load: " + xml.GetError();
    int r;
    {
        fa::Window w;
        r = p.out.XMLToStream(xml);
    }
    return r == 1    ? Arrived(p, false)
           : r == -2 ? Arrived(p, true, ErrorTextOk(xml.IsError()))
           : r == -14 ? Arrived(p, true)
                      : kFault + "result " + std::to_string(r);
}

// --- Parameter texts ----------------------------------------------------------------------

const char kParameters[] =
    "# a configuration file\r\n[Input]\r\nFile=\"C:\\\\data\\\\in.dat\"\r\nRate=48000\r\nGain=0.5\r\n"
    "; another comment\r\n[Output]\r\nFile='out \\'quoted\\'.dat'\r\nChannels=2\r\nLabel=left and right\r\n"
    "Empty=\"\"\r\n[Filter]\r\nKind=low pass\r\nOrder=4\r\nCut=1.5e3\r\n";

std::string ParseParamString()
{
    TCProcessParameters p(true, false, nullptr, "\n", "=", "#;");
    p.AddParamDelimiter("\r\n");
    int r;
    {
        fa::Window w;
        r = p.ParseParamString(kParameters);
    }
    if (r < 0)
        return r == -1 && p.GetParamCount() == 0 && ErrorTextOk(!p.GetErrorText().IsEmpty())
                   ? kFailed
                   : kFault + "parameters left after a failed parse, or no error text";
    std::string digest = std::to_string(r);
    for (int i = 0; i < r; ++i)
        digest += std::string("|") + static_cast<const char*>(p.GetParamSection(i)) + "." +
                  static_cast<const char*>(p.GetParamName(i)) + "=" + static_cast<const char*>(p.GetParamValStr(i));
    return digest;
}

// --- Graph files --------------------------------------------------------------------------

std::string SaveGraph(const std::string& path, bool xml)
{
    GraphFile g;
    g.libraries = {"libflowdeck_samples.so", "./modules/libmore.so"};
    for (int i = 0; i < 4; ++i)
        g.modules.push_back({i % 2, i ? "Gain" : "Generator", i, "module" + std::to_string(i), nullptr});
    for (int i = 0; i < 3; ++i)
        g.lines.push_back({"module" + std::to_string(i), "Out", "module" + std::to_string(i + 1), "In"});
    Problems problems;
    const bool ok = g.Save(path, xml, [](size_t m, ArchiveParser& s) {
        double factor = 0.25 * double(m);
        s.Serialize(1, "Factor", factor);
    }, problems);
    EXPECT_TRUE(ok) << path;
    return path;
}

std::string LoadGraph(const std::string& path)
{
    GraphFile g;
    Problems problems;
    bool ok;
    {
        fa::Window w;
        ok = g.Load(path, problems);
    }
    if (!ok)
        return g.libraries.empty() && g.modules.empty() && g.lines.empty() &&
                       problems.Status() == HS_GRAPH_FILE
                   ? kFailed
                   : kFault + "graph not empty after a failed load, or no problem";
    std::string digest;
    for (const std::string& l : g.libraries)
        digest += l + "\n";
    for (const GraphFile::Module& m : g.modules) {
        double factor = -1;
        m.settings->Serialize(1, "Factor", factor);
        digest += m.type + " " + m.symbol + " " + std::to_string(m.library) + " " + std::to_string(factor) + "\n";
    }
    for (const GraphFile::Line& l : g.lines)
        digest += l.source + "." + l.sourcePort + " " + l.target + "." + l.targetPort + "\n";
    return digest;
}

// --- The loop -----------------------------------------------------------------------------

struct Row {
    const char* name;
    std::function<std::string()> read;
    // A library whose own allocations never fail: libxml2 2.9 crashes on some (its tree
    // builder reads a null input buffer when growing it fails, its XPath evaluation goes on
    // with a freed context). The push parser of the archive reader survives them all.
    const void* spare = nullptr;
};

std::string Scratch(const char* name) { return testing::TempDir() + "ck80_oom_" + std::to_string(getpid()) + name; }

const void* const kLibxml2 = reinterpret_cast<const void*>(&xmlFreeDoc);

std::vector<Row> Rows()
{
    static const std::string binary = ArchiveBytes(ArchiveParser::modeBinary);
    static const std::string xml = ArchiveBytes(ArchiveParser::modeXML);
    static const std::string xmlFile = Scratch(".xml");
    static const std::string xmlGraph = SaveGraph(Scratch("_graph.xml"), true);
    static const std::string binaryGraph = SaveGraph(Scratch("_graph.bin"), false);
    if (FILE* f = std::fopen(xmlFile.c_str(), "wb")) {
        std::fputs(kDocument, f);
        std::fclose(f);
    }
    static TCString record, oldText, streamXml;
    {
        Pair p;
        for (int k = 0; k < 3; ++k)
            WriteSample(p.out);
        const std::string r = TakeRecord(p.in);
        record = TCString(r.data(), int(r.size()));
        oldText = p.in.SerializeForOldStream();
        TCXML doc;
        p.in.StreamToXML(doc, false, 0);
        doc.GetNodeXML(doc.GetDocument(), streamXml);
    }
    return {
        {"ArchiveParser::BeginSerialize, binary", [] { return ReadArchive(binary); }},
        {"ArchiveParser::BeginSerialize, XML", [] { return ReadArchive(xml); }},
        {"TCXML::LoadXML", LoadXML, kLibxml2},
        {"TCXML::Load", [] { return LoadFile(xmlFile); }, kLibxml2},
        {"TCIOStream::DeSerializeBlock", [] { return DeSerializeBlock(record); }},
        {"TCIOStream::XMLToStream", [] { return XMLToStream(streamXml); }, kLibxml2},
        {"TCIOStream::DeSerializeForOldStream", [] { return DeSerializeForOldStream(oldText); }},
        {"TCProcessParameters::ParseParamString", ParseParamString},
        {"GraphFile::Load, XML", [] { return LoadGraph(xmlGraph); }},
        {"GraphFile::Load, binary", [] { return LoadGraph(binaryGraph); }},
    };
}

// A read under the plan; an exception that escapes it is a fault.
std::string Read(const Row& row, long failAt, bool persistent)
{
    fa::Arm(failAt, persistent, row.spare);
    try {
        return row.read();
    } catch (const std::exception& e) {
        return kFault + "escaped: " + e.what();
    }
}

TEST(OutOfMemory, EveryReadFailsCleanlyAtEveryAllocation)
{
    TCSetDebugOutputSink([](const char*) {});
    std::printf("%-40s %10s %22s %22s\n", "read", "allocs", "transient: failed/ok", "persistent: failed/ok");
    for (const Row& row : Rows()) {
        // The first read fills what the process keeps (pools, parser tables); the second is the reference.
        Read(row, 0, false);
        const std::string reference = Read(row, 0, false);
        const long allocations = fa::Count();
        ASSERT_TRUE(reference != kFailed && reference.rfind(kFault, 0) != 0) << row.name << ": " << reference;
        long failed[2] = {}, completed[2] = {};
        for (bool persistent : {false, true}) {
            long faults = 0;
            std::string first;
            for (long n = 1;; ++n) {
                const std::string got = Read(row, n, persistent);
                if (fa::Failed() == 0)
                    break;
                if (got == kFailed)
                    ++failed[persistent];
                else if (got == reference)
                    ++completed[persistent];
                else if (!faults++)
                    first = "allocation " + std::to_string(n) + ": " + got.substr(0, 200);
            }
            EXPECT_EQ(faults, 0) << row.name << (persistent ? ", persistent" : ", transient") << ", first at "
                                 << first;
        }
        std::printf("%-40s %10ld %11ld/%-10ld %11ld/%-10ld\n", row.name, allocations, failed[0], completed[0], failed[1],
                    completed[1]);
    }
    TCSetDebugOutputSink(nullptr);
}

}  // namespace
