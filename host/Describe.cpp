// flowdeck describe: a module library's modules, their ports with type texts, their settings.
#include <cstdio>
#include <memory>

#include "Commands.h"
#include "corekit80/archive/ArchiveParser.h"
#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/platform/CArchive.h"
#include "corekit80/platform/CMemFile.h"

namespace {
// The module's settings as the archive's text listing ("ID: DESCRIPTION: VALUE" lines),
// without its header line.
std::string SettingsListing(TCBaseModule& module, TCSerializeModuleFn serialize)
{
    ArchiveParser root;
    root.SaveAscii(ArchiveParser::modeText);
    CMemFile memory;
    CArchive ar(&memory, CArchive::store);
    root.BeginSerialize(ar);
    serialize(&module, &root);
    root.EndSerialize(ar);
    ar.Flush();
    const std::string text(reinterpret_cast<const char*>(memory.GetData()), size_t(memory.GetLength()));
    std::string listing;
    size_t line = text.find('\n');
    while (line != std::string::npos && line + 1 < text.size()) {
        const size_t end = text.find('\n', line + 1);
        std::string entry = text.substr(line + 1, end == std::string::npos ? std::string::npos : end - line - 1);
        if (!entry.empty() && entry.back() == '\r')
            entry.pop_back();
        listing += "    " + entry + "\n";
        line = end;
    }
    return listing;
}

void DescribePorts(TCBaseModule& module, PORTTYPE type)
{
    const int n = type == PT_INPUT ? module.GetNoInput() : module.GetNoOutput();
    for (int p = 0; p < n; ++p) {
        const char* name = type == PT_INPUT ? module.GetInputName(p) : module.GetOutputName(p);
        const char* text = nullptr;
        int tokens = 0;
        module.GetPortType(type, p, &text, tokens);
        std::printf("  %s %d %s: %s\n", type == PT_INPUT ? "input " : "output", p, name ? name : "",
                    text && *text ? text : "(no type)");
    }
}
}

int DescribeLibrary(const CommandLine& args)
{
    Problems problems;
    const ModuleSearch search = ModuleSearch::FromEnvironment(args.modulePath);
    ModuleLibrary library;
    if (!library.Load(args.target, ".", search, "module library", problems)) {
        problems.Print(stderr);
        return problems.Status();
    }
    HostConsole console;
    std::printf("%s: module interface %d (needs %d)\n", library.Path().c_str(), library.ProvidedVersion(),
                library.RequiredVersion());
    for (const std::string& type : library.TypeNames()) {
        try {
            std::unique_ptr<TCBaseModule> module(library.Create(type, 0));
            if (!module) {
                problems.Add(HS_UNKNOWN_TYPE, Format("module type %s: the library does not create it", type.c_str()));
                continue;
            }
            module->GetMessageA(4, reinterpret_cast<long>(library.Handle()));
            module->GetMessageA(18, reinterpret_cast<long>(type.c_str()));
            module->GetMessageA(27, HostConsole::HandlerAddress());
            std::printf("\n%s%s\n", type.c_str(), module->GetTypeOfModule() == 1 ? " (source)" : "");
            DescribePorts(*module, PT_INPUT);
            DescribePorts(*module, PT_OUTPUT);
            if (library.Serializer())
                std::printf("  settings:\n%s", SettingsListing(*module, library.Serializer()).c_str());
        } catch (const std::exception& e) {
            problems.Add(HS_MODULE_FAILED, Format("module type %s threw: %s", type.c_str(), e.what()));
        }
    }
    problems.Print(stderr);
    return problems.Status();
}
