// SvgPlot: the signal as an SVG picture.
#include "SvgPlot.h"

#include <corekit80/archive/ArchiveParser.h>
#include <corekit80/foundation/TCModuleMessage.h>
#include <corekit80/propertydialog/TCPropertyBuilders.h>

#include "SignalText.h"
#include "SvgPicture.h"

namespace {

constexpr unsigned kIn = 0;
// Two points per bucket: about two per pixel column of a wide picture.
constexpr int kBuckets = 2000;

}  // namespace

SvgPlot::SvgPlot(int instance) : SampleModule(instance), m_envelope(kBuckets)
{
    Ports().SetPort(PT_INPUT, kIn, "In", "DOUBLE[]", nullptr, true);
    Ports().SetObligatoryInput(kIn);
}

int SvgPlot::Init()
{
    if (settings.fileName.IsEmpty())
        return Refuse("no file name is set");
    if (settings.width < 200 || settings.width > 4000 || settings.height < 150 || settings.height > 3000)
        return Refuse("the picture must be 200..4000 pixels wide and 150..3000 high");
    m_envelope.Clear();
    m_time.Reset();
    // Opened last, so that a module that may not run leaves no file behind.
    const int r = TCBaseModule::Init();
    if (r != 0)
        return r;
    return m_file.Open(settings.fileName) ? 0 : Refuse(m_file.Error());
}

int SvgPlot::Fetch()
{
    const int r = TCBaseModule::Fetch();
    if (r != 0)
        return r;
    TCPortHelper& h = Ports();
    if (h.BlocksOnStream(PT_INPUT, kIn) == 0)
        return 0;
    if (h.ReadDblArray(kIn, m_values) < 0)
        return Fail("a block could not be read");
    h.GetTypeInfo(kIn, &m_in);
    if (m_envelope.Count() == 0) {
        m_name = m_in.Name;
        m_unit = SignalText::Unit(m_in.Unit);
    }
    const int n = int(m_values.GetSize());
    double step = 0;
    const double start = m_time.Start(m_in, n, &step);
    for (int i = 0; i < n; ++i)
        m_envelope.Add(start + i * step, m_values[i]);
    return 0;
}

int SvgPlot::Done()
{
    const int r = TCBaseModule::Done();
    if (!m_file.IsOpen())
        return r;
    if (m_envelope.Count() == 0) {
        m_file.Discard();
        return r;
    }
    if (!m_file.Write(SvgPicture::Draw(m_envelope, m_name, m_unit, settings.width, settings.height)) ||
        !m_file.Commit())
        return Fail(m_file.Error());
    TCModuleMessage::Notice(GetModuleName(), "wrote %s (%lld values)", m_file.Path(),
                            static_cast<long long>(m_envelope.Count()));
    return r;
}

void SvgPlot::Serialize(ArchiveParser& a)
{
    a.Serialize(1, "File name", settings.fileName);
    a.Serialize(2, "Width", settings.width);
    a.Serialize(3, "Height", settings.height);
}

void SvgPlot::DescribeSettings(TCPropertyDialog& dialog)
{
    TCPropertyString(dialog, settings.fileName, "File name").Min(1);
    TCPropertyInt(dialog, settings.width, "Width").Min(200).Max(4000).SetAdditionalCaption("pixels");
    TCPropertyInt(dialog, settings.height, "Height").Min(150).Max(3000).SetAdditionalCaption("pixels");
}
