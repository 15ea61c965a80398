// Gain: blocks times a factor that EXT may change.
#include "Gain.h"

#include <algorithm>
#include <cmath>

#include <corekit80/archive/ArchiveParser.h>
#include <corekit80/propertydialog/TCPropertyBuilders.h>
#include <corekit80/streams/TCTypeInfo.h>

Gain::Gain(int instance) : SampleModuleEx(instance) { Bind(); }

void Gain::Configure(const Settings& settings)
{
    m_settings = settings;
    Bind();
}

void Gain::Bind()
{
    RemoveAllInfo();
    InputExt(m_selector);
    Input("In", m_in);
    Obligatory(&m_in, true);
    Output("Out", m_out);
    Parameter("Factor", m_factor, m_settings.minimum, m_settings.maximum);
}

int Gain::Init()
{
    const Settings& s = m_settings;
    if (!std::isfinite(s.minimum) || !std::isfinite(s.maximum) || s.minimum > s.maximum)
        return Refuse("the factor's bounds must be finite with Minimum not above Maximum");
    if (!std::isfinite(s.factor))
        return Refuse("the factor must be a finite number");
    m_factor = std::clamp(s.factor, s.minimum, s.maximum);
    // Neither parameter input needs a line: unless the selected one has one, the one that
    // has a line is used, or none.
    auto wired = [this](unsigned input) { return Ports().IsWired(PT_INPUT, input, TCPortHelper::LT_LINES); };
    if (!(m_selector == 1 && wired(0)) && !(m_selector == 2 && wired(1)))
        m_selector = wired(0) ? 1 : wired(1) ? 2 : 0;
    return SampleModuleEx::Init();
}

int Gain::Fetch()
{
    const int parameters = ReadParameters();
    if (parameters > 0)
        AcceptParameters();
    else if (parameters < 0)
        Fail("the factor at EXT could not be read; the factor stays");
    if (GetNumberOfBlocks(&m_in) == 0)
        return SampleModuleEx::Fetch();
    if (Read(&m_in) < 0)
        return Fail("a block could not be read");
    const double k = m_factor;
    m_out.SetSize(m_in.GetSize());
    for (int i = 0; i < m_in.GetSize(); ++i)
        m_out[i] = m_in[i] * k;
    CopyTypeInfo(&m_in, &m_out);
    // The range follows the values; a negative factor turns it over (the port swaps it).
    TCTypeInfo& ti = *OutputTypeInfo(&m_out);
    ti.Min *= k;
    ti.Max *= k;
    return Write(&m_out) < 0 ? FailedWrite("a block") : SampleModuleEx::Fetch();
}

void Gain::Serialize(ArchiveParser& a)
{
    a.Serialize(1, "Factor", m_settings.factor);
    a.Serialize(2, "Minimum", m_settings.minimum);
    a.Serialize(3, "Maximum", m_settings.maximum);
    if (a.IsLoading())
        Bind();  // the parameter's bounds
}

void Gain::DescribeSettings(TCPropertyDialog& dialog)
{
    Settings& s = m_settings;
    TCPropertyDbl(dialog, s.factor, "Factor").Min(&s.minimum).Max(&s.maximum);
    TCPropertyDbl(dialog, s.minimum, "Minimum").Max(&s.factor);
    TCPropertyDbl(dialog, s.maximum, "Maximum").Min(&s.factor);
}

int Gain::OnEndShowDialog(int& result)
{
    if (result == 1)
        Bind();
    return SampleModuleEx::OnEndShowDialog(result);
}
