// Modules for the host's tests and benchmark: a counting source, a scaler, a sink writing a
// text file, one dropping what comes, a text source (for type mismatches), and modules that
// refuse to start or throw.
#include <cstdio>
#include <stdexcept>
#include <string>

#include "corekit80/archive/ArchiveParser.h"
#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/modules/TCModuleLibrary.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/propertydialog/TCPropertyBuilders.h"
#include "corekit80/propertydialog/TCPropertyDialog.h"
#include "corekit80/types/TCArray.h"

namespace {

class TestModule : public TCBaseModule {
public:
    TestModule(int instance, const char* type) : TCBaseModule(instance), m_type(type)
    {
        m_pPortHelper = new TCPortHelper(this);
    }
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    const char* GetModuleTypeName() override { return m_type; }
    virtual void Settings(ArchiveParser&) {}

protected:
    TCPortHelper& Ports() { return *m_pPortHelper; }
    void DoubleIn() { Ports().SetPort(PT_INPUT, 0, "In", "DOUBLE[]", nullptr, true), Ports().SetObligatoryInput(0); }
    void DoubleOut() { Ports().SetPort(PT_OUTPUT, 0, "Out", "DOUBLE[]", nullptr, true); }

private:
    const char* m_type;
};

// Blocks of Size values counting up from 0, Blocks of them (0: endless).
class Counter : public TestModule {
public:
    explicit Counter(int instance) : TestModule(instance, "Counter")
    {
        DoubleOut();
        Ports().BehaviourAsSource(TCPortHelper::SB_ONCE);
    }
    int GetTypeOfModule() override { return 1; }
    void Settings(ArchiveParser& s) override
    {
        s.Serialize(1, "Blocks", m_blocks);
        s.Serialize(2, "Size", m_size);
    }
    int Init() override
    {
        m_next = 0;
        m_done = 0;
        return TestModule::Init();
    }
    int Fetch() override
    {
        const int r = TestModule::Fetch();
        if (r != 0)
            return r;
        TCArray<double, double> values;
        values.SetSize(m_size);
        for (int i = 0; i < m_size; ++i)
            values[i] = m_next++;
        if (m_blocks > 0 && ++m_done >= m_blocks)
            Ports().SetReadyFlag(false);
        return Ports().WriteDblArray(0, values) < 0 ? -2 : 0;
    }

private:
    int m_blocks = 3, m_size = 2;
    double m_next = 0;
    int m_done = 0;
};

// Each block times Factor.
class Scale : public TestModule {
public:
    explicit Scale(int instance) : TestModule(instance, "Scale")
    {
        DoubleIn();
        DoubleOut();
        Ports().UseTypeInfoFromInput(0, 0);
    }
    void Settings(ArchiveParser& s) override { s.Serialize(1, "Factor", m_factor); }
    int BuildPropertyDialog(TCPropertyDialog&) override
    {
        TCPropertyDialog& dialog = TCCreatePropertyDialog(this, GetModuleName(), "Scale");
        TCPropertyDbl(TCCreateSubProperty(dialog, "Scaling"), m_factor, "Factor").Min(-100.0).Max(100.0);
        const int result = TCShowPropertyDialog(dialog, 0);
        TCDestroyPropertyDialog(dialog);
        return result;
    }
    int Fetch() override
    {
        const int r = TestModule::Fetch();
        if (r != 0 || Ports().ReadDblArray(0, m_values) <= 0)
            return r;
        for (double& v : m_values)
            v *= m_factor;
        return Ports().WriteDblArray(0, m_values) < 0 ? -2 : 0;
    }

private:
    double m_factor = 2;
    TCArray<double, double> m_values;
};

// Writes the values it received, a block a line, to File at Done: under a temporary name,
// renamed when complete; nothing without values.
class Sink : public TestModule {
public:
    explicit Sink(int instance) : TestModule(instance, "Sink") { DoubleIn(); }
    void Settings(ArchiveParser& s) override { s.Serialize(1, "File", m_file); }
    int Init() override
    {
        m_text.clear();
        return TestModule::Init();
    }
    int Fetch() override
    {
        const int r = TestModule::Fetch();
        if (r != 0 || Ports().ReadDblArray(0, m_values) <= 0)
            return r;
        for (int i = 0; i < m_values.GetSize(); ++i)
            m_text += (i ? " " : "") + std::to_string(int(m_values[i]));
        m_text += "\n";
        return 0;
    }
    int Done() override
    {
        const std::string file = static_cast<const char*>(m_file);
        const std::string temporary = file + ".part";
        if (!m_text.empty() && !file.empty()) {
            FILE* f = std::fopen(temporary.c_str(), "w");
            if (f && std::fputs(m_text.c_str(), f) >= 0 && std::fclose(f) == 0)
                std::rename(temporary.c_str(), file.c_str());
        }
        m_text.clear();
        return TestModule::Done();
    }

private:
    TCString m_file;
    std::string m_text;
    TCArray<double, double> m_values;
};

// Drops every block unread: the end of a chain whose cost is measured.
class Discard : public TestModule {
public:
    explicit Discard(int instance) : TestModule(instance, "Discard") { DoubleIn(); }
    int Fetch() override { return Ports().RemoveBlocks(0, 0) > 0 ? 0 : 1; }
};

// A source of texts, whose output fits no number input.
class Words : public TestModule {
public:
    explicit Words(int instance) : TestModule(instance, "Words")
    {
        Ports().SetPort(PT_OUTPUT, 0, "Out", "UBYTE[][]", nullptr, false);
    }
};

// Refuses to start, saying why.
class Refuser : public TestModule {
public:
    explicit Refuser(int instance) : TestModule(instance, "Refuser") { DoubleIn(); }
    int Init() override { return Ports().SetErrMsg(-3, PT_INPUT, 0, -1, "no calibration for this probe", nullptr); }
};

// Throws at its first block.
class Thrower : public TestModule {
public:
    explicit Thrower(int instance) : TestModule(instance, "Thrower") { DoubleIn(); }
    int Fetch() override
    {
        if (TestModule::Fetch() == 0)
            throw std::runtime_error("probe disconnected");
        return 1;
    }
};

const char* const g_types[] = {"Counter", "Scale", "Sink", "Discard", "Words", "Refuser", "Thrower", nullptr};

template <class M>
TCBaseModule* Make(int instance)
{
    return new M(instance);
}
}

TCBaseModule* TCCreateModule(const char* typeName, int instance)
{
    const std::string type = typeName ? typeName : "";
    TCBaseModule* (*const makers[])(int) = {Make<Counter>, Make<Scale>,   Make<Sink>,   Make<Discard>,
                                            Make<Words>,   Make<Refuser>, Make<Thrower>};
    for (size_t i = 0; g_types[i]; ++i)
        if (type == g_types[i])
            return makers[i](instance);
    return nullptr;
}

const char* const* TCModuleTypeNames() { return g_types; }
int TCGetInterfaceVersionProvidedByModule() { return 800; }
int TCGetInterfaceVersionRequiredByModule() { return 800; }

void TCSerializeModule(TCBaseModule* module, ArchiveParser* section)
{
    if (auto* m = dynamic_cast<TestModule*>(module); m && section)
        m->Settings(*section);
}
