#pragma once

// Generator: a source of sine, ramp or noise signals, block by block.
//
// Inputs:  none.
// Outputs: 0 "Out", type text "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}": Block size
//          values per block, with the signal name, the unit, the sample rate, the range
//          -Amplitude..Amplitude and a timestamp that advances with the samples.
// Settings (number, name): 1 "Waveform" (text: sine, ramp or noise), 2 "Rate" (samples
//          per second), 3 "Amplitude", 4 "Frequency" (Hz; sine and ramp), 5 "Block size",
//          6 "Block count" (0: endless), 7 "Signal name", 8 "Unit" (a unit text such as V
//          or m s^-2), 9 "Seed" (noise).
// The property dialog edits the settings; Frequency is enabled for sine and ramp, Seed for
// noise, and a unit text that is none is told at once.
// A run is one packet: START, BUSY..., STOP over the block count, or one COMPLETE block.
// The source ends after its last block.

#include <cstdint>
#include <vector>

#include <corekit80/foundation/TCSI_Unit.h>
#include <corekit80/types/TCString.h>

#include "SampleModule.h"

class Generator : public SampleModule {
public:
    struct Settings {
        TCString waveform = "sine";
        double rate = 1000;
        double amplitude = 1;
        double frequency = 10;
        int blockSize = 100;
        int blockCount = 10;
        TCString signalName = "Signal";
        TCString unit = "V";
        int seed = 1;
    };

    explicit Generator(int instance);

    const char* GetModuleTypeName() override { return "Generator"; }
    int GetTypeOfModule() override { return 1; }
    int Init() override;
    int Fetch() override;
    void Serialize(ArchiveParser& section) override;
    void DescribeSettings(TCPropertyDialog& dialog) override;

    Settings settings;

    enum Waveform { SINE, RAMP, NOISE };
    // The waveform a name stands for, in any case; -1 for none.
    static int WaveformOf(const char* name);

private:

    void Fill(double* values, int n);
    // The next value of the noise: uniform in [-1, 1), the same on every platform.
    double NextNoise();

    Waveform m_waveform = SINE;
    TCSI_Unit m_unit;
    int64_t m_block = 0;
    int64_t m_sample = 0;
    double m_start = 0;
    uint64_t m_noise = 0;
    // The sine turns by a fixed angle per sample (its cosine and sine set at Init): the next
    // value is the point (m_cos, m_sin) rotated, m_rotated samples since it was last set
    // from the sample number.
    double m_turnCos = 1, m_turnSin = 0;
    double m_cos = 1, m_sin = 0;
    int64_t m_rotated = 0;
    std::vector<double> m_values;
};
