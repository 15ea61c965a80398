// A port's blocks in the stream's binary, old-stream text, XML and display forms.
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"

using Impl = TCPortHelper::TCPortHelperImpl;

namespace {

// take(stream) takes the input's next block in some form; the input's last type
// information follows that block.
template <class Take>
auto TakeBlock(Impl& d, unsigned input, Take take) -> decltype(take(*static_cast<TCIOStream*>(nullptr)))
{
    TCIOStream* s = d.ReadStream(input, Impl::ANY_FAMILY);
    if (!s)
        return {};
    d.Refresh(input, s->PeekTI());  // copied before the block is taken
    return take(*s);
}

}  // namespace

int TCPortHelper::SerializeBlock(unsigned input, char* buffer, bool withTI)
{
    Impl& d = *m_pImpl;
    if (!buffer) {
        TCIOStream* s = d.ReadStream(input, Impl::ANY_FAMILY);
        return s ? s->SerializeBlock(nullptr, withTI) : 0;
    }
    return TakeBlock(d, input, [&](TCIOStream& s) { return s.SerializeBlock(buffer, withTI); });
}

TCString TCPortHelper::SerializeForOldStream(unsigned input)
{
    return TakeBlock(*m_pImpl, input, [](TCIOStream& s) { return s.SerializeForOldStream(); });
}

bool TCPortHelper::StreamToXML(unsigned input, TCXML& xml, bool peek, int index)
{
    Impl& d = *m_pImpl;
    const Impl::PORT* p = d.Port(PT_INPUT, input);
    if (!p)
        return false;
    if (peek || !d.HoldsBlock(input))
        return p->stream->StreamToXML(xml, peek, index);
    return TakeBlock(d, input, [&](TCIOStream& s) { return s.StreamToXML(xml, false, index); });
}

int TCPortHelper::DeSerializeBlock(unsigned output, const TCString& text)
{
    Impl& d = *m_pImpl;
    Impl::PORT* p = d.WritePort(output, Impl::ANY_FAMILY);
    return p ? d.PutOutside(*this, output, p->stream->DeSerializeBlock(text)) : 0;
}

int TCPortHelper::DeSerializeForOldStream(unsigned output, const char* text, int length)
{
    Impl& d = *m_pImpl;
    Impl::PORT* p = d.WritePort(output, Impl::ANY_FAMILY);
    return p ? d.PutOutside(*this, output, p->stream->DeSerializeForOldStream(text, length)) : 0;
}

int TCPortHelper::XMLToStream(unsigned output, TCXML& xml)
{
    Impl& d = *m_pImpl;
    Impl::PORT* p = d.WritePort(output, Impl::ANY_FAMILY);
    return p ? d.PutOutside(*this, output, p->stream->XMLToStream(xml)) : 0;
}

TCString TCPortHelper::ConvertToString(PORTTYPE type, unsigned port, int block, int maxLen, bool withTI,
                                       StringFormat format, int precision)
{
    Impl& d = *m_pImpl;
    const Impl::PORT* p = d.Port(type, port);
    if (!p)
        return TCString();
    TCIOStream* s = type == PT_INPUT ? d.Connected(port) : p->stream->GetFan(0);
    return s ? s->ConvertToString(block, maxLen, withTI, format, precision) : TCString();
}
