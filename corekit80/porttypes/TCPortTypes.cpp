// Port type rules that need no port: text to code, and two type texts compared.
#include "corekit80/porttypes/TCPortTypes.h"

#include "corekit80/porttypes/TCPortDataTypeImpl.h"

unsigned long TCPortTypes::Datatype(int tokenCount, const char* text)
{
    return TCPortDataType::FindType(text, tokenCount, nullptr);
}

bool TCPortTypes::DoesDataTypeMatch(const char* ownText, int ownCount, const char* otherText, int otherCount,
                                    const char* moduleName)
{
    TCValidateActualPortType validation;
    validation.FillValidation(ownCount, ownText);
    validation.ParsingPortType(otherText, otherCount);
    return validation.ValidateTokenSet(moduleName, moduleName == nullptr);
}
