// What the host does to the port helper: streams, lines and type validation.
#include <algorithm>
#include <cstdint>

#include "corekit80/modules/TCExtPar.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"

void* TCPortHelper::SetInputStream(unsigned input, int, int precision)
{
    TCPortHelperImpl::PORT* p = m_pImpl->Port(PT_INPUT, input);
    return p ? p->stream->SetInputStream(precision) : nullptr;
}

void TCPortHelper::AddOutputStream(unsigned output, void* stream)
{
    if (TCPortHelperImpl::PORT* p = m_pImpl->Port(PT_OUTPUT, output))
        p->stream->AddOutputStream(static_cast<TCIOStream*>(stream));
}

void TCPortHelper::DeleteStreams()
{
    for (TCPortHelperImpl::PORT& p : m_pImpl->inputs)
        p.stream->DeleteStreams();
    for (TCPortHelperImpl::PORT& p : m_pImpl->outputs)
        p.stream->DeleteStreams();
}

void TCPortHelper::AddLine(PORTTYPE type, unsigned port)
{
    TCPortHelperImpl::PORT* p = m_pImpl->Port(type, port);
    if (!p)
        return;
    if (p->lines < INT32_MAX)
        ++p->lines;
    if (TCPortHelperImpl::DATATYPE* t = m_pImpl->TypeOf(p))
        t->AddLine(1);
}

void TCPortHelper::DelLine(PORTTYPE type, unsigned port)
{
    TCPortHelperImpl::PORT* p = m_pImpl->Port(type, port);
    if (!p)
        return;
    if (p->lines > 0)
        --p->lines;
    if (TCPortHelperImpl::DATATYPE* t = m_pImpl->TypeOf(p))
        t->DelLine();
}

bool TCPortHelper::ValidatePortType(PORTTYPE type, unsigned port, const char* text, int tokenCount)
{
    TCPortHelperImpl::DATATYPE* t = m_pImpl->TypeOf(m_pImpl->Port(type, port));
    return t && t->ValidatePortType(text, tokenCount, GetModuleName());
}

void TCPortHelper::StoreValidation(PORTTYPE type, unsigned port, const char* text, int tokenCount)
{
    if (port >= 0xFFFF)
        return;
    TCPortHelperImpl::BackupList& backups = m_pImpl->Backups(type);
    if (int(port) >= backups.GetSize())
        backups.SetSize(int(port) + 1);
    TCPortHelperImpl::DATATYPE& t = backups[int(port)].type;
    t.GenType(DT_UNDEFINED);
    t.ParseType(text, tokenCount);
}

int TCPortHelper::ComputeValidationData(CALLED_FROM from, bool deep)
{
    TCPortHelperImpl& d = *m_pImpl;
    const bool wasValidated = d.validated;
    d.validated = true;
    const bool byName = from == CF_BY_NAME && deep;
    for (PORTTYPE type : {PT_INPUT, PT_OUTPUT}) {
        TCPortHelperImpl::PortList& ports = d.Ports(type);
        TCPortHelperImpl::BackupList& backups = d.Backups(type);
        for (int i = 0; i < ports.GetSize(); ++i) {
            TCPortHelperImpl::PORT& p = ports[i];
            TCPortHelperImpl::DATATYPE* t = d.TypeOf(&p);
            if (i < backups.GetSize() && backups[i].lines > 0) {
                p.lines = int32_t(std::min<long long>(INT32_MAX, 0LL + p.lines + backups[i].lines));
                if (t)
                    t->AddLine(backups[i].lines);
            }
            if (!t || !(static_cast<unsigned long>(*t) & DT_UNDEFINED))
                continue;
            const TCPortHelperImpl::BACKUPPORT* partner = nullptr;
            if (byName) {
                for (const TCPortHelperImpl::BACKUPPORT& b : backups)
                    if (b.name == p.name) {
                        partner = &b;
                        break;
                    }
            } else if (i < backups.GetSize()) {
                partner = &backups[i];
            }
            // Keeps the lines: the copy takes the code and the type text only.
            if (partner && (static_cast<unsigned long>(partner->type) & DT_UNDEFINED))
                *t = partner->type;
        }
        backups.RemoveAll();
    }
    if (!d.extPar)
        return wasValidated ? 0 : 1;
    if (d.IsExtInput(0))
        d.extPar->ComputeValidationData(d.Selected() == 1, d.TypeOf(&d.inputs[0])->Validation());
    if (d.selector && d.IsExtInput(1))
        d.extPar->ComputeValidationData(*d.selector == 2, d.TypeOf(&d.inputs[1])->Validation());
    return 1;
}
