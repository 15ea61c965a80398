#pragma once

// TCPortHelper, everything a module knows about its ports.

#include <cstdint>

#include "corekit80/modules/TCModuleTypes.h"
#include "corekit80/porttypes/TCPortTypes.h"
#include "corekit80/streams/TCBlockStatus.h"
#include "corekit80/foundation/TCNumberFormat.h"
#include "corekit80/foundation/TCSI_Unit.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

class ArchiveParser;
class TCBaseModule;
class TCExtPar;
class TCTypeInfo;
class TCXML;

// Everything a module knows about its ports: the input and output lists, the table of data
// types they point to (several ports may share one), the stream behind each port, the wiring
// rules, the run-state flags the host sets through messages, and the module's error record.
// A port's data type is written as a type text ("SWORD{BIN}", "TYPEINFO{TypeInfo}
// DOUBLE[]{TIME_DOMAIN}") and held as a TYPE code.
//
// Every operation that takes a port number answers one out of range with its neutral value
// (0, false, null, empty text) and changes nothing. No locks: the host serializes the calls.
class TC_EXPORT TCPortHelper : public TCPortTypes {
public:
    class TCPortHelperImpl;

    // For source modules (module type 1): how Fetch reports work without waiting input.
    enum SourceBehaviour : int32_t {
        SB_NONE = 0,
        SB_WHILE_READY = 1,  // runs while the ready flag is set
        SB_ONCE = 2,         // runs until the ready flag is cleared, then reports its end once
    };
    // What IsWired looks at.
    enum LINETYPE : int32_t {
        LT_LINES = 0,    // the lines drawn (the graph as edited)
        LT_STREAMS = 1,  // the connected streams (the graph as run)
        LT_RUNNING = 2,  // streams while running, drawn lines otherwise
    };
    // How CheckWired judges a list.
    enum CHECK_PT : int32_t {
        CP_ANY = 0,  // at least one of the list must be wired
        CP_ALL = 1,  // all of the list must be wired
    };
    typedef const char* (*PortNameFn)(PORTTYPE type, unsigned port);
    // Asked with request 0 for the wanted port counts, 1 whether a change is offered, -1 to
    // agree to a change about to be made.
    typedef int (*DynPortsFn)(long arg, int request);

    // The module may be null: names and messages then use "No module".
    explicit TCPortHelper(TCBaseModule* module);
    virtual ~TCPortHelper();
    // Not copyable: a copy would share the implementation and free it twice.
    TCPortHelper(const TCPortHelper&) = delete;
    TCPortHelper& operator=(const TCPortHelper&) = delete;

    // Declaring ports. Each grows the port list so that the port exists (ports before it come
    // without data types); none replaces a port that already has a data type. The SetPort
    // forms append a data type and return its index.
    unsigned SetPort(PORTTYPE type, unsigned port, const char* name, const char* base, const char* declarator,
                     bool withTypeInfo);
    unsigned SetPort(PORTTYPE type, unsigned port, const char* name, unsigned long code);
    unsigned SetPortRange(PORTTYPE type, unsigned first, unsigned count, PortNameFn nameOf, const char* base,
                          const char* declarator, bool withTypeInfo);
    unsigned SetPortRange(PORTTYPE type, unsigned first, unsigned count, PortNameFn nameOf, unsigned long code);
    // Ignored for a data-type index beyond the table.
    void AttachPort(PORTTYPE type, unsigned port, const char* name, unsigned dataType);
    void AttachPortRange(PORTTYPE type, unsigned first, unsigned count, PortNameFn nameOf, unsigned dataType);
    void AddMultitype(unsigned dataType, const char* base, const char* declarator);
    void ChangeType(PORTTYPE type, unsigned port, const char* base, const char* declarator, bool withTypeInfo);
    // The output that receives the module's error texts while the graph runs.
    void SetErrorPort(unsigned port, const char* name);
    // Back to no ports, types and trigger groups; backup keeps names, lines and adopted types
    // for the ports declared next (see ComputeValidationData).
    void ClearPorts(bool backup);
    void UseDynPorts(DynPortsFn callback, long arg);

    // External parameters arrive at input 0 "EXT" and, with a selector variable, at input 1
    // "DB"; the selector holds which one is used (1 or 2) and host message 45 sets it.
    // UseExtPar empties the parameters and makes the inputs; SetExtPar with a null selector
    // deletes them.
    TCExtPar* UseExtPar();
    TCExtPar* UseExtPar(int* selector);
    TCExtPar* SetExtPar(int* selector);
    void SetExtPorts(bool both);
    void SetExtParVar(int* selector);
    TCExtPar* GetExtPar() const;

    // Wiring rules and run behaviour.
    void SetTriggerInputs(const unsigned* inputs, unsigned n);
    void SetTriggerInputs(unsigned a, unsigned b);
    void ClearTriggerInputs();
    void SetObligatoryInputs(const unsigned* inputs, unsigned n);
    void SetObligatoryInput(unsigned input);
    void SetStringDataFormat(PORTTYPE type, unsigned port, bool text);
    void AllowMultipleMatrices(unsigned output, bool allow);
    void BehaviourAsSource(SourceBehaviour behaviour);
    void SetReadyFlag(bool ready);

    // Queries.
    int GetPortCnt(PORTTYPE type) const;
    const char* GetPortName(PORTTYPE type, unsigned port) const;
    const char* GetPortType(PORTTYPE type, unsigned port, int* tokenCount) const;
    unsigned long DataType(PORTTYPE type, unsigned port, unsigned* dataTypeIndex) const;
    using TCPortTypes::DoesDataTypeMatch;
    bool DoesDataTypeMatch(PORTTYPE type, unsigned port, unsigned long mask, CHECK_DT mode) const;
    // True for "SWORD[1]" and "DOUBLE[1]" only.
    bool IsScalarDataType(PORTTYPE type, unsigned port) const;
    // Bytes of one element: 8 doubles, 4 integers, 1 texts, else 0.
    int ElemSize(PORTTYPE type, unsigned port) const;
    int Precision(unsigned input) const;
    // The number of elements in the port's internal buffer, of texts for a text type;
    // elemSize gets ElemSize.
    unsigned GetBufferSize(PORTTYPE type, unsigned port, unsigned* elemSize) const;
    bool IsWired(PORTTYPE type, unsigned port, LINETYPE how) const;
    // which: 1 inputs, 2 outputs, 3 both. Streams while running, drawn lines otherwise.
    bool AnyPortWired(int which) const;
    // 1 when two inputs share a name, 2 when two outputs do (name receives it), else 0.
    static int CheckPortNames(const TCArray<TCString>& inputs, const TCArray<TCString>& outputs, TCString& name);
    // which: 1 inputs, 2 outputs, 3 both. name, else name_1, name_2, ...: the first that no
    // port of those lists carries.
    bool MakePortNameUnique(int which, TCString& name) const;
    const char* GetModuleName() const;
    const char* GetSymbolName() const;
    const char* GetSGName() const;
    // A random hexadecimal text, made once per helper.
    const char* RandomString();
    long GetInstanceHandle() const;
    bool IsRunning() const;
    bool IsValidated() const;
    bool ReadyToExecute() const;
    bool FirstInCycle(bool clear);
    // The synchronisation start time; the current time when none is set yet.
    double SyncTime();

    // Wiring checks: 0 when satisfied, else -3 with the error record naming the input.
    int CheckWired(unsigned a, unsigned b);
    int CheckWired(unsigned a, const unsigned* list, unsigned n, CHECK_PT mode);
    int CheckAllOrNoneWired(unsigned a, unsigned b);
    bool IsExtWiredOK();
    bool AreObligatoryInputsWired();

    // The run: Init 0 or -3; Fetch 0 work, 1 nothing to do, 2 a source module has finished.
    int Init();
    int Fetch();
    int Done();
    // Empty the internal buffers (see ReadInternalData) and free their memory.
    void ClearBuffers();
    void ClearBuffer(PORTTYPE type, unsigned port);
    bool AnyDataAvail() const;
    bool TriggerDataAvail();
    bool DataAvail(unsigned input, TCBLOCKSTATUS* status, unsigned* blocks, unsigned* values,
                   unsigned* elemSize) const;
    // checks: 1 statuses, 2 block counts, 4 value counts, 8 sample rates, 16 units must agree.
    // The smallest block count of the connected inputs, 0, or a negative code.
    int SynchronousDataAvail(const unsigned* inputs, unsigned n, int checks);
    int SynchronousDataAvail(unsigned first, unsigned count, int checks);
    int BlocksOnStream(PORTTYPE type, unsigned port) const;
    int ReadTrigger(unsigned input, bool all);
    int NotWiredOrTrigger(unsigned input, bool all);
    // External parameters waiting at the selected input; ReadExtParam reads them into the
    // variables (TCExtPar::ReadParams), a negative code also into the error record.
    bool IsExtParamsAvail();
    int ReadExtParam();
    void ClearStream(unsigned input, bool all);
    // n 0 or beyond the count removes all; a negative n leaves -n. The number removed.
    int RemoveBlocks(unsigned input, int n);
    // The status of piece [done, done + now) of a block of total values split into pieces.
    static TCBLOCKSTATUS ConvBlockState(TCBLOCKSTATUS state, unsigned total, unsigned done, unsigned now);

    // The host's side.
    void* SetInputStream(unsigned input, int unused, int precision);
    void AddOutputStream(unsigned output, void* stream);
    // Destroys every stream's blocks, also those still queued at inputs of other modules:
    // the host takes the whole graph down at once.
    void DeleteStreams();
    void AddLine(PORTTYPE type, unsigned port);
    void DelLine(PORTTYPE type, unsigned port);
    bool ValidatePortType(PORTTYPE type, unsigned port, const char* text, int tokenCount);
    void StoreValidation(PORTTYPE type, unsigned port, const char* text, int tokenCount);
    int ComputeValidationData(CALLED_FROM from, bool deep);
    // Whether the host message code is one the port helper answers.
    static bool IsHostMessage(unsigned code);
    long GetMessageA(unsigned code, long param);
    // The port configuration; after loading the helper counts as validated.
    void Serialize(ArchiveParser* archive);

    // Typed reads, one block per call, input number first. A port out of range, a data type
    // of another family, an input without stream or without a waiting block give 0 and
    // change nothing. A positive result is the number of values delivered; a negative one
    // is the stream's code, also put in the error record. A successful read refreshes the
    // port's last type information and status. Single-value types deliver one value (the
    // block's last); a requested count above 2147483647 gives -14.
    int ReadIntData(unsigned input, unsigned& n, int* buf);
    int ReadDblData(unsigned input, unsigned& n, double* buf);
    int ReadStringData(unsigned input, unsigned& n, TCString* buf);
    int ReadCStringData(unsigned input, unsigned& n, CString* buf);
    // The whole block, the array resized to it (TCArray passes as its CArray base).
    int ReadIntArray(unsigned input, CArray<int, int>& values);
    int ReadDblArray(unsigned input, CArray<double, double>& values);
    int ReadStringArray(unsigned input, CArray<TCString>& texts);
    int ReadCStringArray(unsigned input, CArray<CString>& texts);
    // The block's last text.
    int ReadString(unsigned input, TCString& text);
    int ReadCString(unsigned input, CString& text);
    // The newest value: every waiting block is consumed when all is set or at most one
    // waits, else one. Numbers: 1 when a consumed block held a value (its last one is
    // delivered), 0 when none did. Texts: the last text of the last block, empty when it
    // held none, and 1.
    int ReadIntLastVal(unsigned input, int& value, bool all);
    int ReadDblLastVal(unsigned input, double& value, bool all);
    int ReadBoolLastVal(unsigned input, bool& value, bool all);
    int ReadStringLastVal(unsigned input, TCString& value, bool all);
    int ReadCStringLastVal(unsigned input, CString& value, bool all);

    // Typed writes, one block per call, output number first. A port out of range, a data
    // type of another family or an output without a line give 0 and write nothing; 1 when
    // the block was written; a negative code is put in the error record with the fan at
    // which the stream failed (FailedFan). The pending type information goes out first on
    // types that carry it. Single-value types write only the last of n values; n 0 writes
    // nothing and gives 0.
    int WriteIntVal(unsigned output, int value);
    int WriteDblVal(unsigned output, const double& value);
    int WriteIntData(unsigned output, unsigned n, const int* values);
    int WriteDblData(unsigned output, unsigned n, const double* values);
    int WriteIntArray(unsigned output, const CArray<int, int>& values);
    int WriteDblArray(unsigned output, const CArray<double, double>& values);
    int WriteStringVal(unsigned output, const TCString& text);
    int WriteCStringVal(unsigned output, const CString& text);
    int WriteStringData(unsigned output, unsigned n, const TCString* texts);
    int WriteCStringData(unsigned output, unsigned n, const CString* texts);
    int WriteStringArray(unsigned output, const CArray<TCString>& texts);
    int WriteCStringArray(unsigned output, const CArray<CString>& texts);
    // Matrices. A read hands out the matrix of the block it takes by pointer: for a matrix
    // written by reference (as the writes below do) that is the writer's memory, good while
    // the writer keeps it unchanged; otherwise it points into the block, good until the
    // writer's next write on that line. Copy what must live longer. A write refuses a second
    // matrix with -19 while the line still holds a block, unless AllowMultipleMatrices.
    int ReadIntMatrix(unsigned input, unsigned& rows, unsigned& cols, int** data);
    int ReadDblMatrix(unsigned input, unsigned& rows, unsigned& cols, double** data);
    int WriteIntMatrix(unsigned output, unsigned rows, unsigned cols, const int* data);
    int WriteDblMatrix(unsigned output, unsigned rows, unsigned cols, const double* data);

    // The port's internal buffer. ReadInternalData takes the waiting block of any family into
    // the input's buffer (a copy: good until the next ReadInternalData); the Access calls
    // show it, null and 0 when it holds another kind. On outputs the Alloc calls size the
    // buffer for the family (null for another family or a count beyond 2147483647) and
    // WriteInternalData writes it as allocated, WriteInternalMatrix as a matrix of the given
    // sizes. An internal matrix goes out by reference: allocate again only after the readers
    // took it.
    int ReadInternalData(unsigned input);
    int* AccessIntData(unsigned input, unsigned& n);
    double* AccessDblData(unsigned input, unsigned& n);
    TCString* AccessStringData(unsigned input, unsigned& n);
    int* AccessIntMatrix(unsigned input, unsigned& rows, unsigned& cols);
    double* AccessDblMatrix(unsigned input, unsigned& rows, unsigned& cols);
    int* AllocIntData(unsigned output, unsigned n);
    double* AllocDblData(unsigned output, unsigned n);
    TCString* AllocStringData(unsigned output, unsigned n);
    int* AllocIntMatrix(unsigned output, unsigned rows, unsigned cols);
    double* AllocDblMatrix(unsigned output, unsigned rows, unsigned cols);
    int WriteInternalData(unsigned output);
    int WriteInternalMatrix(unsigned output, unsigned rows, unsigned cols);
    // Compares the waiting block, without taking it, with the input's buffer: 0 when they hold
    // the same kind, shape and values (texts byte for byte, doubles by ==, so NaN differs)
    // and when no block waits, 1 when they differ.
    int CompareWithInternalData(unsigned input);

    // By the port's type: buf holds ints, doubles or TCStrings as the family says; elemSize
    // gets ElemSize. A matrix output takes n values as rows of *cols columns (nothing
    // for cols 0 or null).
    int ReadPolymorphicData(unsigned input, unsigned& n, void* buf, unsigned* elemSize);
    int WritePolymorphicData(unsigned output, unsigned n, const void* data, unsigned* cols);

    // Pointer types ("POINTER", "POINTER[]"; not the matrix types): the block carries the
    // writer's address ptrs and the count n of what it points to; the reader gets both
    // (*ptrs, n) and 1. The memory stays the writer's: the library never follows the address.
    int ReadValAndPtr(unsigned input, unsigned& n, void** ptrs);
    int WriteValAndPtr(unsigned output, unsigned n, const void* ptrs);

    // Whole blocks. WriteCopy puts a copy of a block (a TCIOStream::Block) taken from another
    // stream on an output of any type: 0 when nothing was written, else the copy goes out and
    // is checked against the port's type: 1 when it fits, else the error record gets -2 with
    // the fan at fault and the result is that of WriteError telling so. ExchangeBinary hands
    // the waiting block to the caller without copying it (see TCIOStream::ExchangeBinary): data
    // holds it until the next call, and a call with take false releases it. Taking a block
    // makes its type information the input's last one, and the input the followed one.
    // CopyStreamContent moves the input's next block to the output with the given status
    // (or, in the second form, with ti when given, fixed into the line's sequence when fix);
    // the type information the block went out with becomes the output's pending one. Both
    // ports carry type information. 1 moved, 0 nothing waiting or no line at the output (the
    // input's waiting blocks are then dropped), else the negative code: a closed block
    // behind another is -4, or -18 after type information went out on the port. A refused
    // block is lost in the first form and stays waiting in the second.
    int WriteCopy(unsigned output, void* block);
    int ExchangeBinary(unsigned input, void*& data, bool take);
    int CopyStreamContent(unsigned output, unsigned input, TCBLOCKSTATUS status);
    int CopyStreamContent(unsigned output, unsigned input, bool fix, const TCTypeInfo* ti);

    // A port's blocks in the stream's text, binary and XML forms. The reads take the input's
    // next block (StreamToXML with peek looks at the index-th one instead) and answer as the
    // stream does; a taken block refreshes the input's last type information. The writes
    // put one block, or the document's blocks, on the output and check them against the
    // port's type like WriteCopy: 0 without a line, else the stream's result, or that of
    // WriteError when a block does not fit. ConvertToString shows the port's queued blocks
    // (an input's, or those an output's first line still holds).
    int SerializeBlock(unsigned input, char* buffer, bool withTI);
    int DeSerializeBlock(unsigned output, const TCString& text);
    TCString SerializeForOldStream(unsigned input);
    int DeSerializeForOldStream(unsigned output, const char* text, int length);
    bool StreamToXML(unsigned input, TCXML& xml, bool peek, int index);
    int XMLToStream(unsigned output, TCXML& xml);
    TCString ConvertToString(PORTTYPE type, unsigned port, int block = -1, int maxLen = -1, bool withTI = true,
                             StringFormat format = SF_AUTO, int precision = -1);

    // MultiType outputs: each write appends one named segment to the output's open block
    // (1, 0 when the output does not take it, or the stream's code); EndWriteMultitype sends
    // the block with the pending type information: 1, 0 for another type or no line, -2 (and
    // the user told) when nothing was written since the last close. Blocks are the stream's
    // blocks, copied into the segment.
    int WriteMultitypeInt(unsigned output, int value, const char* name);
    int WriteMultitypeDbl(unsigned output, const double& value, const char* name);
    int WriteMultitypeString(unsigned output, const TCString& value, const char* name);
    int WriteMultitypeBlocks(unsigned output, const TCArray<void*>& blocks, const char* name);
    int EndWriteMultitype(unsigned output);
    // MultiType inputs: StartReadMultitype takes the waiting block (1, or 0 without one); the
    // others look at it, by segment index or by segment name. A
    // segment of another type gives -2, told through WriteError. Types: 1 integer, 2 double,
    // 3 text, 4 pointer, 5 blocks, 0 none. The blocks read are owned by the block taken and
    // valid until the writer's next write.
    int StartReadMultitype(unsigned input);
    int GetMultitypeInfo(unsigned input, TCArray<TCString>* names);
    const char* GetMultitypeName(unsigned input, int index);
    int GetMultitypeType(unsigned input, int index);
    int ReadMultitypeInt(unsigned input, int index, int& value);
    int ReadMultitypeInt(unsigned input, const char* name, int& value);
    int ReadMultitypeDbl(unsigned input, int index, double& value);
    int ReadMultitypeDbl(unsigned input, const char* name, double& value);
    int ReadMultitypeString(unsigned input, int index, TCString& value);
    int ReadMultitypeString(unsigned input, const char* name, TCString& value);
    int ReadMultitypeBlocks(unsigned input, int index, TCArray<void*>& blocks);
    int ReadMultitypeBlocks(unsigned input, const char* name, TCArray<void*>& blocks);

    // Bus ports ("STRUCT_BUS", of the MultiType class): each write appends one channel, its
    // values with their own type information, to the output's open block, closed by
    // EndWriteMultitype; results as the MultiType writes. A channel is found by its name or
    // its number in the block taken by StartReadMultitype: 0 without it, 1 when read, -2
    // (told through WriteError) for a channel of another kind. ti, when given, gets the
    // channel's type information. Matrices and pointers point at the writer's memory
    // (written without copy) or into the block, valid until the writer's next write.
    int WriteIntBusBlock(unsigned output, int value, int channel, const char* name, const TCTypeInfo& ti);
    int WriteDblBusBlock(unsigned output, double value, int channel, const char* name, const TCTypeInfo& ti);
    int WriteStringBusBlock(unsigned output, const TCString& value, int channel, const char* name,
                            const TCTypeInfo& ti);
    int WriteIntDataBusBlock(unsigned output, unsigned n, const int* values, int channel, const char* name,
                             const TCTypeInfo& ti);
    int WriteDblDataBusBlock(unsigned output, unsigned n, const double* values, int channel, const char* name,
                             const TCTypeInfo& ti);
    int WriteStringDataBusBlock(unsigned output, unsigned n, const TCString* values, int channel, const char* name,
                                const TCTypeInfo& ti);
    int WriteIntMatrixBusBlock(unsigned output, unsigned rows, unsigned cols, const int* data, bool copy,
                               int channel, const char* name, const TCTypeInfo& ti);
    int WriteDblMatrixBusBlock(unsigned output, unsigned rows, unsigned cols, const double* data, bool copy,
                               int channel, const char* name, const TCTypeInfo& ti);
    int WritePtrBusBlock(unsigned output, unsigned n, const void* data, const char* declarator, int channel,
                         const char* name, const TCTypeInfo& ti);
    int ReadIntBusBlock(unsigned input, const char* name, int& value, TCTypeInfo* ti = nullptr);
    int ReadIntBusBlock(unsigned input, int channel, int& value, TCTypeInfo* ti = nullptr);
    int ReadDblBusBlock(unsigned input, const char* name, double& value, TCTypeInfo* ti = nullptr);
    int ReadDblBusBlock(unsigned input, int channel, double& value, TCTypeInfo* ti = nullptr);
    int ReadStringBusBlock(unsigned input, const char* name, TCString& value, TCTypeInfo* ti = nullptr);
    int ReadStringBusBlock(unsigned input, int channel, TCString& value, TCTypeInfo* ti = nullptr);
    int ReadIntArrayBusBlock(unsigned input, const char* name, TCArray<int, int>& values, TCTypeInfo* ti = nullptr);
    int ReadIntArrayBusBlock(unsigned input, int channel, TCArray<int, int>& values, TCTypeInfo* ti = nullptr);
    int ReadDblArrayBusBlock(unsigned input, const char* name, TCArray<double, double>& values,
                             TCTypeInfo* ti = nullptr);
    int ReadDblArrayBusBlock(unsigned input, int channel, TCArray<double, double>& values, TCTypeInfo* ti = nullptr);
    int ReadStringArrayBusBlock(unsigned input, const char* name, TCArray<TCString>& values,
                                TCTypeInfo* ti = nullptr);
    int ReadStringArrayBusBlock(unsigned input, int channel, TCArray<TCString>& values, TCTypeInfo* ti = nullptr);
    int ReadIntMatrixBusBlock(unsigned input, const char* name, unsigned& rows, unsigned& cols, int** data,
                              TCTypeInfo* ti = nullptr);
    int ReadIntMatrixBusBlock(unsigned input, int channel, unsigned& rows, unsigned& cols, int** data,
                              TCTypeInfo* ti = nullptr);
    int ReadDblMatrixBusBlock(unsigned input, const char* name, unsigned& rows, unsigned& cols, double** data,
                              TCTypeInfo* ti = nullptr);
    int ReadDblMatrixBusBlock(unsigned input, int channel, unsigned& rows, unsigned& cols, double** data,
                              TCTypeInfo* ti = nullptr);
    int ReadPtrBusBlock(unsigned input, const char* name, unsigned& n, void** data, TCTypeInfo* ti = nullptr);
    int ReadPtrBusBlock(unsigned input, int channel, unsigned& n, void** data, TCTypeInfo* ti = nullptr);
    // The bus blocks of the channel (1 or 0) and the values of its first one.
    int GetBusBlockCnt(unsigned input, const char* name);
    int GetBusBlockCnt(unsigned input, int channel);
    int GetBusBlockElementCnt(unsigned input, const char* name);
    int GetBusBlockElementCnt(unsigned input, int channel);
    // The parts of a channel's segment name: false, and nothing set, when it has fewer than
    // four. dataType gets the channel's type code.
    static bool SplitBusChannelName(const char* segment, int* channel, TCString* name, TCString* compCheck,
                                    unsigned long* dataType, TCString* validation);

    // While the graph runs and the error port is live with a line: the text as one block
    // named "Error" on the error port, nothing (0) when the last one still waits unless
    // force; 0 when written, else the stream's code in the error record. Otherwise the text
    // goes to TCError and the result is -2.
    int WriteError(const char* text, bool force);

    // The fan of the output's stream at which the last write failed; -1 when none.
    int FailedFan(unsigned output) const;

    // Which fields of an output's type information are filled automatically (all, until
    // told otherwise): the timestamp with the synchronisation time, the status by the packet
    // rules, the signal name with the port's name. A set value goes first, timestamp and
    // status once.
    void UseAutoTypeInfo(unsigned output, bool timestamp, bool status, bool signalName, bool range, bool unit,
                         bool sampleRate);
    // The output follows the inputs listed (the one read most recently): fields neither
    // automatic nor set are copied from that input's last type information. Turns every
    // automatic flag off. A followed input without type information leaves the pending
    // values as they are.
    void UseTypeInfoFromInput(unsigned output, unsigned input);
    void UseTypeInfoFromInputs(unsigned output, const unsigned* inputs, unsigned n);
    // The pending type information handed to the output's stream without data: 0, also for
    // a type without type information or an output without a line, else the negative code.
    int WriteTypeInfo(unsigned output);
    // Pending type information of an output whose type carries it and which has a line:
    // each given field is stored and marked set (range: minimum, then maximum).
    void SetTypeInfo(unsigned output, const double* timestamp, const TCBLOCKSTATUS* status, const char* name,
                     const double* range, const double* samplerate, const TCSI_Unit* unit);
    void SetTypeInfo(unsigned output, const TCTypeInfo& ti);
    void SetTI_Timestamp(unsigned output, double timestamp);
    void SetTI_Status(unsigned output, TCBLOCKSTATUS status);
    void SetTI_SignalName(unsigned output, const char* name);
    void SetTI_Range(unsigned output, double min, double max);
    void SetTI_Samplerate(unsigned output, double rate);
    void SetTI_Unit(unsigned output, const TCSI_Unit& unit);
    void SetTI_Unit(unsigned output, const char* unit, double factor);
    // Inputs: the status of the last block read and a copy of its type information; -1 for a
    // type without type information.
    int GetTypeInfo(unsigned input, TCTypeInfo* ti) const;
    // The next waiting block, not consumed; -1 for a type neither undefined nor with type
    // information, without stream or without block. PeekTypeInfo also makes the input the
    // followed one of the outputs that list it.
    int PeekTypeInfo(unsigned input, TCTypeInfo* ti) const;
    int PeekStatus(unsigned input, bool all, unsigned* blocks) const;
    // Whether the last block read opened a packet (START, COMPLETE, or the block before it
    // closed one); with peek the next waiting block is judged in its place.
    bool IsPacketStart(unsigned input, bool peek) const;
    bool IsPacketStop(unsigned input) const;

    // Fill the error record; return code.
    int SetErrMsg(int code, PORTTYPE type, unsigned port, int second);
    int SetErrMsg(int code, PORTTYPE type, unsigned port, int second, const char* text, const char* text2);
    const ERR_MSG& GetErrMsg() const;

private:
    TCPortHelperImpl* m_pImpl;
};
