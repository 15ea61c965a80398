// Translation between port type texts and type codes.
#include <cstring>

#include "corekit80/porttypes/TCPortDataTypeImpl.h"

namespace {


const char kTypeInfoToken[] = "TYPEINFO{TypeInfo}";

struct TypeName {
    uint32_t code;
    const char* base;
    const char* declarator;
    const char* channelDeclarator;  // as bus channel names carry it
};

// The element types by their code; pointers to matrices are named by their declarator.
constexpr TypeName kElementTypes[] = {
    {0x1, "SWORD", "BIN", "BIN"},
    {0x2, "SWORD[1]", "BIN", "BIN"},
    {0x4, "SWORD[]", "BIN", "BIN"},
    {0x8, "POINTER", "SWORD[][]", "SWORD[][]"},
    {0x10, "DOUBLE", "TIME_DOMAIN", "SCALAR"},
    {0x20, "DOUBLE[1]", "TIME_DOMAIN", "SCALAR"},
    {0x40, "DOUBLE[]", "TIME_DOMAIN", "TIME_DOMAIN"},
    {0x80, "POINTER", "DOUBLE[][]", "DOUBLE[][]"},
    {0x100, "UBYTE[]", "Text", "Text"},
    {0x200, "UBYTE[][]", "Text", "Text"},
};

const TypeName* ElementType(uint32_t bits)
{
    for (const TypeName& t : kElementTypes)
        if (t.code == bits)
            return &t;
    return nullptr;
}

uint32_t PointerType(const TCString& declarator)
{
    for (const TypeName& t : kElementTypes)
        if (std::strcmp(t.base, "POINTER") == 0 && declarator == t.declarator)
            return TCPortTypes::DT_POINTER | t.code;
    return TCPortTypes::DT_POINTER;
}

uint32_t Classify(const TCString& base, const TCString& declarator, bool* single)
{
    if (base.IsEmpty())
        return TCPortTypes::DT_UNDEFINED;
    if (base == "MultiType" || base == "EXT/DB") {
        if (single)
            *single = false;
        return TCPortTypes::DT_MULTITYPE;
    }
    if (base == "STRUCT_BUS")
        return TCPortTypes::DT_MULTITYPE;
    if (base == "POINTER")
        return PointerType(declarator);
    if (base == "POINTER[]")
        return TCPortTypes::DT_POINTER_ARRAY;
    for (const TypeName& t : kElementTypes)
        if (std::strcmp(t.base, "POINTER") != 0 && base == t.base)
            return t.code;
    return TCPortTypes::DT_UNKNOWN;
}

}  // namespace

TCPortTypes::TYPE TCPortDataType::FindType(const char* text, int tokenCount, bool* single)
{
    TCString rest(text);
    const int typeInfoAt = rest.Find(kTypeInfoToken);
    const bool typeInfo = typeInfoAt >= 0;
    if (typeInfo)
        rest = rest.Mid(typeInfoAt + int(sizeof kTypeInfoToken) - 1);
    rest.TrimLeft();
    rest.TrimRight();

    TCString base, declarator;
    const int open = rest.Find('{');
    if (open >= 0) {
        base = rest.Left(open);
        const TCString after = rest.Mid(open + 1);
        const int close = after.Find('}');
        if (close >= 0)
            declarator = after.Left(close);
    }
    if (single)
        *single = true;
    uint32_t code = Classify(base, declarator, single);
    if (typeInfo)
        code |= DT_TYPEINFO;
    // Several type tokens (besides the type information) have no single element type. The
    // count may come from a file: compared, not counted down, so that no value overflows.
    if (tokenCount != (typeInfo ? 2 : 1))
        code &= ~uint32_t(DT_ELEMENT_BITS);
    return TYPE(code);
}

TCString TCPortDataType::GetTypeStr(unsigned long code, const char* declarator, int* tokenCount)
{
    const char* base = "";
    const TypeName* element = ElementType(uint32_t(code & DT_ELEMENT_BITS));
    const bool noDeclarator = !declarator || !*declarator;
    if (code & (DT_POINTER | DT_POINTER_ARRAY)) {
        base = code & DT_POINTER ? "POINTER" : "POINTER[]";
        if (noDeclarator)
            declarator = (code & DT_POINTER) && element && std::strcmp(element->base, "POINTER") == 0
                             ? element->declarator
                             : "";
    } else if (element) {
        base = element->base;
        declarator = element->declarator;
    } else {
        declarator = "";
    }
    const bool typeInfo = code & DT_TYPEINFO;
    if (tokenCount)
        *tokenCount = typeInfo ? 2 : 1;
    return TCString::FormatS(typeInfo ? "TYPEINFO{TypeInfo} %s{%s}" : "%s{%s}", base, declarator);
}

TCString TCPortTypes::ChannelTypeText(unsigned long code, int* tokenCount)
{
    const bool typeInfo = code & DT_TYPEINFO;
    if (tokenCount)
        *tokenCount = typeInfo ? 2 : 1;
    const TypeName* element = ElementType(uint32_t(code & DT_ELEMENT_BITS));
    if (!element)
        return typeInfo ? TCString(kTypeInfoToken) + " " : TCString();
    return TCString::FormatS(typeInfo ? "TYPEINFO{TypeInfo} %s{%s}" : "%s{%s}", element->base,
                             element->channelDeclarator);
}
