// What the port helper tells about its ports and its state.
#include <mutex>
#include <random>

#include "corekit80/foundation/TCSystemTime.h"
#include "corekit80/foundation/TCToString.h"
#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"

int TCPortHelper::GetPortCnt(PORTTYPE type) const { return m_pImpl->Ports(type).GetSize(); }

const char* TCPortHelper::GetPortName(PORTTYPE type, unsigned port) const
{
    const TCPortHelperImpl::PORT* p = m_pImpl->Port(type, port);
    return p ? static_cast<const char*>(p->name) : "";
}

const char* TCPortHelper::GetPortType(PORTTYPE type, unsigned port, int* tokenCount) const
{
    if (tokenCount)
        *tokenCount = 0;
    const TCPortHelperImpl::DATATYPE* t = m_pImpl->TypeOf(m_pImpl->Port(type, port));
    return t ? t->GetPortType(tokenCount) : nullptr;
}

unsigned long TCPortHelper::DataType(PORTTYPE type, unsigned port, unsigned* dataTypeIndex) const
{
    const TCPortHelperImpl::PORT* p = m_pImpl->Port(type, port);
    if (dataTypeIndex && p && p->HasType())
        *dataTypeIndex = unsigned(p->dataType);
    return m_pImpl->CodeOf(p);
}

bool TCPortHelper::DoesDataTypeMatch(PORTTYPE type, unsigned port, unsigned long mask, CHECK_DT mode) const
{
    const TCPortHelperImpl::DATATYPE* t = m_pImpl->TypeOf(m_pImpl->Port(type, port));
    return t && t->DoesDataTypeMatch(mask, mode);
}

bool TCPortHelper::IsScalarDataType(PORTTYPE type, unsigned port) const
{
    const unsigned long code = m_pImpl->CodeOf(m_pImpl->Port(type, port));
    return code == DT_SWORD_1 || code == DT_DOUBLE_1;
}

int TCPortHelper::ElemSize(PORTTYPE type, unsigned port) const
{
    const unsigned long code = m_pImpl->CodeOf(m_pImpl->Port(type, port));
    if (code & (DT_DOUBLE_FAMILY | DT_DOUBLE_MATRIX_ELEMENT))
        return 8;
    if (code & (DT_SWORD_FAMILY | DT_SWORD_MATRIX_ELEMENT))
        return 4;
    if (code & DT_STRING_FAMILY)
        return 1;
    return 0;
}

int TCPortHelper::Precision(unsigned input) const
{
    const TCIOStream* s = m_pImpl->Connected(input);
    return s ? s->precision() : 0;
}

bool TCPortHelper::IsWired(PORTTYPE type, unsigned port, LINETYPE how) const
{
    const TCPortHelperImpl::PORT* p = m_pImpl->Port(type, port);
    if (!p)
        return false;
    if (how == LT_RUNNING)
        how = m_pImpl->running ? LT_STREAMS : LT_LINES;
    switch (how) {
    case LT_LINES:
        return p->lines > 0;
    case LT_STREAMS:
        return p->stream->GetFanCnt() > 0;
    default:
        return false;
    }
}

bool TCPortHelper::AnyPortWired(int which) const
{
    for (PORTTYPE type : {PT_INPUT, PT_OUTPUT}) {
        if (!(which & type))
            continue;
        for (unsigned i = 0, n = unsigned(GetPortCnt(type)); i < n; ++i)
            if (IsWired(type, i, LT_RUNNING))
                return true;
    }
    return false;
}

int TCPortHelper::CheckPortNames(const TCArray<TCString>& inputs, const TCArray<TCString>& outputs,
                                 TCString& name)
{
    const TCArray<TCString>* lists[] = {&inputs, &outputs};
    for (int which = 0; which < 2; ++which) {
        const TCArray<TCString>& list = *lists[which];
        for (int i = 0; i < list.GetSize(); ++i)
            for (int j = i + 1; j < list.GetSize(); ++j)
                if (list[i] == list[j]) {
                    name = list[i];
                    return which + 1;
                }
    }
    return 0;
}

bool TCPortHelper::MakePortNameUnique(int which, TCString& name) const
{
    const TCString base = name;
    auto taken = [&](const TCString& candidate) {
        for (PORTTYPE type : {PT_INPUT, PT_OUTPUT})
            if (which & type)
                for (const TCPortHelperImpl::PORT& p : m_pImpl->Ports(type))
                    if (p.name == candidate)
                        return true;
        return false;
    };
    TCString candidate = base;
    // Every port can block one candidate only, so a free one is found within that many.
    for (int k = 1; taken(candidate); ++k)
        candidate = TCString::FormatS("%s_%d", static_cast<const char*>(base), k);
    name = candidate;
    return true;
}

const char* TCPortHelper::GetModuleName() const
{
    return m_pImpl->module ? m_pImpl->module->GetModuleName() : "No module";
}

const char* TCPortHelper::GetSymbolName() const { return m_pImpl->symbolName; }

const char* TCPortHelper::GetSGName() const { return m_pImpl->sgName; }

const char* TCPortHelper::RandomString()
{
    if (m_pImpl->randomString.IsEmpty()) {
        // One generator for the process, seeded once from the clock.
        static std::mt19937 generator(static_cast<std::mt19937::result_type>(TCSystemTime()));
        static std::mutex lock;
        unsigned product;
        {
            std::lock_guard<std::mutex> hold(lock);
            product = unsigned(generator()) * unsigned(generator());
        }
        char text[16];
        m_pImpl->randomString = itoh(text, product);
    }
    return m_pImpl->randomString;
}

long TCPortHelper::GetInstanceHandle() const { return m_pImpl->instanceHandle; }

bool TCPortHelper::IsRunning() const { return m_pImpl->running; }

bool TCPortHelper::IsValidated() const { return m_pImpl->validated; }

bool TCPortHelper::ReadyToExecute() const { return m_pImpl->ready; }

bool TCPortHelper::FirstInCycle(bool clear)
{
    const bool first = m_pImpl->firstInCycle;
    if (clear)
        m_pImpl->firstInCycle = false;
    return first;
}

double TCPortHelper::SyncTime()
{
    if (m_pImpl->syncTime == 0)
        m_pImpl->syncTime = TCSystemTime();
    return m_pImpl->syncTime;
}
