#pragma once

// Gain: multiplies each block by a factor that other modules may change while it runs. It
// binds its variables as ports and parameter (TCBaseModuleEx).
//
// Inputs:  0 "EXT" and 1 "DB", the external parameters, both optional: the one with a line
//          is used (the host's choice, message 45, when both have one). Their type text
//          "MultiType", published as "DOUBLE{Factor:MIN..MAX(VALUE)}" once validated;
//          segment 0 of a block there is the new factor, kept within Minimum..Maximum.
//          2 "In", type text "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}": the signal,
//          obligatory.
// Outputs: 0 "Out", type text "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}": the scaled blocks
//          with the input's type information; the range is scaled with the values, the
//          unit (and its factor) stays, since the values carry the gain.
// Settings (number, name): 1 "Factor", 2 "Minimum", 3 "Maximum" (the bounds of the factor).
// The property dialog keeps Minimum <= Factor <= Maximum.

#include "SampleModule.h"

class Gain : public SampleModuleEx {
public:
    struct Settings {
        double factor = 1;
        double minimum = -1e6;
        double maximum = 1e6;
    };

    explicit Gain(int instance);

    const char* GetModuleTypeName() override { return "Gain"; }
    int Init() override;
    int Fetch() override;
    void Serialize(ArchiveParser& section) override;
    void DescribeSettings(TCPropertyDialog& dialog) override;
    // After OK the parameter takes the bounds edited.
    int OnEndShowDialog(int& result) override;

    const Settings& GetSettings() const { return m_settings; }
    // The bounds go with the parameter: the ports and the parameter are bound again.
    void Configure(const Settings& settings);

private:
    // The ports and the parameter, with the bounds of the settings.
    void Bind();

    Settings m_settings;

    int m_selector = 0;  // which of EXT (1) and DB (2) carries the parameters
    double m_factor = 1;
    MyInternalVector<double> m_in;
    MyInternalVector<double> m_out;
};
