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
