#pragma once

// TCModuleHarness, a host for one module under test.

#include <cstdint>

#include "corekit80/modules/TCModuleTypes.h"
#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

class TCBaseModule;
class TCIOStream;
class TCTypeInfo;

// Plays the host for one module, so that a module author can run it in a unit test: it
// wires a stream to every port, sends the host's messages in the host's order, feeds the
// inputs, runs Fetch cycles, collects what the outputs wrote and records every message
// that reaches the host's main window.
//
//   TEST(Gain, DoublesItsInput)
//   {
//       Gain module(0);                        // declared first: it outlives the harness
//       TCModuleHarness host(module);
//       ASSERT_EQ(host.Start(), 0);            // messages, wiring, Init, run state
//       const double v[] = {1, 2};
//       host.Write(0, v, 2);                   // a block at input 0
//       EXPECT_EQ(host.Run(10), 1);            // Fetch until idle
//       EXPECT_EQ(host.OutputDoubles(0, 0)[1], 4.0);
//       EXPECT_TRUE(host.HostRecords().IsEmpty());
//   }
//
// Start sends 4 (instance handle), 18 (symbol name), 19 (signal-graph name), 27 (the
// harness's module-message handler), 38 (wiring checks), then ComputeValidationData, wires
// the ports, calls Init and, when Init succeeds, sends 44/5 and 46/1. Each cycle is 32 and
// Fetch. Stop sends 46/0 and 44/6, calls Done and tears the streams down; the destructor
// stops a running module and tears down what Stop has not.
//
// Wiring: for each input not left unwired the harness owns a producer stream. The line is
// drawn as a host draws it: the type the producer offers (the input's own type unless
// OfferType says otherwise) must pass the module's ValidatePortType; then AddLine, the
// module's SetInputStream and the producer's AddOutputStream. For each output the harness
// owns a collecting input stream, connected with AddLine and AddOutputStream.
//
// While the harness lives it is the host's main window (the previous one comes back at its
// destruction). Module messages reach it through the handler it hands over with message 27,
// which is the process's handler only when none was installed before; once installed it
// stays, and drops the messages sent while no harness lives. One harness at a time; the
// module must outlive it. Not copyable.
class TC_EXPORT TCModuleHarness {
public:
    // A message that reached the host's main window.
    struct HostRecord {
        uint32_t message = 0;  // 40009 for the requests below
        uint32_t request = 0;  // wParam: 2 validation, 3 help, 8 balloon, 11 error
        // error: the module; validation: the module
        TCString module;
        // error: its text; balloon: its text; help: the target; validation: the port's own
        // token or declarator
        TCString text;
        // balloon: its title; validation: the other end's token or declarator
        TCString text2;
        // error: its type (101, 102); balloon: its icon; validation: its code (101 question)
        int32_t type = 0;
    };
    // A module message as the handler received it.
    struct ModuleMessage {
        TCString module;
        int32_t type = 0;  // a TCModuleMessage::Types bit
        TCString text;
    };

    explicit TCModuleHarness(TCBaseModule& module);
    TCModuleHarness(const TCModuleHarness&) = delete;
    TCModuleHarness& operator=(const TCModuleHarness&) = delete;
    ~TCModuleHarness();

    // Settings, read by Start. Wiring checks are on by default.
    void SetWiringChecks(bool on);
    void SetNames(const char* symbol, const char* graph);
    // Answer given to validation questions (40009/2 with code 101); 1 by default (accept).
    void SetValidationAnswer(int answer);
    void LeaveUnwired(PORTTYPE type, unsigned port);
    void OfferType(unsigned input, const char* typeText, int tokenCount);

    // The host's start: Init's result (0, or -3 with ErrMsg filled), or -1 when started before.
    int Start();
    // One cycle: message 32 and Fetch; Fetch's result, or -1 when not running.
    int Cycle();
    // Cycles while Fetch reports work (0), at most maxCycles; the last result (-1 for none).
    int Run(int maxCycles);
    int Cycles() const;
    // Done's result, or -1 when not running. Afterwards the streams are gone.
    int Stop();
    bool IsRunning() const;
    // Any other host message, passed through to the module.
    long Message(unsigned code, long param);
    // The module's error record (through message 16); null without a port helper.
    const ERR_MSG* ErrMsg();
    // Whether Start drew a line to the port.
    bool IsWired(PORTTYPE type, unsigned port) const;

    // Feeding an input: each writes one block into its producer and answers as the stream
    // does (0 written, or nothing to do without a line); -1 for an input without a producer.
    int Write(unsigned input, int value);
    int Write(unsigned input, double value);
    int Write(unsigned input, const double* values, int n, const TCTypeInfo* ti = nullptr);
    int Write(unsigned input, const char* text);
    // The general form: writer(TCIOStream&) writes to the producer and answers.
    template <class F>
    int WriteWith(unsigned input, F writer)
    {
        TCIOStream* producer = Producer(input);
        return producer ? writer(*producer) : -1;
    }
    // The producer stream of an input (owned by the harness until tear-down), or null.
    TCIOStream* Producer(unsigned input);

    // What an output wrote, queued at its collecting stream (owned by the harness until
    // tear-down; null for an output without one). Blocks are counted from the oldest.
    TCIOStream* Collector(unsigned output);
    int OutputBlockCnt(unsigned output);
    TCArray<int, int> OutputInts(unsigned output, int block);
    TCArray<double, double> OutputDoubles(unsigned output, int block);
    TCArray<TCString> OutputTexts(unsigned output, int block);
    // The block's type info, owned by its producer: valid while the block stays queued.
    const TCTypeInfo* OutputTI(unsigned output, int block);

    // What reached the host, oldest first.
    const TCArray<HostRecord>& HostRecords() const;
    const TCArray<ModuleMessage>& ModuleMessages() const;
    void ClearRecords();

    class Impl;

private:
    Impl* m_pImpl;
};
