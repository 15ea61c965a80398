// CsvWriter: blocks as rows of a CSV file.
#include "CsvWriter.h"

#include <corekit80/archive/ArchiveParser.h>
#include <corekit80/foundation/TCModuleMessage.h>
#include <corekit80/propertydialog/TCPropertyBuilders.h>

#include "SignalText.h"

namespace {

constexpr unsigned kIn = 0;

}  // namespace

CsvWriter::CsvWriter(int instance) : SampleModule(instance)
{
    Ports().SetPort(PT_INPUT, kIn, "In", "DOUBLE[]", nullptr, true);
    Ports().SetObligatoryInput(kIn);
}

int CsvWriter::Init()
{
    if (settings.fileName.IsEmpty())
        return Refuse("no file name is set");
    if (settings.digits < 1 || settings.digits > 17)
        return Refuse("the digits must lie in 1..17");
    m_rows = 0;
    m_started = false;
    m_time.Reset();
    // Opened last, so that a module that may not run leaves no file behind.
    const int r = TCBaseModule::Init();
    if (r != 0)
        return r;
    return m_file.Open(settings.fileName) ? 0 : Refuse(m_file.Error());
}

int CsvWriter::Fetch()
{
    const int r = TCBaseModule::Fetch();
    if (r != 0)
        return r;
    TCPortHelper& h = Ports();
    if (h.BlocksOnStream(PT_INPUT, kIn) == 0)
        return 0;
    if (h.ReadDblArray(kIn, m_values) < 0)
        return Fail("a block could not be read");
    // After a failed write the rest of the run is taken in and dropped.
    if (!m_file.IsOpen())
        return 0;
    h.GetTypeInfo(kIn, &m_in);
    m_text.Empty(false);
    if (!m_started)
        AppendHeader();
    AppendRows();
    if (!m_file.Write(m_text))
        return Fail(m_file.Error());
    return 0;
}

void CsvWriter::AppendHeader()
{
    m_started = true;
    const TCString name = SignalText::Line(m_in.Name);
    const TCString unit = SignalText::Unit(m_in.Unit);
    m_text.FormatAppend("# signal: %s\n# unit: %s\n# sample rate: %.15g 1/s\n", static_cast<const char*>(name),
                        unit.IsEmpty() ? "-" : static_cast<const char*>(unit), m_in.Samplerate);
    TCString column = static_cast<const char*>(m_in.Name);
    if (!unit.IsEmpty())
        column.FormatAppend(" [%s]", static_cast<const char*>(unit));
    m_text.FormatAppend("time [s],%s\n", static_cast<const char*>(SignalText::CsvField(column)));
}

void CsvWriter::AppendRows()
{
    const int n = int(m_values.GetSize());
    double step = 0;
    const double start = m_time.Start(m_in, n, &step);
    for (int i = 0; i < n; ++i)
        m_text.FormatAppend("%.6f,%.*g\n", start + i * step, settings.digits, m_values[i]);
    m_rows += n;
}

int CsvWriter::Done()
{
    const int r = TCBaseModule::Done();
    if (!m_file.IsOpen())
        return r;
    if (m_rows == 0) {
        m_file.Discard();
        return r;
    }
    if (!m_file.Commit())
        return Fail(m_file.Error());
    TCModuleMessage::Notice(GetModuleName(), "wrote %s (%lld rows)", m_file.Path(), m_rows);
    return r;
}

void CsvWriter::Serialize(ArchiveParser& a)
{
    a.Serialize(1, "File name", settings.fileName);
    a.Serialize(2, "Digits", settings.digits);
}

void CsvWriter::DescribeSettings(TCPropertyDialog& dialog)
{
    TCPropertyString(dialog, settings.fileName, "File name").Min(1);
    TCPropertySpin(dialog, settings.digits, "Digits").Min(1).Max(17);
}
