// The port configuration in an archive.
#include <climits>

#include "corekit80/archive/ArchiveParser.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"

namespace {
// Sub-section numbers are 16 bits wide.
constexpr int kMaxEntries = 0xFFFF;

int Clamped(int n) { return n < 0 ? 0 : n > kMaxEntries ? kMaxEntries : n; }

void SerializePorts(ArchiveParser* archive, TCPortHelper::TCPortHelperImpl::PortList& ports, unsigned short id,
                    const char* countName, const char* listName, const char* entryFormat)
{
    int n = ports.GetSize();
    archive->Serialize(id, countName, n);
    if (archive->IsLoading()) {
        n = Clamped(n);
        ports.SetSize(n);
    }
    ArchiveParser* list = archive->SubSection(static_cast<unsigned short>(id + 1), listName, false);
    for (int i = 0; i < n; ++i) {
        TCPortHelper::TCPortHelperImpl::PORT& p = ports[i];
        ArchiveParser* s = list->SubSection(static_cast<unsigned short>(i), TCString::FormatS(entryFormat, i), false);
        int type = p.type;
        unsigned dataType = unsigned(p.dataType);
        s->Serialize(1, "Port type", type);
        s->Serialize(2, "Port name", p.name);
        s->Serialize(3, "Data type index", dataType);
        if (archive->IsLoading()) {
            p.type = PORTTYPE(type);
            p.dataType = dataType > unsigned(INT_MAX) ? -1 : int32_t(dataType);
        }
    }
}
}

void TCPortHelper::Serialize(ArchiveParser* archive)
{
    if (!archive)
        return;
    TCPortHelperImpl& d = *m_pImpl;
    SerializePorts(archive, d.inputs, 1, "No. of inputs", "Input ports", "Input %d");
    SerializePorts(archive, d.outputs, 3, "No. of outputs", "Output ports", "Output %d");
    int n = d.types.GetSize();
    archive->Serialize(5, "No. of data types", n);
    if (archive->IsLoading()) {
        n = Clamped(n);
        d.types.SetSize(n);
    }
    ArchiveParser* list = archive->SubSection(6, "Data type", false);
    for (int i = 0; i < n; ++i)
        d.types[i].Serialize(list->SubSection(static_cast<unsigned short>(i), TCString::FormatS("Data Type %d", i), false));
    if (archive->IsLoading()) {
        // A port pointing beyond the loaded table has no data type.
        for (PORTTYPE type : {PT_INPUT, PT_OUTPUT})
            for (TCPortHelperImpl::PORT& p : d.Ports(type))
                if (p.dataType >= n)
                    p.dataType = -1;
        d.validated = true;
    }
}
