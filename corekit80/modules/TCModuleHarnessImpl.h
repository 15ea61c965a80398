#pragma once

// The state of TCModuleHarness: settings, streams, run state and what reached the host.

#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "corekit80/foundation/TCModuleMessage.h"
#include "corekit80/modules/TCModuleHarness.h"
#include "corekit80/platform/TCHostWindow.h"
#include "corekit80/streams/TCIOStream.h"

// The harness's state; it is also the host's main window while the harness lives.
class TCModuleHarness::Impl : public TCHostWindow {
public:
    enum class State { FRESH, REFUSED, RUNNING, STOPPED };

    explicit Impl(TCBaseModule& module);
    ~Impl() override;

    // Records the message; answers validation questions.
    long Send(unsigned message, unsigned long wParam, long lParam) override;
    // The handler handed over with message 27: records at the live harness.
    static void OnModuleMessage(const char* module, TCModuleMessage::Types type, const char* text);

    // Draws the lines and connects the streams of every port not left unwired.
    void Wire();
    // The module's streams and the harness's in one pass, with no read in between: a
    // producer's tear-down destroys blocks that the other side still queues.
    void TearDown();

    TCBaseModule& module;
    TCHostWindow* previousWindow;
    Impl* previousHarness;
    State state = State::FRESH;
    bool streamsLive = false;  // wired and not yet torn down
    int cycles = 0;

    bool wiringChecks = true;
    int validationAnswer = 1;
    TCString symbol = "Harness";
    TCString graph = "Harness";
    std::set<std::pair<PORTTYPE, unsigned>> unwired;
    std::map<unsigned, std::pair<TCString, int>> offered;

    // Index = port; null where no line was drawn.
    std::vector<std::unique_ptr<TCIOStream>> producers;
    std::vector<std::unique_ptr<TCIOStream>> collectors;

    TCArray<HostRecord> hostRecords;
    TCArray<ModuleMessage> moduleMessages;
};
