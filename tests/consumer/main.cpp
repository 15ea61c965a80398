// A program built against the installed library, as a module author would build one.
#include <corekit80/corekit80.h>

#include <cstdio>

int main()
{
    TCString s;
    s.Format("%s=%d", "consumer", 1);
    s.Replace("=1", " ok");
    std::printf("%s\n", (const char*)s);
    return s == "consumer ok" ? 0 : 1;
}
