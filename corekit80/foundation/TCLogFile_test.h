#pragma once

// Helpers of the log file tests: a scratch folder, whole-file reading and the line grammar.

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "corekit80/platform/TCScratchHome_test.h"

namespace logtest {

// A fresh folder that is removed with its files at the end of the test.
struct ScratchDir : TCScratchHome {
    const std::string& Path() const { return Root(); }
    std::string operator/(const std::string& file) const { return Root() + "/" + file; }
};

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The lines of a log text, each without its "\r\n"; a text not ending in one gives a
// last element with the rest.
inline std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

struct Line {
    int thread = 0;
    std::string type, level, source, message;
    bool hasMessage = false;
};

// Whether text has the shape of mask, in which '#' stands for any digit.
inline bool MatchesMask(const std::string& text, const std::string& mask)
{
    if (text.size() != mask.size())
        return false;
    for (size_t i = 0; i < mask.size(); ++i)
        if (mask[i] == '#' ? text[i] < '0' || text[i] > '9' : text[i] != mask[i])
            return false;
    return true;
}

// Parses one line by the grammar "stamp, thread, type, level, source[, message]": the
// stamp "yyyy-mm-dd hh:mm:ss.uuuuuu", the thread id right-aligned in five columns or
// more, a type name and a source without ", ", a level of nine characters.
inline bool ParseLine(const std::string& text, Line& line)
{
    std::vector<std::string> f;
    size_t start = 0;
    for (size_t end; f.size() < 5 && (end = text.find(", ", start)) != std::string::npos; start = end + 2)
        f.push_back(text.substr(start, end - start));
    f.push_back(text.substr(start));
    if (f.size() < 5 || !MatchesMask(f[0], "####-##-## ##:##:##.######") || f[1].size() < 5 || f[3].size() != 9)
        return false;
    const size_t digits = f[1].find_first_not_of(' ');
    if (digits == std::string::npos || (digits > 0 && f[1].size() != 5) ||
        !MatchesMask(f[1].substr(digits), std::string(f[1].size() - digits, '#')))
        return false;
    line.thread = std::atoi(f[1].c_str());
    line.type = f[2];
    line.level = f[3];
    line.source = f[4];
    line.hasMessage = f.size() == 6;
    line.message = line.hasMessage ? f[5] : std::string();
    return true;
}

} // namespace logtest
