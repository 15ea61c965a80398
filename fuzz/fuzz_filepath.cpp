// Placeholder resolution and the path algebra on arbitrary text: nothing crashes or hangs,
// values put in are never expanded again, canonical forms are stable, and a path made
// relative to a folder leads back to the same absolute path.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

#include "corekit80/foundation/TCFilePath.h"
#include "corekit80/foundation/TCPathUtil.h"

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        fprintf(stderr, "violated: %s\n", what);
        abort();
    }
}

bool FoldsCase(const std::string& p)
{
    return (p.size() >= 2 && isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':') ||
           p.compare(0, 2, "\\\\") == 0;
}

bool SameFolder(const std::string& a, const std::string& b)
{
    return a == b || (FoldsCase(b) && strcasecmp(a.c_str(), b.c_str()) == 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Special folders resolve against a home that does not exist.
    setenv("HOME", "/nonexistent/ck80-fuzz-home", 1);
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        unsetenv(name);
    setenv("A", "C:\\a", 1);
    setenv("SELF", "%SELF%", 1);
    setenv("SHELL_IN_VALUE", "%CSIDL_PROFILE%", 1);
    setenv("LONG", std::string(300, 'x').c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 4096)
        return 0;
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    text = text.c_str();
    // The create flag would make folders, even shared system ones; the fuzzer must not.
    for (size_t at; (at = text.find("FLAG_CREATE")) != std::string::npos;)
        text[at] = 'f';
    const bool shell = data[0] & 1, environment = data[0] & 2;

    TCString resolved(text.c_str());
    const int count = TCFilePath::Resolve(resolved, shell, environment);
    size_t percents = 0;
    for (char c : text)
        percents += c == '%';
    Check(count >= 0 && static_cast<size_t>(count) <= percents / 2, "count of placeholders");
    TCString untouched(text.c_str());
    Check(TCFilePath::Resolve(untouched, false, false) == 0 && untouched == text.c_str(),
          "nothing resolved when disabled");

    // The text before a newline is the folder, the rest the path.
    const size_t cut = text.find('\n');
    const std::string base = text.substr(0, cut);
    const std::string path = cut == std::string::npos ? std::string() : text.substr(cut + 1);
    const std::string abs = static_cast<const char*>(MakeAbsPath(base.c_str(), path.c_str()));
    Check(abs.size() <= 259, "length of absolute path");
    // Paths near the length limit are cut, possibly inside a component.
    if (abs.size() < 200)
        Check(std::string(MakeAbsPath("", abs.c_str())) == abs, "canonical form is stable");
    const std::string rel = static_cast<const char*>(MakeRelPath(base.c_str(), path.c_str()));
    if (TCFilePath::IsAbsolute(base.c_str()) && base.size() + path.size() < 200)
        Check(SameFolder(std::string(MakeAbsPath(base.c_str(), rel.c_str())), abs),
              "relative path leads back");

    TCFilePath file;
    file.EnableResolveCSIDL(shell);
    file.EnableResolveEnvironment(environment);
    file.SetDefPath(base.c_str());
    file.SetPath(path.c_str());
    Check(file.GetAbsPath().GetLength() <= 259, "length of built path");
    file.GetDirectory();
    file.GetFileExt();
    return 0;
}
