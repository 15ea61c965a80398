#pragma once

// TCTranslated, the base of lazily translated texts and fonts.

#include <mutex>

#include "corekit80/types/TCExport.h"

// Base of the objects that translate a text or font lazily and keep the result. Every
// such object is registered process-wide while it lives, so that a change of language
// invalidates all of them at once.
//
// A language change calls OnLanguageChanged on the thread that reports it, so a derived
// class must be complete before it is registered and unregistered before its own parts
// are destroyed: pass RegisterLater to the base, call Register() at the end of the
// constructor and Unregister() first in the destructor. OnLanguageChanged must not create
// or destroy translated objects.
class TC_EXPORT TCTranslated {
public:
    virtual ~TCTranslated();
    // Called for every registered object when the language has changed.
    virtual void OnLanguageChanged();

    // The host's messages: 22 installs the translator record whose address is lParam,
    // 23 reports a change of language. Returns 0.
    static long GetMessage(unsigned int message, long lParam);

    // Traces of every translation and language change to the debugger output and as
    // debug module messages; initially as the user profile says.
    static void ShowTraces(bool on);
    static bool IsShowingTraces();
    // Whether translated objects compare their source with a remembered copy on every
    // use, to notice changes made directly to the source; initially as the user profile says.
    static void CheckHiddenChanges(bool on);
    static bool IsCheckingHiddenChanges();

protected:
    enum RegistrationTime { RegisterNow, RegisterLater };

    explicit TCTranslated(RegistrationTime when = RegisterNow);
    TCTranslated(const TCTranslated& other);
    TCTranslated& operator=(const TCTranslated&) { return *this; }

    // Enter the object in the process-wide list, or take it out; both may be repeated.
    void Register();
    void Unregister();

    // With traces on, writes the formatted text to the debugger output and sends it as a
    // debug module message from source.
    static void Trace(const char* source, const char* format, ...) TC_PRINTF(2, 3);

    // Guards the object's translation.
    mutable std::mutex m_lock;

private:
    friend class TCTranslatedRegistry;
    TCTranslated* m_prev;
    TCTranslated* m_next;
    bool m_registered;
};
