#pragma once
// Helpers of the archive tests: writing and reading archives in memory, a listing of a
// tree that tools/read_archive.py prints the same way from the bytes, and the check of
// every XML archive a test writes against the schema of the XML form.

#include <gtest/gtest.h>

#include <bit>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include <libxml/parser.h>
#include <libxml/relaxng.h>

#include "corekit80/archive/ArchiveParserImpl.h"
#include "corekit80/platform/CMemFile.h"
#include "corekit80/platform/TCDebugOutput.h"

namespace archive_test {

using Bytes = std::string;

// Collects the fatal-error messages while it lives.
struct CaptureMessages {
    static inline std::string last;
    CaptureMessages() { TCSetDebugOutputSink([](const char* text) { last = text; }); last.clear(); }
    ~CaptureMessages() { TCSetDebugOutputSink(nullptr); }
};

// Validates an XML archive (UTF-16 with byte-order mark) against ArchiveParserXml_test.rng.
inline void ExpectValidXml(const Bytes& bytes)
{
    static xmlRelaxNGPtr schema = [] {
        std::string path = __FILE__;
        path.replace(path.rfind('/') + 1, std::string::npos, "ArchiveParserXml_test.rng");
        xmlRelaxNGParserCtxtPtr parser = xmlRelaxNGNewParserCtxt(path.c_str());
        xmlRelaxNGPtr s = xmlRelaxNGParse(parser);
        xmlRelaxNGFreeParserCtxt(parser);
        return s;
    }();
    ASSERT_TRUE(schema);
    xmlDocPtr doc = xmlReadMemory(bytes.data(), int(bytes.size()), "archive.tcx", nullptr, XML_PARSE_NONET);
    ASSERT_TRUE(doc) << "not well-formed";
    xmlRelaxNGValidCtxtPtr validator = xmlRelaxNGNewValidCtxt(schema);
    EXPECT_EQ(xmlRelaxNGValidateDoc(validator, doc), 0);
    xmlRelaxNGFreeValidCtxt(validator);
    xmlFreeDoc(doc);
}

// Runs body between BeginSerialize and EndSerialize of a storing archive; the file's bytes.
inline Bytes Store(ArchiveParser& p, const std::function<void(ArchiveParser&)>& body, const char* path = "a.tc2")
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
    Bytes bytes(reinterpret_cast<const char*>(f.GetData()), size_t(f.GetLength()));
    if (bytes.compare(0, 4, Bytes("\xFF\xFE<\0", 4)) == 0)
        ExpectValidXml(bytes);
    return bytes;
}

// Reads bytes into p; the result of BeginSerialize, exceptions pass.
inline bool Load(ArchiveParser& p, const Bytes& bytes, uint64_t* position = nullptr)
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

// A tree as lines "<ids joined by '/'> <type> <value>" in file order, the format of
// tools/read_archive.py: doubles as their bits, bytes as hex or, above 32, as FNV-1a.
inline void ListSection(std::string& out, const ArchiveParser::ArchiveData& d, const std::string& path)
{
    static const char* const names[] = {"", "int", "dbl", "str", "bin", "sub"};
    for (int i = 0; i < d.entries.GetSize(); ++i) {
        const ArchiveParser::ArchiveData::Buf* e = d.entries[i];
        const auto* child = ArchiveParser::ArchiveData::Of(e->Type() == ArchiveParser::typeSubSection ? e->child : nullptr);
        char text[80] = "";
        if (e->Type() == ArchiveParser::typeInteger)
            snprintf(text, sizeof text, " %d", e->value.i);
        else if (e->Type() == ArchiveParser::typeDouble)
            snprintf(text, sizeof text, " %016" PRIx64, std::bit_cast<uint64_t>(e->value.d));
        else if (child)
            snprintf(text, sizeof text, " %d", child->entries.GetSize());
        else if (e->length) {
            auto* p = reinterpret_cast<const unsigned char*>(e->bytes);
            uint64_t hash = 0xCBF29CE484222325u;
            for (uint32_t k = 0; k < e->length; ++k)
                hash = (hash ^ p[k]) * 0x100000001B3u;
            int n = snprintf(text, sizeof text, " %u ", e->length);
            for (uint32_t k = 0; k < e->length && e->length <= 32; ++k)
                n += snprintf(text + n, 3, "%02x", p[k]);
            if (e->length > 32)
                snprintf(text + n, sizeof text - size_t(n), "#%016" PRIx64, hash);
        } else
            strcpy(text, " 0");
        out += path + std::to_string(e->id) + " " + names[e->Type()] + text + "\n";
        if (child)
            ListSection(out, *child, path + std::to_string(e->id) + "/");
    }
}

inline std::string Listing(const ArchiveParser& p, double version)
{
    char head[32];
    snprintf(head, sizeof head, "version %016" PRIx64 "\n", std::bit_cast<uint64_t>(version));
    std::string out = head;
    ListSection(out, *ArchiveParser::ArchiveData::Of(&p), "");
    return out;
}

} // namespace archive_test
