// The external parameters' list and the port type it publishes.
#include "corekit80/modules/TCExtPar.h"

#include "corekit80/modules/TCExtParImpl.h"
#include "corekit80/porttypes/TCValidateActualPortType.h"

TCExtPar::TCExtPar() : m_pImpl(new TCExtParImpl) {}

TCExtPar::~TCExtPar() { delete m_pImpl; }

void TCExtPar::ClearParam() { m_pImpl->params.RemoveAll(); }

int TCExtPar::GetExtParamCount() const { return m_pImpl->params.GetSize(); }

void TCExtPar::ComputeValidationData(bool selected, TCValidateActualPortType& validation)
{
    validation.ClearAll();
    if (!selected)
        validation.InsertPortToken("NULL", "not_selected");
}
