// Gain: blocks times a factor that EXT may change.
#include "Gain.h"

#include <algorithm>
#include <cmath>

#include <corekit80/archive/ArchiveParser.h>
#include <corekit80/modules/TCExtPar.h>

namespace {

constexpr unsigned kExt = 0, kIn = 1, kOut = 0;

}  // namespace

Gain::Gain(int instance) : SampleModule(instance)
{
    TCPortHelper& h = Ports();
    DeclareParameters();
    h.SetPort(PT_INPUT, kIn, "In", "DOUBLE[]", nullptr, true);
    h.SetObligatoryInput(kIn);
    h.SetPort(PT_OUTPUT, kOut, "Out", "DOUBLE[]", nullptr, true);
    h.UseTypeInfoFromInput(kOut, kIn);
}

void Gain::DeclareParameters()
{
    TCString min, max;
    min.Format("%.17g", settings.minimum);
    max.Format("%.17g", settings.maximum);
    Ports().UseExtPar()->AddParam("Factor", m_factor, min, max);
}

int Gain::Init()
{
    const Settings& s = settings;
    if (!std::isfinite(s.minimum) || !std::isfinite(s.maximum) || s.minimum > s.maximum)
        return Refuse("the factor's bounds must be finite with Minimum not above Maximum");
    if (!std::isfinite(s.factor))
        return Refuse("the factor must be a finite number");
    m_factor = std::clamp(s.factor, s.minimum, s.maximum);
    // EXT is optional: the port helper would refuse to start without a line there, so a
    // run without one does without external parameters (Done brings them back).
    TCPortHelper& h = Ports();
    if (h.IsWired(PT_INPUT, kExt, TCPortHelper::LT_LINES))
        DeclareParameters();
    else
        h.SetExtPar(nullptr);
    return TCBaseModule::Init();
}

int Gain::Fetch()
{
    const int r = TCBaseModule::Fetch();
    if (r != 0)
        return r;
    TCPortHelper& h = Ports();
    if (h.IsExtParamsAvail() && h.ReadExtParam() < 0)
        Fail("the factor at EXT could not be read; the factor stays");
    if (h.ReadDblArray(kIn, m_values) <= 0)
        return 0;
    const double k = m_factor;
    for (double& v : m_values)
        v *= k;
    h.GetTypeInfo(kIn, &m_in);
    // The range follows the values; a negative factor turns it over (the port swaps it).
    h.SetTI_Range(kOut, m_in.Min * k, m_in.Max * k);
    return h.WriteDblArray(kOut, m_values) < 0 ? FailedWrite("a block") : 0;
}

int Gain::Done()
{
    if (!Ports().GetExtPar())
        DeclareParameters();
    return TCBaseModule::Done();
}

void Gain::Serialize(ArchiveParser& a)
{
    a.Serialize(1, "Factor", settings.factor);
    a.Serialize(2, "Minimum", settings.minimum);
    a.Serialize(3, "Maximum", settings.maximum);
    if (a.IsLoading())
        DeclareParameters();
}
