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
  void IdeRunning() { fake_.dde_client.services = {"ClarionWin"}; }

  void SetUp() override { fake_.files.contents[kExe]; }

  FakeEnv fake_;
  ConnectionLog log_{fake_};
  DdeConnection connection_{fake_, log_, kExe};
};

TEST_F(DdeConnectionTest, IdeAlreadyRunningIsNeitherStartedNorWaitedFor) {
  IdeRunning();
  fake_.profile.Set(".\\ZQDE.LOG", "Connect", "Before Run", "from an earlier run");
  EXPECT_TRUE(connection_.Connect().ok());
  EXPECT_TRUE(fake_.programs.started.empty());
  EXPECT_EQ(fake_.dde_client.connects, std::vector<std::string>{"ClarionWin"});
  EXPECT_EQ(fake_.dde_client.timeouts, std::vector<int32_t>{12000});
  EXPECT_EQ(fake_.clock.paused, 0);
  EXPECT_EQ(Logged(), (Entries{{"Before Run", "from an earlier run"},
                               {"App", "ClarionWin"},
                               {"Before Open Channel", "ClarionWin"},
                               {"Channel", "1"}}));
}

TEST_F(DdeConnectionTest, IdeThatNeverAnswersIsStartedOnceAndGivenUpAfterTheBound) {
  fake_.clock.step = 7;
  const int32_t start = fake_.clock.time;
  const Status connected = connection_.Connect();
  EXPECT_EQ(fake_.programs.started, (std::vector<StartedProgram>{{kExe, ""}}));
  EXPECT_GT(fake_.clock.time - start, kConnectBound);
  EXPECT_LT(fake_.clock.time - start, kConnectBound + 50);
  // Attempts rest between one another instead of spinning.
  EXPECT_GT(fake_.clock.paused, 0);
  EXPECT_EQ(Logged(), (Entries{{"App", "ClarionWin"},
                               {"Before Open Channel", "ClarionWin"},
                               {"Before Run", "ClarionWin"},
                               {"Run Error", "0"}}));
  // The last failure is returned, never taken for success; the IDE is not
  // asked to explain it, as no conversation is open.
  EXPECT_EQ(connected.number(), kDdeServerNotFound);
  EXPECT_TRUE(fake_.dde_client.requests.empty());
  EXPECT_EQ(connection_.RegisterTemplate("x.tpl").number(), kDdeChannelNotOpen);
  EXPECT_TRUE(fake_.dde_client.executes.empty());
}

TEST_F(DdeConnectionTest, StartedIdeIsReachedByTheNextAttemptAndLogged) {
  int attempts_to_serve = 1;  // after the start
  fake_.dde_client.before_connect = [&](const std::string&) {
    if (!fake_.programs.started.empty() && attempts_to_serve-- == 0) IdeRunning();
  };
  EXPECT_TRUE(connection_.Connect().ok());
  EXPECT_EQ(fake_.dde_client.connects.size(), 3u);
  EXPECT_EQ(Logged(), (Entries{{"App", "ClarionWin"},
                               {"Before Open Channel", "ClarionWin"},
                               {"Before Run", "ClarionWin"},
                               {"Run Error", "0"},
                               {"Channel", "1"}}));

  // A blank program starts nothing and the wait goes on all the same.
  FakeEnv fake;
  ConnectionLog log(fake);
  DdeConnection blank(fake, log, "  ");
  EXPECT_FALSE(blank.Connect().ok());
  EXPECT_TRUE(fake.programs.started.empty());
  EXPECT_EQ(fake.profile.Get(".\\ZQDE.LOG", "Connect", "Run Error"), "0");
  EXPECT_GT(fake.clock.paused, kConnectBound - 10);
}

// A start that failed brings no IDE to wait for: Connect fails at once with
// that failure, and the log keeps its Windows error, the low 8 bits.
TEST_F(DdeConnectionTest, FailedStartIsLoggedAndEndsTheWait) {
  fake_.programs.start_fails_with = 0x102;
  const Status connected = connection_.Connect();
  EXPECT_EQ(connected.number(), 0x102);
  EXPECT_TRUE(connection_.start_failed());
  EXPECT_EQ(fake_.profile.Get(".\\ZQDE.LOG", "Connect", "Run Error"), "2");
  EXPECT_EQ(fake_.dde_client.connects.size(), 1u);
  EXPECT_EQ(fake_.clock.paused, 0);
}

// A clock that reads the given times in turn, the last one from then on.
class ScriptedClock : public EnvWrapper {
 public:
  ScriptedClock(Env& env, std::deque<int32_t> readings)
      : EnvWrapper(env), readings_(std::move(readings)) {}
  DateTime Now() override {
    const DateTime now{{2026, 12, 7}, readings_.front()};
    if (readings_.size() > 1) readings_.pop_front();
    return now;
  }

 private:
  std::deque<int32_t> readings_;
};

// Number of attempts when the clock reads `readings`: one reading before the
// first attempt, then one after each rest.
size_t AttemptsWith(std::deque<int32_t> readings) {
  FakeEnv fake;
  fake.files.contents[kExe];
  ScriptedClock clock(fake, std::move(readings));
  ConnectionLog log(clock);
  DdeConnection connection(clock, log, kExe);
  connection.Connect();
  return fake.dde_client.connects.size();
}

TEST(DdeConnectionBoundTest, ExactlyThreeThousandStillAllowsOneMoreAttempt) {
  const int32_t t = 5000;
  // The first attempt and the one right after the start: 2.
  EXPECT_EQ(AttemptsWith({t, t + 3001}), 2u);
  EXPECT_EQ(AttemptsWith({t, t + 3000, t + 3001}), 3u);
  EXPECT_EQ(AttemptsWith({t, t + 1, t + 2999, t + 3000, t + 3001}), 5u);
}

TEST(DdeConnectionBoundTest, MidnightOrAClockSetBackNeitherHangsNorCutsTheWaitShort) {
  const int32_t t = 5000;
  // 10 seconds before midnight to 20 seconds after: still within the bound.
  EXPECT_EQ(AttemptsWith({kHundredthsPerDay - 1000, 0, 1999, 2000, 2001}), 5u);
  // A step back counts as no time: the wait goes on from the new reading.
  EXPECT_EQ(AttemptsWith({t, t - 100, t - 100 + 3000, t - 100 + 3001}), 4u);
  // A clock that stands still: the number of attempts ends the wait.
  EXPECT_EQ(AttemptsWith({t}), 2u + 2 * kConnectBound / kConnectRetryPause);
}

TEST_F(DdeConnectionTest, CommandsGoInBracketsOnTheOpenConversation) {
  EXPECT_EQ(connection_.Execute("Nothing to send").number(), kDdeChannelNotOpen);
  IdeRunning();
  ASSERT_TRUE(connection_.Connect().ok());
  EXPECT_TRUE(connection_.Execute("Compile(X)   ").ok());
  const struct {
    std::string file, sent;
  } cases[] = {
      {"C:\\T\\X.TPL   ", "[RegisterTemplateChain(C:\\T\\X.TPL,0)]"},
      {"  lead.tpl", "[RegisterTemplateChain(  lead.tpl,0)]"},
      {"my dir\\x.tpl", "[RegisterTemplateChain(my dir\\x.tpl,0)]"},
  };
  for (const auto& c : cases) EXPECT_TRUE(connection_.RegisterTemplate(c.file).ok()) << c.file;
  ASSERT_EQ(fake_.dde_client.executes.size(), 4u);
  EXPECT_EQ(fake_.dde_client.executes[0].text, "[Compile(X)]");
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(fake_.dde_client.executes[i + 1].text, cases[i].sent);
    EXPECT_EQ(fake_.dde_client.executes[i + 1].channel, 1);
  }
}

// A refused command is explained by the IDE's own error items; the
// explanation never changes the failure, even when the IDE answers 0. A
// server that did not answer in time is asked nothing more: each question
// would cost another time-out.
TEST_F(DdeConnectionTest, FailuresAreExplainedByTheIdeWhereItCanBeAsked) {
  IdeRunning();
  ASSERT_TRUE(connection_.Connect().ok());
  fake_.dde_client.execute_error = kDdeRefused;
  const struct {
    std::string number, message, text;
  } answers[] = {
      {"42", "No such chain", "DDE Request Refused; the IDE's error 42: No such chain"},
      {"0", "", "DDE Request Refused; the IDE's error 0"},
      {"  -7x", "m", "DDE Request Refused; the IDE's error -7: m"},
      {"99999999999", "", "DDE Request Refused; the IDE's error 2147483647"},
  };
  for (const auto& a : answers) {
    fake_.dde_client.items = {{"GetErrorNum", a.number}, {"GetErrorMsg", a.message}};
    const Status refused = connection_.RegisterTemplate("x.tpl");
    EXPECT_EQ(refused.number(), kDdeRefused) << a.number;
    EXPECT_EQ(refused.message(), a.text);
  }
  EXPECT_EQ(fake_.dde_client.requests.back().channel, 1);

  fake_.dde_client.requests.clear();
  fake_.dde_client.execute_error = kDdeTimeOut;
  EXPECT_EQ(connection_.RegisterTemplate("x.tpl").number(), kDdeTimeOut);
  EXPECT_TRUE(fake_.dde_client.requests.empty());
  fake_.dde_client.execute_error = kDdeRefused;
  fake_.dde_client.request_error = kDdeTimeOut;
  EXPECT_EQ(connection_.RegisterTemplate("x.tpl").message(), "DDE Request Refused");
  ASSERT_EQ(fake_.dde_client.requests.size(), 1u);
  EXPECT_EQ(fake_.dde_client.requests[0].text, "GetErrorNum");
}

TEST_F(DdeConnectionTest, CloseEndsTheConversationOnce) {
  IdeRunning();
  {
    DdeConnection connection(fake_, log_, kExe);
    ASSERT_TRUE(connection.Connect().ok());
    EXPECT_TRUE(connection.Close().ok());
    EXPECT_TRUE(connection.Close().ok());
    ASSERT_TRUE(connection.Connect().ok());
  }
  // The second conversation ended with the object.
  EXPECT_EQ(fake_.dde_client.closed, (std::vector<int32_t>{1, 2}));
  EXPECT_TRUE(fake_.dde_client.open.empty());
}

}  // namespace
}  // namespace zqmv5
