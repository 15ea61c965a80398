#pragma once

// Statistics: mean, minimum, maximum and rms of every block and of every packet. It binds
// its variables as ports (TCBaseModuleEx).
//
// Inputs:  0 "In", type text "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}", obligatory.
// Outputs: 0 "Block", type text "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}": per block the
//          four values mean, min, max, rms, with the block's type information (its status,
//          so the packets carry on) at a sample rate of one per input block.
//          1 "Packet", the same type: the four values over a whole packet (START..STOP, or
//          one COMPLETE block) when it ends, status COMPLETE, the packet's first timestamp.
//          2 "Text", type text "TYPEINFO{TypeInfo} UBYTE[][]{Text}": per block the block's
//          line, at a packet's end followed by the packet's line, e.g.
//          "Sine block 3: 100 values, mean 0.0123, min -1, max 1, rms 0.707107",
//          "Sine packet of 10 blocks: 1000 values, mean 0, min -1, max 1, rms 0.707107".
//          3 "Out", the type of In: each input block passed on unchanged, so that the
//          module can sit inside a chain.
// Settings (number, name): 1 "Report packets" (1: each packet line also goes to the host
//          as an information message; 0: not).
// Blocks without a status mark (INVALID) form no packets.

#include <corekit80/types/TCArray.h>
#include <corekit80/types/TCString.h>

#include "Moments.h"
#include "SampleModule.h"

class Statistics : public SampleModuleEx {
public:
    struct Settings {
        int reportPackets = 1;
    };

    explicit Statistics(int instance);

    const char* GetModuleTypeName() override { return "Statistics"; }
    int Init() override;
    int Fetch() override;
    void Serialize(ArchiveParser& section) override;
    void DescribeSettings(TCPropertyDialog& dialog) override;

    Settings settings;

private:
    // The four values on output, and their line (named by m_label) to the lines; false when
    // the write failed.
    bool Send(MyInternalVector<double>& output, const Moments& m);

    MyInternalVector<double> m_in;  // also the output "Out"
    MyInternalVector<double> m_blockOut;
    MyInternalVector<double> m_packetOut;
    TCArray<TCString> m_lines;  // the output "Text"
    TCString m_label;
    Moments m_packet;
    int64_t m_packetBlocks = 0;
    int64_t m_block = 0;
    double m_packetStart = 0;
};
