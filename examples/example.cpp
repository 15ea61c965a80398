// A module author's first steps with the library: text handling with TCString.
#include <corekit80/corekit80.h>

#include <cstdio>

int main()
{
    TCString settings("Gain = 2.5\nName = channel 1\n");
    TCString line = settings.LeftOf("\n");
    line.TrimRight();
    std::printf("first setting line: \"%s\"\n", static_cast<const char*>(line));

    TCString report;
    report.Format("%d bytes of settings, %d lines", settings.GetLength(),
                  settings.Remove('\n'));
    std::printf("%s\n", static_cast<const char*>(report));
    return 0;
}
