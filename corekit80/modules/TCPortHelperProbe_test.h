#pragma once

// A module for the port helper's tests, run by the module harness: the test declares its
// ports and hands it the work of each Fetch.

#include <functional>
#include <utility>

#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/modules/TCModuleHarness.h"
#include "corekit80/modules/TCPortHelper.h"

namespace port_probe_test {

class Probe : public TCBaseModule {
public:
    Probe() : TCBaseModule(0) { m_pPortHelper = new TCPortHelper(this); }
    void ReservedSlot0() override {}
    void ReservedSlot2() override {}
    void ReservedSlot19() override {}
    const char* GetModuleTypeName() override { return "Probe"; }
    // Without work the module reports nothing to do.
    int Fetch() override { return work ? work(*m_pPortHelper) : 1; }
    TCPortHelper& Ports() { return *m_pPortHelper; }

    std::function<int(TCPortHelper&)> work;
};

// One cycle of the host in which the module does f; Fetch's result.
template <class F>
int Step(TCModuleHarness& host, Probe& module, F f)
{
    module.work = std::move(f);
    return host.Cycle();
}

}  // namespace port_probe_test
