// The run cycle and the data waiting at the inputs.
#include <algorithm>

#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"

int TCPortHelper::Init()
{
    ClearBuffers();
    if (!IsExtWiredOK() || !AreObligatoryInputsWired())
        return -3;
    m_pImpl->ready = true;
    m_pImpl->moduleType = m_pImpl->module ? m_pImpl->module->GetTypeOfModule() : 0;
    return 0;
}

int TCPortHelper::Fetch()
{
    TCPortHelperImpl& d = *m_pImpl;
    // The common module has neither external parameters nor trigger groups: any block counts.
    if (!d.extPar && d.triggerGroups.IsEmpty() ? AnyDataAvail() : TriggerDataAvail())
        return 0;
    if (d.moduleType != 1)
        return 1;
    switch (d.sourceBehaviour) {
    case SB_WHILE_READY:
        return d.ready ? 0 : 1;
    case SB_ONCE:
        if (d.ready)
            return 0;
        d.moduleType = 0;
        return 2;
    default:
        return 1;
    }
}

// Defined here, beside the port helper's Fetch, so that the call binds inside the library
// instead of through the procedure linkage table: it is made for every module on every cycle.
int TCBaseModule::Fetch() { return m_pPortHelper ? m_pPortHelper->Fetch() : 1; }

int TCPortHelper::Done()
{
    for (TCPortHelperImpl::PORT& p : m_pImpl->inputs)
        p.ResetRun();
    for (TCPortHelperImpl::PORT& p : m_pImpl->outputs)
        p.ResetRun();
    return 0;
}

bool TCPortHelper::AnyDataAvail() const
{
    for (unsigned i = 0, n = unsigned(m_pImpl->inputs.GetSize()); i < n; ++i)
        if (m_pImpl->HoldsBlock(i))
            return true;
    return false;
}

bool TCPortHelper::TriggerDataAvail()
{
    TCPortHelperImpl& d = *m_pImpl;
    const int selected = d.Selected();
    if (d.extPar && (selected == 1 || selected == 2) && d.HoldsBlock(unsigned(selected - 1)))
        return true;
    if (d.triggerGroups.IsEmpty())
        return AnyDataAvail();
    for (TCPortHelperImpl::PORT& p : d.inputs)
        p.trigger = true;
    const unsigned count = unsigned(d.inputs.GetSize());
    for (const TCArray<unsigned, unsigned>& group : d.triggerGroups) {
        bool anyConnected = false;
        bool allHold = true;
        for (unsigned input : group) {
            if (input >= count)
                continue;
            d.inputs[int(input)].trigger = false;
            if (!d.Connected(input))
                continue;
            anyConnected = true;
            allHold = allHold && d.HoldsBlock(input);
        }
        if (anyConnected && allHold)
            return true;
    }
    for (unsigned i = 0; i < count; ++i)
        if (d.inputs[int(i)].trigger && d.HoldsBlock(i))
            return true;
    return false;
}

bool TCPortHelper::DataAvail(unsigned input, TCBLOCKSTATUS* status, unsigned* blocks, unsigned* values,
                             unsigned* elemSize) const
{
    if (status)
        *status = TCBS_INVALID;
    if (blocks)
        *blocks = 0;
    if (values)
        *values = 0;
    if (elemSize)
        *elemSize = 0;
    const TCIOStream* s = m_pImpl->Connected(input);
    if (!s)
        return false;
    const int n = s->GetBlockCnt(nullptr);
    if (blocks)
        *blocks = unsigned(n);
    if (n < 1)
        return false;
    if (status)
        *status = s->PeekStatus(false);
    if (values) {
        const int len = s->GetBlockLen(0, 0);
        const bool single = (m_pImpl->CodeOf(m_pImpl->Port(PT_INPUT, input)) & DT_SINGLE_VALUE) != 0;
        *values = len < 0 ? 0 : single && len > 1 ? 1 : unsigned(len);
    }
    if (elemSize)
        *elemSize = unsigned(ElemSize(PT_INPUT, input));
    return true;
}

int TCPortHelper::SynchronousDataAvail(const unsigned* inputs, unsigned n, int checks)
{
    if (!inputs || n == 0)
        return 0;
    TCPortHelperImpl& d = *m_pImpl;
    const unsigned count = unsigned(d.inputs.GetSize());
    int reference = -1;
    const TCIOStream* ref = nullptr;
    int fewest = 0;
    for (unsigned k = 0; k < n; ++k) {
        const unsigned input = inputs[k];
        if (input >= count)
            return 0;
        const TCIOStream* s = d.Connected(input);
        if (!s)
            continue;
        const int blocks = s->GetBlockCnt(nullptr);
        if (blocks < 1 || !(d.CodeOf(&d.inputs[int(input)]) & (DT_UNDEFINED | DT_TYPEINFO)))
            return 0;
        if (!ref) {
            ref = s;
            reference = int(input);
            fewest = blocks;
            continue;
        }
        const TCTypeInfo* refTI = ref->PeekTI();
        const TCTypeInfo* ti = s->PeekTI();
        int code = 0;
        if ((checks & 4) && ref->GetBlockLen(0, 0) != s->GetBlockLen(0, 0))
            code = -5;
        else if ((checks & 1) && ref->PeekStatus(false) != s->PeekStatus(false))
            code = -13;
        else if ((checks & 2) && ref->GetBlockCnt(nullptr) != blocks)
            code = -12;
        else if ((checks & 8) && (refTI ? refTI->Samplerate : 0.0) != (ti ? ti->Samplerate : 0.0))
            code = -15;
        else if ((checks & 16) && (refTI && ti ? !(refTI->Unit == ti->Unit) : refTI != ti))
            code = -6;
        if (code)
            return SetErrMsg(code, PT_INPUT, unsigned(reference), int(input));
        if (blocks < fewest)
            fewest = blocks;
    }
    return fewest;
}

int TCPortHelper::SynchronousDataAvail(unsigned first, unsigned count, int checks)
{
    if (count == 0 || count > 0xFFFF)
        return 0;
    TCArray<unsigned, unsigned> inputs;
    inputs.SetSize(int(count));
    for (unsigned i = 0; i < count; ++i)
        inputs[int(i)] = first + i;
    return SynchronousDataAvail(inputs.GetData(), count, checks);
}

int TCPortHelper::BlocksOnStream(PORTTYPE type, unsigned port) const
{
    if (type != PT_INPUT && type != PT_OUTPUT)
        return 0;
    const TCPortHelperImpl::PORT* p = m_pImpl->Port(type, port);
    return p ? p->stream->GetBlockCnt(nullptr) : 0;
}

int TCPortHelper::ReadTrigger(unsigned input, bool all)
{
    TCIOStream* s = m_pImpl->Connected(input);
    if (!s)
        return 0;
    const int blocks = s->GetBlockCnt(nullptr);
    if (blocks < 1)
        return 0;
    const int take = all ? blocks : 1;
    int fired = 0;
    for (int k = 0; k < take; ++k) {
        const int* iv = nullptr;
        const double* dv = nullptr;
        const TCString* sv = nullptr;
        bool triggers = true;
        if (int n = s->PeekIntData(0, iv, nullptr, nullptr); n >= 0)
            triggers = n > 0 && iv[0] != 0;
        else if (int m = s->PeekDblData(0, dv, nullptr, nullptr); m >= 0)
            triggers = m > 0 && dv[0] != 0.0;
        else if (int t = s->PeekStrData(0, sv); t >= 0)
            triggers = t > 0 && !sv[0].IsEmpty();
        s->RemoveContents(false);
        m_pImpl->Refresh(input);
        fired |= triggers ? 1 : 0;
    }
    return fired;
}

int TCPortHelper::NotWiredOrTrigger(unsigned input, bool all)
{
    return m_pImpl->Connected(input) ? ReadTrigger(input, all) : 1;
}

void TCPortHelper::ClearStream(unsigned input, bool all)
{
    if (m_pImpl->HoldsBlock(input))
        m_pImpl->inputs[int(input)].stream->RemoveContents(all);
}

int TCPortHelper::RemoveBlocks(unsigned input, int n)
{
    TCIOStream* s = m_pImpl->Connected(input);
    if (!s)
        return 0;
    const int blocks = s->GetBlockCnt(nullptr);
    int remove = n == 0 || n >= blocks ? blocks : n > 0 ? n : std::max(0, blocks + n);
    for (int k = 0; k < remove; ++k)
        s->RemoveContents(false);
    return remove;
}

TCBLOCKSTATUS TCPortHelper::ConvBlockState(TCBLOCKSTATUS state, unsigned total, unsigned done, unsigned now)
{
    if (total == 0 || done > total || now > total - done)
        return TCBS_INVALID;
    if (total == 1)
        return state;
    if (done == 0)
        return state == TCBS_START || state == TCBS_COMPLETE ? TCBS_START : TCBS_BUSY;
    if (done + now < total)
        return TCBS_BUSY;
    return state == TCBS_STOP || state == TCBS_COMPLETE ? TCBS_STOP : TCBS_BUSY;
}
