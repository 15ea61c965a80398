// What the sample modules share.
#include "SampleModule.h"

#include <corekit80/modules/TCError.h>
#include <corekit80/propertydialog/TCPropertyDialog.h>
#include <corekit80/types/TCString.h>

template <class Base>
Sample<Base>::Sample(int instance) : Base(instance)
{
    if (!this->m_pPortHelper)
        this->m_pPortHelper = new TCPortHelper(this);
}

template <class Base>
int Sample<Base>::BuildPropertyDialog(TCPropertyDialog&)
{
    TCPropertyDialog& dialog = TCCreatePropertyDialog(this, this->GetModuleName(), this->GetModuleTypeName());
    DescribeSettings(dialog);
    const int result = TCShowPropertyDialog(dialog, 0);
    TCDestroyPropertyDialog(dialog);
    return result;
}

template <class Base>
int Sample<Base>::Refuse(const char* text)
{
    // No port is at fault: the port number ~0 is recorded as -1.
    return Ports().SetErrMsg(-3, PT_INPUT, ~0u, -1, text, nullptr);
}

template <class Base>
int Sample<Base>::Fail(const char* text)
{
    return TCError(this->GetModuleName(), text);
}

template <class Base>
int Sample<Base>::FailedWrite(const char* what)
{
    TCString text;
    return Fail(text.Format("%s could not be written (code %d)", what, Ports().GetErrMsg().code));
}

template class Sample<TCBaseModule>;
template class Sample<TCBaseModuleEx>;
