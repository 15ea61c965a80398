// MultiType ports: blocks of named segments, written one segment per call and read by name
// or by index.
#include <cstring>
#include <new>
#include <string>

#include "corekit80/modules/TCError.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"

namespace {

using Impl = TCPortHelper::TCPortHelperImpl;
using Block = TCIOStream::Block;

// One segment appended to the output's open block (opened when needed): 1, 0 when the
// output does not take it, or the stream's code.
template <class T>
int WriteNamed(TCPortHelper& h, Impl& d, unsigned output, const char* name, const T& value)
{
    Impl::PORT* p = d.WritePort(output, TCPortHelper::DT_MULTITYPE);
    if (!p)
        return 0;
    int r = p->segmentsOpen ? 1 : p->stream->StartWriteSegments();
    if (r < 1)
        return r < 0 ? h.SetErrMsg(r, PT_OUTPUT, output, -1) : 0;
    r = p->stream->WriteSegment(name ? name : "", value);
    if (r < 0)
        return h.SetErrMsg(r, PT_OUTPUT, output, -1);
    p->segmentsOpen = true;
    return 1;
}

std::string Where(int index) { return "segment " + std::to_string(index); }
std::string Where(const char* name) { return std::string("segment '") + name + "'"; }

// A segment of another type is told through the error port (or to the user) and recorded.
template <class Key>
int Mismatch(TCPortHelper& h, unsigned input, const char* what, Key key)
{
    try {
        const std::string text = std::string("Datatype does not match while reading ") + what + " at " + Where(key);
        h.WriteError(text.c_str(), false);
    } catch (const std::bad_alloc&) {
    }
    return h.SetErrMsg(-2, PT_INPUT, input, -1);
}

// A scalar segment of the block taken by StartReadMultitype.
template <class Key, class T>
int ReadNamed(TCPortHelper& h, Impl& d, unsigned input, Key key, T& value, const char* what)
{
    TCIOStream* s = d.SegmentStream(input);
    if (!s)
        return 0;
    const int r = s->ReadSegment(key, value);
    if (r == -2)
        return Mismatch(h, input, what, key);
    return r < 0 ? h.SetErrMsg(r, PT_INPUT, input, -1) : r;
}

// The index of the first segment called name, -1 when none.
int IndexOf(const TCIOStream& s, const char* name)
{
    for (int i = 0, n = s.SegmentCnt(); i < n; ++i)
        if (std::strcmp(s.SegmentName(i), name) == 0)
            return i;
    return -1;
}

// The nested blocks of segment index (owned by the block taken, valid until the writer's
// next write); key is how the caller named the segment.
template <class Key>
int ReadBlocks(TCPortHelper& h, Impl& d, unsigned input, int index, Key key, TCArray<void*>& blocks)
{
    TCIOStream* s = d.SegmentStream(input);
    if (!s)
        return 0;
    TCArray<Block*> nested;
    const int r = s->ReadSegment(index, nested);
    if (r == -2)
        return Mismatch(h, input, "block values", key);
    if (r < 0)
        return h.SetErrMsg(r, PT_INPUT, input, -1);
    try {
        blocks.SetSize(nested.GetSize());
    } catch (const std::bad_alloc&) {
        return h.SetErrMsg(-14, PT_INPUT, input, -1);
    }
    for (int i = 0; i < nested.GetSize(); ++i)
        blocks[i] = nested[i];
    return r;
}

}  // namespace

int TCPortHelper::WriteMultitypeInt(unsigned output, int value, const char* name)
{
    return WriteNamed(*this, *m_pImpl, output, name, value);
}

int TCPortHelper::WriteMultitypeDbl(unsigned output, const double& value, const char* name)
{
    return WriteNamed(*this, *m_pImpl, output, name, value);
}

int TCPortHelper::WriteMultitypeString(unsigned output, const TCString& value, const char* name)
{
    return WriteNamed(*this, *m_pImpl, output, name, value);
}

int TCPortHelper::WriteMultitypeBlocks(unsigned output, const TCArray<void*>& blocks, const char* name)
{
    TCArray<Block*> nested;
    try {
        nested.SetSize(blocks.GetSize());
    } catch (const std::bad_alloc&) {
        return SetErrMsg(-14, PT_OUTPUT, output, -1);
    }
    for (int i = 0; i < blocks.GetSize(); ++i)
        if (!(nested[i] = static_cast<Block*>(blocks[i])))
            return 0;  // nothing to copy from
    return WriteNamed(*this, *m_pImpl, output, name, nested);
}

int TCPortHelper::EndWriteMultitype(unsigned output)
{
    TCPortHelperImpl::PORT* p = m_pImpl->WritePort(output, DT_MULTITYPE);
    if (!p)
        return 0;
    if (!p->segmentsOpen) {
        TCError(GetModuleName(), "EndWriteMultitype was called without former Write... call");
        return SetErrMsg(-2, PT_OUTPUT, output, -1);
    }
    const int r = WriteTypeInfo(output);
    if (r < 0)
        return r;
    p->segmentsOpen = false;
    return p->stream->EndWriteSegments() ? 1 : SetErrMsg(-14, PT_OUTPUT, output, -1);
}

int TCPortHelper::StartReadMultitype(unsigned input)
{
    TCIOStream* s = m_pImpl->ReadStream(input, DT_MULTITYPE);
    if (!s)
        return 0;
    const int r = s->StartReadSegments();
    if (r < 0)
        return SetErrMsg(r, PT_INPUT, input, -1);
    if (r > 0)
        m_pImpl->Refresh(input);
    return r;
}

int TCPortHelper::GetMultitypeInfo(unsigned input, TCArray<TCString>* names)
{
    const TCIOStream* s = m_pImpl->SegmentStream(input);
    return s ? s->AvailableSegments(names) : 0;
}

const char* TCPortHelper::GetMultitypeName(unsigned input, int index)
{
    const TCIOStream* s = m_pImpl->SegmentStream(input);
    return s ? static_cast<const char*>(s->SegmentName(index)) : "";
}

int TCPortHelper::GetMultitypeType(unsigned input, int index)
{
    TCIOStream* s = m_pImpl->SegmentStream(input);
    return s ? int(s->SegmentType(index)) : 0;
}

int TCPortHelper::ReadMultitypeInt(unsigned input, int index, int& value)
{
    return ReadNamed(*this, *m_pImpl, input, index, value, "integer value");
}

int TCPortHelper::ReadMultitypeInt(unsigned input, const char* name, int& value)
{
    return name ? ReadNamed(*this, *m_pImpl, input, name, value, "integer value") : 0;
}

int TCPortHelper::ReadMultitypeDbl(unsigned input, int index, double& value)
{
    return ReadNamed(*this, *m_pImpl, input, index, value, "double value");
}

int TCPortHelper::ReadMultitypeDbl(unsigned input, const char* name, double& value)
{
    return name ? ReadNamed(*this, *m_pImpl, input, name, value, "double value") : 0;
}

int TCPortHelper::ReadMultitypeString(unsigned input, int index, TCString& value)
{
    return ReadNamed(*this, *m_pImpl, input, index, value, "string value");
}

int TCPortHelper::ReadMultitypeString(unsigned input, const char* name, TCString& value)
{
    return name ? ReadNamed(*this, *m_pImpl, input, name, value, "string value") : 0;
}

int TCPortHelper::ReadMultitypeBlocks(unsigned input, int index, TCArray<void*>& blocks)
{
    return ReadBlocks(*this, *m_pImpl, input, index, index, blocks);
}

int TCPortHelper::ReadMultitypeBlocks(unsigned input, const char* name, TCArray<void*>& blocks)
{
    const TCIOStream* s = m_pImpl->SegmentStream(input);
    const int index = s && name ? IndexOf(*s, name) : -1;
    return index < 0 ? 0 : ReadBlocks(*this, *m_pImpl, input, index, name, blocks);
}
