// Tests of ArchiveParser: golden archives, random trees, XML details, conversions, bad input.
#include "corekit80/archive/ArchiveParser_test.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

using namespace archive_test;

namespace {

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Little-endian records for hand-made archives.
struct Builder {
    Bytes b;
    template <class T> Builder& Num(T v) { b.append(reinterpret_cast<const char*>(&v), sizeof v); return *this; }
    Builder& Header(double version) { b += "APVersion"; return Num(version); }
    Builder& Record(uint32_t id, uint32_t type) { return Num(id).Num(type); }
};

// Archives made byte by byte by tools/gen_archive_golden.py, with the listing each must
// read as; writing the tree that was read gives the same bytes.
TEST(ArchiveParser, GoldenArchives)
{
    const char* data = getenv("CK80_TEST_DATA");
    std::string here = __FILE__;
    std::string dir = (data ? data : here.substr(0, here.rfind('/')) + "/../../tests/data") + "/archive/";
    for (const char* name : {"header", "values", "strings", "nested"}) {
        Bytes bytes = ReadFile(dir + name + ".tc2");
        ArchiveParser p;
        ASSERT_TRUE(Load(p, bytes)) << name;
        EXPECT_EQ(Listing(p, p.GetArchiveVersion()), ReadFile(dir + name + ".lst")) << name;
        ArchiveParser::ArchiveData::Of(&p)->moduleVersion = p.GetArchiveVersion();
        EXPECT_EQ(Store(p, [](ArchiveParser&) {}), bytes) << name;
    }
}

// A random tree of typed values, stored through Serialize, written, read back and
// compared against the model value by value.
struct Model {
    struct Value {
        uint16_t id;
        int type;
        int i;
        double d;
        std::string s;
        std::vector<Value> children;
    };
    std::vector<Value> values;

    static double RandomDouble(std::mt19937& rng)
    {
        static const double special[] = {-0.0, 4.9e-324, 2.2e-308, NAN, INFINITY, -1e300, 0.1};
        if (rng() % 3 == 0)
            return special[rng() % 7];
        uint64_t bits = (uint64_t(rng()) << 32) | rng();
        double d;
        memcpy(&d, &bits, 8);
        return d;
    }

    // maxType 3 leaves out binary entries, which have no XML form.
    static void Fill(std::vector<Value>& out, std::mt19937& rng, int depth, int maxType)
    {
        int n = int(rng() % 8);
        uint16_t id = uint16_t(rng() % 5);
        for (int k = 0; k < n; ++k) {
            int type = int(rng() % (depth < 4 ? 5 : 4)) + 1;
            Value v{id, type > maxType && type < 5 ? 3 : type, int(rng()), RandomDouble(rng), {}, {}};
            id = uint16_t(id + 1 + rng() % 1000);
            for (int c = int(rng() % 300); c > 0; --c)
                v.s += char(rng());
            if (v.type == ArchiveParser::typeSubSection)
                Fill(v.children, rng, depth + 1, maxType);
            out.push_back(std::move(v));
        }
    }

    static void Apply(ArchiveParser& p, std::vector<Value>& values)
    {
        for (Value& v : values) {
            switch (v.type) {
            case 1: { int x = v.i; EXPECT_TRUE(p.Serialize(v.id, "i", x)); EXPECT_EQ(x, v.i); break; }
            case 2: {
                double x = v.d;
                EXPECT_TRUE(p.Serialize(v.id, "d", x));
                EXPECT_EQ(memcmp(&x, &v.d, 8), 0);
                break;
            }
            case 3: {
                TCString x(v.s.data(), int(v.s.size()));
                EXPECT_TRUE(p.Serialize(v.id, "s", x));
                EXPECT_EQ(std::string(x, x.GetLength()), v.s);
                break;
            }
            case 4: {
                std::string x = v.s + "!";
                unsigned long n = x.size();
                EXPECT_TRUE(p.Serialize(v.id, "b", n, x.data(), true));
                EXPECT_EQ(x.substr(0, n), v.s + "!");
                break;
            }
            case 5: Apply(*p.SubSection(v.id, "sub", false), v.children); break;
            }
        }
    }
};

// Binary and XML round trips of random trees; what was read writes back to the same
// bytes. With CK80_ARCHIVE_SAMPLES set, each binary archive and the listing of the tree
// that wrote it go to that folder, for the second reader (tools/read_archive.py).
TEST(ArchiveParser, RandomTreesSurviveRoundTrips)
{
    const char* samples = getenv("CK80_ARCHIVE_SAMPLES");
    std::mt19937 rng(5);
    for (int round = 0; round < 100; ++round) {
        bool xml = round % 2;
        Model m;
        Model::Fill(m.values, rng, 0, xml ? 3 : 4);
        ArchiveParser writer;
        writer.SaveAscii(xml ? ArchiveParser::modeXML : ArchiveParser::modeBinary);
        std::string version = "V";
        version += std::to_string(round) + ".25";
        Bytes bytes = Store(writer, [&](ArchiveParser& p) {
            p.SetHeaderInfo("m", version.c_str(), "");
            Model::Apply(p, m.values);
        }, xml ? "a.tcx" : "a.tc2");
        ArchiveParser reader;
        ASSERT_TRUE(Load(reader, bytes));
        EXPECT_EQ(IsXMLArchive(&reader), xml);
        Model::Apply(reader, m.values);
        if (!xml)
            reader.SetHeaderInfo("m", version.c_str(), "");
        EXPECT_EQ(Store(reader, [](ArchiveParser&) {}), bytes);
        if (samples && !xml) {
            std::string base = std::string(samples) + "/tree" + std::to_string(round);
            WriteFile(base + ".tc2", bytes);
            WriteFile(base + ".lst", Listing(writer, writer.GetModuleVersion()));
        }
    }
}

Bytes Utf16(const std::string& s)
{
    Bytes out("\xFF\xFE", 2);
    for (char c : s)
        out += c, out += '\0';
    return out;
}

TEST(ArchiveParser, ReadsXmlDetails)
{
    CaptureMessages capture;
    for (const char* encoding : {"UTF-8", "UTF-16"}) {
        ArchiveParser p;
        ASSERT_TRUE(Load(p, Utf16(std::string("<?xml version=\"1.0\" encoding=\"") + encoding +
                                  "\"?><!DOCTYPE subsection [<!ENTITY e \"&#x41;\">]><subsection id=\"0\" description=\"x\">"
                                  "<double id=\"1\" description=\"a&amp;b\" hex=\"0x1.8000000000000p+1\">9</double>"
                                  "<double id=\"2\">2.5</double><binary id=\"3\"/>"
                                  "<subsection id=\"4\" description=\"Port\" version=\"V1.5\"><string id=\"1\">a\\tb &lt;</string></subsection>"
                                  "</subsection>")));
        double d = 0;
        EXPECT_TRUE(p.Serialize(1, "a&b", d));
        EXPECT_EQ(d, 3.0);
        EXPECT_TRUE(p.Serialize(2, "", d));
        EXPECT_EQ(d, 2.5);
        EXPECT_EQ(p.GetVarType(2), ArchiveParser::typeBinary);
        ArchiveParser* s = p.SubSection(4, "Port", false);
        EXPECT_EQ(s->GetArchiveVersion(), 1.5);
        TCString text;
        EXPECT_TRUE(s->Serialize(1, "", text));
        EXPECT_STREQ(text, "a\tb <");
    }
    ArchiveParser p;
    p.SetHeaderInfo("Mod", "1", "");
    EXPECT_THROW(Load(p, Utf16("<subsection><integer id=\"1\">1</integer><bogus/></subsection>")),
                 CArchiveException);
    EXPECT_EQ(CaptureMessages::last, "Error at beginning of serialize at Mod in file a.tc2!\n");
    EXPECT_EQ(p.GetVarType(0), 0);
    EXPECT_THROW(Load(p, Utf16("<subsection><integer id=\"1\">1</inte")), CArchiveException);
    // Subsections nest as deep as a module could mean them, and a bounded depth further.
    for (int depth : {250, 300}) {
        std::string doc;
        for (int i = 0; i < depth; ++i)
            doc += "<subsection id=\"1\">";
        for (int i = 0; i < depth; ++i)
            doc += "</subsection>";
        ArchiveParser nested;
        if (depth < 256)
            EXPECT_TRUE(Load(nested, Utf16(doc)));
        else
            EXPECT_THROW(Load(nested, Utf16(doc)), CArchiveException);
    }
}

TEST(ArchiveParser, ConvertsBetweenValueTypes)
{
    ArchiveParser w;
    Bytes b = Store(w, [](ArchiveParser& p) {
        int i = 7, i2 = 5;
        double d[] = {2.9, -2.9, 1e300, 1.0};
        TCString s("12abc"), empty, s2("3.5");
        char bin[1] = {1};
        int n = 1;
        p.Serialize(1, "", i);
        for (unsigned short k = 0; k < 4; ++k)
            p.Serialize(uint16_t(2 + k), "", d[k]);
        p.Serialize(6, "", s);
        p.Serialize(7, "", empty);
        p.Serialize(8, "", n, bin, true);
        // Stored into existing entries of another type: the entry keeps its type.
        p.Serialize(7, "", i2);
        p.Serialize(1, "", d[0]);
        p.Serialize(5, "", s2);
    });
    ArchiveParser r;
    ASSERT_TRUE(Load(r, b));
    const struct { uint16_t id; bool ok; int i; double d; const char* text; } cases[] = {
        {1, true, 2, 2, "2"}, {2, true, 2, 2.9, "2.900000"}, {3, true, -2, -2.9, "-2.900000"},
        {4, true, INT_MAX, 1e300, nullptr}, {5, true, 3, 3.5, "3.500000"}, {6, true, 12, 12, "12abc"},
        {7, true, 5, 5, "5"}, {8, false, 99, 99, "x"}, {9, false, 99, 99, "x"},
    };
    for (const auto& c : cases) {
        int i = 99;
        double d = 99;
        TCString s("x");
        CString cs("x");
        EXPECT_EQ(r.Serialize(c.id, "", i), c.ok);
        EXPECT_EQ(r.Serialize(c.id, "", d), c.ok);
        EXPECT_EQ(r.Serialize(c.id, "", s), c.ok);
        EXPECT_EQ(r.Serialize(c.id, "", cs), c.ok);
        EXPECT_EQ(i, c.i) << c.id;
        EXPECT_EQ(d, c.d) << c.id;
        if (c.text) {
            EXPECT_STREQ(s, c.text) << c.id;
            EXPECT_STREQ(cs, c.text) << c.id;
        }
    }
}

TEST(ArchiveParser, FatalErrorsNameTheSection)
{
    CaptureMessages capture;
    ArchiveParser p;
    p.SetHeaderInfo("Mod", "1", "");
    p.SubSection(5, "", false);
    int i = 1, len = 4, zero = 0;
    char buf[4] = {};
    const struct { std::function<void()> f; const char* message; } cases[] = {
        {[&] { p.Serialize(5, "", i); }, "Cannot create new integer value at Mod!"},
        {[&] { p.Serialize(6, "", len, buf, true); p.Serialize(6, "", i); }, "Error converting to integer at Mod!"},
        {[&] { p.Serialize(1, "", i); p.SubSection(1, "", false); }, "Cannot create new subsection at Mod!"},
        {[&] { p.Serialize(7, "", zero, buf, true); }, "Data buffer not available at Mod!"},
        // A section without a name leaves the place out; a known file is named.
        {[&] { ArchiveParser q; Load(q, Builder().Header(1).Num(uint32_t(1)).Record(1, 9).b); },
         "Error at beginning of serialize in file a.tc2!"},
        {[&] { ArchiveParser q; q.SubSection(1, "", false); q.Serialize(1, "", i); },
         "Cannot create new integer value!"},
    };
    for (const auto& c : cases) {
        CaptureMessages::last.clear();
        try {
            c.f();
            ADD_FAILURE() << "no exception for " << c.message;
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::badSchema);
            bool inFile = strstr(c.message, " in file a.tc2") != nullptr;
            EXPECT_STREQ(e.m_strFileName, inFile ? "a.tc2" : "");
            EXPECT_STREQ(e.what(), inFile ? "archive data in an unexpected form: a.tc2"
                                          : "archive data in an unexpected form");
        }
        EXPECT_EQ(CaptureMessages::last, std::string(c.message) + "\n");
    }
}

// Lookups in a section whose identifiers come out of order, with repeats as a file may
// hold them, against a scan, through appends and removals.
TEST(ArchiveParser, LookupOutOfOrderMatchesScan)
{
    ArchiveParser p;
    auto* data = ArchiveParser::ArchiveData::Of(&p);
    std::mt19937 random(7);
    for (int step = 0; step < 4000; ++step) {
        auto id = uint16_t(random() % 300);
        int n = data->entries.GetSize();
        if (random() % 8 == 0 && n > 0)
            data->RemoveAt(int(random() % unsigned(n)));
        else if (random() % 2)
            data->Append(data->pool->Alloc(id, ArchiveParser::typeInteger));
        int expected = -1;
        for (int i = 0; i < data->entries.GetSize() && expected < 0; ++i)
            if (data->entries[i]->id == id)
                expected = i;
        ASSERT_EQ(data->IndexOf(id), expected) << "step " << step;
    }
    EXPECT_FALSE(data->ascending);
}

TEST(ArchiveParser, LookupBinaryAndPurge)
{
    ArchiveParser p;
    Bytes b = Store(p, [](ArchiveParser& w) {
        for (int id : {1, 2, 3}) {
            int v = id * 10;
            w.Serialize(uint16_t(id), "", v);
        }
        char data[6] = "abcde";
        unsigned long n = 5;
        w.Serialize(4, "", n, data, true);
        ArchiveParser* s = w.SubSection(8, "", true);
        int v = 1;
        s->Serialize(1, "", v);
        s->Serialize(2, "", v);
    });
    ArchiveParser r;
    ASSERT_TRUE(Load(r, b));
    // In stored order every lookup is served at the cursor; out of order it searches.
    auto* data = ArchiveParser::ArchiveData::Of(&r);
    for (uint16_t id : {1, 2, 3})
        EXPECT_EQ(data->Find(id), data->entries[id - 1]);
    EXPECT_EQ(data->cursor, 3);
    int v = 0;
    EXPECT_TRUE(r.Serialize(3, "", v) && v == 30);
    EXPECT_TRUE(r.Serialize(1, "", v) && v == 10);
    char small[2];
    int n = 2;
    EXPECT_TRUE(r.Serialize(4, "", n, small, true));
    EXPECT_EQ(std::string(small, size_t(n)), "ab");
    r.DeleteEntry(2);
    EXPECT_FALSE(r.Serialize(2, "", v));
    // Only entry 2 of the purged section is serialized in the next write.
    Bytes again = Store(p, [](ArchiveParser& w) { int x = 1; w.SubSection(8, "", true)->Serialize(2, "", x); });
    ArchiveParser q;
    ASSERT_TRUE(Load(q, again));
    ArchiveParser* s = q.SubSection(8, "", false);
    EXPECT_FALSE(s->Serialize(1, "", v));
    EXPECT_TRUE(s->Serialize(2, "", v));
    EXPECT_TRUE(q.Serialize(3, "", v)); // the root keeps untouched values
}

// Trees built on several threads at once share the process-wide pool, each thread taking
// entries from a batch of its own: every thread's archive comes out as it does alone and
// reads back, also after earlier threads have ended and handed back their leftovers.
TEST(ArchiveParser, TreesOnSeveralThreads)
{
    auto fill = [](int seed) {
        return [seed](ArchiveParser& w) {
            for (int s = 0; s < 40; ++s) {
                ArchiveParser* section = w.SubSection(uint16_t(s), "", s % 2 == 0);
                for (int k = 0; k < 25; ++k) {
                    int v = seed * 100000 + s * 100 + k;
                    TCString t;
                    t.Format("text %d", v);
                    section->Serialize(uint16_t(2 * k), "", v);
                    section->Serialize(uint16_t(2 * k + 1), "", t);
                }
            }
        };
    };
    constexpr int threads = 4;
    std::vector<Bytes> alone;
    for (int i = 0; i < threads; ++i) {
        ArchiveParser p;
        alone.push_back(Store(p, fill(i)));
    }
    for (int round = 0; round < 2; ++round) {
        std::vector<Bytes> written(threads), readBack(threads);
        std::vector<std::thread> workers;
        for (int i = 0; i < threads; ++i)
            workers.emplace_back([&, i] {
                for (int pass = 0; pass < 5; ++pass) {
                    ArchiveParser p;
                    written[i] = Store(p, fill(i));
                    ArchiveParser r;
                    if (Load(r, written[i]))
                        readBack[i] = Store(r, [](ArchiveParser&) {});
                }
            });
        for (auto& w : workers)
            w.join();
        for (int i = 0; i < threads; ++i) {
            EXPECT_EQ(written[i], alone[i]) << i;
            EXPECT_EQ(readBack[i], alone[i]) << i;
        }
    }
}

TEST(ArchiveParser, SignatureCheckLeavesForeignFilesAlone)
{
    for (const Bytes& b : {Bytes("APVers"), Bytes("NotAnArchive"), Bytes()}) {
        ArchiveParser p;
        uint64_t position = 99;
        EXPECT_FALSE(Load(p, b, &position));
        EXPECT_EQ(position, 0u);
    }
}

// Corrupted archives in general are left to the fuzz target.
TEST(ArchiveParser, TruncatedArchivesOnlyThrow)
{
    CaptureMessages capture;
    std::mt19937 rng(11);
    Model m;
    while (m.values.size() < 4)
        Model::Fill(m.values, rng, 0, 4);
    ArchiveParser w;
    Bytes good = Store(w, [&](ArchiveParser& p) { Model::Apply(p, m.values); });
    // Each load fails: without a signature BeginSerialize returns false, after it the
    // reader throws and leaves the tree empty.
    auto tryLoad = [](const Bytes& b) {
        ArchiveParser p;
        bool failed = false;
        try {
            failed = !Load(p, b);
        } catch (const CArchiveException&) {
            failed = true;
            EXPECT_EQ(p.GetVarType(0), 0) << "tree not emptied";
        }
        EXPECT_TRUE(failed) << "a load of " << b.size() << " bytes succeeded";
    };
    for (size_t n = 0; n < good.size(); n += 1 + n / 50)
        tryLoad(good.substr(0, n));
    // Deep nesting and huge lengths and counts.
    Builder deep;
    deep.Header(1);
    for (int k = 0; k < 300; ++k)
        deep.Num(uint32_t(1)).Record(1, 5);
    tryLoad(deep.b);
    tryLoad(Builder().Header(1).Num(uint32_t(1)).Record(1, 4).Num(uint32_t(0xFFFFFFF0)).b);
    tryLoad(Builder().Header(1).Num(uint32_t(0xFFFFFFFF)).b);
}

TEST(ArchiveParser, TextListing)
{
    ArchiveParser p;
    p.SaveAscii(ArchiveParser::modeText);
    Bytes b = Store(p, [](ArchiveParser& w) {
        w.SetHeaderInfo("Mod", "V1.5", "");
        int i = 3;
        w.Serialize(1, "count", i);
        TCString s("a\nb");
        w.Serialize(2, "txt", s);
        unsigned char data[9] = {0, 1, 2, 3, 4, 5, 6, 0xAB, 8};
        unsigned long n = 9;
        w.Serialize(3, "raw", n, data, true);
        double d = 0.25;
        w.SubSection(4, "sub", false)->Serialize(1, nullptr, d);
    });
    EXPECT_EQ(b, "Mod: 1.5\r\n1: count: 3\r\n2: txt: a\n     b\r\n"
                 "3: raw: Len= 9, Data= binary (00 01 02 03 04 05 06 ab ...)\r\n"
                 "4: sub: \r\n  1: unknown: 0.25\r\n");
}

} // namespace
