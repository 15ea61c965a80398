#pragma once

// TCBaseModuleEx, the module base whose ports and parameters are the module's own variables.

#include <cstdint>

#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/modules/TCModuleContainers.h"
#include "corekit80/modules/TCModuleTypes.h"
#include "corekit80/streams/TCBlockStatus.h"
#include "corekit80/types/CString.h"
#include "corekit80/types/CStringArray.h"
#include "corekit80/types/TCArray.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCMap.h"
#include "corekit80/types/TCString.h"

class TCExtPar;
class TCTypeInfo;

// The base most modules derive from. A module binds its member variables instead of
// declaring ports: Input(name, x) makes an input whose blocks are read into x, Output(name, y)
// an output written from y, Parameter(name, p, ...) a parameter that other modules set
// through the inputs "EXT" and "DB". One record (Info) per bound variable, found again by the
// variable's address, so that Read(&x) and Write(&y) need nothing else:
//
//   class Gain : public TCBaseModuleEx {
//   public:
//       Gain() : TCBaseModuleEx(0)
//       {
//           InputExt(m_selector);                  // inputs 0 "EXT" and 1 "DB"
//           Input("In", m_in);                     // input 2, "DOUBLE[]"
//           Output("Out", m_out);                  // output 0, "DOUBLE[]"
//           Parameter("Gain", m_gain, 0.0, 10.0);
//       }
//       int Fetch() override
//       {
//           if (ReadParameters() > 0)
//               AcceptParameters();                // the new values reach the variables here
//           if (GetNumberOfBlocks(&m_in) > 0 && Read(&m_in) == 0) {
//               ...;                               // m_out from m_in
//               CopyTypeInfo(&m_in, &m_out);       // the block's marks go on
//               Write(&m_out);
//           }
//           return TCBaseModuleEx::Fetch();
//       }
//   ...
//
// Received parameter values wait in shadow copies: the variables change only when the module
// accepts them. The module's variables must outlive their binding (RemoveAllInfo or the
// destructor). Parameters need InputExt: without it Init refuses the module (-3), since the
// parameters have no input.
//
// Of the virtual slots, GetTypeOfModule answers 0, Init copies the parameters into their
// shadows before the base's Init, Fetch answers 0 while any input holds a block, else 1 (the
// source behaviour is not looked at: a source module built on this class overrides Fetch),
// and GetMessageA and ComputeValidationData do their own part first and then the base's.
class TC_EXPORT TCBaseModuleEx : public TCBaseModule {
public:
    // The kind of a bound variable, with the port type it declares.
    enum DataTypes : int32_t {
        DTYPE_INT = 0,                   // int: "SWORD"
        DTYPE_DOUBLE = 1,                // double: "DOUBLE"
        DTYPE_INT_ARRAY = 2,             // MyInternalVector<int>: "SWORD[]"
        DTYPE_INT_VAR = 3,               // int as a one-element array: "SWORD[1]"
        DTYPE_INT_TRIGGER = 4,           // int, read as a trigger: "SWORD[1]"
        DTYPE_INT_VECTOR_VAR = 5,        // MyInternalVector<int> of one element: "SWORD[1]"
        DTYPE_INT_VECTOR_TRIGGER = 6,    // MyInternalVector<int>, a trigger: "SWORD[1]"
        DTYPE_DOUBLE_ARRAY = 7,          // MyInternalVector<double>: "DOUBLE[]"
        DTYPE_DOUBLE_VAR = 8,            // double as a one-element array: "DOUBLE[1]"
        DTYPE_DOUBLE_VECTOR_VAR = 9,     // MyInternalVector<double> of one element: "DOUBLE[1]"
        DTYPE_CSTRING = 10,              // CString: "UBYTE[]"
        DTYPE_INT_MATRIX = 11,           // MyInternalMatrix<int>, MyReadonlyMatrix<int>
        DTYPE_DOUBLE_MATRIX = 12,        // MyInternalMatrix<double>, MyReadonlyMatrix<double>
        DTYPE_CSTRING_ARRAY = 13,        // CStringArray: "UBYTE[][]"
        DTYPE_DRAW_HELPER = 14,          // a drawing helper's pointer: declared, never read or written
        DTYPE_PARAMETERS = 15,           // the parameter set: no port
        DTYPE_ANY = 16,                  // a port of no type yet: it takes its first line's
        DTYPE_TCSTRING = 17,             // TCString: "UBYTE[]"
        DTYPE_TCSTRING_ARRAY = 18,       // TCArray<TCString>: "UBYTE[][]"
    };
    // How an int, a double or a vector is carried. Any other value gives the variable's plain
    // kind (int 0, double 1; a vector stays an array, 2 or 7, since it is no scalar).
    enum VariableArrayTypes : int32_t {
        VAT_SCALAR = 0,
        VAT_ARRAY1 = 1,   // a one-element array ("SWORD[1]", "DOUBLE[1]")
        VAT_TRIGGER = 2,  // int only: a one-element array read as a trigger
    };

    class InfoExtern;
    class TCArrayInfoExtern;

    // The record of one bound variable. The order of the virtual members is part of the
    // contract with module libraries that derive their own records (CreateInfo).
    class TC_EXPORT Info {
    public:
        enum Flags : uint32_t {
            F_PARAMETER_EXTERN = 0x10,
            F_READ_ONLY = 0x40,         // a MyReadonlyMatrix: blocks are attached, not copied
            F_STATUS_NA = 0x80,         // the port's blocks carry no status
            F_STATUS_READ = 0x100,      // GetInputStatus was asked
            F_NEEDS_STOP = 0x200,
            F_SUPPORT_REAL_STATUS = 0x400,
            // A block was read; its type information is fetched from the port when asked for
            // (GetTypeInfo), which spares the copy to modules that never look.
            F_TYPEINFO_AT_PORT = 0x1000,
        };

        // typeInfo, when given, passes into the record's ownership.
        Info(TCBaseModuleEx* module, void* variable, DataTypes type, TCTypeInfo* typeInfo);
        // The record that stands for the whole parameter set (kind 15).
        Info(const char* text, TCArrayInfoExtern* parameters);
        Info(const Info&) = delete;
        Info& operator=(const Info&) = delete;

        virtual ~Info();
        // Reads the waiting block into the variable and refreshes the type information from
        // the port: 0, also without a block, or the port helper's negative code (error filled).
        virtual int ReadValue(ERR_MSG& error);
        // Writes the variable as one block: 1 written, 0 nothing, else the negative code.
        virtual int WriteValue(ERR_MSG& error);
        // The port type of a kind: base name and declarator (the given one, replaced for the
        // matrix and drawing-helper kinds), withTypeInfo 0 only for kind 14. False for a kind
        // without a port (15, above 18).
        virtual bool GetStringFromDataType(DataTypes type, CString& base, CString& declarator, int& withTypeInfo);

        bool IsParameterExtern() const { return (m_flags & F_PARAMETER_EXTERN) != 0; }
        bool IsReadOnly() const { return (m_flags & F_READ_ONLY) != 0; }
        bool NeedsStop() const { return (m_flags & F_NEEDS_STOP) != 0; }
        bool IsSupportRealStatus() const { return (m_flags & F_SUPPORT_REAL_STATUS) != 0; }
        void Set(int flags) { m_flags |= uint32_t(flags); }
        void Clear(int flags) { m_flags &= ~uint32_t(flags); }
        uint32_t GetFlags() const { return m_flags; }
        // Always -1: blocks carry their status in their type information (GetTypeInfo).
        int ReadStatus() const { return -1; }

        const CString& GetText() const { return m_text; }
        int GetPort() const { return m_port; }
        PORTTYPE GetPortType() const { return m_portType; }
        TCBaseModuleEx* GetModule() const { return m_pModule; }
        // Created (status COMPLETE) when none was given; on an input, that of the last block
        // read, as the port helper holds it (GetTypeInfo).
        TCTypeInfo& GetTypeInfo();
        void* GetVariable() const { return m_pVariable; }
        DataTypes GetDataType() const { return m_dataType; }
        bool IsErrorPort() const { return m_errorPort; }

    protected:
        CString m_text;
        int32_t m_port = -1;
        PORTTYPE m_portType = PORTTYPE(-1);
        TCBaseModuleEx* m_pModule = nullptr;
        TCTypeInfo* m_pTypeInfo = nullptr;
        uint32_t m_flags = 0;
        void* m_pVariable = nullptr;
        DataTypes m_dataType = DTYPE_PARAMETERS;
        bool m_errorPort = false;

        friend class TCBaseModuleEx;
    };

    // One parameter: the variable and the shadow value that waits for the module's consent.
    class TC_EXPORT InfoExtern {
    public:
        InfoExtern(const char* name, int& variable);
        InfoExtern(const char* name, double& variable);
        InfoExtern(const char* name, CString& variable);
        InfoExtern(const char* name, TCString& variable);
        InfoExtern(const InfoExtern&) = delete;
        InfoExtern& operator=(const InfoExtern&) = delete;
        virtual ~InfoExtern();

        // DTYPE_INT, DTYPE_DOUBLE, DTYPE_CSTRING or DTYPE_TCSTRING.
        DataTypes GetType() const { return m_type; }
        void* GetVar() const { return m_pVariable; }
        // The name with every blank replaced by "_".
        const CString& GetName() const { return m_name; }
        static void ParameterNameCheck(CString& name);

        void CopyToShadow();
        void AcceptShadow();
        // Variable and shadow trade values.
        void Swap();
        int ShadowInt() const { return m_int; }
        double ShadowDouble() const { return m_double; }
        const TCString& ShadowText() const { return m_text; }

    private:
        void* m_pVariable;
        int m_int = 0;
        double m_double = 0;
        TCString m_text;  // a CString variable's text converted bytewise
        DataTypes m_type;
        CString m_name;
    };

    // Arrays of owned records, in binding order.
    class TC_EXPORT TCArrayInfo : public TCArray<Info*, Info*> {
    public:
        TCArrayInfo() = default;
        TCArrayInfo(const TCArrayInfo&) = delete;
        TCArrayInfo& operator=(const TCArrayInfo&) = delete;
        ~TCArrayInfo() override { DeleteAll(); }
        void DeleteAll();
    };
    class TC_EXPORT TCArrayInfoExtern : public TCArray<InfoExtern*, InfoExtern*> {
    public:
        TCArrayInfoExtern() = default;
        TCArrayInfoExtern(const TCArrayInfoExtern&) = delete;
        TCArrayInfoExtern& operator=(const TCArrayInfoExtern&) = delete;
        ~TCArrayInfoExtern() override { DeleteAll(); }
        void DeleteAll();
    };

    explicit TCBaseModuleEx(int instance);
    ~TCBaseModuleEx() override;

    // Slot 1: 0.
    int GetTypeOfModule() override;
    // Slot 7: 44/5 (the graph starts) clears the records' per-run status marks; then the base.
    long GetMessageA(unsigned code, long param) override;
    // Slot 17: parameters into their shadows, then the base's Init.
    int Init() override;
    // Slot 18: 0 while any input holds a block, else 1.
    int Fetch() override;
    // Slot 20: the port helper's Done.
    int Done() override;
    // Slot 24: parameters into their shadows (values changed between runs are what
    // GetParameter reports), then the base's.
    int ComputeValidationData(CALLED_FROM from) override;

    // Makes the record of a variable; a module may return a record of its own class.
    // typeInfo, when given, passes into the record's ownership.
    virtual Info* CreateInfo(const char* name, void* variable, DataTypes type, const char* declarator,
                             TCTypeInfo* typeInfo);

    // Binding ports: the index of the new record among this direction's records, or -1 when
    // the variable is bound in this direction already. A variable bound both ways gives two
    // ports of one data type, so the output follows the type that its twin input adopted.
    int Input(const char* name, int& v, const char* declarator = nullptr);
    int Input(const char* name, double& v, const char* declarator = nullptr);
    int Input(const char* name, MyInternalVector<int>& v, const char* declarator = nullptr);
    int Input(const char* name, MyInternalVector<double>& v, const char* declarator = nullptr);
    int Input(const char* name, MyInternalMatrix<int>& v, const char* declarator = nullptr);
    int Input(const char* name, MyInternalMatrix<double>& v, const char* declarator = nullptr);
    int Input(const char* name, MyReadonlyMatrix<int>& v, const char* declarator = nullptr);
    int Input(const char* name, MyReadonlyMatrix<double>& v, const char* declarator = nullptr);
    int Input(const char* name, CString& v, const char* declarator = nullptr);
    int Input(const char* name, CStringArray& v, const char* declarator = nullptr);
    int Input(const char* name, TCString& v, const char* declarator = nullptr);
    int Input(const char* name, TCArray<TCString>& v, const char* declarator = nullptr);
    int Input(const char* name, int& v, VariableArrayTypes how, const char* declarator = nullptr);
    int Input(const char* name, double& v, VariableArrayTypes how, const char* declarator = nullptr);
    int Input(const char* name, MyInternalVector<int>& v, VariableArrayTypes how, const char* declarator = nullptr);
    int Input(const char* name, MyInternalVector<double>& v, VariableArrayTypes how,
              const char* declarator = nullptr);
    int Output(const char* name, int& v, const char* declarator = nullptr, TCTypeInfo* typeInfo = nullptr);
    int Output(const char* name, double& v, const char* declarator = nullptr, TCTypeInfo* typeInfo = nullptr);
    int Output(const char* name, MyInternalVector<int>& v, const char* declarator = nullptr,
               TCTypeInfo* typeInfo = nullptr);
    int Output(const char* name, MyInternalVector<double>& v, const char* declarator = nullptr,
               TCTypeInfo* typeInfo = nullptr);
    int Output(const char* name, MyInternalMatrix<int>& v, const char* declarator = nullptr,
               TCTypeInfo* typeInfo = nullptr);
    int Output(const char* name, MyInternalMatrix<double>& v, const char* declarator = nullptr,
               TCTypeInfo* typeInfo = nullptr);
    int Output(const char* name, CString& v, const char* declarator = nullptr, TCTypeInfo* typeInfo = nullptr);
    int Output(const char* name, CStringArray& v, const char* declarator = nullptr, TCTypeInfo* typeInfo = nullptr);
    int Output(const char* name, TCString& v, const char* declarator = nullptr, TCTypeInfo* typeInfo = nullptr);
    int Output(const char* name, TCArray<TCString>& v, const char* declarator = nullptr,
               TCTypeInfo* typeInfo = nullptr);
    int Output(const char* name, int& v, VariableArrayTypes how, const char* declarator = nullptr,
               TCTypeInfo* typeInfo = nullptr);
    int Output(const char* name, double& v, VariableArrayTypes how, const char* declarator = nullptr,
               TCTypeInfo* typeInfo = nullptr);
    // The output "Error": the module's error port, written with WriteError semantics.
    int ErrorOutput(CString& v);
    int ErrorOutput(TCString& v);

    // Parameters: the index among the parameters. Numeric bounds are formatted "%d", doubles
    // "%lf" (or "%g" when that text would have 11 characters or more); a text's bounds are
    // "0" and its maximal length (none for a length below 1).
    int Parameter(const char* name, int& v);
    int Parameter(const char* name, int& v, const char* min, const char* max);
    int Parameter(const char* name, int& v, int min, int max);
    int Parameter(const char* name, double& v);
    int Parameter(const char* name, double& v, const char* min, const char* max);
    int Parameter(const char* name, double& v, double min, double max);
    int Parameter(const char* name, CString& v, int maxLength);
    int Parameter(const char* name, TCString& v, int maxLength);
    // Inputs 0 "EXT" and 1 "DB" carry the parameters; selector (1 or 2, host message 45)
    // chooses between them. -1, and nothing changed, once an input is bound; else 0.
    int InputExt(int& selector);
    // Takes the waiting parameter block: 0 when none waits, else the count read (or a negative
    // code). The values read wait in the shadows; the variables keep theirs until accepted.
    int ReadParameters();
    void AcceptParameter(int& v);
    void AcceptParameter(double& v);
    void AcceptParameter(CString& v);
    void AcceptParameter(TCString& v);
    void AcceptParameters();
    // The shadow of a parameter variable; -1 (-1.0) for a variable that is not one, an empty
    // text for texts.
    int GetParameter(int& v);
    double GetParameter(double& v);
    CString GetParameter(CString& v);
    TCString GetParameter(TCString& v);
    // A parameter block waits at "EXT" or "DB".
    bool IsParametersAvailable();
    bool IsParametersConnected();
    TCExtPar* GetExtPar();

    // The text goes to the error port while the graph runs, else to the user. An empty text
    // sends the current text of variable when it is a bound output. 0 or a negative code.
    int WriteError(CString& variable, CString text);
    // Ports and parameters gone (the ports' lines and adopted types kept for the next
    // binding), counters back to 0.
    void RemoveAllInfo();
    long GetInstanceHandle();
    TCPortHelper* GetPortHelper() { return m_pPortHelper; }

protected:
    // By the bound variable's address. Read and Write: see Info::ReadValue, WriteValue; 0 for
    // a variable not bound in that direction.
    int Read(void* variable);
    int Write(void* variable);
    // Marks the input obligatory (true); the port helper keeps no way back, so false only
    // reports whether the variable is a bound input.
    bool Obligatory(void* variable, bool obligatory);
    // Both: the blocks waiting at the input; 0 for an unbound variable.
    int GetFillSize(void* variable);
    int GetNumberOfBlocks(void* variable);
    // The status of the last block read (its type information); -1 unbound or without.
    int GetInputStatus(void* variable);
    int ReadInputStatus(void* variable);
    void SetOutputStatus(void* variable, TCBLOCKSTATUS status);
    // The record's type information: the last read (inputs) or the next written (outputs).
    TCTypeInfo* InputTypeInfo(void* variable);
    TCTypeInfo* OutputTypeInfo(void* variable);
    // The input's last type information becomes the output's next; false when either is unbound.
    bool CopyTypeInfo(void* input, void* output);
    // Port numbers; -1 when not bound.
    int GetInputIndex(void* variable);
    int GetInputIndex(Info* info);
    int GetOutputIndex(void* variable);
    bool IsInputConnected(void* variable);
    bool IsOutputConnected(void* variable);
    bool IsPacketStart(void* variable);
    bool IsPacketStop(void* variable);
    // Records by variable (SearchInfo: inputs first), parameters by variable or by name.
    Info* SearchInfo(void* variable);
    Info* SearchInputInfo(void* variable);
    Info* SearchOutputInfo(void* variable);
    InfoExtern* SearchInfoExtern(void* variable);
    InfoExtern* SearchParameterInfo(const char* name);
    // The next port number of the direction, counted on.
    int GetNextCounter(PORTTYPE type);

    // The common binding behind Input, Output and ErrorOutput; kinds without a port type
    // (15, above 18) are registered without a port.
    int Bind(PORTTYPE type, const char* name, void* variable, DataTypes kind, const char* declarator,
             TCTypeInfo* typeInfo);
    // Every input bound from now on supports the real block status (Info flag 0x400).
    void SupportRealStatus(bool on) { m_supportRealStatus = on; }
    void CopyParametersToShadowVariables();

private:
    typedef TCMap<void*, void*, Info*, Info*> InfoMap;

    int AddParameter(InfoExtern* parameter, const char* min, const char* max);

    ERR_MSG* m_pErrMsg = nullptr;
    bool m_supportRealStatus = false;
    TCArrayInfo m_inputs;
    TCArrayInfo m_outputs;
    InfoMap m_inputMap{10};
    InfoMap m_outputMap{10};
    TCArrayInfoExtern m_parameters;
    int32_t m_nextInput = 0;
    int32_t m_nextOutput = 0;
    // The selector variable given to InputExt, null before.
    int* m_pSelector = nullptr;
    // The records found last: a module reads and writes the same few variables block after
    // block, and a hit spares the hash.
    Info* m_pLastInput = nullptr;
    Info* m_pLastOutput = nullptr;
};
