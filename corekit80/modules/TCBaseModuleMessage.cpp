// The host's numbered messages to a module.
#include "corekit80/foundation/TCModuleMessage.h"
#include "corekit80/foundation/TCProfile.h"
#include "corekit80/foundation/TCResourceLanguage.h"
#include "corekit80/foundation/TCTranslated.h"
#include "corekit80/modules/TCBaseModule.h"
#include "corekit80/modules/TCPortHelper.h"

long TCBaseModule::GetMessageA(unsigned code, long param)
{
    switch (code) {
    case 22:
    case 23:
        TCTranslated::GetMessage(code, param);
        return 0;
    case 27:
        TCModuleMessage::Init(param);
        return 0;
    case 41:
        return TCSetLoadStrResLanguage(int(param));
    case 43:
        if (param)
            ChangeRegistryPath(reinterpret_cast<const char*>(param));
        return 0;
    default:
        return m_pPortHelper && TCPortHelper::IsHostMessage(code) ? m_pPortHelper->GetMessageA(code, param) : 0;
    }
}
