#pragma once

// TCPortTypes, the port data-type codes and the rules of type texts.

#include <cstdint>

#include "corekit80/types/TCExport.h"
#include "corekit80/types/TCString.h"

// The port data-type rules. A port's data type is written as a type text ("SWORD{BIN}",
// "TYPEINFO{TypeInfo} DOUBLE[]{TIME_DOMAIN}") and held as a TYPE code, with which the
// port helper decides how to read and write the port's blocks. TCPortHelper derives from
// this class, so module code names these as TCPortHelper::DT_SWORD, TCPortHelper::Datatype.
class TC_EXPORT TCPortTypes {
public:
    // Port data-type codes (bits of a 32-bit value).
    enum TYPE : uint32_t {
        DT_NONE = 0x0,
        DT_SWORD = 0x1,                 // "SWORD": one signed 32-bit integer
        DT_SWORD_1 = 0x2,               // "SWORD[1]": integer array of exactly one element
        DT_SWORD_ARRAY = 0x4,           // "SWORD[]": integer array
        DT_SWORD_MATRIX = 0x10000008,   // "POINTER" to "SWORD[][]": integer matrix
        DT_DOUBLE = 0x10,               // "DOUBLE"
        DT_DOUBLE_1 = 0x20,             // "DOUBLE[1]"
        DT_DOUBLE_ARRAY = 0x40,         // "DOUBLE[]"
        DT_DOUBLE_MATRIX = 0x10000080,  // "POINTER" to "DOUBLE[][]": double matrix
        DT_STRING = 0x100,              // "UBYTE[]": a text
        DT_STRING_ARRAY = 0x200,        // "UBYTE[][]": an array of texts
        DT_MULTITYPE = 0x1000000,       // "MultiType", "STRUCT_BUS", "EXT/DB"
        DT_UNDEFINED = 0x2000000,       // no type yet: the port takes that of its first line
        DT_TYPEINFO = 0x4000000,        // the blocks carry signal type information
        DT_POINTER = 0x10000000,        // "POINTER" to data named by the declarator
        DT_POINTER_ARRAY = 0x20000000,  // "POINTER[]"
        DT_UNKNOWN = 0x40000000,        // a base name that no table entry knows

        // Groups.
        DT_SWORD_FAMILY = 0x7,
        DT_SWORD_MATRIX_ELEMENT = 0x8,
        DT_DOUBLE_FAMILY = 0x70,
        DT_DOUBLE_MATRIX_ELEMENT = 0x80,
        DT_STRING_FAMILY = 0x300,
        DT_SINGLE_VALUE = 0x133,  // one value however long the block is
        DT_ELEMENT_BITS = 0xFFFFFF,
    };

    // How DoesDataTypeMatch compares a code with a mask.
    enum CHECK_DT {
        CHECK_ANY_BIT = 0,   // any bit of the mask is set (a mask of 0 always matches)
        CHECK_ALL_BITS = 1,  // all bits of the mask are set
        CHECK_EQUAL = 2,     // the code equals the mask
    };

    // The code of a type text of tokenCount tokens.
    static unsigned long Datatype(int tokenCount, const char* text);
    // Whether a line carrying otherText may end at a port of ownText (tokens only, as far
    // as both go). With a module name the host is told about mismatches; without one the
    // check is silent.
    static bool DoesDataTypeMatch(const char* ownText, int ownCount, const char* otherText, int otherCount,
                                  const char* moduleName);

    // The type text of a bus channel's code as its segment name carries it: the element
    // type of the low 24 bits (single doubles are "SCALAR" there), "TYPEINFO{TypeInfo} " in
    // front for the type-information bit, and its token count. Empty for a code without an
    // element type.
    static TCString ChannelTypeText(unsigned long code, int* tokenCount);
};
