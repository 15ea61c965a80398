// What a module author does with the library: read settings text, keep values in
// arrays and maps, format numbers with units, check the type of a line, send a block
// from one output to two inputs and show it as XML. Prints what it did.
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

// One output port feeding two inputs: the host checks the line's type texts, the
// producer writes one block, both readers see the same block, one as values and one as
// the block's XML form.
void StreamDemo()
{
    const char* outType = "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}";
    const char* inType = "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}";
    const bool accepted = TCPortHelper::DoesDataTypeMatch(inType, 2, outType, 2, nullptr);
    Print("line type accepted:", accepted ? "yes" : "no");
    const bool mixed = TCPortHelper::DoesDataTypeMatch(inType, 2, "TYPEINFO{TypeInfo} SWORD[]{BIN}", 2, nullptr);
    Print("integer line accepted:", mixed ? "yes" : "no");

    TCIOStream output, toValues, toXML;
    output.AddOutputStream(toValues.SetInputStream(0));
    output.AddOutputStream(toXML.SetInputStream(0));

    TCTypeInfo ti;
    ti.Name = "voltage";
    ti.Samplerate = 1000;
    ti.State = TCBS_COMPLETE;
    const double samples[] = {0.5, 1.25, -2};
    output.SetTI(&ti, false);
    output.WriteDblVec(samples, 3);

    double read[8];
    int n = 8;
    toValues.ReadDblVec(read, &n);
    TCString values;
    for (int i = 0; i < n; ++i) {
        TCString one;
        values += one.Format(i ? " %g" : "%g", read[i]);
    }
    Print("values at input 1:", values);

    TCXML xml;
    TCString text;
    if (toXML.StreamToXML(xml, false, 0) && xml.GetNodeXML(xml.GetDocument(), text))
        Print("block at input 2:", text);
    output.DeleteStreams();
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

    StreamDemo();
    return 0;
}
