#pragma once

// SvgPlot: draws the signal at its input as an SVG picture.
//
// Inputs:  0 "In", type text "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}", obligatory.
// Outputs: none.
// Settings (number, name): 1 "File name", 2 "Width", 3 "Height" (pixels; 200..4000 and
//          150..3000).
// The picture has the signal name as its title, a time axis in seconds and a value axis
// named with the signal name and unit, both with ticks at round numbers and a grid, and
// the samples as one line. A long signal is cut down to the smallest and largest value of
// each short stretch, so that every peak shows and the file stays small. The file is
// written under a temporary name and renamed at Done; a run without values leaves no
// file. The host is told where it went by a notice message.

#include <corekit80/types/TCString.h>

#include "Envelope.h"
#include "FileSink.h"

class SvgPlot : public FileSink {
public:
    struct Settings {
        TCString fileName = "signal.svg";
        int width = 800;
        int height = 450;
    };

    explicit SvgPlot(int instance);

    const char* GetModuleTypeName() override { return "SvgPlot"; }
    void Serialize(ArchiveParser& section) override;
    void DescribeSettings(TCPropertyDialog& dialog) override;

    Settings settings;

private:
    const TCString& FileName() const override { return settings.fileName; }
    const char* CheckSettings() const override;
    void Restart() override { m_envelope.Clear(); }
    int Take() override;
    long long Count() const override { return static_cast<long long>(m_envelope.Count()); }
    bool Finish() override;

    Envelope m_envelope;
    TCString m_name;  // of the first block
    TCString m_unit;
};
