// Reading archives, binary or XML (chosen by the input's signature): nothing but
// CArchiveException may escape, a failed read leaves an empty tree, and a tree that was
// read writes back into binary bytes that read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "corekit80/archive/ArchiveParser.h"
#include "corekit80/platform/CMemFile.h"
#include "corekit80/platform/TCDebugOutput.h"

namespace {

void Quiet(const char*) {}

std::string Write(ArchiveParser& p, int mode)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        p.SaveAscii(mode);
        p.BeginSerialize(ar);
        p.EndSerialize(ar);
        ar.Close();
    }
    return std::string(reinterpret_cast<const char*>(file.GetData()), size_t(file.GetLength()));
}

bool Read(ArchiveParser& p, const unsigned char* data, size_t size)
{
    auto* copy = static_cast<unsigned char*>(std::malloc(size ? size : 1));
    std::memcpy(copy, data, size);
    CMemFile file(copy, unsigned(size));
    bool ok = false;
    try {
        CArchive ar(&file, CArchive::load, 128);
        ok = p.BeginSerialize(ar);
    } catch (const CArchiveException&) {
        if (p.GetVarType(0) != 0)
            std::abort();
    }
    std::free(copy);
    return ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TCSetDebugOutputSink(Quiet);
    ArchiveParser p;
    if (!Read(p, data, size))
        return 0;
    std::string first = Write(p, ArchiveParser::modeBinary);
    Write(p, ArchiveParser::modeText);
    ArchiveParser q;
    if (!Read(q, reinterpret_cast<const unsigned char*>(first.data()), first.size()) ||
        Write(q, ArchiveParser::modeBinary) != first)
        std::abort();
    return 0;
}
