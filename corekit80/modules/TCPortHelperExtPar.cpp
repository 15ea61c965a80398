// The inputs of external parameters: making them, selecting one, checking their lines, reading them.
#include "corekit80/modules/TCExtPar.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"

bool TCPortHelper::TCPortHelperImpl::IsExtInput(unsigned input) const
{
    const PORT* p = Port(PT_INPUT, input);
    return p && (CodeOf(p) & DT_MULTITYPE) && (p->name == "EXT" || p->name == "DB");
}

TCExtPar* TCPortHelper::UseExtPar()
{
    TCPortHelperImpl& d = *m_pImpl;
    if (!d.extPar)
        d.extPar = new TCExtPar;
    d.extPar->ClearParam();
    d.selector = nullptr;
    SetExtPorts(false);
    return d.extPar;
}

TCExtPar* TCPortHelper::UseExtPar(int* selector)
{
    TCExtPar* ext = SetExtPar(selector);
    if (ext)
        SetExtPorts(true);
    return ext;
}

TCExtPar* TCPortHelper::SetExtPar(int* selector)
{
    TCPortHelperImpl& d = *m_pImpl;
    d.selector = selector;
    if (!selector) {
        delete d.extPar;
        d.extPar = nullptr;
        return nullptr;
    }
    if (!d.extPar)
        d.extPar = new TCExtPar;
    d.extPar->ClearParam();
    return d.extPar;
}

void TCPortHelper::SetExtPorts(bool both)
{
    TCPortHelperImpl& d = *m_pImpl;
    d.Reach(PT_INPUT, both ? 1 : 0);
    const char* names[] = {"EXT", "DB"};
    for (unsigned input = 0; input < (both ? 2u : 1u); ++input)
        if (!d.inputs[int(input)].HasType())
            SetPort(PT_INPUT, input, names[input], "MultiType", nullptr, false);
}

void TCPortHelper::SetExtParVar(int* selector) { m_pImpl->selector = selector; }

TCExtPar* TCPortHelper::GetExtPar() const { return m_pImpl->extPar; }

bool TCPortHelper::IsExtWiredOK()
{
    TCPortHelperImpl& d = *m_pImpl;
    if (!d.extPar)
        return true;
    if (!d.IsExtInput(0)) {
        SetErrMsg(-3, PT_INPUT, 0, -1);
        return false;
    }
    const int selected = d.Selected();
    if (d.wiringChecks && selected == 1 && d.inputs[0].lines == 0) {
        SetErrMsg(-3, PT_INPUT, 0, -1);
        return false;
    }
    if (!d.selector)
        return true;
    if (!d.IsExtInput(1) || (d.wiringChecks && selected == 2 && d.inputs[1].lines == 0)) {
        SetErrMsg(-3, PT_INPUT, 1, -1);
        return false;
    }
    return true;
}

bool TCPortHelper::IsExtParamsAvail()
{
    const TCPortHelperImpl& d = *m_pImpl;
    const int selected = d.Selected();
    return d.extPar && (selected == 1 || selected == 2) && d.IsExtInput(unsigned(selected - 1)) &&
           d.HoldsBlock(unsigned(selected - 1));
}

int TCPortHelper::ReadExtParam()
{
    if (!IsExtParamsAvail())
        return 0;
    // ReadParams has put a negative result in the error record at that input already.
    return m_pImpl->extPar->ReadParams(this, unsigned(m_pImpl->Selected() - 1));
}
