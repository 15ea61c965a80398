// What the sample modules share.
#include "SampleModule.h"

#include <corekit80/modules/TCError.h>

SampleModule::SampleModule(int instance) : TCBaseModule(instance) { m_pPortHelper = new TCPortHelper(this); }

int SampleModule::Refuse(const char* text)
{
    // No port is at fault: the port number ~0 is recorded as -1.
    return m_pPortHelper->SetErrMsg(-3, PT_INPUT, ~0u, -1, text, nullptr);
}

int SampleModule::Fail(const char* text) { return TCError(GetModuleName(), text); }

int SampleModule::FailedWrite(const char* what)
{
    TCString text;
    return Fail(text.Format("%s could not be written (code %d)", what, m_pPortHelper->GetErrMsg().code));
}
