#pragma once

// TCExtPar, the external parameters of a module: variables that other modules set through
// the inputs "EXT" and "DB".

#include "corekit80/types/TCExport.h"

class TCValidateActualPortType;

// Created, emptied and deleted by the module's port helper (UseExtPar, SetExtPar). The
// port type it publishes for its input describes every parameter, so that the host can
// check the line that feeds them.
class TC_EXPORT TCExtPar {
public:
    class TCExtParImpl;

    TCExtPar();
    TCExtPar(const TCExtPar&) = delete;
    TCExtPar& operator=(const TCExtPar&) = delete;
    ~TCExtPar();

    void ClearParam();
    int GetExtParamCount() const;
    // The port type of an input of external parameters: "NULL{not_selected}" while the
    // input is not the selected one, else a token per parameter.
    void ComputeValidationData(bool selected, TCValidateActualPortType& validation);

private:
    TCExtParImpl* m_pImpl;
};
