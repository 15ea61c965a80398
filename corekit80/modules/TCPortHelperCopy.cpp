// Whole blocks at the ports: copies of blocks from other streams, the waiting block handed
// out without copying, blocks moved from an input to an output, and the check of blocks
// built outside the typed writes against the output's type.
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"

namespace {

using Impl = TCPortHelper::TCPortHelperImpl;
using H = TCPortHelper;

// The element type and dimension count every segment at a port of code must have; UNDEF
// for a type that takes any block.
TCIOStream::DATATYPE TypeClass(unsigned long code, int& dims)
{
    dims = code & (H::DT_SWORD_MATRIX_ELEMENT | H::DT_DOUBLE_MATRIX_ELEMENT) ? 2 : 1;
    if (code & (H::DT_SWORD_FAMILY | H::DT_SWORD_MATRIX_ELEMENT))
        return TCIOStream::INT;
    if (code & (H::DT_DOUBLE_FAMILY | H::DT_DOUBLE_MATRIX_ELEMENT))
        return TCIOStream::DOUBLE;
    if (code & H::DT_STRING_FAMILY)
        return TCIOStream::STRING;
    if (code & H::DT_MULTITYPE)
        return TCIOStream::BLOCK;
    if (code & Impl::POINTER_FAMILY)
        return TCIOStream::POINTER;
    return TCIOStream::UNDEF;
}

// The type information of the block the output sent last (it is the newest at each of its
// lines), or null.
const TCTypeInfo* NewestSent(TCIOStream& s)
{
    const TCIOStream* line = s.GetFan(0);
    const TCIOStream::Fan* fan = line ? line->GetFanIn() : nullptr;
    return fan && !fan->m_queue.IsEmpty() ? fan->m_queue.GetTail()->GetTI() : nullptr;
}

// A block went out: its type information counts as written on the port and its status is
// the one the automatic status goes on from.
void Sent(Impl::PORT& p)
{
    p.failedFan = -1;
    if (const TCTypeInfo* ti = NewestSent(*p.stream)) {
        p.typeInfoWritten = true;
        p.lastStatus = ti->State;
    }
}

// A copy the stream refused stays reserved in the output's stream, where the next typed
// write could not fill its segments: it goes back to the free list. The code goes to the
// error record, -4 as -18 when type information went out on the port before.
int Refused(H& h, Impl::PORT& p, unsigned output, int code)
{
    TCIOStream& s = *p.stream;
    if (TCIOStream::Block* b = s.GetActBlock(true))
        s.AddBlockToFreeList(b);
    p.failedFan = s.GetErrFan();
    return h.SetErrMsg(code == -4 && p.typeInfoWritten ? -18 : code, PT_OUTPUT, output, p.failedFan);
}

// The input's next block to the output by move(output stream, input stream), which answers
// as the stream's moves. Without a line at the output the input's blocks are dropped.
template <class Move>
int MoveContent(H& h, Impl& d, unsigned output, unsigned input, Move move)
{
    Impl::PORT* out = d.Port(PT_OUTPUT, output);
    TCIOStream* in = d.ReadStream(input, H::DT_TYPEINFO);
    if (!out || !in || !(d.CodeOf(out) & H::DT_TYPEINFO))
        return 0;
    const int waiting = in->GetBlockCnt(nullptr);
    int r = 0;
    if (out->stream->GetFanCnt() > 0)
        r = move(*out->stream, *in);
    else
        in->RemoveContents(true);
    if (in->GetBlockCnt(nullptr) < waiting)
        d.Refresh(input);
    if (r < 0)
        return Refused(h, *out, output, r);
    if (r > 0) {
        Sent(*out);
        // What the block carried (the input's, with the status it went out with) is what
        // the output's next block carries unless told otherwise.
        if (const TCTypeInfo* ti = NewestSent(*out->stream))
            out->pendingTI = *ti;
    }
    return r;
}

}  // namespace

int Impl::PutOutside(TCPortHelper& h, unsigned output, int r)
{
    PORT& p = outputs[int(output)];
    if (r < 0)
        return Refused(h, p, output, r);
    if (r == 0)
        return 0;
    Sent(p);
    int dims;
    const TCIOStream::DATATYPE type = TypeClass(CodeOf(&p), dims);
    if (type == TCIOStream::UNDEF || p.stream->VerifyType(type, dims))
        return r;
    p.failedFan = p.stream->GetErrFan();
    h.SetErrMsg(-2, PT_OUTPUT, output, p.failedFan);
    return h.WriteError("Block data does not match datatype of output port", true);
}

int TCPortHelper::WriteCopy(unsigned output, void* block)
{
    Impl& d = *m_pImpl;
    Impl::PORT* p = d.WritePort(output, Impl::ANY_FAMILY);
    if (!p || !block)
        return 0;
    return d.PutOutside(*this, output, p->stream->WriteCopy(static_cast<const TCIOStream::Block*>(block)));
}

int TCPortHelper::ExchangeBinary(unsigned input, void*& data, bool take)
{
    Impl& d = *m_pImpl;
    const Impl::PORT* p = d.Port(PT_INPUT, input);
    if (!p || (take && !d.HoldsBlock(input)))
        return 0;
    if (take)
        d.Refresh(input, p->stream->PeekTI());
    TCIOStream::Block* held = static_cast<TCIOStream::Block*>(data);
    const int r = p->stream->ExchangeBinary(&held, take);
    data = held;
    return r;
}

int TCPortHelper::CopyStreamContent(unsigned output, unsigned input, TCBLOCKSTATUS status)
{
    return MoveContent(*this, *m_pImpl, output, input,
                       [&](TCIOStream& out, TCIOStream& in) { return out.MoveBlocks(in, status); });
}

// The head block is copied and then taken off the input, so that both forms consume what
// they move: a module that moves while blocks wait would otherwise move the same one again.
// A refused block stays waiting.
int TCPortHelper::CopyStreamContent(unsigned output, unsigned input, bool fix, const TCTypeInfo* ti)
{
    return MoveContent(*this, *m_pImpl, output, input, [&](TCIOStream& out, TCIOStream& in) {
        const int r = out.MoveBlock(in, 0, ti, fix);
        if (r > 0)
            in.RemoveContents(false);
        return r;
    });
}
