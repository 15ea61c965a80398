#pragma once

// A test translator with dictionaries of texts and face names, checked for its lock.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "corekit80/foundation/TCModuleMessage.h"
#include "corekit80/foundation/TCTranslator.h"

// A translator as a host supplies it: dictionaries of texts and face names, asked under
// the record's lock, which every callback checks to be held.
struct TestDictionary {
    std::map<std::string, std::string> texts;
    std::map<std::string, std::string> faces;
    LOGFONTA font{};  // the last font result, valid until the next call
    std::atomic<int> calls{0};
};

class TestTranslator {
public:
    // A new translator with count empty dictionaries, made the current one. It lives as
    // long as the process, since the library keeps pointing at it.
    static TestTranslator& Install(int version, int count)
    {
        static std::vector<std::unique_ptr<TestTranslator>> all;
        all.emplace_back(new TestTranslator(version, count));
        EXPECT_TRUE(CTranslator::SetTranslatePtr(all.back()->Record()));
        return *all.back();
    }
    TC_TRANSLATOR* Record() { return &m_record; }
    TestDictionary& Dictionary(int i) { return m_dictionaries[i]; }

private:
    TestTranslator(int version, int count) : m_dictionaries(count)
    {
        for (TestDictionary& d : m_dictionaries)
            m_handles.push_back(&d);
        m_record.version = version;
        m_record.dictionaries = m_handles.data();
        m_record.dictionaryCount = count;
        m_record.lock = &Lock;
        m_record.unlock = &Unlock;
        m_record.oldTranslate = &LookUp;
        m_record.translate = &Translate;
    }
    static TestTranslator* Self(const TC_TRANSLATOR* r) { return reinterpret_cast<TestTranslator*>(const_cast<TC_TRANSLATOR*>(r)); }
    static void Lock(const TC_TRANSLATOR* r) { Self(r)->m_mutex.lock(); s_held = true; }
    static void Unlock(const TC_TRANSLATOR* r) { s_held = false; Self(r)->m_mutex.unlock(); }
    // Counts the call and checks the lock; the dictionary.
    static TestDictionary* Enter(void* dictionary)
    {
        auto* d = static_cast<TestDictionary*>(dictionary);
        ++d->calls;
        EXPECT_TRUE(s_held);
        return d;
    }
    static const char* LookUp(void* dictionary, const char* text)
    {
        auto& texts = Enter(dictionary)->texts;
        auto it = texts.find(text);
        return it == texts.end() ? nullptr : it->second.c_str();
    }
    static const void* Translate(void* dictionary, int kind, const void* input)
    {
        if (kind == TC_TRANSLATE_TEXT)
            return LookUp(dictionary, static_cast<const char*>(input));
        TestDictionary* d = Enter(dictionary);
        auto* font = static_cast<const LOGFONTA*>(input);
        auto it = d->faces.find(font->lfFaceName);
        if (kind != TC_TRANSLATE_FONT || it == d->faces.end())
            return nullptr;
        d->font = *font;
        std::snprintf(d->font.lfFaceName, LF_FACESIZE, "%s", it->second.c_str());
        return &d->font;
    }

    TC_TRANSLATOR m_record{};  // first, so that the record's address is the translator's
    std::deque<TestDictionary> m_dictionaries;
    std::vector<void*> m_handles;
    std::mutex m_mutex;
    static inline thread_local bool s_held = false;
};

// The module messages of this test program, recorded by a handler installed once.
class TestMessages {
public:
    static std::vector<std::string> Take()
    {
        TCModuleMessage::Init(reinterpret_cast<long>(&Record));
        std::lock_guard lock(s_mutex);
        return std::exchange(s_messages, {});
    }

private:
    static void Record(const char* module, TCModuleMessage::Types type, const char* message)
    {
        std::lock_guard lock(s_mutex);
        s_messages.push_back(std::string(module) + "|" + std::to_string(static_cast<int>(type)) + "|" +
                             message);
    }
    static inline std::mutex s_mutex;
    static inline std::vector<std::string> s_messages;
};
