// SvgPlot: the signal as an SVG picture.
#include "SvgPlot.h"

#include <corekit80/archive/ArchiveParser.h>
#include <corekit80/propertydialog/TCPropertyBuilders.h>

#include "SignalText.h"
#include "SvgPicture.h"

namespace {

// Two points per bucket: about two per pixel column of a wide picture.
constexpr int kBuckets = 2000;

}  // namespace

SvgPlot::SvgPlot(int instance) : FileSink(instance, "values"), m_envelope(kBuckets) {}

const char* SvgPlot::CheckSettings() const
{
    if (settings.width < 200 || settings.width > 4000 || settings.height < 150 || settings.height > 3000)
        return "the picture must be 200..4000 pixels wide and 150..3000 high";
    return nullptr;
}

int SvgPlot::Take()
{
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

bool SvgPlot::Finish()
{
    return m_file.Write(SvgPicture::Draw(m_envelope, m_name, m_unit, settings.width, settings.height));
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
