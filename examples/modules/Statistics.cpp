// Statistics of blocks and packets.
#include "Statistics.h"

#include <corekit80/archive/ArchiveParser.h>
#include <corekit80/foundation/TCModuleMessage.h>

namespace {

constexpr unsigned kIn = 0, kBlock = 0, kPacket = 1, kText = 2, kOut = 3;

}  // namespace

Statistics::Statistics(int instance) : SampleModule(instance)
{
    TCPortHelper& h = Ports();
    h.SetPort(PT_INPUT, kIn, "In", "DOUBLE[]", nullptr, true);
    h.SetObligatoryInput(kIn);
    h.SetPort(PT_OUTPUT, kBlock, "Block", "DOUBLE[]", nullptr, true);
    h.SetPort(PT_OUTPUT, kPacket, "Packet", "DOUBLE[]", nullptr, true);
    h.SetPort(PT_OUTPUT, kText, "Text", "UBYTE[]", nullptr, false);
    h.SetPort(PT_OUTPUT, kOut, "Out", "DOUBLE[]", nullptr, true);
    for (unsigned out : {kBlock, kPacket, kOut})
        h.UseTypeInfoFromInput(out, kIn);
}

int Statistics::Init()
{
    m_packet = Moments();
    m_packetBlocks = m_block = 0;
    return TCBaseModule::Init();
}

int Statistics::Fetch()
{
    const int r = TCBaseModule::Fetch();
    if (r != 0)
        return r;
    TCPortHelper& h = Ports();
    if (h.BlocksOnStream(PT_INPUT, kIn) == 0)
        return 0;
    if (h.ReadDblArray(kIn, m_values) < 0)
        return Fail("a block could not be read");
    h.GetTypeInfo(kIn, &m_in);
    const int n = int(m_values.GetSize());
    if (h.WriteDblArray(kOut, m_values) < 0)
        return FailedWrite("the block passed on");
    if (h.IsPacketStart(kIn, false)) {
        m_packet = Moments();
        m_packetBlocks = 0;
        m_packetStart = m_in.Timestamp;
    }
    Moments block;
    block.Add(m_values.GetData(), n);
    m_packet.Add(block);
    ++m_packetBlocks;
    ++m_block;
    if (n > 0) {
        h.SetTI_Samplerate(kBlock, m_in.Samplerate / n);
        m_label.Format("block %lld", static_cast<long long>(m_block));
        if (!Send(kBlock, block))
            return FailedWrite("the block's statistics");
    }
    const bool packetEnds = m_in.State != TCBS_INVALID && h.IsPacketStop(kIn);
    if (packetEnds && m_packet.count > 0) {
        h.SetTI_Status(kPacket, TCBS_COMPLETE);
        h.SetTI_Timestamp(kPacket, m_packetStart);
        m_label.Format("packet of %lld block%s", static_cast<long long>(m_packetBlocks), m_packetBlocks == 1 ? "" : "s");
        if (!Send(kPacket, m_packet))
            return FailedWrite("the packet's statistics");
        if (settings.reportPackets)
            TCModuleMessage::Info(GetModuleName(), "%s", static_cast<const char*>(m_line));
    }
    return 0;
}

bool Statistics::Send(unsigned output, const Moments& m)
{
    TCPortHelper& h = Ports();
    const double values[4] = {m.Mean(), m.min, m.max, m.Rms()};
    if (h.WriteDblData(output, 4, values) < 0)
        return false;
    m_line.Format("%s %s: %lld values, mean %.6g, min %.6g, max %.6g, rms %.6g",
                  static_cast<const char*>(m_in.Name), static_cast<const char*>(m_label),
                  static_cast<long long>(m.count), values[0], values[1], values[2], values[3]);
    return h.WriteStringVal(kText, m_line) >= 0;
}

void Statistics::Serialize(ArchiveParser& a) { a.Serialize(1, "Report packets", settings.reportPackets); }
