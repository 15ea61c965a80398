// Type information at the ports: what outputs will send, what inputs received or hold next.
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"

namespace {

using Impl = TCPortHelper::TCPortHelperImpl;

// The pending type information of an output that sends it over a line, else null.
Impl::PORT* Pending(Impl& d, unsigned output) { return d.WritePort(output, TCPortHelper::DT_TYPEINFO); }

bool Opens(int status, int before)
{
    return TCBlockStatus::HasStart(status) || before == TCBS_INVALID || TCBlockStatus::HasStop(before);
}

}  // namespace

void TCPortHelper::SetTypeInfo(unsigned output, const double* timestamp, const TCBLOCKSTATUS* status,
                               const char* name, const double* range, const double* samplerate, const TCSI_Unit* unit)
{
    Impl::PORT* p = Pending(*m_pImpl, output);
    if (!p)
        return;
    TCTypeInfo& ti = p->pendingTI;
    if (timestamp) {
        ti.Timestamp = *timestamp;
        p->tiSet |= Impl::TI_TIMESTAMP;
    }
    if (status) {
        ti.State = *status;
        p->tiSet |= Impl::TI_STATUS;
    }
    if (name) {
        ti.Name = name;
        p->tiSet |= Impl::TI_NAME;
    }
    if (range) {
        ti.Min = range[0];
        ti.Max = range[1];
        p->tiSet |= Impl::TI_RANGE;
    }
    if (samplerate) {
        ti.Samplerate = *samplerate;
        p->tiSet |= Impl::TI_SAMPLERATE;
    }
    if (unit) {
        ti.Unit = *unit;
        p->tiSet |= Impl::TI_UNIT;
    }
}

void TCPortHelper::SetTypeInfo(unsigned output, const TCTypeInfo& ti)
{
    const double range[2] = {ti.Min, ti.Max};
    SetTypeInfo(output, &ti.Timestamp, &ti.State, ti.Name, range, &ti.Samplerate, &ti.Unit);
}

void TCPortHelper::SetTI_Timestamp(unsigned output, double timestamp)
{
    SetTypeInfo(output, &timestamp, nullptr, nullptr, nullptr, nullptr, nullptr);
}

void TCPortHelper::SetTI_Status(unsigned output, TCBLOCKSTATUS status)
{
    SetTypeInfo(output, nullptr, &status, nullptr, nullptr, nullptr, nullptr);
}

void TCPortHelper::SetTI_SignalName(unsigned output, const char* name)
{
    SetTypeInfo(output, nullptr, nullptr, name ? name : "", nullptr, nullptr, nullptr);
}

void TCPortHelper::SetTI_Range(unsigned output, double min, double max)
{
    const double range[2] = {min, max};
    SetTypeInfo(output, nullptr, nullptr, nullptr, range, nullptr, nullptr);
}

void TCPortHelper::SetTI_Samplerate(unsigned output, double rate)
{
    SetTypeInfo(output, nullptr, nullptr, nullptr, nullptr, &rate, nullptr);
}

void TCPortHelper::SetTI_Unit(unsigned output, const TCSI_Unit& unit)
{
    SetTypeInfo(output, nullptr, nullptr, nullptr, nullptr, nullptr, &unit);
}

// The unit's text, then factor in place of the text's own; a text that does not read leaves
// the unit as it was.
void TCPortHelper::SetTI_Unit(unsigned output, const char* unit, double factor)
{
    TCSI_Unit u;
    if (!u.FromString(unit ? unit : ""))
        return;
    u.factor = factor;
    SetTI_Unit(output, u);
}

int TCPortHelper::GetTypeInfo(unsigned input, TCTypeInfo* ti) const
{
    const Impl::PORT* p = m_pImpl->Port(PT_INPUT, input);
    if (!p || !(m_pImpl->CodeOf(p) & DT_TYPEINFO))
        return -1;
    if (ti)
        *ti = p->lastTI;
    return p->lastStatus;
}

int TCPortHelper::PeekTypeInfo(unsigned input, TCTypeInfo* ti) const
{
    const Impl::PORT* p = m_pImpl->Port(PT_INPUT, input);
    if (!p || !(m_pImpl->CodeOf(p) & (DT_TYPEINFO | DT_UNDEFINED)) || !m_pImpl->HoldsBlock(input))
        return -1;
    const TCTypeInfo* next = p->stream->PeekTI();
    if (ti && next)
        *ti = *next;
    m_pImpl->Follow(input);
    return next ? next->State : TCBS_INVALID;
}

int TCPortHelper::PeekStatus(unsigned input, bool all, unsigned* blocks) const
{
    if (blocks)
        *blocks = 0;
    const Impl::PORT* p = m_pImpl->Port(PT_INPUT, input);
    if (!p || !(m_pImpl->CodeOf(p) & (DT_TYPEINFO | DT_UNDEFINED)) || !m_pImpl->HoldsBlock(input))
        return -1;
    if (blocks)
        *blocks = unsigned(p->stream->GetBlockCnt(nullptr));
    return p->stream->PeekStatus(all);
}

bool TCPortHelper::IsPacketStart(unsigned input, bool peek) const
{
    const Impl::PORT* p = m_pImpl->Port(PT_INPUT, input);
    if (!p)
        return false;
    if (!peek)
        return Opens(p->lastStatus, p->lastStatus2);
    const TCTypeInfo* next = m_pImpl->HoldsBlock(input) ? p->stream->PeekTI() : nullptr;
    return Opens(next ? next->State : TCBS_INVALID, p->lastStatus);
}

bool TCPortHelper::IsPacketStop(unsigned input) const
{
    const Impl::PORT* p = m_pImpl->Port(PT_INPUT, input);
    return p && TCBlockStatus::HasStop(p->lastStatus);
}
