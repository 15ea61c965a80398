// Loading archives: the input itself picks, byte by byte, what is read next (strings with
// any length prefix, lines, counts, numbers, raw bytes, type-info records), so every
// reader of CArchive meets truncated and oversized data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "corekit80/platform/CArchive.h"
#include "corekit80/platform/CMemFile.h"
#include "corekit80/streams/TCTypeInfo.h"
#include "corekit80/types/TCString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto* copy = static_cast<unsigned char*>(std::malloc(size ? size : 1));
    std::memcpy(copy, data, size);
    CMemFile file(copy, unsigned(size));
    try {
        CArchive ar(&file, CArchive::load, 128);
        for (int i = 0; i < 1000; ++i) {
            uint8_t op;
            ar >> op;
            switch (op % 9) {
            case 0: { CString s; ar >> s; break; }
            case 1: { TCString s; ar >> s; break; }
            case 2: { CString line; ar.ReadString(line); break; }
            case 3: { char line[16]; ar.ReadString(line, sizeof line); break; }
            case 4: ar.ReadCount(); break;
            case 5: { double d; ar >> d; break; }
            case 6: { TCTypeInfo ti; ti.Serialize(ar); ti.ConvertToString(); break; }
            case 7: { unsigned char raw[300]; ar.Read(raw, op); break; }
            case 8: {
                CFile* f = ar.GetFile();
                if (f->GetPosition() > f->GetLength())
                    std::abort();
                break;
            }
            }
        }
    } catch (const CArchiveException&) {
    }
    std::free(copy);
    return 0;
}
