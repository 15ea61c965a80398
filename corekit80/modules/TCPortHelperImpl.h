#pragma once

// TCPortHelper::TCPortHelperImpl, the port helper's state: ports, data types, backups and flags.

#include <cstdint>

#include "corekit80/modules/TCExtPar.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/porttypes/TCPortDataTypeImpl.h"
#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCTypeInfo.h"
#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCString.h"

// The state behind a TCPortHelper.
class TCPortHelper::TCPortHelperImpl {
public:
    using DATATYPE = TCPortDataType;

    // The fields of pending type information, as set and automatic flags.
    enum : uint8_t {
        TI_TIMESTAMP = 1,
        TI_STATUS = 2,
        TI_NAME = 4,
        TI_RANGE = 8,
        TI_SAMPLERATE = 16,
        TI_UNIT = 32,
        TI_ALL = 63,
    };

    // One port. Ports live in TCArray, which moves its elements bytewise: the stream keeps
    // pointers into itself, so the port holds it by pointer.
    class PORT {
    public:
        PORT() : stream(new TCIOStream) {}
        PORT(const PORT&) = delete;
        PORT& operator=(const PORT&) = delete;
        virtual ~PORT() { delete stream; }

        bool HasType() const { return dataType >= 0; }
        // The run state that Done resets.
        void ResetRun()
        {
            lastStatus = lastStatus2 = -1;
            lastTI.Init();
            typeInfoWritten = false;
            failedFan = -1;
            tiSet = 0;
            pendingTI.Init();
            followed = -1;
            segmentsOpen = false;
            ClearBuffer();
        }
        // Empties the internal buffer and frees its memory, except the numbers of an output
        // whose line still holds a block: a matrix went out by reference to that memory.
        void ClearBuffer()
        {
            const int keep = type == PT_OUTPUT && stream->GetBlockCnt(nullptr) > 0 ? -1 : 0;
            ints.SetSize(keep);
            doubles.SetSize(keep);
            texts.SetSize(0);
            held = TCIOStream::UNDEF;
            heldMatrix = false;
            rows = cols = 0;
        }

        int32_t lastStatus = -1;
        int32_t lastStatus2 = -1;
        TCTypeInfo lastTI;
        PORTTYPE type = PT_NONE;
        TCString name;
        int32_t lines = 0;
        int32_t dataType = -1;  // index into the data-type table; -1: none attached yet
        TCIOStream* stream;
        bool multipleMatrices = false;
        bool trigger = false;
        bool obligatory = false;
        bool textFormat = true;
        // Typed outputs: type information went out in this run.
        bool typeInfoWritten = false;
        int32_t failedFan = -1;
        // Outputs: the type information the next block carries, with a set and an automatic
        // flag per field (TI_ bits).
        TCTypeInfo pendingTI;
        uint8_t tiSet = 0;
        uint8_t tiAuto = TI_ALL;
        // Outputs: the inputs whose type information the output follows, and the one of them
        // read most recently (-1 for none).
        TCArray<unsigned, unsigned> follows;
        int32_t followed = -1;
        // MultiType outputs: a block of segments is open (written to, not yet closed).
        bool segmentsOpen = false;
        // The internal buffer: which of the arrays holds it, and its matrix shape (one row
        // for a vector). The newest-value reads go through the arrays too.
        TCArray<int, int> ints;
        TCArray<double, double> doubles;
        TCArray<TCString> texts;
        TCIOStream::DATATYPE held = TCIOStream::UNDEF;
        bool heldMatrix = false;
        int32_t rows = 0;
        int32_t cols = 0;
    };
    using PortList = TCArray<PORT>;

    // What ClearPorts(true) keeps of a port for the ports declared next.
    struct BACKUPPORT {
        TCString name;
        int32_t lines = 0;
        DATATYPE type;
    };
    using BackupList = TCArray<BACKUPPORT>;

    explicit TCPortHelperImpl(TCBaseModule* owner) : module(owner) {}
    TCPortHelperImpl(const TCPortHelperImpl&) = delete;
    TCPortHelperImpl& operator=(const TCPortHelperImpl&) = delete;
    ~TCPortHelperImpl() { delete extPar; }

    PortList& Ports(PORTTYPE type) { return type == PT_INPUT ? inputs : outputs; }
    const PortList& Ports(PORTTYPE type) const { return type == PT_INPUT ? inputs : outputs; }
    BackupList& Backups(PORTTYPE type) { return type == PT_INPUT ? backupInputs : backupOutputs; }
    // The port, or null out of range.
    PORT* Port(PORTTYPE type, unsigned port)
    {
        PortList& list = Ports(type);
        return port < unsigned(list.GetSize()) ? &list.GetData()[port] : nullptr;
    }
    const PORT* Port(PORTTYPE type, unsigned port) const
    {
        const PortList& list = Ports(type);
        return port < unsigned(list.GetSize()) ? &list.GetData()[port] : nullptr;
    }
    // The port's data type, or null when it has none.
    DATATYPE* TypeOf(const PORT* p)
    {
        return p && p->dataType >= 0 && p->dataType < types.GetSize() ? &types.GetData()[p->dataType] : nullptr;
    }
    const DATATYPE* TypeOf(const PORT* p) const
    {
        return p && p->dataType >= 0 && p->dataType < types.GetSize() ? &types.GetData()[p->dataType] : nullptr;
    }
    unsigned long CodeOf(const PORT* p) const
    {
        const DATATYPE* t = TypeOf(p);
        return t ? static_cast<unsigned long>(*t) : 0;
    }
    // Grows the list so that port exists; false when the number is beyond what a list holds.
    bool Reach(PORTTYPE type, unsigned port);
    // Attaches the port to an existing data type unless it has one already.
    void Attach(PORTTYPE type, unsigned port, const char* name, unsigned dataType);
    // Appends a data type; its index.
    unsigned AddType(const DATATYPE& type);
    // The input's stream when it is connected (has its fan), else null. Inline with the
    // queue check below: Fetch asks them for every input on every call.
    TCIOStream* Connected(unsigned input) const
    {
        const PORT* p = Port(PT_INPUT, input);
        return p && p->stream->GetFanIn() ? p->stream : nullptr;
    }
    // Whether the input is connected and holds a block.
    bool HoldsBlock(unsigned input) const
    {
        const TCIOStream* s = Connected(input);
        return s && !s->GetFanIn()->m_queue.IsEmpty();
    }
    // Pointer data: "POINTER" and "POINTER[]" ports. The matrix types point to their
    // matrices too, but their blocks hold the matrix, so they are not of this family.
    static constexpr unsigned long POINTER_FAMILY = TCPortHelper::DT_POINTER | TCPortHelper::DT_POINTER_ARRAY;
    // Whatever type a port has: the whole-block operations.
    static constexpr unsigned long ANY_FAMILY = ~0ul;
    static bool IsOf(unsigned long code, unsigned long family)
    {
        if (family == POINTER_FAMILY)
            return (code & family) &&
                   !(code & (TCPortHelper::DT_SWORD_MATRIX_ELEMENT | TCPortHelper::DT_DOUBLE_MATRIX_ELEMENT));
        return (code & family) != 0;
    }
    // The input's stream when the port's type is of family, connected and holding a block.
    TCIOStream* ReadStream(unsigned input, unsigned long family) const
    {
        const PORT* p = Port(PT_INPUT, input);
        return p && IsOf(CodeOf(p), family) && HoldsBlock(input) ? p->stream : nullptr;
    }
    // The output's port when its type is of family and its stream has a line.
    PORT* WritePort(unsigned output, unsigned long family)
    {
        PORT* p = Port(PT_OUTPUT, output);
        return p && IsOf(CodeOf(p), family) && p->stream->GetFanCnt() > 0 ? p : nullptr;
    }
    // The input's stream when the port is of the MultiType class (named segments, buses).
    TCIOStream* SegmentStream(unsigned input)
    {
        PORT* p = Port(PT_INPUT, input);
        return p && (CodeOf(p) & TCPortHelper::DT_MULTITYPE) ? p->stream : nullptr;
    }
    // After a read from input: the last type information and statuses follow the block taken
    // (the next waiting one for a block handed out whole), and the input becomes the followed
    // one of the outputs that list it.
    void Refresh(unsigned input) { Refresh(input, inputs[int(input)].stream->GetTI()); }
    void Refresh(unsigned input, const TCTypeInfo* ti)
    {
        PORT& p = inputs[int(input)];
        if (ti)
            p.lastTI = *ti;
        p.lastStatus2 = p.lastStatus;
        p.lastStatus = ti ? ti->State : TCBS_INVALID;
        Follow(input);
    }
    // The input becomes the followed one of the outputs that list it.
    void Follow(unsigned input)
    {
        for (PORT& out : outputs)
            for (unsigned i : out.follows)
                if (i == input)
                    out.followed = int32_t(input);
    }
    // After a stream operation put blocks built outside the typed writes on output and
    // answered r: a negative r goes to the error record (the refused block back to the free
    // list); a positive one is kept when the blocks queued at the output's lines fit the
    // port's type, else the error record gets -2 with the fan at fault and the result is
    // that of WriteError telling so.
    int PutOutside(TCPortHelper& h, unsigned output, int r);
    // Whether the input exists and takes external parameters ("EXT" or "DB" of the MultiType class).
    bool IsExtInput(unsigned input) const;
    // Which external-parameter input is used: the selector's value, 1 without a selector.
    int Selected() const { return selector ? *selector : 1; }

    PortList inputs;
    PortList outputs;
    TCArray<DATATYPE> types;
    BackupList backupInputs;
    BackupList backupOutputs;
    TCArray<TCArray<unsigned, unsigned>> triggerGroups;
    TCExtPar* extPar = nullptr;  // owned
    int* selector = nullptr;     // the module's variable
    int32_t moduleType = 0;
    TCBaseModule* module;
    ERR_MSG error;
    int32_t errorPort = -1;
    DynPortsFn dynPorts = nullptr;
    long dynPortsArg = 0;
    bool firstInCycle = false;
    bool firstErrorBlock = false;
    bool ready = false;
    bool wiringChecks = true;
    bool validated = false;
    bool running = false;
    bool errorPortLive = false;
    double syncTime = 0;
    long instanceHandle = 0;
    SourceBehaviour sourceBehaviour = SB_NONE;
    TCString symbolName;
    TCString sgName;
    TCString randomString;
};
