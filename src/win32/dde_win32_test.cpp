// The DDEML client under Wine, against the stand-in IDE (fake_ide.exe, built
// beside this test program): conversations, executes, requests, time-outs and
// the error numbers of each failure.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dde/dde_connection.h"
#include "support/files.h"
#include "support/process.h"
#include "support/stand_in_ide.h"
#include "testing/env_wrapper.h"
#include "win32/win32.h"

namespace zqmv5 {
namespace {

using testing::CloseStandIns;
using testing::ProgramDirectory;
using testing::ReadWholeFile;
using testing::WaitForRecord;

// A stand-in IDE of this test's own: a service name no other test uses, a
// record in the temporary directory, and an end when the test ends.
class StandIn {
 public:
  explicit StandIn(const std::string& options = "") {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static int count = 0;
    const std::string tag = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
    service_ = "ZQTestIde" + tag;
    record_ = std::string(temp) + "zqmv5-fake-ide-" + tag + ".log";
    DeleteFileA(record_.c_str());
    process_ = testing::StartDetached("\"" + ProgramDirectory() + "\\fake_ide.exe\" --service " +
                                      service_ + " --record \"" + record_ + "\" --live-for 60000 " +
                                      options);
  }

  ~StandIn() {
    if (process_ == nullptr) return;
    Close();
    if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
    CloseHandle(process_);
    DeleteFileA(record_.c_str());
  }

  // Asks it to end, as a user closing the IDE would.
  void Close() { CloseStandIns(GetProcessId(process_)); }
  bool WaitForExit() { return WaitForSingleObject(process_, 10000) == WAIT_OBJECT_0; }
  bool WaitFor(const std::string& text, DWORD ms = 15000) {
    return WaitForRecord(record_, text, ms);
  }
  std::string Record() const { return ReadWholeFile(record_); }
  const std::string& service() const { return service_; }

 private:
  std::string service_;
  std::string record_;
  HANDLE process_ = nullptr;
};

class Win32DdeClientTest : public ::testing::Test {
 protected:
  std::unique_ptr<Env> env_ = NewWin32Env();
};

TEST_F(Win32DdeClientTest, ConversationCarriesCommandsAndAnswersTwoRequestsInARow) {
  StandIn ide("--error-num 42 --error-msg \"Template chain not found\"");
  ASSERT_TRUE(ide.WaitFor("serving")) << ide.Record();
  int32_t channel = 0;
  ASSERT_TRUE(env_->dde().Open(ide.service(), &channel).ok());
  ASSERT_NE(channel, 0);

  EXPECT_TRUE(env_->dde().Send(channel, "[RegisterTemplateChain(C:\\T\\A B.TPL,0)]").ok());
  EXPECT_NE(ide.Record().find("execute [RegisterTemplateChain(C:\\T\\A B.TPL,0)]\r\n"),
            std::string::npos)
      << ide.Record();

  for (int round = 0; round < 2; ++round) {
    std::string number, text;
    EXPECT_TRUE(env_->dde().Request(channel, "GetErrorNum", &number).ok()) << round;
    EXPECT_EQ(number, "42") << round;
    EXPECT_TRUE(env_->dde().Request(channel, "GetErrorMsg", &text).ok()) << round;
    EXPECT_EQ(text, "Template chain not found") << round;
  }

  EXPECT_TRUE(env_->dde().Close(channel).ok());
  EXPECT_TRUE(ide.WaitFor("terminate"));
  EXPECT_EQ(env_->dde().Send(channel, "[After]").number(), kDdeChannelNotOpen);
  EXPECT_EQ(ide.Record().find("[After]"), std::string::npos);
}

TEST_F(Win32DdeClientTest, NoServerGivesServerNotFound) {
  int32_t channel = 7;
  const Status status =
      env_->dde().Open("ZQNoSuchService" + std::to_string(GetCurrentProcessId()), &channel);
  EXPECT_EQ(channel, 0);
  EXPECT_EQ(status.number(), kDdeServerNotFound);
  EXPECT_EQ(status.message(), "DDE Server Not Found");
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int ThreadWindowCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

// A wait for a starting IDE makes hundreds of connects that nobody answers;
// none of them may leave a window behind for later broadcasts to visit.
TEST_F(Win32DdeClientTest, FailedConnectsLeaveNoWindowsBehind) {
  const std::string nobody = "ZQNoSuchService" + std::to_string(GetCurrentProcessId());
  int32_t channel = 0;
  env_->dde().Open(nobody, &channel);  // DDEML's own windows come with the first use
  const int before = ThreadWindowCount();
  for (int i = 0; i < 50; ++i) env_->dde().Open(nobody, &channel);
  EXPECT_EQ(ThreadWindowCount(), before);
}

TEST_F(Win32DdeClientTest, ChannelsNotOpenFailAtOnceWithoutWaiting) {
  env_->dde().SetTimeOut(12000);
  const DWORD start = GetTickCount();
  for (int32_t channel : {0, 1, 12345, -1}) {
    EXPECT_EQ(env_->dde().Send(channel, "[Anything]").number(), kDdeChannelNotOpen) << channel;
    std::string text = "kept";
    EXPECT_EQ(env_->dde().Request(channel, "GetErrorMsg", &text).number(), kDdeChannelNotOpen);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(env_->dde().Close(channel).number(), kDdeChannelNotOpen) << channel;
  }
  EXPECT_LT(GetTickCount() - start, 1000u);
}

// An IDE that answers busy, or that ends the conversation instead of
// answering, is told by the number that stands for it.
TEST_F(Win32DdeClientTest, CommandsAnsweredBusyOrByAnEndAreToldSo) {
  const struct {
    const char* mode;
    int number;
  } cases[] = {{"2", kDdeServerBusy}, {"3", kDdeConversationEnded}};
  for (const auto& c : cases) {
    StandIn ide(std::string("--refuse-execute ") + c.mode);
    ASSERT_TRUE(ide.WaitFor("serving")) << ide.Record();
    int32_t channel = 0;
    ASSERT_TRUE(env_->dde().Open(ide.service(), &channel).ok());
    env_->dde().SetTimeOut(1500);  // a wait for the time-out would end in 603
    EXPECT_EQ(env_->dde().Send(channel, "[Answer]").number(), c.number) << c.mode;
    env_->dde().Close(channel);
  }
}

TEST_F(Win32DdeClientTest, RefusedCommandsAndUnknownItemsAreRefusals) {
  StandIn ide("--refuse-execute 1");
  ASSERT_TRUE(ide.WaitFor("serving")) << ide.Record();
  int32_t channel = 0;
  ASSERT_TRUE(env_->dde().Open(ide.service(), &channel).ok());
  EXPECT_EQ(env_->dde().Send(channel, "[Refused]").number(), kDdeRefused);
  std::string value = "5";
  EXPECT_EQ(env_->dde().Request(channel, "NoSuchItem", &value).number(), kDdeRefused);
  EXPECT_EQ(value, "5");
  // The conversation goes on after a refusal.
  EXPECT_TRUE(env_->dde().Request(channel, "GetErrorNum", &value).ok());
  EXPECT_EQ(value, "0");
  env_->dde().Close(channel);
}

TEST_F(Win32DdeClientTest, TimeOutIsInHundredthsOfASecond) {
  StandIn ide("--hold-execute 4000");
  ASSERT_TRUE(ide.WaitFor("serving")) << ide.Record();
  int32_t channel = 0;
  ASSERT_TRUE(env_->dde().Open(ide.service(), &channel).ok());
  env_->dde().SetTimeOut(50);
  const DWORD start = GetTickCount();
  EXPECT_EQ(env_->dde().Send(channel, "[Slow]").number(), kDdeTimeOut);
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 400u);
  EXPECT_LT(elapsed, 3000u);
  env_->dde().Close(channel);
}

TEST_F(Win32DdeClientTest, ServerThatEndsTheConversationFailsLaterCommands) {
  StandIn ide;
  ASSERT_TRUE(ide.WaitFor("serving")) << ide.Record();
  int32_t channel = 0;
  ASSERT_TRUE(env_->dde().Open(ide.service(), &channel).ok());
  ide.Close();
  ASSERT_TRUE(ide.WaitForExit());
  env_->dde().SetTimeOut(300);
  EXPECT_GT(env_->dde().Send(channel, "[Gone]").number(), 600);
  EXPECT_TRUE(env_->dde().Close(channel).ok());
}

// The real platform, with the connection log kept out of the test's folder.
class NoLogEnv : public EnvWrapper {
 public:
  using EnvWrapper::EnvWrapper;
  Status WriteIniValue(const std::string&, const std::string&, const std::string&,
                       const std::string&) override {
    return {};
  }
};

// The real client, with the IDE's service name mapped to the stand-in's own
// and the time-out of the test.
class StandInClient : public DdeClient {
 public:
  StandInClient(DdeClient& real, std::string service, int32_t timeout)
      : real_(real), service_(std::move(service)), timeout_(timeout) {}
  Status Open(const std::string&, int32_t* channel) override {
    return real_.Open(service_, channel);
  }
  Status Send(int32_t channel, const std::string& command) override {
    return real_.Send(channel, command);
  }
  Status Request(int32_t channel, const std::string& item, std::string* value) override {
    return real_.Request(channel, item, value);
  }
  Status Close(int32_t channel) override { return real_.Close(channel); }
  void SetTimeOut(int32_t) override { real_.SetTimeOut(timeout_); }

 private:
  DdeClient& real_;
  std::string service_;
  int32_t timeout_;
};

// The connection object over the real client, reaching `service` with a
// time-out of `timeout` hundredths.
struct RealEnv {
  std::unique_ptr<Env> real = NewWin32Env();
};
struct RealConnection : RealEnv, NoLogEnv {
  RealConnection(const std::string& service, int32_t timeout)
      : NoLogEnv(*real), client(real->dde(), service, timeout) {}
  DdeClient& dde() override { return client; }
  StandInClient client;
  ConnectionLog log{*this};
  DdeConnection connection{*this, log, ""};
};

// An IDE that rejects the command is asked for its own error number and
// message, which explain the refusal.
TEST(Win32DdeConnectionTest, RejectedCommandIsExplainedByTheServersError) {
  StandIn ide("--refuse-execute 1 --error-num 42 --error-msg \"No such template\"");
  ASSERT_TRUE(ide.WaitFor("serving")) << ide.Record();
  RealConnection real(ide.service(), 1000);
  DdeConnection& connection = real.connection;
  ASSERT_TRUE(connection.Connect().ok());
  const Status refused = connection.RegisterTemplate("x.tpl");
  EXPECT_EQ(refused.number(), kDdeRefused);
  EXPECT_EQ(refused.message(), "DDE Request Refused; the IDE's error 42: No such template");
  EXPECT_TRUE(connection.Close().ok());
  EXPECT_TRUE(ide.WaitFor("execute [RegisterTemplateChain(x.tpl,0)]")) << ide.Record();
}

// An IDE that stops pumping messages inside the command costs one time-out:
// it is not asked for its error items afterwards, and the conversation ends
// without waiting for it.
TEST(Win32DdeConnectionTest, HungIdeCostsOneTimeOut) {
  StandIn ide("--hang-execute 8000");
  ASSERT_TRUE(ide.WaitFor("serving")) << ide.Record();
  RealConnection real(ide.service(), 200);
  DdeConnection& connection = real.connection;
  ASSERT_TRUE(connection.Connect().ok());
  const DWORD start = GetTickCount();
  const Status hung = connection.RegisterTemplate("x.tpl");
  EXPECT_EQ(hung.number(), kDdeTimeOut) << hung.message();
  connection.Close();
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 1900u);
  EXPECT_LT(elapsed, 4500u);
}

}  // namespace
}  // namespace zqmv5
