#pragma once

// RecordingHost, a test main window that records validation messages and help targets.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "corekit80/platform/TCHostWindow.h"
#include "corekit80/porttypes/TCValidateActualPortType.h"

// A host main window, installed while it lives: records validation messages (their codes
// in codes) and help targets, and answers questions from a queue, then with defaultAnswer.
struct RecordingHost : TCHostWindow {
    struct Record {
        std::string module, internal, actual;
    };
    std::vector<int> codes;
    std::vector<Record> records;
    std::vector<std::string> help;
    std::deque<int> answers;
    int defaultAnswer = 1;

    RecordingHost() { TCSetHostWindow(this); }
    ~RecordingHost() override { TCSetHostWindow(nullptr); }
    long Send(unsigned message, unsigned long wParam, long lParam) override
    {
        EXPECT_TRUE(message == 40009 && (wParam == 2 || wParam == 3));
        if (wParam == 3)
            help.emplace_back(reinterpret_cast<const char*>(lParam));
        if (wParam != 2)
            return 0;
        auto* r = reinterpret_cast<TCValidateActualPortType::VALIDATION_STRUCT*>(lParam);
        codes.push_back(r->code);
        records.push_back({r->moduleName, r->internalType, r->actualType});
        if (r->code == 101) {
            r->answer = answers.empty() ? defaultAnswer : answers.front();
            if (!answers.empty())
                answers.pop_front();
        }
        return 0;
    }
};
