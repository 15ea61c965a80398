#pragma once

// TCExtPar, the external parameters of a module: variables that other modules set through
// the inputs "EXT" and "DB".

#include "corekit80/types/CString.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

class TCPortHelper;
class TCTranslatedString;
class TCValidateActualPortType;

// Created, emptied and deleted by the module's port helper (UseExtPar, SetExtPar). The
// port type it publishes for its input describes every parameter, so that the host can
// check the line that feeds them.
//
// The variables are the module's: they must outlive the parameter list. Bounds are texts;
// for the text kinds they are lengths, and an empty bound stands for the extreme of the kind.
class TC_EXPORT TCExtPar {
public:
    class TCExtParImpl;

    TCExtPar();
    TCExtPar(const TCExtPar&) = delete;
    TCExtPar& operator=(const TCExtPar&) = delete;
    ~TCExtPar();

    void AddParam(const char* name, bool& v);
    void AddParam(const char* name, int& v, const char* min, const char* max);
    void AddParam(const char* name, unsigned int& v, const char* min, const char* max);
    void AddParam(const char* name, unsigned long& v, const char* min, const char* max);
    void AddParam(const char* name, double& v, const char* min, const char* max);
    void AddParam(const char* name, TCString& v, const char* min, const char* max);
    void AddParam(const char* name, CString& v, const char* min, const char* max);
    void AddParam(const char* name, TCTranslatedString& v);
    void ClearParam();
    int GetExtParamCount() const;
    // The parameter's name and its port base name ("SWORD", "DOUBLE" or "UBYTE[]"); false
    // for i out of range.
    bool GetExtParamAt(int i, TCString& name, TCString& type) const;
    // Asked after each read with its argument: above 0 accepts, otherwise the parameters read
    // get their earlier values back.
    void SetValidateFkt(int (*fn)(long), long arg);
    // The waiting MultiType block of the input, its segments by position into the parameters:
    // the number read, the first negative read result, or the refusing callback's result.
    int ReadParams(TCPortHelper* helper, unsigned input);
    // The port type of an input of external parameters: "NULL{not_selected}" while the
    // input is not the selected one, else a token per parameter.
    void ComputeValidationData(bool selected, TCValidateActualPortType& validation);

private:
    TCExtParImpl* m_pImpl;
};
