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
    // The waiting MultiType block of the input, its segments by position into the parameters
    // (integer segments for the integer kinds and bool, double segments for double, text
    // segments for the text kinds): the number read (0 without a block), the first negative
    // read result, or the refusing callback's result. Parameters read before a failing one
    // keep their new values. Numbers are clamped into the bounds, taken in either order; an
    // unsigned parameter takes the segment's 32 bits as unsigned and keeps to 0..4294967295,
    // unsigned long too; a NaN leaves a double as it was; bool is "not 0". Texts are padded
    // with blanks to the minimum length and cut to the maximum.
    // A text holding '}' (after padding and cutting) is refused, since the published port
    // type could not hold it: the variable keeps its value, the text naming the parameter
    // goes out through the helper's WriteError, and the result is -2. Every negative result
    // is also in the helper's error record at the input.
    int ReadParams(TCPortHelper* helper, unsigned input);
    // The port type of an input of external parameters: "NULL{not_selected}" while the
    // input is not the selected one, else a token per parameter, "SWORD{Gain:0..10(3)}":
    // its base name and a declarator of its name, bounds and current value (texts quoted
    // with TCValidationQuote). A module must not put '}' in a text parameter itself.
    void ComputeValidationData(bool selected, TCValidateActualPortType& validation);

private:
    TCExtParImpl* m_pImpl;
};
