// Tests of TCLogFile: line fields, filters, binary records, reopening and default names.
#include "corekit80/foundation/TCLogFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "corekit80/foundation/TCLogFile_test.h"

namespace {

using logtest::Line;
using logtest::ParseLine;
using logtest::ReadFile;
using logtest::ScratchDir;
using logtest::SplitLines;

constexpr unsigned long kAllLevels = 0x7F;

std::vector<Line> ParsedLines(const std::string& path)
{
    std::vector<Line> lines;
    for (const std::string& text : SplitLines(ReadFile(path))) {
        Line line;
        EXPECT_TRUE(ParseLine(text, line)) << text;
        lines.push_back(line);
    }
    return lines;
}

TEST(TCLogFile, LineFieldsAndFilter)
{
    ScratchDir dir;
    const std::string path = dir / "a.log";
    TCLogFile log;
    EXPECT_FALSE(log.IsLogEnabled(0, TCLogFile::LOG_ERROR));
    EXPECT_FALSE(log.Log(0, TCLogFile::LOG_ERROR, "Mod", "closed"));
    ASSERT_TRUE(log.Open(0, 0x3F, path.c_str()));
    EXPECT_TRUE(log.Log(0, TCLogFile::LOG_ERROR, "Mod", "x=%d", 5));
    EXPECT_FALSE(log.Log(2, TCLogFile::LOG_ERROR, "Mod", "type 2 is off"));
    EXPECT_FALSE(log.Log(0, TCLogFile::LOG_DATA, "Mod", "data is off"));
    EXPECT_TRUE(log.Log(0, TCLogFile::LOG_ERROR, "Mod", "a\nb\r\tc"));
    EXPECT_TRUE(log.Log(0, TCLogFile::LOG_ERROR, "Mod", "%s", ""));
    EXPECT_TRUE(log.Log(0, TCLogFile::LOG_ERROR, nullptr, nullptr));
    EXPECT_TRUE(log.Log(0, TCLogFile::LOG_LEVEL(3), "Mod", "mixed level"));
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
    EXPECT_TRUE(log.Log(0, TCLogFile::LOG_ERROR, "Mod", "p=%lpPtr", (void*)0xBEEF));
#pragma GCC diagnostic pop
    EXPECT_TRUE(log.Close());
    EXPECT_TRUE(log.Close());

    const std::string text = ReadFile(path);
    EXPECT_NE(text.find(", Logging, Error    , Mod, x=5\r\n"), std::string::npos);
    const std::vector<Line> lines = ParsedLines(path);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].source, "TCLogFile::Open");
    EXPECT_EQ(lines[0].message, "logType= 0, logLevel= 63, logFlush= 0, logAppend= 0, logFileName is '" + path + "'");
    EXPECT_EQ(lines[2].message, "a<\\n>b<\\r><\\t>c");
    EXPECT_FALSE(lines[3].hasMessage);
    EXPECT_FALSE(lines[4].hasMessage);
    EXPECT_EQ(lines[4].source, "");
    EXPECT_EQ(lines[5].level, "         ");
    EXPECT_EQ(lines[6].message, "p=0x0000beef");
    EXPECT_EQ(lines[7].source, "TCLogFile::Close");
    EXPECT_FALSE(lines[7].hasMessage);
    for (const Line& l : lines)
        EXPECT_EQ(l.thread, lines[0].thread);
}

TEST(TCLogFile, TypeNamesLineUp)
{
    ScratchDir dir;
    TCLogFile log;
    const char* names[] = {"A", "Long"};
    log.SetLogTypeNames(names, 2);
    EXPECT_TRUE(log.AddLogTypeName(4, "IO"));
    EXPECT_TRUE(log.AddLogTypeName(4, "IO"));
    EXPECT_TRUE(log.AddLogTypeName(5, "IO")); // highest bit 2 again
    EXPECT_FALSE(log.AddLogTypeName(4, "Net"));
    EXPECT_FALSE(log.AddLogTypeName(0, "None"));
    EXPECT_FALSE(log.AddLogTypeName(1UL << 32, "Wide"));
    ASSERT_TRUE(log.Open(0xFF, kAllLevels, (dir / "t.log").c_str()));
    for (unsigned long type : {1, 2, 4, 8})
        EXPECT_TRUE(log.Log(type, TCLogFile::LOG_NOTICE, "s", "m"));
    EXPECT_FALSE(log.Log(256, TCLogFile::LOG_NOTICE, "s", "m"));
    log.Close();
    const std::vector<Line> lines = ParsedLines(dir / "t.log");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].type, "Logging"); // the longest, so not padded
    EXPECT_EQ(lines[1].type, "A   ");
    EXPECT_EQ(lines[2].type, "Long");
    EXPECT_EQ(lines[3].type, "IO  ");
    EXPECT_EQ(lines[4].type, "");

    // A longer name pads the general name too.
    TCLogFile other;
    EXPECT_TRUE(other.AddLogTypeName(1, "Measurement"));
    ASSERT_TRUE(other.Open(0, kAllLevels, (dir / "u.log").c_str()));
    other.Close();
    EXPECT_EQ(ParsedLines(dir / "u.log")[0].type, "Logging    ");
}

TEST(TCLogFile, BinaryRecords)
{
    ScratchDir dir;
    TCLogFile log;
    ASSERT_TRUE(log.Open(0, TCLogFile::LOG_DATA, (dir / "b.log").c_str()));
    const char data[3] = {'\n', 0, '>'};
    EXPECT_TRUE(log.LogBinary(0, TCLogFile::LOG_DATA, "Port", "RX>", 3, data));
    EXPECT_TRUE(log.LogBinary(0, TCLogFile::LOG_DATA, "Port", "TX>", 0, nullptr));
    EXPECT_FALSE(log.LogBinary(0, TCLogFile::LOG_DATA, "Port", "RX", 3, data));
    EXPECT_FALSE(log.LogBinary(0, TCLogFile::LOG_DATA, "Port", "", 3, data));
    EXPECT_FALSE(log.LogBinary(0, TCLogFile::LOG_DATA, "Port", nullptr, 3, data));
    EXPECT_FALSE(log.LogBinary(0, TCLogFile::LOG_ERROR, "Port", "RX>", 3, data));
    log.Close();
    const std::string text = ReadFile(dir / "b.log");
    const std::string first = std::string(", Port, RX:3>") + std::string(data, 3) + "\r\n";
    const size_t at = text.find(first);
    ASSERT_NE(at, std::string::npos);
    Line line;
    ASSERT_TRUE(ParseLine(text.substr(0, at) + ", Port, RX:3>", line));
    EXPECT_EQ(line.message, "RX:3>");
    const std::string rest = text.substr(at + first.size());
    ASSERT_TRUE(ParseLine(rest.substr(0, rest.size() - 2), line));
    EXPECT_EQ(line.message, "TX:0>");
    EXPECT_EQ(rest.substr(rest.size() - 2), "\r\n");
}

TEST(TCLogFile, OpenReopenAppendAndSecondWriter)
{
    ScratchDir dir;
    const std::string path = dir / "r.log";
    {
        TCLogFile log;
        ASSERT_TRUE(log.Open(0, TCLogFile::LOG_ERROR, path.c_str()));
        EXPECT_TRUE(log.Log(0, TCLogFile::LOG_ERROR, "s", "one"));
        // The same name keeps the file and only changes the masks.
        ASSERT_TRUE(log.Open(0, TCLogFile::LOG_NOTICE, path.c_str()));
        EXPECT_FALSE(log.Log(0, TCLogFile::LOG_ERROR, "s", "off now"));
        EXPECT_TRUE(log.Log(0, TCLogFile::LOG_NOTICE, "s", "two"));
        // A second writer of the same file is refused.
        TCLogFile second;
        EXPECT_FALSE(second.Open(0, TCLogFile::LOG_NOTICE, path.c_str(), false, true));
        EXPECT_FALSE(second.IsLogEnabled(0, TCLogFile::LOG_NOTICE));
        // A copy takes the configuration but is closed.
        TCLogFile copy(log);
        EXPECT_FALSE(copy.IsLogEnabled(0, TCLogFile::LOG_NOTICE));
        EXPECT_EQ(std::string(copy.GetFileName()), path);
    }
    EXPECT_EQ(SplitLines(ReadFile(path)).size(), 2u);
    {
        TCLogFile log;
        ASSERT_TRUE(log.Open(0, TCLogFile::LOG_NOTICE, path.c_str(), true, true));
        EXPECT_TRUE(log.Log(0, TCLogFile::LOG_NOTICE, "s", "three"));
    }
    EXPECT_EQ(SplitLines(ReadFile(path)).size(), 3u);
    {
        TCLogFile log;
        ASSERT_TRUE(log.Open(0, TCLogFile::LOG_NOTICE, path.c_str()));
        TCLogFile assigned;
        assigned = log;
        EXPECT_FALSE(assigned.IsLogEnabled(0, TCLogFile::LOG_NOTICE));
        EXPECT_TRUE(assigned.Open(0, TCLogFile::LOG_NOTICE, (dir / "other.log").c_str()));
        EXPECT_TRUE(assigned.IsLogEnabled(0, TCLogFile::LOG_NOTICE));
    }
    EXPECT_EQ(SplitLines(ReadFile(path)).size(), 0u);
    TCLogFile bad;
    EXPECT_FALSE(bad.Open(0, kAllLevels, (dir / "missing/x.log").c_str()));
}

TEST(TCLogFile, FolderGetsTheDefaultName)
{
    ScratchDir dir;
    for (const char* separator : {"/", "\\"}) {
        TCLogFile log;
        ASSERT_TRUE(log.Open(0, kAllLevels, (dir.Path() + separator).c_str()));
        const std::string name = std::string(log.GetFileName());
        log.Close();
        const std::string mask = dir.Path() + separator + "TCLogFile_####-##-##_##-##-##.######.txt";
        EXPECT_TRUE(logtest::MatchesMask(name, mask)) << name;
        const std::string onDisk = dir.Path() + "/" + name.substr(dir.Path().size() + 1);
        const std::vector<Line> lines = ParsedLines(onDisk);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0].message, "logType= 0, logLevel= 127, logFlush= 0, logAppend= 0, logFileName is '" +
                                        dir.Path() + separator + TCLogFile::kDefaultFileName + "', converted to '" +
                                        name + "'");
    }
}

} // namespace
