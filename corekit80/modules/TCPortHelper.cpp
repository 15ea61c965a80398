// The port helper's construction and the declaration of ports and data types.
#include "corekit80/modules/TCPortHelper.h"

#include <climits>

#include "corekit80/modules/TCPortHelperImpl.h"

namespace {
// Ports beyond this are refused: a port number is also carried in 16 bits of host messages.
constexpr unsigned kMaxPorts = 0xFFFF;
}

bool TCPortHelper::TCPortHelperImpl::Reach(PORTTYPE type, unsigned port)
{
    if (port >= kMaxPorts)
        return false;
    PortList& list = Ports(type);
    if (int(port) >= list.GetSize())
        list.SetSize(int(port) + 1);
    return true;
}

void TCPortHelper::TCPortHelperImpl::Attach(PORTTYPE type, unsigned port, const char* name, unsigned dataType)
{
    if (dataType >= unsigned(types.GetSize()) || !Reach(type, port))
        return;
    PORT& p = Ports(type).GetData()[port];
    if (p.HasType())
        return;
    p.dataType = int32_t(dataType);
    p.type = type;
    p.name = name ? name : "";
    // Lines drawn while the port had no type count for the type it gets.
    types[int(dataType)].AddLine(p.lines);
}

unsigned TCPortHelper::TCPortHelperImpl::AddType(const DATATYPE& type) { return unsigned(types.Add(type)); }

TCPortHelper::TCPortHelper(TCBaseModule* module) : m_pImpl(new TCPortHelperImpl(module)) {}

TCPortHelper::~TCPortHelper() { delete m_pImpl; }

unsigned TCPortHelper::SetPort(PORTTYPE type, unsigned port, const char* name, const char* base,
                               const char* declarator, bool withTypeInfo)
{
    TCPortHelperImpl::DATATYPE t;
    t.ParseType(base, declarator, withTypeInfo);
    const unsigned index = m_pImpl->AddType(t);
    m_pImpl->Attach(type, port, name, index);
    return index;
}

unsigned TCPortHelper::SetPort(PORTTYPE type, unsigned port, const char* name, unsigned long code)
{
    TCPortHelperImpl::DATATYPE t;
    t.GenType(code);
    const unsigned index = m_pImpl->AddType(t);
    m_pImpl->Attach(type, port, name, index);
    return index;
}

unsigned TCPortHelper::SetPortRange(PORTTYPE type, unsigned first, unsigned count, PortNameFn nameOf,
                                    const char* base, const char* declarator, bool withTypeInfo)
{
    TCPortHelperImpl::DATATYPE t;
    t.ParseType(base, declarator, withTypeInfo);
    const unsigned index = m_pImpl->AddType(t);
    AttachPortRange(type, first, count, nameOf, index);
    return index;
}

unsigned TCPortHelper::SetPortRange(PORTTYPE type, unsigned first, unsigned count, PortNameFn nameOf,
                                    unsigned long code)
{
    TCPortHelperImpl::DATATYPE t;
    t.GenType(code);
    const unsigned index = m_pImpl->AddType(t);
    AttachPortRange(type, first, count, nameOf, index);
    return index;
}

void TCPortHelper::AttachPort(PORTTYPE type, unsigned port, const char* name, unsigned dataType)
{
    m_pImpl->Attach(type, port, name, dataType);
}

void TCPortHelper::AttachPortRange(PORTTYPE type, unsigned first, unsigned count, PortNameFn nameOf,
                                   unsigned dataType)
{
    if (dataType >= unsigned(m_pImpl->types.GetSize()) || count == 0 || first >= kMaxPorts ||
        count > kMaxPorts - first)
        return;
    for (unsigned port = first; port < first + count; ++port)
        m_pImpl->Attach(type, port, nameOf ? nameOf(type, port) : "", dataType);
}

void TCPortHelper::AddMultitype(unsigned dataType, const char* base, const char* declarator)
{
    if (dataType < unsigned(m_pImpl->types.GetSize()))
        m_pImpl->types[int(dataType)].AddMultitype(base, declarator);
}

void TCPortHelper::ChangeType(PORTTYPE type, unsigned port, const char* base, const char* declarator,
                              bool withTypeInfo)
{
    if (TCPortHelperImpl::DATATYPE* t = m_pImpl->TypeOf(m_pImpl->Port(type, port)))
        t->ParseType(base, declarator, withTypeInfo);
}

void TCPortHelper::SetErrorPort(unsigned port, const char* name)
{
    if (port >= kMaxPorts)
        return;
    m_pImpl->errorPort = int32_t(port);
    SetPort(PT_OUTPUT, port, name, "UBYTE[]", nullptr, true);
}

void TCPortHelper::ClearPorts(bool backup)
{
    TCPortHelperImpl& d = *m_pImpl;
    d.validated = false;
    if (backup) {
        for (PORTTYPE type : {PT_INPUT, PT_OUTPUT}) {
            const TCPortHelperImpl::PortList& ports = d.Ports(type);
            TCPortHelperImpl::BackupList& backups = d.Backups(type);
            backups.SetSize(ports.GetSize());
            for (int i = 0; i < ports.GetSize(); ++i) {
                TCPortHelperImpl::BACKUPPORT& b = backups[i];
                b.name = ports[i].name;
                b.lines = ports[i].lines;
                const TCPortHelperImpl::DATATYPE* t = d.TypeOf(&ports[i]);
                b.type = t ? *t : TCPortHelperImpl::DATATYPE();
            }
        }
    }
    d.inputs.RemoveAll();
    d.outputs.RemoveAll();
    d.types.RemoveAll();
    d.triggerGroups.RemoveAll();
    d.errorPort = -1;
    d.dynPorts = nullptr;
    d.dynPortsArg = 0;
}

void TCPortHelper::UseDynPorts(DynPortsFn callback, long arg)
{
    m_pImpl->dynPorts = callback;
    m_pImpl->dynPortsArg = callback ? arg : 0;
}

void TCPortHelper::SetTriggerInputs(const unsigned* inputs, unsigned n)
{
    if (!inputs || n == 0 || n > kMaxPorts)
        return;
    TCArray<unsigned, unsigned> group;
    group.SetSize(int(n));
    for (unsigned i = 0; i < n; ++i)
        group[int(i)] = inputs[i];
    m_pImpl->triggerGroups.Add(group);
}

void TCPortHelper::SetTriggerInputs(unsigned a, unsigned b)
{
    const unsigned group[] = {a, b};
    SetTriggerInputs(group, 2);
}

void TCPortHelper::ClearTriggerInputs() { m_pImpl->triggerGroups.RemoveAll(); }

void TCPortHelper::SetObligatoryInputs(const unsigned* inputs, unsigned n)
{
    if (!inputs)
        return;
    for (unsigned i = 0; i < n; ++i)
        SetObligatoryInput(inputs[i]);
}

void TCPortHelper::SetObligatoryInput(unsigned input)
{
    if (TCPortHelperImpl::PORT* p = m_pImpl->Port(PT_INPUT, input))
        p->obligatory = true;
}

void TCPortHelper::SetStringDataFormat(PORTTYPE type, unsigned port, bool text)
{
    if (TCPortHelperImpl::PORT* p = m_pImpl->Port(type, port))
        p->textFormat = text;
}

void TCPortHelper::AllowMultipleMatrices(unsigned output, bool allow)
{
    if (TCPortHelperImpl::PORT* p = m_pImpl->Port(PT_OUTPUT, output))
        p->multipleMatrices = allow;
}

void TCPortHelper::BehaviourAsSource(SourceBehaviour behaviour) { m_pImpl->sourceBehaviour = behaviour; }

void TCPortHelper::SetReadyFlag(bool ready) { m_pImpl->ready = ready; }

int TCPortHelper::SetErrMsg(int code, PORTTYPE type, unsigned port, int second)
{
    return SetErrMsg(code, type, port, second, nullptr, nullptr);
}

int TCPortHelper::SetErrMsg(int code, PORTTYPE type, unsigned port, int second, const char* text,
                            const char* text2)
{
    TCPortHelperImpl& d = *m_pImpl;
    ERR_MSG& e = d.error;
    e.code = code;
    e.port = port > unsigned(INT_MAX) ? -1 : int32_t(port);
    e.second = second;
    e.text = text ? text : "";
    e.text2 = text2 ? text2 : "";
    e.stream = nullptr;
    e.stream2 = nullptr;
    if (TCPortHelperImpl::PORT* p = d.Port(type, port))
        e.stream = type == PT_INPUT ? p->stream : p->stream->GetFan(second);
    if (type == PT_INPUT && second >= 0)
        if (TCPortHelperImpl::PORT* p = d.Port(PT_INPUT, unsigned(second)))
            e.stream2 = p->stream;
    return code;
}

const ERR_MSG& TCPortHelper::GetErrMsg() const { return m_pImpl->error; }
