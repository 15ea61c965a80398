#pragma once

// TCProcessParameters, parameter texts (configuration files and command lines) parsed
// and edited in place.

#include "corekit80/foundation/TCNumberFormat.h"
#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

// Parses a parameter text made of "[section]" headers, name/value parameters and
// comments, and edits it in place: every edit changes the text and the recorded
// positions of what follows, so that BuildParamString returns the edited text with its
// comments and layout kept.
//
// The syntax is four lists of strings: parameter prefixes (one must precede every name;
// none: no prefix needed), delimiters (end a parameter; the first is written by edits),
// split strings (between name and value; the first is written by edits) and comment
// starts (a comment runs to the end of its line). The default object reads
// configuration files: no prefix, delimiter "\r\n" (a lone line feed is none), split
// string "=", comments "#" and ";", no unquoting. Empty strings are never added to a
// list, since they would match everywhere.
//
// Values are typed when read: integer when strtol (base 10) reads the whole value,
// double when strtod does, else string; a quoted value is always a string, and so is
// "1,5" (a decimal comma does not make a number). Numbers are read in the "C" locale
// whatever locale the host has set. Names and values keep their spaces: "a = 1" is the
// name "a " with the value " 1".
class TC_EXPORT TCProcessParameters {
public:
    enum ParamValType : int { PVT_NONE = 0, PVT_INTEGER = 1, PVT_DOUBLE = 2, PVT_STRING = 3 };

    TCProcessParameters();
    // Each character of prefixes, delimiters, splitStrings and commentStarts becomes a
    // one-character entry of its list; null adds nothing.
    TCProcessParameters(bool unquote, bool decimalComma, const char* prefixes, const char* delimiters,
                        const char* splitStrings, const char* commentStarts);
    TCProcessParameters(const TCProcessParameters& other);
    TCProcessParameters(TCProcessParameters&& other);
    TCProcessParameters& operator=(const TCProcessParameters& other);
    TCProcessParameters& operator=(TCProcessParameters&& other) noexcept;
    ~TCProcessParameters();

    // Reset, then the flags and the one-character lists as the constructor above.
    void Init(bool unquote, bool decimalComma, const char* prefixes, const char* delimiters,
              const char* splitStrings, const char* commentStarts);
    // Append one whole string to a list.
    void AddParamPrefix(const char* prefix);
    void AddParamDelimiter(const char* delimiter);
    void AddParamSplitStr(const char* splitString);
    void AddCommentStart(const char* commentStart);
    // unquote: values are decoded from C escapes, and a backslash before a quote of the
    // same kind inside a quoted value keeps it open.
    void UnQuote(bool unquote);
    // Doubles written by SetParamValDbl use ',' as decimal separator.
    void DecimalComma(bool decimalComma);
    // Unquoting on, decimal comma off, all lists emptied, text and parameters removed.
    void Reset();

    // Parses text (the syntax stays; parameters and sections start over). Returns the
    // number of parameters, or -1 with GetErrorText saying why; the parameters before
    // the faulty one stay. Out of memory, nothing stays (and the error text is empty
    // when there was no room even for it).
    int ParseParamString(const char* text);
    // Parses the arguments joined by the first delimiter.
    int ParseParamString(int argc, const char** argv);
    const TCString& GetErrorText() const;
    // The current text, with every edit applied.
    const char* BuildParamString() const;
    // Whether every recorded name and section name still lies at its position in the text.
    bool CheckConsistency() const;

    int GetParamCount() const;
    // An index out of range gives an empty string, type -1, 0 or 0.0.
    const TCString& GetParamName(int i) const;
    // The name of the parameter's section; empty before the first header.
    const TCString& GetParamSection(int i) const;
    // Quotes removed and, with unquoting, escapes decoded.
    const TCString& GetParamValStr(int i) const;
    ParamValType GetParamValType(int i) const;
    // What strtol and strtod read from the value as written, whatever its type: "12abc"
    // gives 12, a quoted value 0. Integers saturate at the limits of int.
    int GetParamValInt(int i) const;
    double GetParamValDbl(int i) const;
    // The first parameter of this name in a section of that name, or in any section when
    // section is null; -1 when none.
    int FindParameter(const char* name, const char* section) const;
    int FindParameterNoCase(const char* name, const char* section) const;

    // Editors return false for an index out of range. A new value is written after the
    // name behind the first split string.
    bool SetParamValInt(int i, int value);
    // The number as ftoa writes it in format and precision, with the decimal-comma flag.
    bool SetParamValDbl(int i, double value, StringFormat format, int precision);
    // A value containing a delimiter is written in double quotes, with a backslash before
    // each double quote inside; any other value as it is. Backslashes are not escaped, so
    // with unquoting on a value holding one reads back decoded: such values, the empty
    // value and a value that starts with a quote without holding a delimiter do not come
    // back unchanged from a new parse.
    bool SetParamValStr(int i, const char* value);
    // Removes the split string and the value; the parameter stays, without value.
    bool ClearParamVal(int i);
    // Adds a parameter without value (name and the first delimiter, never a prefix) after
    // the last parameter of the section; into an empty section right after its header, or
    // at the end of the text for the last section. A section not found is appended as a
    // header "[section]". With allowDuplicate false, an existing parameter of this name in
    // the section is returned instead. Returns the parameter's index.
    int InsertParameter(const char* name, const char* section, bool allowDuplicate);
    // Removes the name through the delimiter after it or its value; a prefix stays.
    bool DeleteParameter(int i);
    // Removes the first section with this name after the first header: its parameters and
    // its header line. The part before the first header is no section that can be deleted.
    bool DeleteSection(const char* section);

    class TCProcessParamsImpl;

private:
    TCProcessParamsImpl* m_impl;
};
