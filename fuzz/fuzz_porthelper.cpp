// Type texts as modules declare ports and as the host offers them through lines: declared,
// changed, validated, stored for adoption, and the port configuration stored in an archive
// and read back. After every step each port shows a type text of as many tokens as it
// tells, and the configuration reads back as it was. The input is a list of steps, each
// an operation byte, a port byte, a token-count byte, then the step's texts, each ended by
// a line feed.
#include <cstdint>
#include <cstdio>
#include <string>

#include "corekit80/archive/ArchiveParser.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/platform/CMemFile.h"
#include "corekit80/porttypes/TCValidateActualPortType.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

std::string Take(const uint8_t*& p, const uint8_t* end)
{
    const uint8_t* start = p;
    while (p < end && *p != '\n')
        ++p;
    std::string s(start, p);
    if (p < end)
        ++p;
    return s;
}

// Every port as "name|type text|token count|code|type index".
std::string Describe(const TCPortHelper& h)
{
    std::string out;
    for (PORTTYPE type : {PT_INPUT, PT_OUTPUT}) {
        for (unsigned p = 0; p < unsigned(h.GetPortCnt(type)); ++p) {
            int n = -1;
            unsigned index = 0;
            const char* text = h.GetPortType(type, p, &n);
            Check(n >= 0 && (text != nullptr || n == 0));
            if (text) {
                TCValidateActualPortType v;
                v.FillValidation(n, text);
                Check(v.GetNoOfInternalPortToken() == n);
            }
            const unsigned long code = h.DataType(type, p, &index);
            out += std::string(h.GetPortName(type, p)) + "|" + (text ? text : "") + "|" + std::to_string(n) + "|" +
                   std::to_string(code) + "|" + std::to_string(index) + "\n";
        }
        out += "--\n";
    }
    return out;
}

// The configuration through a binary archive into a new helper, with a line at each port
// that had one (lines are not part of it, but an adopted type shows only with a line).
void CheckStoredAndLoaded(TCPortHelper& h)
{
    CMemFile file;
    {
        ArchiveParser writer;
        CArchive ar(&file, CArchive::store);
        writer.BeginSerialize(ar);
        h.Serialize(&writer);
        writer.EndSerialize(ar);
        ar.Close();
    }
    const std::string bytes(reinterpret_cast<const char*>(file.GetData()), size_t(file.GetLength()));
    CMemFile in(reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data())), unsigned(bytes.size()));
    CArchive ar(&in, CArchive::load);
    ArchiveParser reader;
    Check(reader.BeginSerialize(ar));
    TCPortHelper loaded(nullptr);
    loaded.Serialize(&reader);
    reader.EndSerialize(ar);
    for (PORTTYPE type : {PT_INPUT, PT_OUTPUT})
        for (unsigned p = 0; p < unsigned(h.GetPortCnt(type)); ++p)
            if (h.IsWired(type, p, TCPortHelper::LT_LINES))
                loaded.AddLine(type, p);
    const std::string before = Describe(h), after = Describe(loaded);
    if (before != after)
        std::fprintf(stderr, "stored:\n%s\nloaded:\n%s\n", before.c_str(), after.c_str());
    Check(before == after);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    TCPortHelper h(nullptr);
    const uint8_t* p = data;
    const uint8_t* end = data + size;
    for (int steps = 0; end - p >= 3 && steps < 32; ++steps) {
        const uint8_t op = *p++;
        const unsigned port = *p++ % 8;
        const int count = int8_t(*p++);
        const PORTTYPE type = op & 8 ? PT_OUTPUT : PT_INPUT;
        switch (op % 8) {
        case 0: {
            const std::string name = Take(p, end), base = Take(p, end), declarator = Take(p, end);
            h.SetPort(type, port, name.c_str(), base.c_str(), op & 16 ? nullptr : declarator.c_str(), op & 32);
            break;
        }
        case 1: {
            const std::string base = Take(p, end), declarator = Take(p, end);
            h.ChangeType(type, port, base.c_str(), op & 16 ? nullptr : declarator.c_str(), op & 32);
            break;
        }
        case 2: {
            const std::string base = Take(p, end), declarator = Take(p, end);
            h.AddMultitype(port, base.c_str(), op & 16 ? nullptr : declarator.c_str());
            break;
        }
        case 3: h.ValidatePortType(type, port, Take(p, end).c_str(), count); break;
        case 4: h.StoreValidation(type, port, Take(p, end).c_str(), count); break;
        case 5: h.ClearPorts(op & 16); break;
        case 6: h.ComputeValidationData(CALLED_FROM(op >> 4 & 3), op & 64); break;
        default:
            if (op & 16)
                h.DelLine(type, port);
            else
                h.AddLine(type, port);
            break;
        }
        Describe(h);
    }
    CheckStoredAndLoaded(h);
    return 0;
}
