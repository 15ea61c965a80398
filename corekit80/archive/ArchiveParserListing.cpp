#include <cstring>

#include "corekit80/archive/ArchiveParserImpl.h"
#include "corekit80/types/TCCLocaleImpl.h"

using Data = ArchiveParser::ArchiveData;

void Data::WriteListing(CArchive& ar) const
{
    TCCLocaleScope c;
    for (int i = 0; i < entries.GetSize(); ++i) {
        const Buf* e = entries[i];
        if (!(e->flags & flagListed))
            continue;
        TCString line(prefix);
        if (e->description)
            line.FormatAppend("%d: %s: ", e->id, e->description);
        else
            line.FormatAppend("%d: unknown: ", e->id);
        switch (e->Type()) {
        case ArchiveParser::typeInteger: line.FormatAppend("%d", e->value.i); break;
        case ArchiveParser::typeDouble: line.FormatAppend("%.10G", e->value.d); break;
        case ArchiveParser::typeString: {
            // Continuation lines line up under the value.
            int indent = prefix.GetLength() + int(e->description ? strlen(e->description) : 0) + 2;
            for (uint32_t k = 0; k < e->length; ++k) {
                line.Append(&e->bytes[k], 1);
                if (e->bytes[k] == '\r' || e->bytes[k] == '\n')
                    line += TCString(' ', indent);
            }
            break;
        }
        case ArchiveParser::typeBinary: {
            TCString bytes;
            for (uint32_t k = 0; k < e->length && k < 8; ++k)
                bytes.FormatAppend("%.2x ", unsigned((unsigned char)e->bytes[k]));
            if (e->length > 8)
                bytes += "...";
            line.FormatAppend("Len= %d, Data= binary (%s)", int(e->length), (const char*)bytes);
            break;
        }
        }
        line += "\r\n";
        ar.Write((const char*)line, unsigned(line.GetLength()));
        if (e->Type() == ArchiveParser::typeSubSection)
            if (const Data* child = Of(e->child))
                child->WriteListing(ar);
    }
}
