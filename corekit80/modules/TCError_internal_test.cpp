// The error callback: first registration wins; without a main window it hears every error.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corekit80/modules/TCError.h"
#include "corekit80/modules/TCErrorImpl.h"
#include "corekit80/platform/TCDebugOutput.h"

namespace {

std::vector<std::string> Heard;
std::string Output;
void First(const char* module, const char* text) { Heard.push_back(std::string(module) + ": " + text); }
void Second(const char*, const char*) { Heard.push_back("second"); }

// Every test starts without a callback; module messages are captured from the debugger
// output, where they go without a handler and without a main window.
struct TCErrorCallback : ::testing::Test {
    void SetUp() override
    {
        TCError_ResetErrorMessageCallback();
        Heard.clear();
        Output.clear();
        TCSetDebugOutputSink([](const char* text) { Output += text; });
    }
    void TearDown() override
    {
        TCSetDebugOutputSink(nullptr);
        TCError_ResetErrorMessageCallback();
    }
};

TEST_F(TCErrorCallback, TheFirstRegistrationWins)
{
    const struct {
        void (*callback)(const char*, const char*);
        int result;
    } cases[] = {{&First, 1}, {&Second, 0}, {&First, 1}, {nullptr, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(TCError_SetErrorMessageCallback(reinterpret_cast<long>(c.callback)), c.result);
    EXPECT_EQ(TCError("Scope", "lost", 5), -2);
    EXPECT_EQ(Heard, std::vector<std::string>{"Scope: lost"});
    EXPECT_EQ(Output, "TCMessage: modul='Scope', type=4, message='lost'\n");
}

TEST_F(TCErrorCallback, WithoutACallbackTheErrorStillReturns)
{
    EXPECT_EQ(TCError("Scope", "nobody listens"), -2);
    EXPECT_TRUE(Heard.empty());
    EXPECT_EQ(TCError_SetErrorMessageCallback(reinterpret_cast<long>(&Second)), 1);
    EXPECT_EQ(TCError("A", "b", 102, nullptr), -2);
    EXPECT_EQ(Heard, std::vector<std::string>{"second"});
}

}  // namespace
