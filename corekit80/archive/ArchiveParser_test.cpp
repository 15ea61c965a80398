#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "corekit80/archive/ArchiveParserImpl.h"
#include "corekit80/foundation/TCDebugOutput.h"
#include "corekit80/platform/CMemFile.h"

namespace {

using Bytes = std::string;

std::string g_message;
void Capture(const char* text) { g_message = text; }

struct CaptureMessages {
    CaptureMessages() { TCSetDebugOutputSink(Capture); g_message.clear(); }
    ~CaptureMessages() { TCSetDebugOutputSink(nullptr); }
};

// Runs body between BeginSerialize and EndSerialize of a storing archive; the file's bytes.
Bytes Store(ArchiveParser& p, const std::function<void(ArchiveParser&)>& body, const char* path = "a.tc2")
{
    CMemFile f;
    f.SetFilePath(path);
    {
        CArchive ar(&f, CArchive::store);
        EXPECT_TRUE(p.BeginSerialize(ar));
        body(p);
        p.EndSerialize(ar);
        ar.Close();
    }
    return Bytes(reinterpret_cast<const char*>(f.GetData()), size_t(f.GetLength()));
}

// Reads bytes into p; the result of BeginSerialize, exceptions pass.
bool Load(ArchiveParser& p, const Bytes& bytes, uint64_t* position = nullptr)
{
    CMemFile f(reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data())), unsigned(bytes.size()));
    f.SetFilePath("a.tc2");
    CArchive ar(&f, CArchive::load);
    bool ok = p.BeginSerialize(ar);
    p.EndSerialize(ar);
    if (position)
        *position = ar.GetFile()->GetPosition();
    return ok;
}

// Little-endian record builder for hand-made archives.
struct Builder {
    Bytes b;
    Builder& Raw(const void* p, size_t n) { b.append(static_cast<const char*>(p), n); return *this; }
    template <class T> Builder& Num(T v) { return Raw(&v, sizeof v); }
    Builder& Header(double version) { b += "APVersion"; return Num(version); }
    Builder& Record(uint32_t id, uint32_t type) { return Num(id).Num(type); }
    Builder& Text(const std::string& s)
    {
        if (s.size() < 255) Num(uint8_t(s.size()));
        else if (s.size() < 0xFFFE) Num(uint8_t(0xFF)).Num(uint16_t(s.size()));
        else Num(uint8_t(0xFF)).Num(uint16_t(0xFFFF)).Num(uint32_t(s.size()));
        b += s;
        return *this;
    }
};

TEST(ArchiveParser, ReadsHandMadeArchiveAndWritesItBackIdentically)
{
    Builder g;
    g.Header(2.5).Num(uint32_t(8));
    g.Record(1, 1).Num(int32_t(-7));
    g.Record(2, 2).Num(-0.0);
    g.Record(3, 4).Num(uint32_t(3)).Raw("\0\x80\xFF", 3);
    for (uint32_t n : {254u, 255u, 0xFFFEu, 0xFFFFu})
        g.Record(10 + n % 7, 3).Text(std::string(n, char('a' + n % 26)));
    g.Record(65535, 5).Num(uint32_t(1)).Record(4, 5).Num(uint32_t(1)).Record(9, 1).Num(int32_t(42));
    ArchiveParser p;
    ASSERT_TRUE(Load(p, g.b));
    EXPECT_EQ(p.GetArchiveVersion(), 2.5);
    int i = 0;
    double d = 1;
    unsigned char bin[8] = {};
    int len = 8;
    EXPECT_TRUE(p.Serialize(1, "i", i));
    EXPECT_TRUE(p.Serialize(2, "d", d));
    EXPECT_TRUE(p.Serialize(3, "b", len, bin, true));
    EXPECT_EQ(i, -7);
    EXPECT_TRUE(std::signbit(d) && d == 0);
    EXPECT_EQ(len, 3);
    EXPECT_EQ(memcmp(bin, "\0\x80\xFF", 3), 0);
    for (uint32_t n : {254u, 255u, 0xFFFEu, 0xFFFFu}) {
        TCString s;
        EXPECT_TRUE(p.Serialize(uint16_t(10 + n % 7), "s", s));
        EXPECT_EQ(std::string(s, s.GetLength()), std::string(n, char('a' + n % 26)));
    }
    EXPECT_TRUE(p.SubSection(65535, "", false)->SubSection(4, "", false)->Serialize(9, "x", i));
    EXPECT_EQ(i, 42);
    double archive, module;
    EXPECT_EQ(p.CheckNewerArchive(archive, module), 1);
    p.SetHeaderInfo("m", "V3.0", "");
    EXPECT_EQ(p.CheckNewerArchive(archive, module), -1);
    p.SetHeaderInfo("m", "V2.5", "");
    EXPECT_EQ(Store(p, [](ArchiveParser&) {}), g.b);
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

    static void Fill(std::vector<Value>& out, std::mt19937& rng, int depth)
    {
        int n = int(rng() % 8);
        uint16_t id = uint16_t(rng() % 5);
        for (int k = 0; k < n; ++k) {
            Value v{id, int(rng() % (depth < 4 ? 5 : 4)) + 1, int(rng()), RandomDouble(rng), {}, {}};
            id = uint16_t(id + 1 + rng() % 1000);
            for (int c = int(rng() % 300); c > 0; --c)
                v.s += char(rng());
            if (v.type == ArchiveParser::typeSubSection)
                Fill(v.children, rng, depth + 1);
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

TEST(ArchiveParser, RandomTreesSurviveBinaryRoundTrip)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 60; ++round) {
        Model m;
        Model::Fill(m.values, rng, 0);
        ArchiveParser writer;
        Bytes bytes = Store(writer, [&](ArchiveParser& p) { Model::Apply(p, m.values); });
        ArchiveParser reader;
        ASSERT_TRUE(Load(reader, bytes));
        Model::Apply(reader, m.values);
        // Rewriting what was read gives the same bytes.
        ArchiveParser again;
        ASSERT_TRUE(Load(again, bytes));
        EXPECT_EQ(Store(again, [](ArchiveParser&) {}), bytes);
    }
}

// XML keeps no binary entries, so the XML models hold strings in their place.
void WithoutBinary(std::vector<Model::Value>& values)
{
    for (Model::Value& v : values) {
        if (v.type == ArchiveParser::typeBinary)
            v.type = ArchiveParser::typeString;
        WithoutBinary(v.children);
    }
}

// Checks an XML archive against the schema of the XML form with xmllint, when installed.
void ExpectValidXml(const Bytes& bytes)
{
    if (system("xmllint --version >/dev/null 2>&1") != 0)
        return;
    std::string dir = __FILE__;
    dir.erase(dir.rfind('/') + 1);
    std::string path = testing::TempDir() + "ck80_archive_test.tcx";
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    std::string command = "xmllint --noout --relaxng " + dir + "ArchiveParserXml_test.rng " + path + " 2>/dev/null";
    EXPECT_EQ(system(command.c_str()), 0) << path;
}

TEST(ArchiveParser, RandomTreesSurviveXmlRoundTrip)
{
    std::mt19937 rng(6);
    for (int round = 0; round < 40; ++round) {
        Model m;
        Model::Fill(m.values, rng, 0);
        WithoutBinary(m.values);
        ArchiveParser writer;
        writer.SaveAscii(ArchiveParser::modeXML);
        Bytes bytes = Store(writer, [&](ArchiveParser& p) { Model::Apply(p, m.values); }, "a.tcx");
        ASSERT_EQ(bytes.substr(0, 4), Bytes("\xFF\xFE<\0", 4));
        if (round < 5)
            ExpectValidXml(bytes);
        ArchiveParser reader;
        ASSERT_TRUE(Load(reader, bytes));
        EXPECT_TRUE(IsXMLArchive(&reader));
        Model::Apply(reader, m.values);
        EXPECT_EQ(Store(reader, [](ArchiveParser&) {}), bytes);
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
                                  "\"?><subsection id=\"0\" description=\"x\">"
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
        EXPECT_EQ(p.GetArchiveVersion(), 0.0);
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
    EXPECT_EQ(g_message, "Error at beginning of serialize at Mod!\n");
    EXPECT_EQ(p.GetVarType(0), 0);
    EXPECT_THROW(Load(p, Utf16("<subsection><integer id=\"1\">1</inte")), CArchiveException);
}

TEST(ArchiveParser, ConvertsBetweenValueTypes)
{
    ArchiveParser p;
    TCString s;
    Store(p, [&](ArchiveParser& w) {
        double d = 2.9, n = -2.9, big = 1e300;
        s = "12abc";
        w.Serialize(1, "", d);
        w.Serialize(2, "", n);
        w.Serialize(3, "", s);
        w.Serialize(4, "", big);
        int seven = 7;
        w.Serialize(3, "", seven); // an existing string entry stores the text
    });
    ArchiveParser r;
    Bytes b = Store(p, [](ArchiveParser&) {});
    ASSERT_TRUE(Load(r, b));
    int i = 0;
    EXPECT_TRUE(r.Serialize(1, "", i));
    EXPECT_EQ(i, 2);
    EXPECT_TRUE(r.Serialize(2, "", i));
    EXPECT_EQ(i, -2);
    EXPECT_TRUE(r.Serialize(4, "", i));
    EXPECT_EQ(i, 2147483647);
    EXPECT_TRUE(r.Serialize(3, "", s));
    EXPECT_STREQ(s, "7");
    EXPECT_TRUE(r.Serialize(1, "", s));
    EXPECT_STREQ(s, "2.900000");
    CString cs;
    EXPECT_TRUE(r.Serialize(3, "", cs));
    EXPECT_STREQ(cs, "7");
    int untouched = 99;
    EXPECT_FALSE(r.Serialize(77, "", untouched));
    EXPECT_EQ(untouched, 99);
    EXPECT_EQ(r.GetVarType(0), 2);
    EXPECT_EQ(r.GetVarType(2), 3);
    EXPECT_EQ(r.GetVarType(9), 0);
}

TEST(ArchiveParser, FatalErrorsNameTheSection)
{
    CaptureMessages capture;
    ArchiveParser p;
    p.SetHeaderInfo("Mod", "1", "");
    auto expectFatal = [&](const std::function<void()>& f, const char* message) {
        g_message.clear();
        try {
            f();
            ADD_FAILURE() << "no exception for " << message;
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::badSchema);
        }
        EXPECT_EQ(g_message, std::string(message) + "\n");
    };
    p.SubSection(5, "", false);
    int i = 1;
    char buf[4] = {};
    int len = 4;
    expectFatal([&] { p.Serialize(5, "", i); }, "Cannot create new integer value at Mod!");
    expectFatal([&] { p.Serialize(6, "", len, buf, true); p.Serialize(6, "", i); },
                "Error converting to integer at Mod!");
    expectFatal([&] { p.Serialize(1, "", i); p.SubSection(1, "", false); },
                "Cannot create new subsection at Mod!");
    expectFatal([&] { int zero = 0; p.Serialize(7, "", zero, buf, true); },
                "Data buffer not available at Mod!");
    expectFatal([&] { ArchiveParser q; Load(q, Builder().Header(1).Num(uint32_t(1)).Record(1, 9).b); },
                "Error at beginning of serialize at !");
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
    EXPECT_TRUE(r.Serialize(3, "", v));
    EXPECT_EQ(v, 30);
    EXPECT_TRUE(r.Serialize(1, "", v));
    EXPECT_EQ(v, 10);
    char small[2];
    int n = 2;
    EXPECT_TRUE(r.Serialize(4, "", n, small, true));
    EXPECT_EQ(n, 2);
    EXPECT_EQ(memcmp(small, "ab", 2), 0);
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

TEST(ArchiveParser, SignatureCheckLeavesForeignFilesAlone)
{
    for (const Bytes& b : {Bytes("APVers"), Bytes("NotAnArchive"), Bytes()}) {
        ArchiveParser p;
        uint64_t position = 99;
        EXPECT_FALSE(Load(p, b, &position));
        EXPECT_EQ(position, 0u);
    }
}

TEST(ArchiveParser, TruncatedAndCorruptedArchivesOnlyThrow)
{
    CaptureMessages capture;
    std::mt19937 rng(11);
    Model m;
    while (m.values.size() < 4)
        Model::Fill(m.values, rng, 0);
    ArchiveParser w;
    Bytes good = Store(w, [&](ArchiveParser& p) { Model::Apply(p, m.values); });
    auto tryLoad = [](const Bytes& b) {
        ArchiveParser p;
        try {
            Load(p, b);
        } catch (const CArchiveException&) {
            EXPECT_EQ(p.GetVarType(0), 0) << "tree not emptied";
        }
    };
    for (size_t n = 0; n < good.size(); n += 1 + n / 50)
        tryLoad(good.substr(0, n));
    for (int round = 0; round < 300; ++round) {
        Bytes b = good;
        for (int k = 0; k < 3; ++k)
            b[9 + rng() % (b.size() - 9)] = char(rng());
        tryLoad(b);
    }
    // Deep nesting and a huge binary length.
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

TEST(ArchiveParser, PoolReusesFreedEntries)
{
    ArchiveParser::MemManager pool;
    std::vector<ArchiveParser::ArchiveData::Buf*> taken;
    for (int k = 0; k < 7; ++k)
        taken.push_back(pool.Alloc(uint16_t(k), 1));
    auto* freed = taken[1];
    pool.Free(freed);
    EXPECT_EQ(freed->flags, 0x10);
    EXPECT_EQ(pool.Alloc(9, 2), freed);
    EXPECT_EQ(freed->flags, 0x32);
    EXPECT_EQ(freed->id, 9);
}

} // namespace
