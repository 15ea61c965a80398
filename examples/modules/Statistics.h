#pragma once

// Statistics: mean, minimum, maximum and rms of every block and of every packet.
//
// Inputs:  0 "In", type text "TYPEINFO{TypeInfo} DOUBLE[]", obligatory.
// Outputs: 0 "Block", type text "TYPEINFO{TypeInfo} DOUBLE[]": per block the four values
//          mean, min, max, rms, with the block's type information (its status, so the
//          packets carry on) at a sample rate of one per input block.
//          1 "Packet", the same type: the four values over a whole packet (START..STOP, or
//          one COMPLETE block) when it ends, status COMPLETE, the packet's first timestamp.
//          2 "Text", type text "UBYTE[]": one line per block and one per packet, e.g.
//          "Sine packet of 10 blocks: 1000 values, mean 0, min -1, max 1, rms 0.707107".
//          3 "Out", the type of In: each input block passed on unchanged, so that the
//          module can sit inside a chain.
// Settings (number, name): 1 "Report packets" (1: each packet line also goes to the host
//          as an information message; 0: not).
// Blocks without a status mark (INVALID) form no packets.

#include <corekit80/streams/TCTypeInfo.h>
#include <corekit80/types/TCArray.h>
#include <corekit80/types/TCString.h>

#include "Moments.h"
#include "SampleModule.h"

class Statistics : public SampleModule {
public:
    struct Settings {
        int reportPackets = 1;
    };

    explicit Statistics(int instance);

    const char* GetModuleTypeName() override { return "Statistics"; }
    int Init() override;
    int Fetch() override;
    void Serialize(ArchiveParser& section) override;

    Settings settings;

private:
    // The four values on output, the line (named by m_label) on Text; false when a write
    // failed.
    bool Send(unsigned output, const Moments& m);

    TCArray<double, double> m_values;
    TCTypeInfo m_in;
    Moments m_packet;
    int64_t m_packetBlocks = 0;
    int64_t m_block = 0;
    double m_packetStart = 0;
    TCString m_label;
    TCString m_line;
};
