#pragma once

// TCBaseModule, the class through which the host drives a module.

#include <cstdint>

#include "corekit80/modules/TCModuleTypes.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

class TCPortHelper;
class TCPropertyDialog;

// The class through which the host drives a module. The order of the virtual members is
// the contract with the host and with module libraries built against it: do not reorder,
// insert or remove any. Almost every default forwards to the module's port helper and
// answers a neutral value when the module has none.
class TC_EXPORT TCBaseModule {
public:
    explicit TCBaseModule(int instance);
    TCBaseModule(const TCBaseModule&) = delete;
    TCBaseModule& operator=(const TCBaseModule&) = delete;

    // Slot 0: meaning fixed by the host.
    virtual void ReservedSlot0() = 0;
    // 1 marks a source module; read by the port helper at Init.
    virtual int GetTypeOfModule();
    // Slot 2: meaning fixed by the host.
    virtual void ReservedSlot2() = 0;
    virtual unsigned long GetFrameColor();
    virtual void AddLine(PORTTYPE type, int port);
    virtual void DelLine(PORTTYPE type, int port);
    virtual PORTTYPE OnLeftDblClk(unsigned flags, int point, RET_PORT& port);
    // The host's numbered messages: codes 4 to 47, everything else answers 0.
    virtual long GetMessageA(unsigned code, long param);
    virtual long GetBaseAdr(PORTTYPE type, int port);
    virtual void SetBaseAdr(PORTTYPE type, int port, long address);
    virtual void DelBaseAdr(PORTTYPE type, int port, long address);
    virtual int GetNoInput();
    virtual int GetNoOutput();
    virtual char* GetInputName(int port);
    virtual char* GetOutputName(int port);
    virtual void GetPortType(PORTTYPE type, int port, const char** text, int& tokenCount);
    virtual int ValidatePortType(PORTTYPE type, int port, const char* text, int tokenCount);
    virtual int Init();
    virtual int Fetch();
    // Slot 19: meaning fixed by the host.
    virtual void ReservedSlot19() = 0;
    virtual int Done();
    virtual void* SetInputStream(int port, int unused, int precision);
    virtual void AddOutputStream(int port, void* stream);
    virtual void DeleteStreams();
    virtual int ComputeValidationData(CALLED_FROM from);
    virtual int BuildPropertyDialog(TCPropertyDialog& dialog);
    virtual int OnEndShowDialog(int& result);
    // The module's base name, from which GetModuleName builds the display name.
    virtual const char* GetModuleTypeName() = 0;
    virtual ~TCBaseModule();

    // The base name with the instance number; built once and kept.
    const char* GetModuleName();
    void Priority(int priority) { m_priority = priority; }
    int Priority() const { return m_priority; }

private:
    TCString m_name;
    int32_t m_instance;
    int32_t m_priority = 255;

protected:
    // Owned; a module that derives straight from this class creates its own.
    TCPortHelper* m_pPortHelper = nullptr;
};
