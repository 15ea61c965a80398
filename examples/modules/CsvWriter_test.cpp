// The CSV writer run by the module harness: the file against a golden text, in any locale.
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

#include <corekit80/foundation/TCSI_Unit.h>
#include <corekit80/modules/TCModuleHarness.h>
#include <corekit80/streams/TCTypeInfo.h>

#include "CsvWriter.h"
#include "SampleFiles_test.h"

namespace {

using namespace sample_test;

// Two blocks 1.5 s apart at 4 values/s, the second without a timestamp, then a block that
// follows on from the rows before.
const char* const kGolden =
    "# signal: Probe, \"A\"\n"
    "# unit: m s^-2\n"
    "# sample rate: 4 1/s\n"
    "time [s],\"Probe, \"\"A\"\" [m s^-2]\"\n"
    "0.000000,0.1\n"
    "0.250000,-2.5\n"
    "1.500000,1e-07\n"
    "1.750000,12345.67891\n"
    "1.000000,-0\n";

// Runs a writer over the blocks above; the file's text, the file found while it ran.
std::string WriteGolden(const std::string& path, std::string* whileRunning)
{
    CsvWriter csv(0);
    csv.settings.fileName = path.c_str();
    TCModuleHarness host(csv);
    EXPECT_EQ(host.Start(), 0);
    TCTypeInfo ti;
    ti.Name = "Probe, \"A\"";
    ti.Unit.FromString("m s^-2");
    ti.Samplerate = 4;
    ti.Timestamp = 1.7e12;
    const double a[] = {0.1, -2.5}, b[] = {1e-7, 12345.678912345}, c[] = {-0.0};
    host.Write(0, a, 2, &ti);
    ti.Timestamp += 1500;
    host.Write(0, b, 2, &ti);
    ti.Timestamp = 0;
    host.Write(0, c, 1, &ti);
    host.Run(10);
    *whileRunning = ReadFile(path);
    EXPECT_TRUE(std::filesystem::exists(path + ".part"));
    host.Stop();
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    EXPECT_EQ(host.ModuleMessages().GetSize(), 1);  // where the file went
    return ReadFile(path);
}

TEST(CsvWriter, TheFileIsTheGoldenOneInEveryLocale)
{
    ScratchDir dir;
    const std::string path = dir.File("out.csv");
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        const std::string old = std::setlocale(LC_ALL, nullptr);
        ASSERT_TRUE(std::setlocale(LC_ALL, locale)) << locale << " is not installed";
        std::string during;
        const std::string text = WriteGolden(path, &during);
        std::setlocale(LC_ALL, old.c_str());
        EXPECT_EQ(text, kGolden) << locale;
        EXPECT_EQ(during, locale[0] == 'C' ? "" : kGolden) << "a file of that name is replaced only at Done";
    }
}

TEST(CsvWriter, NoBlocksNoFileAndAFolderThatIsNotThereIsRefused)
{
    ScratchDir dir;
    {
        CsvWriter csv(0);
        csv.settings.fileName = dir.File("none.csv").c_str();
        TCModuleHarness host(csv);
        ASSERT_EQ(host.Start(), 0);
        host.Run(3);
        host.Stop();
        EXPECT_TRUE(std::filesystem::is_empty(dir.path));
    }
    CsvWriter csv(0);
    csv.settings.fileName = dir.File("missing/x.csv").c_str();
    TCModuleHarness host(csv);
    EXPECT_EQ(host.Start(), -3);
    EXPECT_NE(std::string(host.ErrMsg()->text).find("missing/x.csv.part"), std::string::npos);
}

}  // namespace
