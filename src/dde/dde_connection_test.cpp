#include "dde/dde_connection.h"

#include <gtest/gtest.h>

#include <deque>

#include "runtime/fixed_text.h"
#include "testing/fake_runtime.h"

namespace zqmv5 {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

constexpr char kExe[] = "C:\\C5\\BIN\\C5EE.EXE";

class DdeConnectionTest : public ::testing::Test {
 protected:
  Entries Logged() const { return fake_.profile.Section(".\\ZQDE.LOG", "Connect"); }
  bool Logged(const std::string& entry) const {
    return fake_.profile.Has(".\\ZQDE.LOG", "Connect", entry);
  }

  FakeRuntime fake_;
  ConnectionLog log_{fake_.profile};
  DdeConnection connection_{fake_.runtime, log_};
};

TEST_F(DdeConnectionTest, InitSetsTheIdeServiceTheProgramAndTwoMinutes) {
  connection_.Init(kExe);
  EXPECT_EQ(connection_.DDE.APP, "ClarionWin");
  EXPECT_EQ(connection_.DDE.EXE, kExe);
  EXPECT_EQ(connection_.DDE.TIMEOUT, 12000);
  EXPECT_EQ(connection_.DDE.TOPIC, nullptr);
  EXPECT_EQ(connection_.CHANNEL, 0);
}

TEST_F(DdeConnectionTest, InitKeepsTheFirst119CharactersOfTheProgram) {
  const std::string exe = "C:\\" + std::string(200, 'x') + ".EXE";
  connection_.Init(exe);
  EXPECT_EQ(connection_.DDE.EXE, exe.substr(0, 119));
}

TEST_F(DdeConnectionTest, ConfigureCopiesTheSettingsAndMakesTimeOutZeroOneSecond) {
  const std::string topic = "System  ";
  connection_.Configure({"Other", "OTHER.EXE", 3, &topic, 0});
  EXPECT_EQ(connection_.DDE.APP, "Other");
  EXPECT_EQ(connection_.DDE.EXE, "OTHER.EXE");
  EXPECT_EQ(connection_.DDE.MODE, 3);
  EXPECT_EQ(connection_.DDE.TOPIC, &topic);
  EXPECT_EQ(connection_.DDE.TIMEOUT, 100);

  // Settings without a topic leave the one the object refers to.
  connection_.Configure({"Other", "", 0, nullptr, 500});
  EXPECT_EQ(connection_.DDE.TOPIC, &topic);
  EXPECT_EQ(connection_.DDE.TIMEOUT, 500);
}

TEST_F(DdeConnectionTest, OpenAsksForTheServiceOrServiceCommaTopic) {
  fake_.dde.services = {"ClarionWin", "ClarionWin,System"};
  connection_.Configure({"ClarionWin   ", "", 0, nullptr, 0});
  connection_.Open();
  const std::string topic = "System   ";
  connection_.Configure({"ClarionWin   ", "", 0, &topic, 0});
  connection_.Open();
  connection_.Configure({std::string(100, 'A'), "", 0, nullptr, 0});
  connection_.DDE.TOPIC = nullptr;
  connection_.Open();
  EXPECT_EQ(fake_.dde.connects,
            (std::vector<std::string>{"ClarionWin", "ClarionWin,System", std::string(80, 'A')}));
  EXPECT_EQ(fake_.dde.topics, (std::vector<std::string>{"", "", ""}));
}

TEST_F(DdeConnectionTest, OpenClosesTheOpenConversationFirst) {
  fake_.dde.services = {"ClarionWin"};
  connection_.Init(kExe);
  connection_.Open();
  const int32_t first = connection_.CHANNEL;
  connection_.Open();
  EXPECT_EQ(fake_.dde.closed, std::vector<int32_t>{first});
  EXPECT_NE(connection_.CHANNEL, first);
  EXPECT_EQ(fake_.dde.open, std::set<int32_t>{connection_.CHANNEL});
}

TEST_F(DdeConnectionTest, IdeAlreadyRunningIsNeitherStartedNorWaitedFor) {
  fake_.dde.services = {"ClarionWin"};
  fake_.profile.Set(".\\ZQDE.LOG", "Connect", "Before Run", "from an earlier run");
  connection_.Init(kExe);
  EXPECT_EQ(connection_.Connect(), 0);
  EXPECT_TRUE(fake_.programs.started.empty());
  EXPECT_EQ(fake_.dde.connects.size(), 1u);
  EXPECT_EQ(fake_.dde.timeouts, std::vector<int32_t>{12000});
  EXPECT_EQ(fake_.clock.paused, 0);
  EXPECT_EQ(connection_.CHANNEL, 1);
  EXPECT_EQ(connection_.DDEERRORCODE, 0);
  EXPECT_EQ(Logged(), (Entries{{"Before Run", "from an earlier run"},
                               {"App", "ClarionWin"},
                               {"Before Open Channel", "ClarionWin"},
                               {"Channel", "1"}}));
}

TEST_F(DdeConnectionTest, IdeThatNeverAnswersIsStartedOnceAndGivenUpAfterTheBound) {
  fake_.clock.step = 7;
  const int32_t start = fake_.clock.time;
  connection_.Init(kExe);
  const uint8_t result = connection_.Connect();
  EXPECT_EQ(fake_.programs.started, std::vector<std::string>{kExe});
  EXPECT_EQ(connection_.CHANNEL, 0);
  EXPECT_GT(fake_.clock.time - start, kConnectBound);
  EXPECT_LT(fake_.clock.time - start, kConnectBound + 50);
  // Attempts rest between one another instead of spinning.
  EXPECT_GT(fake_.clock.paused, 0);
  EXPECT_EQ(Logged(), (Entries{{"App", "ClarionWin"},
                               {"Before Open Channel", "ClarionWin"},
                               {"Before Run", "ClarionWin"},
                               {"Run Error", "0"}}));
  // The last failure is kept and returned, never taken for success.
  EXPECT_EQ(connection_.DDEERRORCODE, kDdeServerNotFound);
  EXPECT_EQ(connection_.DDEERROR, "DDE Server Not Found");
  EXPECT_EQ(result, 89);
}

TEST_F(DdeConnectionTest, StartedIdeIsReopenedByTheNextAttemptAndLogged) {
  // The IDE answers as soon as it has been started.
  fake_.dde.before_connect = [this](const std::string&) {
    if (!fake_.programs.started.empty()) fake_.dde.services = {"ClarionWin"};
  };
  connection_.Init(kExe);
  EXPECT_EQ(connection_.Connect(), 0);
  // First attempt, StartServer's Open, and the attempt after it, which closes
  // and reopens the conversation.
  EXPECT_EQ(fake_.dde.connects.size(), 3u);
  EXPECT_EQ(fake_.dde.closed, std::vector<int32_t>{1});
  EXPECT_EQ(connection_.CHANNEL, 2);
  EXPECT_EQ(Logged(), (Entries{{"App", "ClarionWin"},
                               {"Before Open Channel", "ClarionWin"},
                               {"Before Run", "ClarionWin"},
                               {"Run Error", "0"},
                               {"Channel", "2"}}));
}

TEST_F(DdeConnectionTest, SlowIdeIsReachedWithinTheBound) {
  fake_.dde.before_connect = [this](const std::string&) {
    if (fake_.dde.connects.size() == 40) fake_.dde.services = {"ClarionWin"};
  };
  connection_.Init(kExe);
  EXPECT_EQ(connection_.Connect(), 0);
  EXPECT_EQ(fake_.programs.started.size(), 1u);
  EXPECT_EQ(fake_.dde.connects.size(), 41u);
  EXPECT_EQ(connection_.CHANNEL, 1);
}

TEST_F(DdeConnectionTest, EmptyProgramStartsNothingAndStillWaits) {
  connection_.Init("");
  connection_.Connect();
  EXPECT_TRUE(fake_.programs.started.empty());
  EXPECT_EQ(fake_.profile.Get(".\\ZQDE.LOG", "Connect", "Run Error"), "0");
  EXPECT_GT(fake_.clock.paused, kConnectBound - 10);
}

TEST_F(DdeConnectionTest, FailedStartIsLoggedAndReturnedWhenTheIdeAnswersAnyway) {
  fake_.programs.next_result = 2;
  // Another IDE comes up meanwhile.
  fake_.dde.before_connect = [this](const std::string&) {
    if (fake_.dde.connects.size() == 5) fake_.dde.services = {"ClarionWin"};
  };
  connection_.Init(kExe);
  EXPECT_EQ(connection_.Connect(), 2);
  EXPECT_EQ(fake_.profile.Get(".\\ZQDE.LOG", "Connect", "Run Error"), "2");
  EXPECT_EQ(connection_.DDEERRORCODE, 0);
}

TEST_F(DdeConnectionTest, FailedStartIsKeptUntilTheOpenAfterIt) {
  fake_.programs.next_result = 2;
  // A derived Open that records what StartServer left in the error fields.
  struct Watching : DdeConnection {
    using DdeConnection::DdeConnection;
    void Open() override {
      seen.push_back(DDEERRORCODE);
      DdeConnection::Open();
    }
    std::vector<int32_t> seen;
  } watching(fake_.runtime, log_);
  watching.Init(kExe);
  watching.StartServer();
  EXPECT_EQ(watching.seen, std::vector<int32_t>{2});
  EXPECT_EQ(watching.DDEERRORCODE, kDdeServerNotFound);
}

TEST_F(DdeConnectionTest, FailedStartWithoutAnIdeReturnsTheLastDdeError) {
  fake_.programs.next_result = 2;
  connection_.Init(kExe);
  EXPECT_EQ(connection_.Connect(), kDdeServerNotFound & 0xFF);
  EXPECT_EQ(fake_.profile.Get(".\\ZQDE.LOG", "Connect", "Run Error"), "2");
}

// A clock that reads the given times in turn, the last one from then on.
class ScriptedClock : public Clock {
 public:
  explicit ScriptedClock(std::deque<int32_t> readings) : readings_(std::move(readings)) {}
  Date Today() override { return {2026, 12, 7}; }
  int32_t TimeOfDay() override {
    const int32_t now = readings_.front();
    if (readings_.size() > 1) readings_.pop_front();
    return now;
  }
  void Pause(int32_t) override {}

 private:
  std::deque<int32_t> readings_;
};

// Number of attempts when the clock reads `readings`: one reading before the
// first attempt, then one after every attempt past the first retry.
size_t AttemptsWith(std::deque<int32_t> readings) {
  FakeRuntime fake;
  ScriptedClock clock(std::move(readings));
  Runtime runtime{fake.error,    fake.command_line, fake.profile, fake.messages,
                  fake.programs, fake.files,        clock,        fake.text_files,
                  fake.dde,      fake.windows};
  ConnectionLog log(fake.profile);
  DdeConnection connection(runtime, log);
  connection.Init(kExe);
  connection.Connect();
  return fake.dde.connects.size();
}

TEST(DdeConnectionBoundTest, ExactlyThreeThousandStillAllowsOneMoreAttempt) {
  const int32_t t = 5000;
  // First attempt, StartServer's Open, the attempt after the start: 3.
  EXPECT_EQ(AttemptsWith({t, t + 3001}), 3u);
  EXPECT_EQ(AttemptsWith({t, t + 3000, t + 3001}), 4u);
  EXPECT_EQ(AttemptsWith({t, t + 1, t + 2999, t + 3000, t + 3001}), 6u);
}

TEST(DdeConnectionBoundTest, MidnightInsideTheWaitNeitherHangsNorCutsItShort) {
  const int32_t before_midnight = kHundredthsPerDay - 1000;
  // 10 seconds before midnight to 20 seconds after: still within the bound.
  EXPECT_EQ(AttemptsWith({before_midnight, 0, 1999, 2000, 2001}), 6u);
}

TEST(DdeConnectionBoundTest, ClockSetBackNeitherEndsTheWaitNorHangsIt) {
  const int32_t t = 5000;
  // A step back counts as no time: the wait goes on from the new reading.
  EXPECT_EQ(AttemptsWith({t, t - 100, t - 100 + 3000, t - 100 + 3001}), 5u);
  // A clock that stands still: the number of attempts ends the wait.
  EXPECT_EQ(AttemptsWith({t}), 3u + kConnectMaxRetries);
}

TEST_F(DdeConnectionTest, MidnightWithTheRealRestBetweenAttempts) {
  fake_.clock.time = kHundredthsPerDay - 1000;
  connection_.Init(kExe);
  connection_.Connect();
  EXPECT_GT(fake_.clock.time, 2000);
  EXPECT_LE(fake_.clock.time, 2000 + kConnectRetryPause);
}

TEST_F(DdeConnectionTest, ConnectSetsTheTimeOutOrOneSecondForZero) {
  fake_.dde.services = {"ClarionWin"};
  connection_.Init(kExe);
  connection_.DDE.TIMEOUT = 0;
  connection_.Connect();
  connection_.DDE.TIMEOUT = 300;
  connection_.Connect();
  EXPECT_EQ(fake_.dde.timeouts, (std::vector<int32_t>{100, 300}));
}

TEST_F(DdeConnectionTest, DerivedOpenAndStartServerChangeWhatConnectDoes) {
  // A transport of its own: no DDE at all, a conversation on the third try.
  struct Scripted : DdeConnection {
    using DdeConnection::DdeConnection;
    void Open() override {
      ++opens;
      CHANNEL = opens == 3 ? 77 : 0;
    }
    uint8_t StartServer() override {
      ++starts;
      Open();
      return 7;
    }
    int opens = 0;
    int starts = 0;
  } scripted(fake_.runtime, log_);
  scripted.Init(kExe);
  DdeConnection& base = scripted;
  EXPECT_EQ(base.Connect(), 7);
  EXPECT_EQ(scripted.opens, 3);
  EXPECT_EQ(scripted.starts, 1);
  EXPECT_TRUE(fake_.programs.started.empty());
  EXPECT_TRUE(fake_.dde.connects.empty());
  EXPECT_EQ(fake_.profile.Get(".\\ZQDE.LOG", "Connect", "Run Error"), "7");
  EXPECT_EQ(fake_.profile.Get(".\\ZQDE.LOG", "Connect", "Channel"), "77");
}

TEST_F(DdeConnectionTest, ResultIsTheLowEightBitsOfTheServersErrorNumber) {
  fake_.dde.services = {"ClarionWin"};
  fake_.dde.items = {{"GetErrorNum", "601"}, {"GetErrorMsg", "Busy compiling"}};
  // A runtime that reports a DDE-level error after every open.
  struct Troubled : DdeConnection {
    Troubled(Runtime& runtime, ConnectionLog& log)
        : DdeConnection(runtime, log), error(runtime.error) {}
    void Open() override {
      DdeConnection::Open();
      error.Set(kDdeServerBusy, "busy");
    }
    ErrorState& error;
  } troubled(fake_.runtime, log_);
  troubled.Init(kExe);
  EXPECT_EQ(troubled.Connect(), 89);
  EXPECT_EQ(troubled.DDEERRORCODE, 601);
  EXPECT_EQ(troubled.DDEERROR, "Busy compiling");
}

TEST_F(DdeConnectionTest, ExecuteSendsTheCommandInBracketsOnlyOnAnOpenChannel) {
  fake_.error.SetRuntime(kAccessDenied);
  connection_.Execute("Nothing to send   ");
  EXPECT_TRUE(fake_.dde.executes.empty());
  EXPECT_EQ(connection_.DDEERRORCODE, kAccessDenied);  // refreshed all the same

  fake_.dde.services = {"ClarionWin"};
  connection_.Init(kExe);
  connection_.Open();
  connection_.Execute("Compile(X)   ");
  ASSERT_EQ(fake_.dde.executes.size(), 1u);
  EXPECT_EQ(fake_.dde.executes[0].channel, connection_.CHANNEL);
  EXPECT_EQ(fake_.dde.executes[0].text, "[Compile(X)]");
  EXPECT_EQ(connection_.DDEERRORCODE, 0);
}

TEST_F(DdeConnectionTest, RegisterTemplateFormsTheCommandFromTheNameAsGiven) {
  const struct {
    std::string file;
    uint8_t flag;
    std::string sent;
  } cases[] = {
      {"C:\\T\\X.TPL   ", 0, "[RegisterTemplateChain(C:\\T\\X.TPL,0)]"},
      {"  lead.tpl", 0, "[RegisterTemplateChain(  lead.tpl,0)]"},
      {"a,b(c).tpl", 12, "[RegisterTemplateChain(a,b(c).tpl,12)]"},
      {"my dir\\x.tpl", 255, "[RegisterTemplateChain(my dir\\x.tpl,255)]"},
  };
  fake_.dde.services = {"ClarionWin"};
  connection_.Init(kExe);
  connection_.Open();
  for (const auto& c : cases) {
    connection_.RegisterTemplate(c.file, c.flag);
    EXPECT_EQ(fake_.dde.executes.back().text, c.sent) << c.file;
  }
}

TEST_F(DdeConnectionTest, RefreshErrorTakesRuntimeErrorsUpTo600AndAsksTheServerAbove) {
  fake_.dde.services = {"ClarionWin"};
  fake_.dde.items = {{"GetErrorNum", "42"}, {"GetErrorMsg", "Template chain not found"}};
  connection_.Init(kExe);
  connection_.Open();

  fake_.error.Set(600, "Runtime text 600");
  connection_.RefreshError();
  EXPECT_EQ(connection_.DDEERRORCODE, 600);
  EXPECT_EQ(connection_.DDEERROR, "Runtime text 600");
  EXPECT_TRUE(fake_.dde.requests.empty());

  fake_.error.Set(601, "Runtime text 601");
  connection_.RefreshError();
  EXPECT_EQ(connection_.DDEERRORCODE, 42);
  EXPECT_EQ(connection_.DDEERROR, "Template chain not found");
  ASSERT_EQ(fake_.dde.requests.size(), 2u);
  EXPECT_EQ(fake_.dde.requests[0].text, "GetErrorNum");
  EXPECT_EQ(fake_.dde.requests[1].text, "GetErrorMsg");
  EXPECT_EQ(fake_.dde.requests[1].channel, connection_.CHANNEL);
}

TEST_F(DdeConnectionTest, RefreshErrorKeepsTheDdeErrorWhenTheServerCannotBeAsked) {
  // No conversation: the requests go to channel 0 and fail.
  fake_.error.Set(kDdeServerNotFound, "DDE Server Not Found");
  connection_.DDEERRORCODE = 0;
  connection_.RefreshError();
  EXPECT_EQ(connection_.DDEERRORCODE, kDdeServerNotFound);
  EXPECT_EQ(connection_.DDEERROR, "DDE Server Not Found");
  ASSERT_EQ(fake_.dde.requests.size(), 2u);
  EXPECT_EQ(fake_.dde.requests[0].channel, 0);
  // Asking the server is no new failure of the caller's: the error stays.
  EXPECT_EQ(fake_.error.code(), kDdeServerNotFound);
}

TEST_F(DdeConnectionTest, RefreshErrorCutsTextsTo124Characters) {
  fake_.dde.services = {"ClarionWin"};
  fake_.dde.items = {{"GetErrorNum", "7"}, {"GetErrorMsg", std::string(300, 'm')}};
  connection_.Init(kExe);
  connection_.Open();
  fake_.error.Set(kDdeRefused, "refused");
  connection_.RefreshError();
  EXPECT_EQ(connection_.DDEERROR, std::string(124, 'm'));
  fake_.error.Set(5, std::string(200, 'r'));
  connection_.RefreshError();
  EXPECT_EQ(connection_.DDEERROR, std::string(124, 'r'));
}

TEST_F(DdeConnectionTest, DisconnectTwiceClosesOnceAndThenDoesNothing) {
  fake_.dde.services = {"ClarionWin"};
  connection_.Init(kExe);
  connection_.Open();
  connection_.Disconnect();
  EXPECT_EQ(fake_.dde.closed, std::vector<int32_t>{1});
  EXPECT_EQ(connection_.CHANNEL, 0);
  fake_.error.SetRuntime(kAccessDenied);
  connection_.Disconnect();
  EXPECT_EQ(fake_.dde.closed.size(), 1u);
  EXPECT_EQ(connection_.DDEERRORCODE, 0);  // not even refreshed
}

TEST_F(DdeConnectionTest, CloseWithoutConversationOnlyClearsTheChannel) {
  fake_.error.SetRuntime(kAccessDenied);
  connection_.Close();
  EXPECT_TRUE(fake_.dde.closed.empty());
  EXPECT_EQ(connection_.DDEERRORCODE, 0);
  EXPECT_EQ(connection_.CHANNEL, 0);
}

TEST_F(DdeConnectionTest, InterfaceSlotsReportTheErrorAndPassAcknowledgements) {
  connection_.DDEERRORCODE = 605;
  connection_.DDEERROR = "refused";
  connection_.Hook();
  EXPECT_EQ(connection_.ErrorCode(), 605);
  EXPECT_EQ(connection_.ErrorText(), "refused");
  connection_.Acknowledge(1);
  connection_.Acknowledge(0);
  EXPECT_EQ(fake_.dde.acknowledgements, (std::vector<uint8_t>{1, 0}));
}

}  // namespace
}  // namespace zqmv5
