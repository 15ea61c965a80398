#pragma once

// The bases of the sample modules: what they share on top of the module base they derive
// from (their port helper, the host's reserved slots, their settings in the graph file and
// in their property dialog, and the refusal of bad settings at Init).

#include <corekit80/modules/TCBaseModule.h>
#include <corekit80/modules/TCBaseModuleEx.h>
#include <corekit80/modules/TCPortHelper.h>

class ArchiveParser;
class TCPropertyDialog;

// The settings of a module, which the library's TCSerializeModule finds through this class.
class SampleSettings {
public:
    // Stores the settings into the module's section of the graph file or loads them from
    // it, as the section says; each setting has its own number and name.
    virtual void Serialize(ArchiveParser& section) = 0;
    // Adds one item per setting to the module's property dialog, captioned with the
    // setting's name; the items edit the settings in place.
    virtual void DescribeSettings(TCPropertyDialog& dialog) = 0;

protected:
    ~SampleSettings() = default;
};

// Base is TCBaseModule for modules that declare their ports on their port helper, or
// TCBaseModuleEx for modules that bind their variables as ports and parameters.
template <class Base>
class Sample : public Base, public SampleSettings {
public:
    // A module on TCBaseModule gets its port helper here; TCBaseModuleEx makes its own.
    explicit Sample(int instance);

    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    // Makes a dialog of its own over DescribeSettings (the one handed in stays empty), shows
    // it to the host and returns the host's answer (1 OK).
    int BuildPropertyDialog(TCPropertyDialog& given) override;

protected:
    TCPortHelper& Ports() { return *this->m_pPortHelper; }
    // Init's answer to settings the module cannot run with: the text goes into the error
    // record, which the host shows, and the result is -3.
    int Refuse(const char* text);
    // The module's error told to the user while it runs; -2.
    int Fail(const char* text);
    // A failed write told to the user with the code in the error record ("WHAT could not be
    // written (code -18)"); -2.
    int FailedWrite(const char* what);
};

using SampleModule = Sample<TCBaseModule>;
using SampleModuleEx = Sample<TCBaseModuleEx>;
