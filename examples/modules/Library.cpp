// The exports through which the host finds and makes the sample modules.
#include <array>
#include <cstring>
#include <iterator>

#include <corekit80/modules/TCModuleLibrary.h>

#include "CsvWriter.h"
#include "Gain.h"
#include "Generator.h"
#include "Statistics.h"
#include "SvgPlot.h"

namespace {

template <class M>
TCBaseModule* Make(int instance)
{
    return new M(instance);
}

const struct {
    const char* name;
    TCBaseModule* (*make)(int);
} kModules[] = {
    {"Generator", Make<Generator>}, {"Gain", Make<Gain>},       {"Statistics", Make<Statistics>},
    {"CsvWriter", Make<CsvWriter>}, {"SvgPlot", Make<SvgPlot>},
};

}  // namespace

TCBaseModule* TCCreateModule(const char* typeName, int instance)
{
    for (const auto& m : kModules)
        if (typeName && std::strcmp(typeName, m.name) == 0)
            return m.make(instance);
    return nullptr;
}

const char* const* TCModuleTypeNames()
{
    static const auto names = [] {
        std::array<const char*, std::size(kModules) + 1> list{};  // ends with a null pointer
        for (size_t i = 0; i < std::size(kModules); ++i)
            list[i] = kModules[i].name;
        return list;
    }();
    return names.data();
}

int TCGetInterfaceVersionProvidedByModule() { return 800; }
int TCGetInterfaceVersionRequiredByModule() { return 800; }

void TCSerializeModule(TCBaseModule* module, ArchiveParser* section)
{
    // Modules of other libraries are not ours to store.
    if (auto* sample = dynamic_cast<SampleSettings*>(module); sample && section)
        sample->Serialize(*section);
}
