// What a module author does with the library before any stream is involved: read
// settings text, keep values in arrays and maps, format numbers with units and
// write a log. Prints what it did.
#include <corekit80/corekit80.h>

#include <cstdio>

namespace {

const char kSettings[] =
    "Gain = 2.5\n"
    "Channels = 4\n"
    "Unit = kg m^2 s^-2\n"
    "Name = energy meter\n";

void Print(const char* label, const TCString& text)
{
    std::printf("%-24s%s\n", label, static_cast<const char*>(text));
}

} // namespace

int main()
{
    // Parameter text: name = value lines, names without regard to case.
    double gain = 0;
    int channels = 0;
    TCString unitText, name;
    ParseParam(kSettings, "gain", gain);
    ParseParam(kSettings, "CHANNELS", channels);
    ParseParam(kSettings, "unit", unitText);
    ParseParam(kSettings, "name", name);
    Print("module name:", name);

    // One scaled sample per channel, kept in an array.
    TCArray<double, double> samples;
    for (int i = 0; i < channels; ++i)
        samples.Add(gain * (i + 1) / 3.0);

    // Units are read, checked and printed back in SI form.
    TCSI_Unit unit;
    TCString siText;
    if (unit.FromString(unitText))
        unit.GetString(siText);
    Print("unit as read:", unitText);
    Print("unit in SI form:", siText);

    // Numbers become text the same way everywhere, whatever the locale.
    TCMap<int, int, TCString, const TCString&> byChannel;
    for (int i = 0; i < samples.GetSize(); ++i) {
        char number[1024];
        ftoa(samples[i], number, SF_SIGNIFICANT, false, siText, 0, 4);
        byChannel[i] = number;
    }
    for (int i = 0; i < channels; ++i) {
        TCString value, label;
        byChannel.Lookup(i, value);
        label.Format("channel %d:", i);
        Print(label, value);
    }

    // Control characters survive a round trip through their escaped form.
    TCString quoted, back;
    QuoteControlChar(quoted, TCString("line 1\nline 2\t(end)"));
    UnQuoteEscapeChar(back, quoted);
    Print("escaped text:", quoted);
    Print("round trip intact:", back == "line 1\nline 2\t(end)" ? "yes" : "no");
    return 0;
}
