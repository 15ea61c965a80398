// The module base: every slot forwards to the port helper or answers its neutral value.
#include "corekit80/modules/TCBaseModule.h"

#include <cctype>
#include <cstring>

#include "corekit80/modules/TCPortHelper.h"

namespace {
// Names handed out for ports that do not exist; char* because the slot says so.
char g_noName[1] = "";

char* Writable(const char* name) { return name && *name ? const_cast<char*>(name) : g_noName; }
}

TCBaseModule::TCBaseModule(int instance) : m_instance(instance) {}

TCBaseModule::~TCBaseModule() { delete m_pPortHelper; }

const char* TCBaseModule::GetModuleName()
{
    if (m_name.IsEmpty()) {
        const char* base = GetModuleTypeName();
        if (!base)
            base = "";
        if (m_instance == 0) {
            m_name = base;
        } else {
            const size_t n = std::strlen(base);
            const bool digit = n > 0 && std::isdigit(static_cast<unsigned char>(base[n - 1]));
            m_name = TCString::FormatS(digit ? "%s %d" : "%s%d", base, int(m_instance));
        }
    }
    return m_name;
}

int TCBaseModule::GetTypeOfModule() { return 0; }

unsigned long TCBaseModule::GetFrameColor() { return 0; }

void TCBaseModule::AddLine(PORTTYPE type, int port)
{
    if (m_pPortHelper && port >= 0)
        m_pPortHelper->AddLine(type, unsigned(port));
}

void TCBaseModule::DelLine(PORTTYPE type, int port)
{
    if (m_pPortHelper && port >= 0)
        m_pPortHelper->DelLine(type, unsigned(port));
}

PORTTYPE TCBaseModule::OnLeftDblClk(unsigned, int, RET_PORT& port)
{
    port.portType = PT_OUTPUT;
    return PT_NONE;
}

long TCBaseModule::GetBaseAdr(PORTTYPE, int) { return 0; }

void TCBaseModule::SetBaseAdr(PORTTYPE, int, long) {}

void TCBaseModule::DelBaseAdr(PORTTYPE, int, long) {}

int TCBaseModule::GetNoInput() { return m_pPortHelper ? m_pPortHelper->GetPortCnt(PT_INPUT) : 0; }

int TCBaseModule::GetNoOutput() { return m_pPortHelper ? m_pPortHelper->GetPortCnt(PT_OUTPUT) : 0; }

char* TCBaseModule::GetInputName(int port)
{
    return Writable(m_pPortHelper && port >= 0 ? m_pPortHelper->GetPortName(PT_INPUT, unsigned(port)) : nullptr);
}

char* TCBaseModule::GetOutputName(int port)
{
    return Writable(m_pPortHelper && port >= 0 ? m_pPortHelper->GetPortName(PT_OUTPUT, unsigned(port)) : nullptr);
}

void TCBaseModule::GetPortType(PORTTYPE type, int port, const char** text, int& tokenCount)
{
    if (!m_pPortHelper || !text)
        return;
    tokenCount = 0;
    *text = port >= 0 ? m_pPortHelper->GetPortType(type, unsigned(port), &tokenCount) : nullptr;
}

int TCBaseModule::ValidatePortType(PORTTYPE type, int port, const char* text, int tokenCount)
{
    return m_pPortHelper && port >= 0 && m_pPortHelper->ValidatePortType(type, unsigned(port), text, tokenCount)
               ? 1
               : 0;
}

int TCBaseModule::Init() { return m_pPortHelper ? m_pPortHelper->Init() : 0; }

int TCBaseModule::Done() { return m_pPortHelper ? m_pPortHelper->Done() : 0; }

void* TCBaseModule::SetInputStream(int port, int unused, int precision)
{
    return m_pPortHelper && port >= 0 ? m_pPortHelper->SetInputStream(unsigned(port), unused, precision) : nullptr;
}

void TCBaseModule::AddOutputStream(int port, void* stream)
{
    if (m_pPortHelper && port >= 0)
        m_pPortHelper->AddOutputStream(unsigned(port), stream);
}

void TCBaseModule::DeleteStreams()
{
    if (m_pPortHelper)
        m_pPortHelper->DeleteStreams();
}

int TCBaseModule::ComputeValidationData(CALLED_FROM from)
{
    return m_pPortHelper ? m_pPortHelper->ComputeValidationData(from, true) : 0;
}

int TCBaseModule::BuildPropertyDialog(TCPropertyDialog&) { return 0; }

int TCBaseModule::OnEndShowDialog(int& result) { return result == 1 ? 1 : 0; }
