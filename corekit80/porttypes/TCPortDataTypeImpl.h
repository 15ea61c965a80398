#pragma once

// TCPortDataType, one entry of the port helper's table of data types.

#include <cstdint>

#include "corekit80/porttypes/TCPortTypes.h"
#include "corekit80/porttypes/TCValidateActualPortType.h"
#include "corekit80/types/TCString.h"

class ArchiveParser;

// One entry of the port helper's table of data types (TCPortHelper::TCPortHelperImpl::DATATYPE);
// several ports may share one. It holds the type code, the lines drawn to its ports and
// the type text split into tokens. Entries live in growable arrays that move them
// bytewise: the validation is therefore held by pointer.
class TCPortDataType : public TCPortTypes {
public:
    TCPortDataType();
    // A copy takes the code and the type text, not the line count.
    TCPortDataType(const TCPortDataType& other);
    TCPortDataType& operator=(const TCPortDataType& other);
    ~TCPortDataType();

    // Text to code. single (when given) tells whether the type names one element type
    // (false for "MultiType" and "EXT/DB").
    static TYPE FindType(const char* text, int tokenCount, bool* single);
    // Code to text, and its token count (when asked). A null or empty declarator of a
    // pointer to a matrix is that matrix's declarator.
    static TCString GetTypeStr(unsigned long code, const char* declarator, int* tokenCount);

    // The declarator used when a declaration gives none, decided by this entry's code.
    const char* DefaultDeclarator(const char* base) const;
    // Takes a complete type text as offered by the host; false for an empty text or a
    // token count below 1.
    bool ParseType(const char* text, int tokenCount);
    // Builds the type as a module declares a port.
    void ParseType(const char* base, const char* declarator, bool withTypeInfo);
    void GenType(unsigned long code);
    // Whether a line with this type text may end at a port of this entry. A port without
    // a type of its own yet adopts the offered one.
    bool ValidatePortType(const char* text, int tokenCount, const char* moduleName);
    // Adds a further token to a type of the MultiType class.
    void AddMultitype(const char* base, const char* declarator);
    // The type text that the host is shown (null with 0 tokens while undefined).
    const char* GetPortType(int* tokenCount) const;

    bool DoesDataTypeMatch(unsigned long mask) const { return DoesDataTypeMatch(mask, CHECK_ANY_BIT); }
    bool DoesDataTypeMatch(unsigned long mask, CHECK_DT mode) const;

    void AddLine(int n);
    void DelLine();
    int Lines() const { return m_lines; }
    operator unsigned long() const { return m_type; }
    TCValidateActualPortType& Validation() { return *m_validation; }
    const TCValidateActualPortType& Validation() const { return *m_validation; }

    // Fields 1 "Data type enum", 2 "Port token", 3 "Port type".
    void Serialize(ArchiveParser* archive);

private:
    uint32_t m_type;
    int32_t m_lines;
    TCValidateActualPortType* m_validation;
};
