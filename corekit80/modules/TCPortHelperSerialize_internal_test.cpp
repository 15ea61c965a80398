// The port configuration through binary and XML archives and back.
#include <gtest/gtest.h>

#include <string>

#include "corekit80/archive/ArchiveParser_test.h"
#include "corekit80/modules/TCPortHelper.h"

namespace {

using H = TCPortHelper;

const char* Channel(PORTTYPE, unsigned port)
{
    static const char* const names[] = {"Ch 0", "Ch 1", "Ch 2", "Ch 3"};
    return port < 4 ? names[port] : "";
}

// Every port as "name|type text|token count|code|type index".
std::string Describe(const H& h)
{
    std::string out;
    for (PORTTYPE type : {PT_INPUT, PT_OUTPUT}) {
        out += type == PT_INPUT ? "in:" : "out:";
        for (unsigned p = 0; p < unsigned(h.GetPortCnt(type)); ++p) {
            int n = 0;
            unsigned index = 99;
            const char* text = h.GetPortType(type, p, &n);
            const unsigned long code = h.DataType(type, p, &index);
            out += std::string(" ") + h.GetPortName(type, p) + "|" + (text ? text : "(null)") + "|" +
                   std::to_string(n) + "|" + std::to_string(code) + "|" + std::to_string(index);
        }
        out += "\n";
    }
    return out;
}

TEST(TCPortHelperSerialize, PortsLoadBackAsTheyWereStored)
{
    H saved(nullptr);
    saved.SetPortRange(PT_INPUT, 1, 2, &Channel, "DOUBLE[]", "FREQ_DOMAIN", true);
    const unsigned multi = saved.SetPort(PT_INPUT, 3, "Param", "MultiType", nullptr, false);
    saved.AddMultitype(multi, "SWORD", "Mode");
    saved.AddMultitype(multi, "UBYTE[]", "Name\\ with\\ blanks");
    saved.SetPort(PT_OUTPUT, 0, "Out", H::DT_UNDEFINED);
    saved.AddLine(PT_OUTPUT, 0);
    saved.ValidatePortType(PT_OUTPUT, 0, "TYPEINFO{TypeInfo} SWORD[]{BIN}", 2);
    saved.SetErrorPort(2, "Errors");
    const std::string before = Describe(saved);

    for (bool xml : {false, true}) {
        ArchiveParser writer;
        writer.SaveAscii(xml ? ArchiveParser::modeXML : ArchiveParser::modeBinary);
        const archive_test::Bytes bytes =
            archive_test::Store(writer, [&](ArchiveParser& p) { saved.Serialize(&p); }, xml ? "a.tcx" : "a.tc2");
        H loaded(nullptr);
        loaded.SetPort(PT_INPUT, 6, "Gone", H::DT_SWORD);  // replaced by what is loaded
        EXPECT_FALSE(loaded.IsValidated());
        ArchiveParser reader;
        ASSERT_TRUE(archive_test::Load(reader, bytes));
        loaded.Serialize(&reader);
        EXPECT_TRUE(loaded.IsValidated());
        // The lines are not part of the configuration: the output shows its adopted type only
        // while it has one.
        loaded.AddLine(PT_OUTPUT, 0);
        EXPECT_EQ(Describe(loaded), before) << (xml ? "XML" : "binary");
    }
}

// Counts out of range are cut to what a section can number, and a port that points beyond
// the loaded table of data types has none.
TEST(TCPortHelperSerialize, DamagedCountsAndIndicesAreBounded)
{
    const struct {
        int inputs, outputs, types;
        unsigned index;
        int loadedInputs, loadedOutputs;
        bool typed;
    } cases[] = {
        {-5, 1, 1, 0, 0, 1, false},
        {1, 0x7FFFFFFF, 1, 0, 1, 0xFFFF, true},
        {1, 0, 1, 1, 1, 0, false},
        {1, 0, 0, 0, 1, 0, false},
        {1, 0, 1, 0xFFFFFFFFu, 1, 0, false},
    };
    for (const auto& c : cases) {
        ArchiveParser writer;
        const archive_test::Bytes bytes = archive_test::Store(writer, [&](ArchiveParser& p) {
            int inputs = c.inputs, outputs = c.outputs, types = c.types;
            p.Serialize(1, "No. of inputs", inputs);
            ArchiveParser* in = p.SubSection(2, "Input ports", false)->SubSection(0, "Input 0", false);
            int type = PT_INPUT;
            TCString name("In");
            unsigned index = c.index;
            in->Serialize(1, "Port type", type);
            in->Serialize(2, "Port name", name);
            in->Serialize(3, "Data type index", index);
            p.Serialize(3, "No. of outputs", outputs);
            p.Serialize(5, "No. of data types", types);
        });
        H loaded(nullptr);
        ArchiveParser reader;
        ASSERT_TRUE(archive_test::Load(reader, bytes));
        loaded.Serialize(&reader);
        EXPECT_EQ(loaded.GetPortCnt(PT_INPUT), c.loadedInputs) << c.inputs;
        EXPECT_EQ(loaded.GetPortCnt(PT_OUTPUT), c.loadedOutputs) << c.outputs;
        unsigned attached = 99;
        loaded.DataType(PT_INPUT, 0, &attached);
        EXPECT_EQ(attached == c.index, c.typed) << c.index;
    }
}

TEST(TCPortHelperSerialize, AnEmptyHelperStaysEmpty)
{
    H saved(nullptr);
    ArchiveParser writer;
    const archive_test::Bytes bytes = archive_test::Store(writer, [&](ArchiveParser& p) { saved.Serialize(&p); });
    H loaded(nullptr);
    ArchiveParser reader;
    ASSERT_TRUE(archive_test::Load(reader, bytes));
    loaded.Serialize(&reader);
    EXPECT_EQ(loaded.GetPortCnt(PT_INPUT) + loaded.GetPortCnt(PT_OUTPUT), 0);
    loaded.Serialize(nullptr);
}

}  // namespace
