#pragma once

// CsvWriter: writes the blocks of its input to a CSV file, one row per value.
//
// Inputs:  0 "In", type text "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}", obligatory.
// Outputs: none.
// Settings (number, name): 1 "File name", 2 "Digits" (significant digits of the values,
//          1..17).
// The file opens with the type information of the first block as comment lines, then a
// row of column names and a row per value: the time in seconds since the first block
// (from the blocks' timestamps and sample rate; six decimals) and the value. Numbers are
// written alike in every locale:
//
//   # signal: Sine
//   # unit: V
//   # sample rate: 1000 1/s
//   time [s],Sine [V]
//   0.000000,0
//   0.001000,0.06279051953
//
// The file is written under a temporary name and renamed at Done; a run without blocks
// leaves no file. The host is told where it went by a notice message.

#include <corekit80/types/TCString.h>

#include "FileSink.h"

class CsvWriter : public FileSink {
public:
    struct Settings {
        TCString fileName = "signal.csv";
        int digits = 10;
    };

    explicit CsvWriter(int instance);

    const char* GetModuleTypeName() override { return "CsvWriter"; }
    void Serialize(ArchiveParser& section) override;
    void DescribeSettings(TCPropertyDialog& dialog) override;

    Settings settings;

private:
    const TCString& FileName() const override { return settings.fileName; }
    const char* CheckSettings() const override;
    void Restart() override;
    int Take() override;
    long long Count() const override { return m_rows; }
    void AppendHeader();
    void AppendRows();

    TCString m_text;
    long long m_rows = 0;
    bool m_started = false;  // the header is written
};
