// CsvWriter: blocks as rows of a CSV file.
#include "CsvWriter.h"

#include <corekit80/archive/ArchiveParser.h>
#include <corekit80/propertydialog/TCPropertyBuilders.h>

#include "SignalText.h"

CsvWriter::CsvWriter(int instance) : FileSink(instance, "rows") {}

const char* CsvWriter::CheckSettings() const
{
    return settings.digits < 1 || settings.digits > 17 ? "the digits must lie in 1..17" : nullptr;
}

void CsvWriter::Restart()
{
    m_rows = 0;
    m_started = false;
}

int CsvWriter::Take()
{
    m_text.Empty(false);
    if (!m_started)
        AppendHeader();
    AppendRows();
    return m_file.Write(m_text) ? 0 : Fail(m_file.Error());
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
