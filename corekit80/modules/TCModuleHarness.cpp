// TCModuleHarness: the host's messages in the host's order, wiring, the run and tear-down.
#include "corekit80/modules/TCModuleHarness.h"
#include "corekit80/modules/TCModuleHarnessImpl.h"

#include "corekit80/modules/TCBaseModule.h"

TCModuleHarness::TCModuleHarness(TCBaseModule& module) : m_pImpl(new Impl(module)) {}

TCModuleHarness::~TCModuleHarness()
{
    Stop();
    m_pImpl->TearDown();
    delete m_pImpl;
}

void TCModuleHarness::SetWiringChecks(bool on) { m_pImpl->wiringChecks = on; }

void TCModuleHarness::SetNames(const char* symbol, const char* graph)
{
    m_pImpl->symbol = symbol ? symbol : "";
    m_pImpl->graph = graph ? graph : "";
}

void TCModuleHarness::SetValidationAnswer(int answer) { m_pImpl->validationAnswer = answer; }

void TCModuleHarness::LeaveUnwired(PORTTYPE type, unsigned port)
{
    m_pImpl->unwired.insert({type == PT_INPUT ? PT_INPUT : PT_OUTPUT, port});
}

void TCModuleHarness::OfferType(unsigned input, const char* typeText, int tokenCount)
{
    m_pImpl->offered[input] = {TCString(typeText ? typeText : ""), tokenCount};
}

int TCModuleHarness::Start()
{
    Impl& d = *m_pImpl;
    if (d.state != Impl::State::FRESH)
        return -1;
    TCBaseModule& m = d.module;
    m.GetMessageA(4, reinterpret_cast<long>(&d));
    m.GetMessageA(18, reinterpret_cast<long>(static_cast<const char*>(d.symbol)));
    m.GetMessageA(19, reinterpret_cast<long>(static_cast<const char*>(d.graph)));
    m.GetMessageA(27, reinterpret_cast<long>(&Impl::OnModuleMessage));
    m.GetMessageA(38, d.wiringChecks ? 1 : 0);
    m.ComputeValidationData(CF_HOST);
    d.Wire();
    const int result = m.Init();
    if (result != 0) {
        d.state = Impl::State::REFUSED;
        return result;
    }
    m.GetMessageA(44, 5);
    m.GetMessageA(46, 1);
    d.state = Impl::State::RUNNING;
    return 0;
}

int TCModuleHarness::Cycle()
{
    if (m_pImpl->state != Impl::State::RUNNING)
        return -1;
    ++m_pImpl->cycles;
    m_pImpl->module.GetMessageA(32, 0);
    return m_pImpl->module.Fetch();
}

int TCModuleHarness::Run(int maxCycles)
{
    int result = -1;
    for (int i = 0; i < maxCycles; ++i)
        if ((result = Cycle()) != 0)
            break;
    return result;
}

int TCModuleHarness::Cycles() const { return m_pImpl->cycles; }

int TCModuleHarness::Stop()
{
    Impl& d = *m_pImpl;
    if (d.state != Impl::State::RUNNING)
        return -1;
    d.state = Impl::State::STOPPED;
    d.module.GetMessageA(46, 0);
    d.module.GetMessageA(44, 6);
    const int result = d.module.Done();
    d.TearDown();
    return result;
}

bool TCModuleHarness::IsRunning() const { return m_pImpl->state == Impl::State::RUNNING; }

long TCModuleHarness::Message(unsigned code, long param) { return m_pImpl->module.GetMessageA(code, param); }

const ERR_MSG* TCModuleHarness::ErrMsg()
{
    ERR_MSG* record = nullptr;
    m_pImpl->module.GetMessageA(16, reinterpret_cast<long>(&record));
    return record;
}

bool TCModuleHarness::IsWired(PORTTYPE type, unsigned port) const
{
    const auto& streams = type == PT_INPUT ? m_pImpl->producers : m_pImpl->collectors;
    return port < streams.size() && streams[port];
}

void TCModuleHarness::Impl::Wire()
{
    streamsLive = true;
    const int inputs = module.GetNoInput();
    producers.resize(size_t(inputs > 0 ? inputs : 0));
    for (int i = 0; i < inputs; ++i) {
        if (unwired.count({PT_INPUT, unsigned(i)}))
            continue;
        const char* own = nullptr;
        int tokens = 0;
        module.GetPortType(PT_INPUT, i, &own, tokens);
        const auto offer = offered.find(unsigned(i));
        const char* text = offer != offered.end() ? static_cast<const char*>(offer->second.first) : own;
        if (offer != offered.end())
            tokens = offer->second.second;
        if (!module.ValidatePortType(PT_INPUT, i, text ? text : "", tokens))
            continue;
        module.AddLine(PT_INPUT, i);
        auto* in = static_cast<TCIOStream*>(module.SetInputStream(i, 0, 3));
        if (!in)
            continue;
        producers[size_t(i)] = std::make_unique<TCIOStream>();
        producers[size_t(i)]->AddOutputStream(in);
    }
    const int outputs = module.GetNoOutput();
    collectors.resize(size_t(outputs > 0 ? outputs : 0));
    for (int o = 0; o < outputs; ++o) {
        if (unwired.count({PT_OUTPUT, unsigned(o)}))
            continue;
        module.AddLine(PT_OUTPUT, o);
        collectors[size_t(o)] = std::make_unique<TCIOStream>();
        collectors[size_t(o)]->SetInputStream(3);
        module.AddOutputStream(o, collectors[size_t(o)].get());
    }
}

void TCModuleHarness::Impl::TearDown()
{
    if (!streamsLive)
        return;
    streamsLive = false;
    module.DeleteStreams();
    for (auto& s : producers)
        if (s)
            s->DeleteStreams();
    for (auto& s : collectors)
        if (s)
            s->DeleteStreams();
}
