#include <cstring>
#include <strings.h>

#include "corekit80/platform/TCHostWindow.h"
#include "corekit80/platform/TCModuleFileImpl.h"
#include "corekit80/porttypes/TCValidateActualPortType.h"
#include "corekit80/porttypes/TCValidateActualPortTypeImpl.h"

namespace {

// The longest module file name that is looked at.
constexpr int kMaxModuleFile = 1024;

// Where the library extension of the file name begins: ".so" ending the name or followed
// by a version, or ".dll" in any case; the length when there is none.
int ExtensionStart(const TCString& file)
{
    const char* name = file;
    const int length = int(std::strlen(name));
    const char* slash = std::strrchr(name, '/');
    const int first = slash ? int(slash - name) + 1 : 0;
    if (length - first >= 4 && strcasecmp(name + length - 4, ".dll") == 0)
        return length - 4;
    for (int i = first; i + 3 <= length; ++i)
        if (std::strncmp(name + i, ".so", 3) == 0 && (name[i + 3] == 0 || name[i + 3] == '.'))
            return i;
    return length;
}

}  // namespace

TCString TCHelpTarget(const char* topic, const char* moduleFile)
{
    if (!topic)
        topic = "";
    if (*topic && *topic != '#')
        return TCString(topic);
    const TCString file = TCString(moduleFile).Left(kMaxModuleFile);
    return file.Left(ExtensionStart(file)) + ".htm" + topic;
}

// Not inlined: the return address must be the caller's, inside its module library.
__attribute__((noinline)) void LaunchHelp(const char* topic)
{
    const TCString module = TCModuleFileOfAddress(__builtin_return_address(0));
    const TCString target = TCHelpTarget(topic, module);
    if (TCHostWindow* host = TCGetHostWindow())
        host->Send(TCValidateActualPortType::HOST_MESSAGE, TCValidateActualPortType::REQUEST_HELP,
                   reinterpret_cast<long>(static_cast<const char*>(target)));
}
