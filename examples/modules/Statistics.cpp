// Statistics of blocks and packets.
#include "Statistics.h"

#include <corekit80/archive/ArchiveParser.h>
#include <corekit80/foundation/TCModuleMessage.h>
#include <corekit80/propertydialog/TCPropertyComboBuilders.h>
#include <corekit80/streams/TCTypeInfo.h>

Statistics::Statistics(int instance) : SampleModuleEx(instance)
{
    Input("In", m_in);
    Obligatory(&m_in, true);
    Output("Block", m_blockOut);
    Output("Packet", m_packetOut);
    Output("Text", m_lines);
    Output("Out", m_in);
}

int Statistics::Init()
{
    m_packet = Moments();
    m_packetBlocks = m_block = 0;
    return SampleModuleEx::Init();
}

int Statistics::Fetch()
{
    if (GetNumberOfBlocks(&m_in) == 0)
        return SampleModuleEx::Fetch();
    if (Read(&m_in) < 0)
        return Fail("a block could not be read");
    CopyTypeInfo(&m_in, &m_in);
    if (Write(&m_in) < 0)
        return FailedWrite("the block passed on");
    const TCTypeInfo& in = *InputTypeInfo(&m_in);
    if (IsPacketStart(&m_in)) {
        m_packet = Moments();
        m_packetBlocks = 0;
        m_packetStart = in.Timestamp;
    }
    Moments block;
    block.Add(m_in.GetData(), int(m_in.GetSize()));
    m_packet.Add(block);
    ++m_packetBlocks;
    ++m_block;
    m_lines.SetSize(0);
    if (block.count > 0) {
        CopyTypeInfo(&m_in, &m_blockOut);
        OutputTypeInfo(&m_blockOut)->Samplerate = in.Samplerate / double(block.count);
        m_label.Format("block %lld", static_cast<long long>(m_block));
        if (!Send(m_blockOut, block))
            return FailedWrite("the block's statistics");
    }
    if (in.State != TCBS_INVALID && IsPacketStop(&m_in) && m_packet.count > 0) {
        CopyTypeInfo(&m_in, &m_packetOut);
        TCTypeInfo& out = *OutputTypeInfo(&m_packetOut);
        out.State = TCBS_COMPLETE;
        out.Timestamp = m_packetStart;
        m_label.Format("packet of %lld block%s", static_cast<long long>(m_packetBlocks), m_packetBlocks == 1 ? "" : "s");
        if (!Send(m_packetOut, m_packet))
            return FailedWrite("the packet's statistics");
        if (settings.reportPackets)
            TCModuleMessage::Info(this->GetModuleName(), "%s", static_cast<const char*>(m_lines[m_lines.GetSize() - 1]));
    }
    // The lines in one block: a second block could not follow one that closes a packet
    // before the reader has taken it.
    if (m_lines.GetSize() > 0) {
        CopyTypeInfo(&m_in, &m_lines);
        if (Write(&m_lines) < 0)
            return FailedWrite("the statistics' lines");
    }
    return SampleModuleEx::Fetch();
}

bool Statistics::Send(MyInternalVector<double>& output, const Moments& m)
{
    output.SetSize(4);
    output[0] = m.Mean();
    output[1] = m.min;
    output[2] = m.max;
    output[3] = m.Rms();
    TCString line;
    line.Format("%s %s: %lld values, mean %.6g, min %.6g, max %.6g, rms %.6g",
                static_cast<const char*>(InputTypeInfo(&m_in)->Name), static_cast<const char*>(m_label),
                static_cast<long long>(m.count), output[0], output[1], output[2], output[3]);
    m_lines.Add(line);
    return Write(&output) >= 0;
}

void Statistics::Serialize(ArchiveParser& a) { a.Serialize(1, "Report packets", settings.reportPackets); }

void Statistics::DescribeSettings(TCPropertyDialog& dialog)
{
    TCPropertyYesNo(dialog, settings.reportPackets, "Report packets");
}
