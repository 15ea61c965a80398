// The library as the host sees it: loaded with dlopen, its exports looked up by name, the
// modules made by type name and their settings stored and loaded through the archive.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <memory>
#include <string>

#include <corekit80/archive/ArchiveParser.h>
#include <corekit80/modules/TCBaseModule.h>
#include <corekit80/modules/TCModuleLibrary.h>
#include <corekit80/platform/CArchive.h>
#include <corekit80/platform/CMemFile.h>

#include "Generator.h"

namespace {

struct Library {
    Library() : handle(dlopen(SAMPLES_LIBRARY, RTLD_NOW | RTLD_LOCAL)) {}
    ~Library()
    {
        if (handle)
            dlclose(handle);
    }
    template <class F>
    F Export(const char* name)
    {
        return reinterpret_cast<F>(dlsym(handle, name));
    }
    void* handle;
};

// Runs body on an XML archive in memory: storing into an empty one (the bytes are returned)
// or loading from bytes.
template <class F>
std::string Archive(F body, const std::string& bytes = std::string())
{
    auto* data = reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data()));
    auto file = bytes.empty() ? std::make_unique<CMemFile>() : std::make_unique<CMemFile>(data, unsigned(bytes.size()));
    file->SetFilePath("settings.tcx");
    ArchiveParser p;
    CArchive ar(file.get(), bytes.empty() ? CArchive::store : CArchive::load);
    EXPECT_TRUE(p.BeginSerialize(ar));
    p.SaveAscii(ArchiveParser::modeXML);  // binary archives keep no names
    body(p);
    p.EndSerialize(ar);
    ar.Close();
    return std::string(reinterpret_cast<const char*>(file->GetData()), size_t(file->GetLength()));
}

TEST(Library, TheExportsMakeEveryModuleByItsTypeName)
{
    Library lib;
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    auto create = lib.Export<TCCreateModuleFn>("TCCreateModule");
    auto names = lib.Export<TCModuleTypeNamesFn>("TCModuleTypeNames");
    auto provided = lib.Export<TCModuleVersionFn>("TCGetInterfaceVersionProvidedByModule");
    auto required = lib.Export<TCModuleVersionFn>("TCGetInterfaceVersionRequiredByModule");
    ASSERT_TRUE(create && names && provided && required && lib.Export<TCSerializeModuleFn>("TCSerializeModule"));
    EXPECT_EQ(provided(), 800);
    EXPECT_EQ(required(), 800);
    const char* const expected[] = {"Generator", "Gain", "Statistics", "CsvWriter", "SvgPlot", nullptr};
    for (int i = 0; i < 6; ++i) {
        EXPECT_STREQ(names()[i], expected[i]);
        if (!expected[i])
            break;
        TCBaseModule* m = create(expected[i], 2);
        ASSERT_NE(m, nullptr) << expected[i];
        EXPECT_STREQ(m->GetModuleTypeName(), expected[i]);
        EXPECT_EQ(std::string(m->GetModuleName()), std::string(expected[i]) + "2");
        delete m;
    }
    EXPECT_EQ(create("Oscilloscope", 0), nullptr);
    EXPECT_EQ(create(nullptr, 0), nullptr);
    // Classes are the library's own: nothing but the listed functions is exported.
    EXPECT_EQ(dlsym(lib.handle, "_ZN9GeneratorC1Ei"), nullptr);
}

TEST(Library, SettingsGoThroughTheArchiveByName)
{
    Library lib;
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    auto create = lib.Export<TCCreateModuleFn>("TCCreateModule");
    auto serialize = lib.Export<TCSerializeModuleFn>("TCSerializeModule");
    Generator g(0);
    g.settings = {"ramp", 44100, 0.5, 3, 64, 0, "Ramp, slow", "m s^-2", 9};
    const std::string stored = Archive([&](ArchiveParser& p) { g.Serialize(p); });
    std::string text;  // the archive's XML is UTF-16: its ASCII without the zero bytes
    for (char c : stored)
        if (c)
            text += c;
    for (const char* name : {"Waveform", "Rate", "Block count", "Signal name", "Unit", "Seed", "Ramp, slow"})
        EXPECT_NE(text.find(name), std::string::npos) << name;

    TCBaseModule* loaded = create("Generator", 0);
    Archive([&](ArchiveParser& p) { serialize(loaded, &p); }, stored);
    EXPECT_EQ(Archive([&](ArchiveParser& p) { serialize(loaded, &p); }), stored);
    serialize(nullptr, nullptr);  // ignored
    delete loaded;
}

}  // namespace
