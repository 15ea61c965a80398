// Error texts of a module: blocks on its error port while the graph runs, else to the user.
#include <new>

#include "corekit80/modules/TCError.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"

int TCPortHelper::WriteError(const char* text, bool force)
{
    TCPortHelperImpl& d = *m_pImpl;
    TCPortHelperImpl::PORT* p = d.errorPort >= 0 ? d.Port(PT_OUTPUT, unsigned(d.errorPort)) : nullptr;
    if (!p || !d.errorPortLive || p->stream->GetFanCnt() == 0)
        return TCError(GetModuleName(), text ? text : "");
    // Readers that have not taken the last error yet are not flooded.
    if (!force && p->stream->GetBlockCnt(nullptr) > 0)
        return 0;
    TCTypeInfo ti;
    ti.Init();
    int r;
    try {
        ti.Name = "Error";
        ti.Timestamp = SyncTime();
        ti.State = TCBS_COMPLETE;
        // The first error block of a cycle opens a packet; later ones may follow it.
        r = p->stream->SetTI(&ti, !d.firstErrorBlock);
        if (r >= 0) {
            const TCString message(text ? text : "");
            r = p->stream->WriteStrVec(&message, 1);
        }
    } catch (const std::bad_alloc&) {
        r = -14;
    }
    if (r < 0) {
        p->failedFan = p->stream->GetErrFan();
        return SetErrMsg(r, PT_OUTPUT, unsigned(d.errorPort), p->failedFan);
    }
    d.firstErrorBlock = false;
    return 0;
}
