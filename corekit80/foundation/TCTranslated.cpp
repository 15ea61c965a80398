// TCTranslated: the process-wide registry of translated objects and language changes.
#include "corekit80/foundation/TCTranslated.h"

#include <atomic>
#include <cstdarg>

#include "corekit80/foundation/TCModuleMessage.h"
#include "corekit80/foundation/TCProfile.h"
#include "corekit80/foundation/TCTranslator.h"
#include "corekit80/platform/TCDebugOutput.h"
#include "corekit80/types/TCString.h"

// The process-wide list of translated objects, in the order they were registered. It is
// never destroyed, so objects that outlive the library's other statics can still leave it.
class TCTranslatedRegistry {
public:
    static TCTranslatedRegistry& Get()
    {
        static TCTranslatedRegistry* registry = new TCTranslatedRegistry;
        return *registry;
    }

    void Add(TCTranslated* object)
    {
        std::lock_guard lock(m_mutex);
        if (object->m_registered)
            return;
        object->m_prev = m_tail;
        object->m_next = nullptr;
        (m_tail ? m_tail->m_next : m_head) = object;
        m_tail = object;
        object->m_registered = true;
    }

    void Remove(TCTranslated* object)
    {
        std::lock_guard lock(m_mutex);
        if (!object->m_registered)
            return;
        (object->m_prev ? object->m_prev->m_next : m_head) = object->m_next;
        (object->m_next ? object->m_next->m_prev : m_tail) = object->m_prev;
        object->m_registered = false;
    }

    void LanguageChanged()
    {
        std::lock_guard lock(m_mutex);
        for (TCTranslated* object = m_head; object; object = object->m_next)
            object->OnLanguageChanged();
    }

private:
    std::mutex m_mutex;
    TCTranslated* m_head = nullptr;
    TCTranslated* m_tail = nullptr;
};

namespace {

// The process-wide switches, read from the user profile on first use.
struct Switches {
    std::atomic<bool> showTraces;
    std::atomic<bool> checkHiddenChanges;

    static Switches& Get()
    {
        // Never destroyed: translated objects and the font cache may trace at exit.
        static Switches* switches =
            new Switches{LoadUserProfileInt("MainWindow", "TCTranslatedShowTraces", 0) != 0,
                         LoadUserProfileInt("MainWindow", "TCTranslatedCheckHiddenChanges", 0) != 0};
        return *switches;
    }
};

}  // namespace

TCTranslated::TCTranslated(RegistrationTime when) : m_prev(nullptr), m_next(nullptr), m_registered(false)
{
    if (when == RegisterNow)
        Register();
}

TCTranslated::TCTranslated(const TCTranslated&) : TCTranslated(RegisterNow) {}

TCTranslated::~TCTranslated() { Unregister(); }

void TCTranslated::OnLanguageChanged() {}

void TCTranslated::Register() { TCTranslatedRegistry::Get().Add(this); }

void TCTranslated::Unregister() { TCTranslatedRegistry::Get().Remove(this); }

long TCTranslated::GetMessage(unsigned int message, long lParam)
{
    if (message == 22) {
        CTranslator::SetTranslatePtr(reinterpret_cast<void*>(lParam));
    } else if (message == 23) {
        TCTranslatedRegistry::Get().LanguageChanged();
        if (IsShowingTraces()) {
            TCOutputDebugString("Translated: LanguageChanged\n");
            TCModuleMessage::Send("TCTranslated", TCModuleMessage::Types::Debug, "LanguageChanged");
        }
    }
    return 0;
}

void TCTranslated::ShowTraces(bool on) { Switches::Get().showTraces = on; }

bool TCTranslated::IsShowingTraces() { return Switches::Get().showTraces; }

void TCTranslated::CheckHiddenChanges(bool on) { Switches::Get().checkHiddenChanges = on; }

bool TCTranslated::IsCheckingHiddenChanges() { return Switches::Get().checkHiddenChanges; }

void TCTranslated::Trace(const char* source, const char* format, ...)
{
    if (!IsShowingTraces())
        return;
    va_list args;
    va_start(args, format);
    TCString text = TCString::FormatVS(format, args);
    va_end(args);
    TCOutputDebugString(text);
    TCModuleMessage::Send(source, TCModuleMessage::Types::Debug, text);
}
