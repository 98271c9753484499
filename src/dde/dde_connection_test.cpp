#include "dde/dde_connection.h"

#include <gtest/gtest.h>

#include <deque>

#include "testing/env_wrapper.h"
#include "testing/fake_env.h"

namespace zqmv5 {
namespace {

using Entries = FakeProfile::Entries;

constexpr char kExe[] = "C:\\C5\\BIN\\C5EE.EXE";

class DdeConnectionTest : public ::testing::Test {
 protected:
  Entries Logged() const { return fake_.profile.Section(".\\ZQDE.LOG", "Connect"); }

  FakeEnv fake_;
  ConnectionLog log_{fake_};
  DdeConnection connection_{fake_, log_};
};

TEST_F(DdeConnectionTest, InitSetsTheIdeServiceTheProgramAndTwoMinutes) {
  const std::string exe = "C:\\" + std::string(200, 'x') + ".EXE";
  connection_.Init(exe);
  EXPECT_EQ(connection_.settings.app, "ClarionWin");
  EXPECT_EQ(connection_.settings.exe, exe.substr(0, 119));
  EXPECT_EQ(connection_.settings.timeout, 12000);
  EXPECT_EQ(connection_.channel, 0);
}

TEST_F(DdeConnectionTest, OpenAsksForTheServiceAndClosesAnOpenConversationFirst) {
  fake_.dde_client.services = {"ClarionWin"};
  connection_.Init(kExe);
  connection_.settings.app = "ClarionWin   ";
  connection_.Open();
  const int32_t first = connection_.channel;
  connection_.Open();
  EXPECT_EQ(fake_.dde_client.closed, std::vector<int32_t>{first});
  EXPECT_EQ(fake_.dde_client.open, std::set<int32_t>{connection_.channel});
  connection_.settings.app = std::string(100, 'A');
  connection_.Open();
  EXPECT_EQ(fake_.dde_client.connects,
            (std::vector<std::string>{"ClarionWin", "ClarionWin", std::string(80, 'A')}));
  EXPECT_EQ(fake_.dde_client.topics, (std::vector<std::string>{"", "", ""}));
}

TEST_F(DdeConnectionTest, IdeAlreadyRunningIsNeitherStartedNorWaitedFor) {
  fake_.dde_client.services = {"ClarionWin"};
  fake_.profile.Set(".\\ZQDE.LOG", "Connect", "Before Run", "from an earlier run");
  connection_.Init(kExe);
  EXPECT_EQ(connection_.Connect(), 0);
  EXPECT_TRUE(fake_.programs.started.empty());
  EXPECT_EQ(fake_.dde_client.connects.size(), 1u);
  EXPECT_EQ(fake_.dde_client.timeouts, std::vector<int32_t>{12000});
  EXPECT_EQ(fake_.clock.paused, 0);
  EXPECT_EQ(connection_.channel, 1);
  EXPECT_EQ(connection_.error_code, 0);
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
  EXPECT_EQ(connection_.channel, 0);
  EXPECT_GT(fake_.clock.time - start, kConnectBound);
  EXPECT_LT(fake_.clock.time - start, kConnectBound + 50);
  // Attempts rest between one another instead of spinning.
  EXPECT_GT(fake_.clock.paused, 0);
  EXPECT_EQ(Logged(), (Entries{{"App", "ClarionWin"},
                               {"Before Open Channel", "ClarionWin"},
                               {"Before Run", "ClarionWin"},
                               {"Run Error", "0"}}));
  // The last failure is kept and returned, never taken for success.
  EXPECT_EQ(connection_.error_code, kDdeServerNotFound);
  EXPECT_EQ(connection_.error_text, "DDE Server Not Found");
  EXPECT_EQ(result, 89);
}

TEST_F(DdeConnectionTest, StartedIdeIsReopenedByTheNextAttemptAndLogged) {
  // The IDE answers as soon as it has been started.
  fake_.dde_client.before_connect = [this](const std::string&) {
    if (!fake_.programs.started.empty()) fake_.dde_client.services = {"ClarionWin"};
  };
  connection_.Init(kExe);
  EXPECT_EQ(connection_.Connect(), 0);
  // First attempt, StartServer's Open, and the attempt after it, which closes
  // and reopens the conversation.
  EXPECT_EQ(fake_.dde_client.connects.size(), 3u);
  EXPECT_EQ(fake_.dde_client.closed, std::vector<int32_t>{1});
  EXPECT_EQ(connection_.channel, 2);
  EXPECT_EQ(Logged(), (Entries{{"App", "ClarionWin"},
                               {"Before Open Channel", "ClarionWin"},
                               {"Before Run", "ClarionWin"},
                               {"Run Error", "0"},
                               {"Channel", "2"}}));
}

TEST_F(DdeConnectionTest, SlowIdeIsReachedWithinTheBound) {
  fake_.dde_client.before_connect = [this](const std::string&) {
    if (fake_.dde_client.connects.size() == 40) fake_.dde_client.services = {"ClarionWin"};
  };
  connection_.Init(kExe);
  EXPECT_EQ(connection_.Connect(), 0);
  EXPECT_EQ(fake_.programs.started.size(), 1u);
  EXPECT_EQ(fake_.dde_client.connects.size(), 41u);
  EXPECT_EQ(connection_.channel, 1);
}

TEST_F(DdeConnectionTest, EmptyProgramStartsNothingAndStillWaits) {
  connection_.Init("");
  connection_.Connect();
  EXPECT_TRUE(fake_.programs.started.empty());
  EXPECT_EQ(fake_.profile.Get(".\\ZQDE.LOG", "Connect", "Run Error"), "0");
  EXPECT_GT(fake_.clock.paused, kConnectBound - 10);
}

TEST_F(DdeConnectionTest, FailedStartIsLoggedAndReturnedUnlessADdeErrorFollows) {
  fake_.programs.start_fails_with = 2;
  // Another IDE comes up meanwhile.
  fake_.dde_client.before_connect = [this](const std::string&) {
    if (fake_.dde_client.connects.size() == 5) fake_.dde_client.services = {"ClarionWin"};
  };
  connection_.Init(kExe);
  EXPECT_EQ(connection_.Connect(), 2);
  EXPECT_EQ(fake_.profile.Get(".\\ZQDE.LOG", "Connect", "Run Error"), "2");
  EXPECT_EQ(connection_.error_code, 0);

  FakeEnv nobody;
  nobody.programs.start_fails_with = 2;
  ConnectionLog log(nobody);
  DdeConnection connection(nobody, log);
  connection.Init(kExe);
  EXPECT_EQ(connection.Connect(), kDdeServerNotFound & 0xFF);
  EXPECT_EQ(nobody.profile.Get(".\\ZQDE.LOG", "Connect", "Run Error"), "2");
}

// A clock that reads the given times in turn, the last one from then on.
class ScriptedClock : public EnvWrapper {
 public:
  ScriptedClock(Env& env, std::deque<int32_t> readings)
      : EnvWrapper(env), readings_(std::move(readings)) {}
  int32_t TimeOfDay() override {
    const int32_t now = readings_.front();
    if (readings_.size() > 1) readings_.pop_front();
    return now;
  }

 private:
  std::deque<int32_t> readings_;
};

// Number of attempts when the clock reads `readings`: one reading before the
// first attempt, then one after every attempt past the first retry.
size_t AttemptsWith(std::deque<int32_t> readings) {
  FakeEnv fake;
  ScriptedClock clock(fake, std::move(readings));
  ConnectionLog log(clock);
  DdeConnection connection(clock, log);
  connection.Init(kExe);
  connection.Connect();
  return fake.dde_client.connects.size();
}

TEST(DdeConnectionBoundTest, ExactlyThreeThousandStillAllowsOneMoreAttempt) {
  const int32_t t = 5000;
  // First attempt, StartServer's Open, the attempt after the start: 3.
  EXPECT_EQ(AttemptsWith({t, t + 3001}), 3u);
  EXPECT_EQ(AttemptsWith({t, t + 3000, t + 3001}), 4u);
  EXPECT_EQ(AttemptsWith({t, t + 1, t + 2999, t + 3000, t + 3001}), 6u);
}

TEST(DdeConnectionBoundTest, MidnightOrAClockSetBackNeitherHangsNorCutsTheWaitShort) {
  const int32_t t = 5000;
  // 10 seconds before midnight to 20 seconds after: still within the bound.
  EXPECT_EQ(AttemptsWith({kHundredthsPerDay - 1000, 0, 1999, 2000, 2001}), 6u);
  // A step back counts as no time: the wait goes on from the new reading.
  EXPECT_EQ(AttemptsWith({t, t - 100, t - 100 + 3000, t - 100 + 3001}), 5u);
  // A clock that stands still: the number of attempts ends the wait.
  EXPECT_EQ(AttemptsWith({t}), 3u + 2 * kConnectBound / kConnectRetryPause);
}

TEST_F(DdeConnectionTest, ConnectSetsTheTimeOutOrOneSecondForZero) {
  fake_.dde_client.services = {"ClarionWin"};
  connection_.Init(kExe);
  connection_.settings.timeout = 0;
  connection_.Connect();
  connection_.settings.timeout = 300;
  connection_.Connect();
  EXPECT_EQ(fake_.dde_client.timeouts, (std::vector<int32_t>{100, 300}));
}

TEST_F(DdeConnectionTest, ExecuteSendsTheCommandInBracketsOnlyOnAnOpenChannel) {
  connection_.Execute("Nothing to send   ");
  EXPECT_TRUE(fake_.dde_client.executes.empty());

  fake_.dde_client.services = {"ClarionWin"};
  connection_.Init(kExe);
  connection_.Open();
  connection_.Execute("Compile(X)   ");
  ASSERT_EQ(fake_.dde_client.executes.size(), 1u);
  EXPECT_EQ(fake_.dde_client.executes[0].channel, connection_.channel);
  EXPECT_EQ(fake_.dde_client.executes[0].text, "[Compile(X)]");
  EXPECT_EQ(connection_.error_code, 0);

  const struct {
    std::string file;
    uint8_t flag;
    std::string sent;
  } cases[] = {
      {"C:\\T\\X.TPL   ", 0, "[RegisterTemplateChain(C:\\T\\X.TPL,0)]"},
      {"  lead.tpl", 0, "[RegisterTemplateChain(  lead.tpl,0)]"},
      {"my dir\\x.tpl", 255, "[RegisterTemplateChain(my dir\\x.tpl,255)]"},
  };
  for (const auto& c : cases) {
    connection_.RegisterTemplate(c.file, c.flag);
    EXPECT_EQ(fake_.dde_client.executes.back().text, c.sent) << c.file;
  }
}

// A refused command is explained by the IDE's own error items, cut to 124
// characters; without a conversation the DDE error stays.
TEST_F(DdeConnectionTest, DdeErrorsAreExplainedByTheServerWhereItCanBeAsked) {
  fake_.dde_client.services = {"ClarionWin"};
  fake_.dde_client.items = {{"GetErrorNum", "42"}, {"GetErrorMsg", std::string(300, 'm')}};
  fake_.dde_client.execute_error = kDdeRefused;
  connection_.Init(kExe);
  connection_.Open();
  connection_.RegisterTemplate("x.tpl", 0);
  EXPECT_EQ(connection_.error_code, 42);
  EXPECT_EQ(connection_.error_text, std::string(124, 'm'));
  ASSERT_EQ(fake_.dde_client.requests.size(), 2u);
  EXPECT_EQ(fake_.dde_client.requests[0].text, "GetErrorNum");
  EXPECT_EQ(fake_.dde_client.requests[1].text, "GetErrorMsg");
  EXPECT_EQ(fake_.dde_client.requests[1].channel, connection_.channel);

  connection_.Disconnect();
  fake_.dde_client.services.clear();
  fake_.dde_client.requests.clear();
  connection_.Open();
  connection_.RegisterTemplate("x.tpl", 0);
  EXPECT_EQ(connection_.error_code, kDdeServerNotFound);
  EXPECT_EQ(connection_.error_text, "DDE Server Not Found");
  ASSERT_EQ(fake_.dde_client.requests.size(), 4u);
  EXPECT_EQ(fake_.dde_client.requests[0].channel, 0);
}

// A server that did not answer in time is asked nothing more: each question
// would cost another time-out.
TEST_F(DdeConnectionTest, TimeOutsAreNotFollowedByQuestions) {
  fake_.dde_client.services = {"ClarionWin"};
  connection_.Init(kExe);
  connection_.Open();
  fake_.dde_client.execute_error = kDdeTimeOut;
  connection_.RegisterTemplate("x.tpl", 0);
  EXPECT_EQ(connection_.error_code, kDdeTimeOut);
  EXPECT_TRUE(fake_.dde_client.requests.empty());

  fake_.dde_client.execute_error = kDdeRefused;
  fake_.dde_client.request_error = kDdeTimeOut;
  connection_.RegisterTemplate("x.tpl", 0);
  EXPECT_EQ(connection_.error_code, kDdeRefused);
  ASSERT_EQ(fake_.dde_client.requests.size(), 1u);
  EXPECT_EQ(fake_.dde_client.requests[0].text, "GetErrorNum");
}

TEST_F(DdeConnectionTest, DisconnectClosesOnceAndThenDoesNothing) {
  fake_.dde_client.services = {"ClarionWin"};
  connection_.Init(kExe);
  connection_.Open();
  connection_.Disconnect();
  EXPECT_EQ(fake_.dde_client.closed, std::vector<int32_t>{1});
  EXPECT_EQ(connection_.channel, 0);
  connection_.error_code = 5;
  connection_.Disconnect();
  connection_.Close();
  EXPECT_EQ(fake_.dde_client.closed.size(), 1u);
  EXPECT_EQ(connection_.error_code, 5);  // not even refreshed
}

}  // namespace
}  // namespace zqmv5
