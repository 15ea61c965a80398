// flowdeck params: a module's property dialog shown as text, and edited.
#include <cstdio>
#include <fstream>

#include "Commands.h"
#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/propertydialog/TCPropertyDialog.h"
#include "corekit80/propertydialog/TCPropertyDialogHost.h"

namespace {
int Fail(const Problems& problems)
{
    problems.Print(stderr);
    return problems.Status();
}

// Whether the graph file is in the archive's XML form (else binary): its first byte past
// blanks and a UTF-8 byte order mark.
bool IsXml(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    char c = 0;
    while (in.get(c) && (c == ' ' || c == '\t' || c == '\r' || c == '\n' || (unsigned char)c >= 0x80)) {
    }
    return c == '<';
}

// Asks the module for its dialog; the module shows it to the dialog host, which is the main
// window meanwhile. A module that only fills in the dialog it is handed is shown that one.
int ShowDialog(TCBaseModule& module, TCPropertyDialogHost& dialogs, HostConsole& console, Problems& problems)
{
    TCSetHostWindow(&dialogs);
    TCPropertyDialog& given = TCCreatePropertyDialog(&module, module.GetModuleName(), "", 0);
    int result = 2;
    try {
        module.BuildPropertyDialog(given);
        if (dialogs.GetShowCount() == 0 && given.GetInfo().GetSize() > 0)
            TCShowPropertyDialog(given, 0);
        result = dialogs.GetShowCount() > 0 && dialogs.GetError().IsEmpty() ? 1 : 2;
        module.OnEndShowDialog(result);
    } catch (const std::exception& e) {
        problems.Add(HS_MODULE_FAILED, Format("module %s threw in its property dialog: %s", module.GetModuleName(),
                                              e.what()));
    }
    TCDestroyPropertyDialog(given);
    TCSetHostWindow(&console);
    return result;
}
} // namespace

int ShowParams(const CommandLine& args)
{
    Problems problems;
    GraphFile graph;
    if (!graph.Load(args.target, problems))
        return Fail(problems);
    const int index = graph.Find(args.module);
    if (index < 0) {
        problems.Add(HS_USAGE, Format("%s has no module %s", args.target.c_str(), args.module.c_str()));
        return Fail(problems);
    }
    const ModuleSearch search = ModuleSearch::FromEnvironment(args.modulePath);
    HostConsole console;
    GraphHost host(graph, search, console);
    if (!host.Build(problems))
        return Fail(problems);
    TCPropertyDialogHost dialogs(&console);
    for (const std::string& set : args.sets)
        dialogs.AddEdit(set.c_str());
    const int result = ShowDialog(*host.Module(size_t(index)), dialogs, console, problems);
    if (!problems.Empty())
        return Fail(problems);
    if (dialogs.GetShowCount() == 0) {
        std::printf("%s: no property dialog\n", args.module.c_str());
        return HS_OK;
    }
    std::fputs(dialogs.GetMessages(), stderr);
    if (result != 1) {
        problems.Add(HS_USAGE, Format("%s: %s", args.module.c_str(), static_cast<const char*>(dialogs.GetError())));
        return Fail(problems);
    }
    std::fputs(dialogs.GetText(), stdout);
    if (args.sets.empty())
        return HS_OK;
    const auto settings = [&](size_t m, ArchiveParser& s) { host.StoreSettings(m, s); };
    if (!graph.Save(args.target, IsXml(args.target), settings, problems))
        return Fail(problems);
    return HS_OK;
}
