// The DDEML client under Wine, against the stand-in IDE (fake_ide.exe, built
// beside this test program): conversations, executes, requests, time-outs and
// the error numbers of each failure.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "dde/dde_connection.h"
#include "runtime/win32_backends.h"
#include "testing/fake_runtime.h"

namespace zqmv5 {
namespace {

std::string ProgramDirectory() {
  char module[MAX_PATH * 2] = {};
  GetModuleFileNameA(nullptr, module, sizeof(module));
  std::string path = module;
  return path.substr(0, path.find_last_of('\\'));
}

std::string ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  CloseHandle(file);
  return bytes;
}

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
    std::string line = "\"" + ProgramDirectory() + "\\fake_ide.exe\" --service " + service_ +
                       " --record \"" + record_ + "\" --live-for 60000 " + options;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
      CloseHandle(process.hThread);
      process_ = process.hProcess;
      process_id_ = process.dwProcessId;
    }
  }

  ~StandIn() {
    if (process_ == nullptr) return;
    Close();
    if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
    CloseHandle(process_);
    DeleteFileA(record_.c_str());
  }

  // Asks it to end, as a user closing the IDE would.
  void Close() {
    Search search{process_id_, nullptr};
    EnumWindows(FindStandIn, reinterpret_cast<LPARAM>(&search));
    if (search.found) PostMessageA(search.found, WM_CLOSE, 0, 0);
  }

  bool WaitForExit() { return WaitForSingleObject(process_, 10000) == WAIT_OBJECT_0; }

  // Waits until the record holds `text`.
  bool WaitFor(const std::string& text, DWORD ms = 15000) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
      if (Record().find(text) != std::string::npos) return true;
      Sleep(20);
    }
    return false;
  }

  std::string Record() const { return ReadWholeFile(record_); }
  const std::string& service() const { return service_; }
  bool started() const { return process_ != nullptr; }

 private:
  struct Search {
    DWORD process_id;
    HWND found;
  };
  static BOOL CALLBACK FindStandIn(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    if (owner != search->process_id || std::string(name) != "ZQMV5FakeIde") return TRUE;
    search->found = window;
    return FALSE;
  }

  std::string service_;
  std::string record_;
  HANDLE process_ = nullptr;
  DWORD process_id_ = 0;
};

class Win32DdeClientTest : public ::testing::Test {
 protected:
  ErrorState error_;
  std::unique_ptr<DdeClient> dde_ = NewWin32DdeClient(error_);
};

TEST_F(Win32DdeClientTest, ConversationCarriesCommandsAndAnswersTwoRequestsInARow) {
  StandIn ide("--error-num 42 --error-msg \"Template chain not found\"");
  ASSERT_TRUE(ide.WaitFor("serving")) << ide.Record();
  const int32_t channel = dde_->ConnectChannel(ide.service(), "");
  ASSERT_NE(channel, 0) << error_.text();
  EXPECT_EQ(error_.code(), 0);

  dde_->ExecuteCommand(channel, "[RegisterTemplateChain(C:\\T\\A B.TPL,0)]");
  EXPECT_EQ(error_.code(), 0) << error_.text();
  EXPECT_NE(ide.Record().find("execute [RegisterTemplateChain(C:\\T\\A B.TPL,0)]\r\n"),
            std::string::npos)
      << ide.Record();

  for (int round = 0; round < 2; ++round) {
    int32_t number = -1;
    dde_->RequestNumber(channel, "GetErrorNum", &number);
    EXPECT_EQ(error_.code(), 0) << round << " " << error_.text();
    EXPECT_EQ(number, 42) << round;
    std::string text = "unchanged";
    dde_->RequestText(channel, "GetErrorMsg", &text);
    EXPECT_EQ(error_.code(), 0) << round << " " << error_.text();
    EXPECT_EQ(text, "Template chain not found") << round;
  }

  dde_->CloseChannel(channel);
  EXPECT_EQ(error_.code(), 0);
  EXPECT_TRUE(ide.WaitFor("terminate"));
  dde_->ExecuteCommand(channel, "[After]");
  EXPECT_EQ(error_.code(), kDdeChannelNotOpen);
  EXPECT_EQ(ide.Record().find("[After]"), std::string::npos);
}

TEST_F(Win32DdeClientTest, NoServerGivesServerNotFound) {
  EXPECT_EQ(dde_->ConnectChannel("ZQNoSuchService" + std::to_string(GetCurrentProcessId()), ""), 0);
  EXPECT_EQ(error_.code(), kDdeServerNotFound);
  EXPECT_EQ(error_.text(), "DDE Server Not Found");
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
  dde_->ConnectChannel(nobody, "");  // DDEML's own windows come with the first use
  const int before = ThreadWindowCount();
  for (int i = 0; i < 50; ++i) dde_->ConnectChannel(nobody, "");
  EXPECT_EQ(ThreadWindowCount(), before);
}

TEST_F(Win32DdeClientTest, ChannelsNotOpenFailAtOnceWithoutWaiting) {
  dde_->SetTimeout(12000);
  const DWORD start = GetTickCount();
  for (int32_t channel : {0, 1, 12345, -1}) {
    dde_->ExecuteCommand(channel, "[Anything]");
    EXPECT_EQ(error_.code(), kDdeChannelNotOpen) << channel;
    int32_t number = 7;
    dde_->RequestNumber(channel, "GetErrorNum", &number);
    EXPECT_EQ(error_.code(), kDdeChannelNotOpen) << channel;
    EXPECT_EQ(number, 7);
    std::string text = "kept";
    dde_->RequestText(channel, "GetErrorMsg", &text);
    EXPECT_EQ(text, "kept");
    dde_->CloseChannel(channel);
    EXPECT_EQ(error_.code(), kDdeChannelNotOpen) << channel;
  }
  EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST_F(Win32DdeClientTest, WildcardAndCommaFormsReachTheServer) {
  StandIn ide;
  ASSERT_TRUE(ide.WaitFor("serving")) << ide.Record();
  const int32_t with_topic = dde_->ConnectChannel(ide.service() + ",System", "");
  EXPECT_NE(with_topic, 0) << error_.text();
  EXPECT_TRUE(ide.WaitFor("connect " + ide.service() + "|System", 2000)) << ide.Record();
  const int32_t with_topic2 = dde_->ConnectChannel(ide.service(), "Other");
  EXPECT_NE(with_topic2, 0) << error_.text();
  const int32_t any = dde_->ConnectChannel("", "");
  EXPECT_NE(any, 0) << error_.text();
  EXPECT_TRUE(ide.WaitFor("connect *|*", 2000)) << ide.Record();
  EXPECT_NE(with_topic, any);
  dde_->CloseChannel(any);
  dde_->CloseChannel(with_topic);
}

TEST_F(Win32DdeClientTest, RefusedCommandsAndUnknownItemsAreRefusals) {
  StandIn ide("--refuse-execute 1");
  ASSERT_TRUE(ide.WaitFor("serving")) << ide.Record();
  const int32_t channel = dde_->ConnectChannel(ide.service(), "");
  ASSERT_NE(channel, 0) << error_.text();
  dde_->ExecuteCommand(channel, "[Refused]");
  EXPECT_EQ(error_.code(), kDdeRefused) << error_.text();
  int32_t number = 5;
  dde_->RequestNumber(channel, "NoSuchItem", &number);
  EXPECT_EQ(error_.code(), kDdeRefused) << error_.text();
  EXPECT_EQ(number, 5);
  // The conversation goes on after a refusal.
  dde_->RequestNumber(channel, "GetErrorNum", &number);
  EXPECT_EQ(error_.code(), 0) << error_.text();
  EXPECT_EQ(number, 0);
  dde_->CloseChannel(channel);
}

TEST_F(Win32DdeClientTest, TimeOutIsInHundredthsOfASecond) {
  StandIn ide("--hold-execute 4000");
  ASSERT_TRUE(ide.WaitFor("serving")) << ide.Record();
  const int32_t channel = dde_->ConnectChannel(ide.service(), "");
  ASSERT_NE(channel, 0) << error_.text();
  dde_->SetTimeout(50);
  const DWORD start = GetTickCount();
  dde_->ExecuteCommand(channel, "[Slow]");
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_EQ(error_.code(), kDdeTimeOut) << error_.text();
  EXPECT_GE(elapsed, 400u);
  EXPECT_LT(elapsed, 3000u);
  dde_->CloseChannel(channel);
}

TEST_F(Win32DdeClientTest, ServerThatEndsTheConversationFailsLaterCommands) {
  StandIn ide;
  ASSERT_TRUE(ide.WaitFor("serving")) << ide.Record();
  const int32_t channel = dde_->ConnectChannel(ide.service(), "");
  ASSERT_NE(channel, 0) << error_.text();
  ide.Close();
  ASSERT_TRUE(ide.WaitForExit());
  dde_->SetTimeout(300);
  dde_->ExecuteCommand(channel, "[Gone]");
  EXPECT_GT(error_.code(), kLastRuntimeError) << error_.text();
  dde_->CloseChannel(channel);
  EXPECT_EQ(error_.code(), 0);
}

// The connection object over the real DDE client and clock, the rest faked,
// set up for `service` with a time-out of `timeout` hundredths.
struct RealDde {
  RealDde(const std::string& service, int32_t timeout) {
    connection.Init("");
    connection.Configure({service, "", 0, nullptr, timeout});
  }
  FakeRuntime fake;
  std::unique_ptr<DdeClient> dde = NewWin32DdeClient(fake.error);
  std::unique_ptr<Clock> clock = NewWin32Clock();
  Runtime runtime{fake.error,    fake.command_line, fake.profile, fake.messages,
                  fake.programs, fake.files,        *clock,       fake.text_files,
                  *dde,          fake.windows};
  ConnectionLog log{fake.profile};
  DdeConnection connection{runtime, log};
};

// The connection object over the real client: an IDE that rejects the command
// is asked for its own error number and message.
TEST(Win32DdeConnectionTest, RejectedCommandBringsTheServersErrorIntoTheObject) {
  StandIn ide("--refuse-execute 1 --error-num 42 --error-msg \"No such template\"");
  ASSERT_TRUE(ide.WaitFor("serving")) << ide.Record();
  RealDde real(ide.service(), 1000);
  DdeConnection& connection = real.connection;
  FakeRuntime& fake = real.fake;
  EXPECT_EQ(connection.Connect(), 0);
  EXPECT_TRUE(fake.programs.started.empty());
  connection.RegisterTemplate("x.tpl", 0);
  EXPECT_EQ(connection.DDEERRORCODE, 42);
  EXPECT_EQ(connection.DDEERROR, "No such template");
  connection.Disconnect();
  EXPECT_EQ(connection.CHANNEL, 0);
  EXPECT_TRUE(ide.WaitFor("execute [RegisterTemplateChain(x.tpl,0)]")) << ide.Record();
}

// An IDE that stops pumping messages inside the command costs one time-out:
// it is not asked for its error items afterwards, and the conversation ends
// without waiting for it.
TEST(Win32DdeConnectionTest, HungIdeCostsOneTimeOut) {
  StandIn ide("--hang-execute 8000");
  ASSERT_TRUE(ide.WaitFor("serving")) << ide.Record();
  RealDde real(ide.service(), 200);
  DdeConnection& connection = real.connection;
  ASSERT_EQ(connection.Connect(), 0);
  const DWORD start = GetTickCount();
  connection.RegisterTemplate("x.tpl", 0);
  EXPECT_EQ(connection.DDEERRORCODE, kDdeTimeOut) << connection.DDEERROR;
  connection.Disconnect();
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 1900u);
  EXPECT_LT(elapsed, 4500u);
}

}  // namespace
}  // namespace zqmv5
