// Generator: sine, ramp and noise blocks, one packet per run.
#include "Generator.h"

#include <strings.h>

#include <cmath>
#include <numbers>

#include <corekit80/archive/ArchiveParser.h>
#include <corekit80/propertydialog/TCPropertyBuilders.h>
#include <corekit80/propertydialog/TCPropertyComboBuilders.h>
#include <corekit80/propertydialog/TCPropertyDialog.h>

namespace {

// Large enough for any sensible block, small enough that a typing error in the settings
// cannot ask for gigabytes.
constexpr int kMaxBlockSize = 1 << 20;

constexpr const char* kWaveforms[] = {"sine", "ramp", "noise"};

// Whether the dialog's waveform has a frequency, or a seed.
bool HasFrequency(const void* waveform)
{
    return Generator::WaveformOf(*static_cast<const TCString*>(waveform)) != Generator::NOISE;
}
bool HasSeed(const void* waveform)
{
    return Generator::WaveformOf(*static_cast<const TCString*>(waveform)) == Generator::NOISE;
}

// Tells the user at once of a unit text that is none, rather than only when Init refuses it.
int CheckUnit(const void* unit, const void* dialog)
{
    const TCString& text = *static_cast<const TCString*>(unit);
    TCSI_Unit parsed;
    if (!parsed.FromString(text)) {
        TCString message;
        TCPropertyDialogSetErrorMessage(*static_cast<TCPropertyDialog*>(const_cast<void*>(dialog)), "Unit",
                                        message.Format("'%s' is not a unit text", static_cast<const char*>(text)));
    }
    return 0;
}

}  // namespace

int Generator::WaveformOf(const char* name)
{
    for (int w = 0; w < 3; ++w)
        if (strcasecmp(name, kWaveforms[w]) == 0)
            return w;
    return -1;
}

Generator::Generator(int instance) : SampleModule(instance)
{
    TCPortHelper& h = Ports();
    h.SetPort(PT_OUTPUT, 0, "Out", "DOUBLE[]", nullptr, true);
    // Every field is set here, block by block; none is filled in by the port helper.
    h.UseAutoTypeInfo(0, false, false, false, false, false, false);
    h.BehaviourAsSource(TCPortHelper::SB_ONCE);
}

int Generator::Init()
{
    const Settings& s = settings;
    const int w = WaveformOf(s.waveform);
    TCString text;
    if (w < 0)
        return Refuse(text.Format("unknown waveform '%s' (sine, ramp or noise)", static_cast<const char*>(s.waveform)));
    if (!std::isfinite(s.rate) || !(s.rate > 0))
        return Refuse(text.Format("the rate must be above 0 samples/s, not %g", s.rate));
    if (!std::isfinite(s.amplitude) || !std::isfinite(s.frequency))
        return Refuse("amplitude and frequency must be finite numbers");
    if (s.blockSize < 1 || s.blockSize > kMaxBlockSize)
        return Refuse(text.Format("the block size must lie in 1..%d, not %d", kMaxBlockSize, s.blockSize));
    if (s.blockCount < 0)
        return Refuse(text.Format("the block count must be 0 (endless) or more, not %d", s.blockCount));
    if (!m_unit.FromString(s.unit))
        return Refuse(text.Format("the unit '%s' is not a unit text", static_cast<const char*>(s.unit)));
    m_waveform = Waveform(w);
    m_block = m_sample = 0;
    m_noise = uint64_t(uint32_t(s.seed));
    const double turn = 2 * std::numbers::pi * s.frequency / s.rate;
    m_turnCos = std::cos(turn);
    m_turnSin = std::sin(turn);
    m_values.assign(size_t(s.blockSize), 0.0);
    return TCBaseModule::Init();
}

int Generator::Fetch()
{
    const int r = TCBaseModule::Fetch();
    if (r != 0)
        return r;
    TCPortHelper& h = Ports();
    const Settings& s = settings;
    if (m_block == 0) {
        m_start = h.SyncTime();
        h.SetTI_SignalName(0, s.signalName);
        h.SetTI_Unit(0, m_unit);
        h.SetTI_Samplerate(0, s.rate);
        h.SetTI_Range(0, -std::fabs(s.amplitude), std::fabs(s.amplitude));
    }
    const bool first = m_block == 0;
    const bool last = s.blockCount > 0 && m_block + 1 >= s.blockCount;
    h.SetTI_Status(0, first ? (last ? TCBS_COMPLETE : TCBS_START) : (last ? TCBS_STOP : TCBS_BUSY));
    h.SetTI_Timestamp(0, m_start + double(m_sample) * 1000.0 / s.rate);
    Fill(m_values.data(), s.blockSize);
    ++m_block;
    m_sample += s.blockSize;
    if (last)
        h.SetReadyFlag(false);
    if (h.WriteDblData(0, unsigned(s.blockSize), m_values.data()) < 0) {
        h.SetReadyFlag(false);  // the packet is broken: the source ends
        return FailedWrite("a block");
    }
    return 0;
}

void Generator::Fill(double* values, int n)
{
    const Settings& s = settings;
    if (m_waveform == NOISE) {
        for (int i = 0; i < n; ++i)
            values[i] = s.amplitude * NextNoise();
        return;
    }
    // Phases from the sample number, not summed up, so that they do not drift.
    if (m_waveform == RAMP) {
        for (int i = 0; i < n; ++i) {
            double phase = s.frequency * double(m_sample + i) / s.rate;
            phase -= std::floor(phase);
            values[i] = s.amplitude * (2 * phase - 1);
        }
        return;
    }
    // A rotation instead of a sin() per value, set again from the sample number after a
    // million samples, so that it does not drift (it stays within about 1e-11 of sin()).
    if (m_block == 0 || m_rotated >= (1 << 20)) {
        double phase = s.frequency * double(m_sample) / s.rate;
        phase -= std::floor(phase);
        m_sin = std::sin(2 * std::numbers::pi * phase);
        m_cos = std::cos(2 * std::numbers::pi * phase);
        m_rotated = 0;
    }
    const double dc = m_turnCos, ds = m_turnSin;
    for (int i = 0; i < n; ++i) {
        values[i] = s.amplitude * m_sin;
        const double next = m_sin * dc + m_cos * ds;
        m_cos = m_cos * dc - m_sin * ds;
        m_sin = next;
    }
    m_rotated += n;
}

double Generator::NextNoise()
{
    // splitmix64: small, fast and fully specified.
    uint64_t z = (m_noise += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return double(z >> 11) * 0x1p-52 - 1.0;
}

void Generator::Serialize(ArchiveParser& a)
{
    Settings& s = settings;
    a.Serialize(1, "Waveform", s.waveform);
    a.Serialize(2, "Rate", s.rate);
    a.Serialize(3, "Amplitude", s.amplitude);
    a.Serialize(4, "Frequency", s.frequency);
    a.Serialize(5, "Block size", s.blockSize);
    a.Serialize(6, "Block count", s.blockCount);
    a.Serialize(7, "Signal name", s.signalName);
    a.Serialize(8, "Unit", s.unit);
    a.Serialize(9, "Seed", s.seed);
}

void Generator::DescribeSettings(TCPropertyDialog& dialog)
{
    Settings& s = settings;
    TCPropertyCombo(dialog, s.waveform, "Waveform", "sine\nramp\nnoise", true);
    TCPropertyDbl(dialog, s.rate, "Rate").Min(1e-3).Max(1e9).SetAdditionalCaption("samples/s");
    TCPropertyDbl(dialog, s.amplitude, "Amplitude").Min(0.0).Max(1e9);
    TCPropertyDbl(dialog, s.frequency, "Frequency").Min(0.0).Max(1e9).SetAdditionalCaption("Hz")
        .IsEnabled(HasFrequency, &s.waveform);
    TCPropertyInt(dialog, s.blockSize, "Block size").Min(1).Max(kMaxBlockSize).SetAdditionalCaption("values");
    TCPropertyInt(dialog, s.blockCount, "Block count").Min(0).SetAdditionalCaption("0: endless");
    TCPropertyString(dialog, s.signalName, "Signal name");
    TCPropertyString(dialog, s.unit, "Unit").Callback(CheckUnit, &s.unit, &dialog);
    TCPropertyInt(dialog, s.seed, "Seed").IsEnabled(HasSeed, &s.waveform);
}
