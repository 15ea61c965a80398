// The port helper's construction; its type rules come from TCPortTypes.
#include "corekit80/modules/TCPortHelper.h"

#include "corekit80/modules/TCPortHelperImpl.h"

TCPortHelper::TCPortHelper() : m_pImpl(new TCPortHelperImpl) {}

TCPortHelper::~TCPortHelper() { delete m_pImpl; }
