// Tests of module messages with and without a handler.
#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "corekit80/foundation/TCModuleMessage.h"
#include "corekit80/foundation/TCModuleMessageImpl.h"
#include "corekit80/platform/TCDebugOutput.h"
#include "corekit80/platform/TCHostWindow.h"

namespace {

std::vector<std::string> Received;
void Handler(const char* module, TCModuleMessage::Types type, const char* message)
{
    Received.push_back(std::string(module) + "|" + std::to_string(static_cast<int>(type)) + "|" + message);
}
void OtherHandler(const char*, TCModuleMessage::Types, const char*) { Received.push_back("other"); }

std::string Output;
void Capture(const char* text) { Output += text; }

struct MainWindow : TCHostWindow {
    long Send(unsigned, unsigned long, long) override { return 0; }
};

// Every test starts and ends without a handler.
struct TCModuleMessageTest : ::testing::Test {
    void SetUp() override { TCModuleMessageResetHandler(); }
    void TearDown() override { TCModuleMessageResetHandler(); }
};

// Without a handler the messages go to the debugger output, standard error by default,
// unless there is a main window. Run in a fresh process, so that the sink stays this test's.
TEST_F(TCModuleMessageTest, WithoutHandlerWritesToTheDebuggerOutput)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TCModuleMessage::Send("Scope", TCModuleMessage::Types::Warning, "stderr");
            TCSetDebugOutputSink(&Capture);
            TCModuleMessage::Info("Filter", "%d blocks, %s", 3, "late");
            TCModuleMessage::Send(nullptr, TCModuleMessage::Types::Alert, nullptr);
            MainWindow window;
            TCSetHostWindow(&window);
            TCModuleMessage::Critical("Filter", "dropped");
            TCSetHostWindow(nullptr);
            std::exit(Output == "TCMessage: modul='Filter', type=32, message='3 blocks, late'\n"
                                "TCMessage: modul='', type=2, message=''\n"
                          ? 0
                          : 1);
        },
        ::testing::ExitedWithCode(0), "TCMessage: modul='Scope', type=8, message='stderr'\n");
}

TEST_F(TCModuleMessageTest, FirstHandlerStaysAndGetsEverySeverity)
{
    TCModuleMessage::Init(0);
    TCModuleMessage::Init(reinterpret_cast<long>(&Handler));
    TCModuleMessage::Init(reinterpret_cast<long>(&OtherHandler));
    Received.clear();
    TCModuleMessage::Emergency("M", "e%d", 1);
    TCModuleMessage::Alert("M", "a");
    TCModuleMessage::Critical("M", "c");
    TCModuleMessage::Warning("M", "w");
    TCModuleMessage::Notice("M", "n");
    TCModuleMessage::Info("M", "i");
    TCModuleMessage::Debug("M", "%s", "d");
    MainWindow window;
    TCSetHostWindow(&window);
    TCModuleMessage::Send("M", TCModuleMessage::Types::Debug, "with window");
    TCSetHostWindow(nullptr);
    EXPECT_EQ(Received, (std::vector<std::string>{"M|1|e1", "M|2|a", "M|4|c", "M|8|w", "M|16|n", "M|32|i",
                                                  "M|64|d", "M|64|with window"}));
}

}  // namespace
