// A load test of TCLogFile: threads write numbered lines through a series of split files.
#include "corekit80/foundation/TCLogFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <thread>
#include <vector>

#include "corekit80/foundation/TCLogFile_test.h"

namespace {

using logtest::Line;
using logtest::ParseLine;
using logtest::ReadFile;
using logtest::ScratchDir;
using logtest::SplitLines;

// Several threads write numbered lines into one log with a small split size. Then the
// split series is followed from the first file through the splitting lines: every
// line keeps the grammar, every (thread, number) appears exactly once and in order,
// consecutive files name each other, and only the last file is below the split size:
// the others are split by the line that reached it.
TEST(TCLogFileLoad, NumberedLinesFromThreads)
{
    constexpr int kThreads = 4, kLines = 1500, kSplitKB = 4;
    const std::string source = "TCLogFile::CheckSplitLogFile";
    ScratchDir dir;
    TCLogFile log;
    ASSERT_TRUE(log.Open(0xF, 0x7F, (dir / "load_%hh%mm%ss_%Us.log").c_str(), false, false, kSplitKB));
    const std::string first = std::string(log.GetFileName());
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&log, t] {
            for (int n = 0; n < kLines; ++n)
                ASSERT_TRUE(log.Log(1UL << t, TCLogFile::LOG_NOTICE, "worker", "thread %d line %d%s", t, n,
                                    n % 7 ? "" : "\tand a tab"));
        });
    for (std::thread& t : threads)
        t.join();
    ASSERT_TRUE(log.Close());

    std::map<int, int> next;       // thread -> next expected number
    std::map<int, int> threadIds;  // thread -> id shown in its lines
    std::set<std::string> visited;
    std::string previous, file = first;
    while (!file.empty()) {
        ASSERT_TRUE(visited.insert(file).second) << "the split series loops at " << file;
        const std::vector<std::string> lines = SplitLines(ReadFile(file));
        ASSERT_FALSE(lines.empty()) << file;
        std::string following;
        for (size_t i = 0; i < lines.size(); ++i) {
            Line line;
            ASSERT_TRUE(ParseLine(lines[i], line)) << file << ": " << lines[i];
            if (line.source == source) {
                if (line.message.rfind("Splitting logfile, next file is '", 0) == 0) {
                    EXPECT_EQ(i, lines.size() - 1) << "the splitting line ends its file";
                    following = line.message.substr(33, line.message.size() - 34);
                } else {
                    EXPECT_EQ(i, 0u) << "the splitted line starts its file";
                    EXPECT_EQ(line.message, "Splitted logfile, last file was '" + previous + "'");
                }
                continue;
            }
            if (line.source != "worker")
                continue;
            int t = -1, n = -1;
            char tail[16] = "";
            ASSERT_GE(std::sscanf(line.message.c_str(), "thread %d line %d%15[^\n]", &t, &n, tail), 2) << line.message;
            ASSERT_TRUE(t >= 0 && t < kThreads) << line.message;
            EXPECT_EQ(n, next[t]) << "thread " << t;
            EXPECT_EQ(std::string(tail), n % 7 ? "" : "<\\t>and a tab");
            next[t] = n + 1;
            EXPECT_EQ(threadIds.emplace(t, line.thread).first->second, line.thread);
        }
        if (!following.empty()) {
            const size_t size = std::filesystem::file_size(file);
            EXPECT_GE(size, kSplitKB * 1024u) << file;
            ASSERT_GE(lines.size(), 2u);
            EXPECT_LT(size - lines.back().size() - lines[lines.size() - 2].size() - 4, kSplitKB * 1024u) << file;
        }
        previous = file;
        file = following;
    }
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(next[t], kLines) << "thread " << t;
    std::set<int> ids;
    for (const auto& [t, id] : threadIds)
        ids.insert(id);
    EXPECT_EQ(int(ids.size()), kThreads);
    EXPECT_GT(visited.size(), 10u);
    std::set<std::string> onDisk;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        onDisk.insert(entry.path().string());
    EXPECT_EQ(onDisk, visited) << "the series is all the folder holds";
}

} // namespace
