// Reading XML archives: the input is the document as 8-bit text, widened here to the
// UTF-16 form with its byte-order mark, so that mutations reach the markup. Nothing but
// CArchiveException may escape, a failed read leaves an empty tree, and a tree that was
// read writes XML that reads back and writes the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "corekit80/archive/ArchiveParser.h"
#include "corekit80/platform/CMemFile.h"
#include "corekit80/platform/TCDebugOutput.h"

namespace {

void Quiet(const char*) {}

bool Read(ArchiveParser& p, std::string bytes)
{
    CMemFile file(reinterpret_cast<unsigned char*>(bytes.data()), unsigned(bytes.size()));
    file.SetFilePath("fuzz.tcx");
    try {
        CArchive ar(&file, CArchive::load, 128);
        return p.BeginSerialize(ar);
    } catch (const CArchiveException&) {
        if (p.GetVarType(0) != 0)
            std::abort();
    }
    return false;
}

std::string Write(ArchiveParser& p)
{
    CMemFile file;
    file.SetFilePath("fuzz.tcx");
    {
        CArchive ar(&file, CArchive::store);
        p.BeginSerialize(ar);
        p.EndSerialize(ar);
        ar.Close();
    }
    return std::string(reinterpret_cast<const char*>(file.GetData()), size_t(file.GetLength()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TCSetDebugOutputSink(Quiet);
    std::string wide("\xFF\xFE", 2);
    for (size_t i = 0; i < size; ++i)
        wide += char(data[i]), wide += '\0';
    ArchiveParser p;
    if (!Read(p, wide))
        return 0;
    std::string first = Write(p);
    ArchiveParser q;
    if (!Read(q, first) || Write(q) != first)
        std::abort();
    return 0;
}
