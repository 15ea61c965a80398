// Blocks as XML: a Stream element holding Block elements with their TypeInfo and Segments.
// Numbers are stored losslessly (integers as unsigned hex, doubles as hex floating text),
// names and strings in TCXML's quoted form.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#include "corekit80/archive/TCXML.h"
#include "corekit80/foundation/TCHexDouble.h"
#include "corekit80/foundation/TCSystemTime.h"
#include "corekit80/foundation/TCToString.h"
#include "corekit80/streams/TCAddressTextImpl.h"
#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCIOStreamSerializeImpl.h"

namespace {

using Block = TCIOStream::Block;
using DataSegment = TCIOStream::DataSegment;
using TCIOStreamSerialize::kMaxDepth;
using TCIOStreamSerialize::SetReadData;

// ---- writing ---------------------------------------------------------------------------

TCXMLNode Element(TCXML& xml, TCXMLNode parent, const char* name, const TCString& text)
{
    TCXMLNode node = xml.CreateElement(name, parent);
    return node && xml.SetNodeText(node, text) ? node : TCXMLNode();
}

TCString HexDouble(double v)
{
    char buf[32];
    return TCString(DoubleToHexString(buf, sizeof buf, v));
}

bool WriteTypeInfo(TCXML& xml, TCXMLNode block, const TCTypeInfo& ti)
{
    TCXMLNode info = xml.CreateElement("TypeInfo", block);
    if (!info)
        return false;
    TCXMLNode state = Element(xml, info, "State", TCTypeInfo::BlockStateToString(ti.State));
    if (!state || !xml.SetAttribute(state, "Value", TCString::FormatS("%d", int(ti.State))))
        return false;
    TCXMLNode range;
    TCString unit;
    ti.Unit.ToString(unit);
    return Element(xml, info, "Name", TCXML::QuoteNodeTextString(CString2BinTCString(ti.Name))) &&
           Element(xml, info, "Timestamp", HexDouble(ti.Timestamp)) &&
           Element(xml, info, "Samplerate", HexDouble(ti.Samplerate)) &&
           (range = xml.CreateElement("Range", info)) && Element(xml, range, "Min", HexDouble(ti.Min)) &&
           Element(xml, range, "Max", HexDouble(ti.Max)) &&
           Element(xml, info, "Unit", TCXML::QuoteNodeTextString(unit));
}

bool WriteBlockXML(TCXML& xml, TCXMLNode parent, const Block& b, int depth);

// The values of an INT or DOUBLE segment, each followed by one blank but the last.
TCString NumberText(const DataSegment& seg)
{
    TCString text;
    char buf[32];
    for (int i = 0, n = seg.ElementCount(); i < n; ++i) {
        if (i > 0)
            text += ' ';
        if (seg.m_type == TCIOStream::INT) {
            text += "0x";
            text += itoh(buf, static_cast<unsigned>(static_cast<const int*>(seg.m_pData)[i]));
        } else {
            text += DoubleToHexString(buf, sizeof buf, static_cast<const double*>(seg.m_pData)[i]);
        }
    }
    return text;
}

bool WriteSegmentXML(TCXML& xml, TCXMLNode segments, const DataSegment& seg, int depth)
{
    TCXMLNode node = xml.CreateElement("Segment", segments);
    if (!node || !Element(xml, node, "Name", TCXML::QuoteNodeTextString(seg.m_name)))
        return false;
    TCXMLNode type = Element(xml, node, "DataType", TCIOStream::DataTypeToString(seg.m_type));
    if (!type || !xml.SetAttribute(type, "Value", TCString::FormatS("%d", int(seg.m_type))))
        return false;
    TCString length;
    for (int i = 0; i < seg.m_nDims; ++i)
        length.FormatAppend(i ? " %d" : "%d", seg.m_dims[i]);
    TCXMLNode values;
    if (!Element(xml, node, "Length", length) || !(values = xml.CreateElement("Values", node)))
        return false;
    const int n = seg.ElementCount();
    const bool hasData = seg.m_pData != nullptr;
    switch (seg.m_type) {
    case TCIOStream::INT: return hasData ? bool(Element(xml, values, "Integer", NumberText(seg))) : n == 0;
    case TCIOStream::DOUBLE: return hasData ? bool(Element(xml, values, "Double", NumberText(seg))) : n == 0;
    case TCIOStream::STRING:
        for (int i = 0; i < n && hasData; ++i)
            if (!Element(xml, values, "String",
                         TCXML::QuoteNodeTextString(static_cast<const TCString*>(seg.m_pData)[i])))
                return false;
        return true;
    case TCIOStream::POINTER: {
        TCString address;
        TCAppendAddressText(address, seg.m_pData);
        return bool(Element(xml, values, "Pointer", address));
    }
    case TCIOStream::BLOCK:
        for (int i = 0; i < n && hasData; ++i) {
            static const Block empty; // a reference segment may hold a null block
            const Block* nested = static_cast<Block* const*>(seg.m_pData)[i];
            if (!WriteBlockXML(xml, values, nested ? *nested : empty, depth + 1))
                return false;
        }
        return true;
    default: return true;
    }
}

bool WriteBlockXML(TCXML& xml, TCXMLNode parent, const Block& b, int depth)
{
    if (depth > kMaxDepth) {
        xml.SetUserError("Error Block nesting too deep");
        return false;
    }
    TCXMLNode block = xml.CreateElement("Block", parent);
    if (!block || (b.GetTI() && !WriteTypeInfo(xml, block, *b.GetTI())))
        return false;
    TCXMLNode segments = xml.CreateElement("Segments", block);
    if (!segments)
        return false;
    for (int i = 0; i < b.m_segments.GetSize(); ++i)
        if (b.m_segments[i]->m_bValid && !WriteSegmentXML(xml, segments, *b.m_segments[i], depth))
            return false;
    return true;
}

// ---- reading ---------------------------------------------------------------------------

bool Fail(TCXML& xml, const char* message)
{
    xml.SetUserError(message);
    return false;
}

// The text of the child at xpath: false with found false when there is none, false with
// found true when reading its text failed (TCXML's error text then tells why).
bool ChildText(TCXML& xml, TCXMLNode context, const char* xpath, TCString& text, bool& found)
{
    TCXMLNode node = xml.SelectSingleNode(xpath, context, false);
    found = bool(node);
    return found && xml.GetNodeText(node, text);
}

// strtoul in base 0 as it reads where unsigned long has 32 bits: a negative text gives the
// negated magnitude modulo 2^32, a magnitude beyond 32 bits 0xFFFFFFFF.
uint32_t StrToUL32(const char* p, char** end)
{
    errno = 0;
    unsigned long long u = std::strtoull(p, end, 0);
    if (*end == p)
        return 0;
    if (errno == ERANGE)
        return UINT32_MAX;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    unsigned long long magnitude = *p == '-' ? 0 - u : u;
    return magnitude > UINT32_MAX ? UINT32_MAX : uint32_t(u);
}

// strtol or strtoul in base 0 at p, as they read with a 32-bit long; false when nothing
// is read.
bool ReadInteger(const char*& p, long& v, bool asUnsigned)
{
    char* end;
    if (asUnsigned) {
        v = long(StrToUL32(p, &end));
    } else {
        long l = std::strtol(p, &end, 0);
        v = l > INT32_MAX ? INT32_MAX : l < INT32_MIN ? INT32_MIN : l;
    }
    if (end == p)
        return false;
    p = end;
    return true;
}

// A double field of the type info when its element is present.
bool ReadDoubleField(TCXML& xml, TCXMLNode info, const char* xpath, double& v, const char* error)
{
    TCString text;
    bool found;
    if (!ChildText(xml, info, xpath, text, found))
        return !found; // absent keeps the default; a failed read fails
    const char* p = text;
    char* end;
    double d = StringToDouble(p, &end);
    if (end == p)
        return Fail(xml, error);
    v = d;
    return true;
}

bool ReadTypeInfo(TCXML& xml, TCXMLNode info, TCTypeInfo& ti)
{
    ti.Init();
    if (!info) {
        ti.State = TCBS_BUSY;
        ti.Timestamp = TCSystemTime();
        return true;
    }
    TCString text;
    bool found;
    if (ChildText(xml, info, "State/@Value", text, found)) {
        const char* p = text;
        long v;
        if (!ReadInteger(p, v, false))
            return Fail(xml, "Error interpreting State/@Value in TypeInfo");
        ti.State = TCBLOCKSTATUS(v);
    } else if (found) {
        return false;
    } else if (!ChildText(xml, info, "State", text, found)) {
        return found ? false : Fail(xml, "State is missing in TypeInfo");
    } else if ((ti.State = TCTypeInfo::StringToBlockState(text)) == TCBLOCKSTATUS(-2)) {
        return Fail(xml, "Error interpreting State in TypeInfo");
    }
    if (ChildText(xml, info, "Name", text, found)) {
        if (!TCXML::UnquoteNodeTextString(text))
            return Fail(xml, "Error unquoting Name in TypeInfo");
        ti.Name = TCString2BinCString(text);
    } else if (found) {
        return false;
    }
    if (!ReadDoubleField(xml, info, "Timestamp", ti.Timestamp, "Error interpreting Timestamp in TypeInfo") ||
        !ReadDoubleField(xml, info, "Samplerate", ti.Samplerate, "Error interpreting Samplerate in TypeInfo") ||
        !ReadDoubleField(xml, info, "Range/Min", ti.Min, "Error interpreting Range/Min in TypeInfo") ||
        !ReadDoubleField(xml, info, "Range/Max", ti.Max, "Error interpreting Range/Max in TypeInfo"))
        return false;
    if (ChildText(xml, info, "Unit", text, found)) {
        if (!ti.Unit.FromString(text))
            return Fail(xml, "Error interpreting Unit in TypeInfo");
    } else if (found) {
        return false;
    }
    return true;
}

// The child elements at xpath in document order, at most max of them.
bool Children(TCXML& xml, TCXMLNode context, const char* xpath, long long max, std::vector<TCXMLNode>& out)
{
    TCXMLNodeList list = xml.SelectNodes(xpath, context);
    if (!list)
        return false;
    for (TCXMLNode node = xml.NextNode(list); node && (long long)out.size() < max; node = xml.NextNode(list))
        out.push_back(node);
    return true;
}

bool ReadBlockXML(TCXML& xml, TCXMLNode node, Block& b, int depth);

// Integers or doubles from the text of the value element into the segment.
bool ReadNumbers(TCXML& xml, const TCString& text, DataSegment& seg, const char* error)
{
    const char* p = text;
    for (int i = 0, n = seg.ElementCount(); i < n; ++i) {
        if (seg.m_type == TCIOStream::INT) {
            long v;
            if (!ReadInteger(p, v, true))
                return Fail(xml, error);
            static_cast<int*>(seg.m_pData)[i] = int(uint32_t(v));
        } else {
            char* end;
            double v = StringToDouble(p, &end);
            if (end == p)
                return Fail(xml, error);
            static_cast<double*>(seg.m_pData)[i] = v;
            p = end;
        }
    }
    return true;
}

bool ReadSegmentXML(TCXML& xml, TCXMLNode node, DataSegment& seg, int depth)
{
    TCString text;
    bool found;
    long type;
    const char* p;
    if (ChildText(xml, node, "DataType/@Value", text, found)) {
        p = text;
        if (!ReadInteger(p, type, false))
            return Fail(xml, "Error interpreting DataType/@Value in Segment");
    } else if (found) {
        return false;
    } else if (!ChildText(xml, node, "DataType", text, found)) {
        return found ? false : Fail(xml, "Error DataType is missing in Segment");
    } else if ((type = TCIOStream::StringToDataType(text)) == -1) {
        return Fail(xml, "Error interpreting DataType in Segment");
    }
    if (!ChildText(xml, node, "Length", text, found))
        return found ? false : Fail(xml, "Error Length is missing in Segment");
    TCArray<int, int> dims;
    long extent;
    for (p = text; ReadInteger(p, extent, false);)
        dims.Add(int(extent));
    // The shape is checked, and the values counted, before anything is allocated.
    long long count = TCIOStream::DataSegment::ShapeCount(dims.GetSize(), dims.GetData());
    const char* setDataError = "TCIOStream::DataSegment::XMLToStream: Error at SetData";
    if (type < TCIOStream::INT || type > TCIOStream::BLOCK || count < 0 ||
        (count == 0 && type != TCIOStream::POINTER))
        return Fail(xml, setDataError);
    TCXMLNode values = xml.SelectSingleNode("Values", node, false);
    if (!values)
        return Fail(xml, "Error Values is missing in Segment");
    if (dims.GetSize() == 0)
        count = 0; // a shape without extents holds no values
    TCString numbers;
    std::vector<TCXMLNode> items;
    switch (type) {
    case TCIOStream::INT:
    case TCIOStream::DOUBLE: {
        const bool isInt = type == TCIOStream::INT;
        if (!ChildText(xml, values, isInt ? "Integer" : "Double", numbers, found))
            return found ? false
                         : Fail(xml, isInt ? "Error Integer is missing in Values" : "Error Double is missing in Values");
        if (count > (numbers.GetLength() + 1) / 2) // each value takes a character and a blank
            return Fail(xml, isInt ? "Error interpreting value in Integer" : "Error interpreting value in Double");
        break;
    }
    case TCIOStream::STRING:
    case TCIOStream::BLOCK: {
        const bool isString = type == TCIOStream::STRING;
        if (!Children(xml, values, isString ? "String" : "Block", count, items))
            return false;
        if ((long long)items.size() < count)
            return Fail(xml, isString ? "Error String is missing Values" : "Error Block is missing in Values");
        break;
    }
    default: break;
    }
    if (!SetReadData(seg, TCIOStream::DATATYPE(type), dims.GetSize(), dims.GetData(), nullptr, true))
        return Fail(xml, setDataError);
    switch (type) {
    case TCIOStream::INT: return ReadNumbers(xml, numbers, seg, "Error interpreting value in Integer");
    case TCIOStream::DOUBLE: return ReadNumbers(xml, numbers, seg, "Error interpreting value in Double");
    case TCIOStream::STRING:
        for (long long i = 0; i < count; ++i) {
            TCString& s = static_cast<TCString*>(seg.m_pData)[i];
            if (!xml.GetNodeText(items[size_t(i)], s))
                return false;
            if (!TCXML::UnquoteNodeTextString(s))
                return Fail(xml, "Error unquoting String in Values");
        }
        return true;
    case TCIOStream::POINTER: {
        if (!ChildText(xml, values, "Pointer", text, found))
            return found ? false : Fail(xml, "Error Pointer is missing in Values");
        char* end;
        p = text;
        unsigned long long address = std::strtoull(p, &end, 16);
        if (end == p)
            return Fail(xml, "Error interpreting value in Pointer");
        seg.m_pData = reinterpret_cast<void*>(uintptr_t(address));
        return true;
    }
    case TCIOStream::BLOCK:
        for (long long i = 0; i < count; ++i)
            if (!ReadBlockXML(xml, items[size_t(i)], *static_cast<Block**>(seg.m_pData)[i], depth + 1))
                return false;
        return true;
    default: return true;
    }
}

bool ReadBlockXML(TCXML& xml, TCXMLNode node, Block& b, int depth)
{
    if (depth > kMaxDepth)
        return Fail(xml, "Error Block nesting too deep in Values");
    TCTypeInfo ti;
    TCXMLNode info = xml.SelectSingleNode("TypeInfo", node, false);
    if (xml.IsError() || !ReadTypeInfo(xml, info, ti))
        return false;
    b.SetTI(&ti);
    TCXMLNodeList list = xml.SelectNodes("Segments/Segment", node);
    if (!list)
        return false;
    b.Reset(false);
    for (TCXMLNode segNode = xml.NextNode(list); segNode; segNode = xml.NextNode(list)) {
        if (xml.IsError())
            return false;
        TCString name;
        bool found;
        if (!ChildText(xml, segNode, "Name", name, found) && found)
            return false;
        if (!TCXML::UnquoteNodeTextString(name))
            return Fail(xml, "Error unquoting Name in Segment");
        DataSegment* seg = b.SegmentForWrite(name, false);
        if (!seg)
            return Fail(xml, "Error Name occurs twice in Segments");
        if (!ReadSegmentXML(xml, segNode, *seg, depth))
            return false;
    }
    return !xml.IsError();
}

} // namespace

bool TCIOStream::StreamToXML(TCXML& xml, bool peek, int index)
{
    if (!xml.Create(false) || !xml.LoadXML("<Stream/>"))
        return false;
    if (!GetFanIn() || (peek ? PeekBlock(index) : RemoveBlock(true)) < 1)
        return true;
    Block* b = GetActBlock(true);
    if (!b)
        return true;
    try {
        return WriteBlockXML(xml, xml.SelectSingleNode("Stream", TCXMLNode(), false), *b, 0);
    } catch (const std::bad_alloc&) {
        xml.SetUserError("Out of memory");
        return false;
    }
}

int TCIOStream::XMLToStream(TCXML& xml)
{
    int count = 0;
    try {
        TCXMLNodeList list = xml.SelectNodes("Stream/Block");
        if (!list)
            return 0;
        for (TCXMLNode node = xml.NextNode(list); node; node = xml.NextNode(list)) {
            if (xml.IsError())
                return -2;
            int r = ReserveBlock(true);
            if (r < 1)
                return r;
            Block* b = GetActBlock();
            if (!ReadBlockXML(xml, node, *b, 0))
                return -2;
            r = CheckBlockState(b->GetTI(), false);
            if (r < 0)
                return r;
            if (!DispatchBlock())
                throw std::bad_alloc();
            ++count;
        }
    } catch (const std::bad_alloc&) {
        xml.SetUserError("Out of memory");
        return -2;
    }
    return count;
}
