#include "corekit80/modules/TCPortHelper.h"

#include "corekit80/modules/TCPortHelperImpl.h"

TCPortHelper::TCPortHelper() : m_pImpl(new TCPortHelperImpl) {}

TCPortHelper::~TCPortHelper() { delete m_pImpl; }

unsigned long TCPortHelper::Datatype(int tokenCount, const char* text)
{
    return TCPortHelperImpl::DATATYPE::FindType(text, tokenCount, nullptr);
}

bool TCPortHelper::DoesDataTypeMatch(const char* ownText, int ownCount, const char* otherText, int otherCount,
                                     const char* moduleName)
{
    TCValidateActualPortType validation;
    validation.FillValidation(ownCount, ownText);
    validation.ParsingPortType(otherText, otherCount);
    return validation.ValidateTokenSet(moduleName, moduleName == nullptr);
}
