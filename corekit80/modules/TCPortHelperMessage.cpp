// The host messages that the port helper answers.
#include <algorithm>

#include "corekit80/modules/TCExtPar.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"

namespace {
unsigned Low(long param) { return unsigned(param) & 0xFFFF; }
unsigned High(long param) { return (unsigned(param) >> 16) & 0xFFFF; }

// Asks the dynamic-port callback; the helper does not count as validated meanwhile. The
// callback may have removed itself by an earlier request.
int AskDynPorts(TCPortHelper::TCPortHelperImpl& d, int request)
{
    if (!d.dynPorts)
        return 0;
    d.validated = false;
    const int answer = d.dynPorts(d.dynPortsArg, request);
    d.validated = true;
    return answer;
}

// Whether the last n ports of the list may go: more than n exist and none of them has a line.
bool MayRemove(const TCPortHelper::TCPortHelperImpl::PortList& ports, int n)
{
    if (ports.GetSize() <= n)
        return false;
    for (int i = ports.GetSize() - n; i < ports.GetSize(); ++i)
        if (ports[i].lines > 0)
            return false;
    return true;
}

long DynPorts(TCPortHelper::TCPortHelperImpl& d, long param)
{
    if (!d.dynPorts)
        return 0;
    switch (param) {
    case 0:
        return (AskDynPorts(d, 0) & 0xFFFF) != 0 ? 1 : 0;
    case 1:
        return AskDynPorts(d, 1) > 0 ? 1 : 0;
    case 2: {
        const unsigned wanted = unsigned(AskDynPorts(d, 0));
        const unsigned mode = wanted & 0xFFFF;
        const int inputs = std::max(1, int((wanted >> 16) & 0xFF));
        const int outputs = std::max(1, int(wanted >> 24));
        const bool in = mode == 1 || mode == 3;
        const bool out = mode == 2 || mode == 3;
        auto allowed = [&] {
            return (in || out) && (!in || MayRemove(d.inputs, inputs)) && (!out || MayRemove(d.outputs, outputs));
        };
        // Asked again after the callback agreed: it may have changed the ports meanwhile.
        if (!allowed() || AskDynPorts(d, -1) == 0 || !allowed())
            return 0;
        if (in)
            d.inputs.SetSize(d.inputs.GetSize() - inputs);
        if (out)
            d.outputs.SetSize(d.outputs.GetSize() - outputs);
        return 1;
    }
    default:
        return 0;
    }
}
}

bool TCPortHelper::IsHostMessage(unsigned code)
{
    switch (code) {
    case 4: case 7: case 16: case 18: case 19: case 26: case 32: case 35: case 36: case 38:
    case 44: case 45: case 46: case 47:
        return true;
    default:
        return false;
    }
}

long TCPortHelper::GetMessageA(unsigned code, long param)
{
    TCPortHelperImpl& d = *m_pImpl;
    switch (code) {
    case 4:
        d.instanceHandle = param;
        return 0;
    case 7:
        if (param)
            d.syncTime = *reinterpret_cast<const double*>(param);
        return 0;
    case 16:
        if (param)
            *reinterpret_cast<ERR_MSG**>(param) = &d.error;
        return 0;
    case 18:
        d.symbolName = param ? reinterpret_cast<const char*>(param) : "";
        return 0;
    case 19:
        d.sgName = param ? reinterpret_cast<const char*>(param) : "";
        return 0;
    case 26:
        return DynPorts(d, param);
    case 32:
        d.firstInCycle = true;
        d.firstErrorBlock = true;
        return 0;
    case 35: {
        const TCPortHelperImpl::PORT* p = d.Port(PT_INPUT, Low(param));
        return p && p->stream->GetFanCnt() > 0 ? reinterpret_cast<long>(p->stream) : 0;
    }
    case 36: {
        const TCPortHelperImpl::PORT* p = d.Port(PT_OUTPUT, Low(param));
        return p ? reinterpret_cast<long>(p->stream->GetFan(int(High(param)))) : 0;
    }
    case 38:
        d.wiringChecks = param != 0;
        return 0;
    case 44:
        if (param == 5) {
            d.errorPortLive = true;
            for (TCPortHelperImpl::PORT& p : d.outputs)
                p.typeInfoWritten = false;
            if (d.moduleType != 1)
                d.syncTime = 0;
        } else if (param == 6) {
            d.errorPortLive = false;
        }
        return 0;
    case 45:
        if (static_cast<unsigned long>(param) > 2 || !d.selector || (d.extPar && d.extPar->GetExtParamCount() == 0))
            return -1;
        *d.selector = int(param);
        return 1;
    case 46:
        d.running = param == 1;
        return 0;
    case 47: {
        const TCPortHelperImpl::PORT* p = d.Port(PORTTYPE(High(param)), Low(param));
        return p ? p->lines : 0;
    }
    default:
        return 0;
    }
}
