#pragma once

// Gain: multiplies each block by a factor that other modules may change while it runs.
//
// Inputs:  0 "EXT", type text "MultiType" until validated, then the parameter published
//          as "DOUBLE{Factor:MIN..MAX(VALUE)}": external parameters, optional; segment 0
//          of a block there is the new factor, kept within Minimum..Maximum.
//          1 "In", type text "TYPEINFO{TypeInfo} DOUBLE[]": the signal, obligatory.
// Outputs: 0 "Out", type text "TYPEINFO{TypeInfo} DOUBLE[]": the scaled blocks with the
//          input's type information; the range is scaled with them, the unit stays.
// Settings (number, name): 1 "Factor", 2 "Minimum", 3 "Maximum" (the bounds of the factor).

#include <corekit80/streams/TCTypeInfo.h>
#include <corekit80/types/TCArray.h>

#include "SampleModule.h"

class Gain : public SampleModule {
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
    int Done() override;
    void Serialize(ArchiveParser& section) override;

    Settings settings;

private:
    // The factor as an external parameter at EXT, with the bounds of the settings.
    void DeclareParameters();

    double m_factor = 1;
    TCArray<double, double> m_values;
    TCTypeInfo m_in;  // the input's last, kept to spare its name an allocation per block
};
