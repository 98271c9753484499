#include "commands/reg_command.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "testing/env_wrapper.h"
#include "testing/fake_env.h"

namespace zqmv5 {
namespace {

constexpr char kIni[] = "C:\\C5\\Bin\\C5ee.ini";
constexpr char kExe[] = "C:\\C5\\Bin\\C5EE.EXE";

class RegCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // "AutoPick" as the IDE would find it when the command arrives.
    fake_.dde_client.on_execute = [this](const std::string&) {
      autopick_during_.push_back(AutoPick());
    };
  }
  void Run(const std::string& text) {
    fake_.files.contents[kExe];
    CommandContext context;
    context.ini_file = kIni;
    context.exe_name = kExe;
    context.Tokenize(text);
    RegCommand(context, fake_);
  }
  std::string AutoPick() const { return fake_.profile.Get(kIni, "Environment", "AutoPick"); }
  void IdeRunning() { fake_.dde_client.services = {"ClarionWin"}; }

  FakeEnv fake_;
  std::vector<std::string> autopick_during_;
};

TEST_F(RegCommandTest, MissingNameShowsTheBoxAndTouchesNothing) {
  for (const char* line : {"REG", "REG   ", "REG \"\"", "REG \"   \""}) {
    fake_.messages.shown.clear();
    Run(line);
    ASSERT_EQ(fake_.messages.shown.size(), 1u) << line;
    EXPECT_EQ(fake_.messages.shown[0].caption, "ZQ Install Error");
    EXPECT_EQ(fake_.messages.shown[0].text,
              "Command line must include a template name as the second parameter.");
    EXPECT_EQ(fake_.messages.shown[0].icon, MessageIcon::kInformation);
  }
  EXPECT_TRUE(fake_.profile.log.empty());
  EXPECT_TRUE(fake_.dde_client.connects.empty());
  EXPECT_TRUE(fake_.programs.started.empty());
}

TEST_F(RegCommandTest, MissingFileShowsTheBoxAndTouchesNothing) {
  IdeRunning();
  Run("REG C:\\T\\NONE.TPL");
  ASSERT_EQ(fake_.messages.shown.size(), 1u);
  EXPECT_EQ(fake_.messages.shown[0].caption, "Register Error");
  EXPECT_EQ(fake_.messages.shown[0].text, "Template file does not exist.");
  EXPECT_EQ(fake_.messages.shown[0].icon, MessageIcon::kInformation);
  EXPECT_TRUE(fake_.profile.log.empty());
  EXPECT_TRUE(fake_.dde_client.connects.empty());
}

TEST_F(RegCommandTest, RunningIdeReceivesTheCommandWithAutoPickOff) {
  IdeRunning();
  fake_.files.contents = {{"C:\\T\\X.TPL", ""}};
  fake_.profile.Set(kIni, "Environment", "AutoPick", "on");
  Run("REG C:\\T\\X.TPL");
  EXPECT_TRUE(fake_.messages.shown.empty());
  EXPECT_TRUE(fake_.programs.started.empty());
  ASSERT_EQ(fake_.dde_client.executes.size(), 1u);
  EXPECT_EQ(fake_.dde_client.executes[0].text, "[RegisterTemplateChain(C:\\T\\X.TPL,0)]");
  EXPECT_EQ(autopick_during_, std::vector<std::string>{"off"});
  EXPECT_EQ(AutoPick(), "on");
  // Disconnected at the end.
  EXPECT_TRUE(fake_.dde_client.open.empty());
  EXPECT_EQ(fake_.dde_client.closed, std::vector<int32_t>{1});
}

TEST_F(RegCommandTest, IdeNotRunningIsStartedWithAutoPickAlreadyOff) {
  fake_.files.contents = {{"demo.tpl", ""}};
  std::vector<std::string> autopick_at_start;
  fake_.dde_client.before_connect = [&](const std::string&) {
    if (!fake_.programs.started.empty() && fake_.dde_client.services.empty()) {
      autopick_at_start.push_back(AutoPick());
      IdeRunning();
    }
  };
  Run("REG demo.tpl");
  EXPECT_EQ(fake_.programs.started, (std::vector<StartedProgram>{{kExe, ""}}));
  EXPECT_EQ(autopick_at_start, std::vector<std::string>{"off"});
  ASSERT_EQ(fake_.dde_client.executes.size(), 1u);
  EXPECT_EQ(fake_.dde_client.executes[0].text, "[RegisterTemplateChain(demo.tpl,0)]");
  EXPECT_EQ(fake_.profile.Get(".\\ZQDE.LOG", "Connect", "Before Run"), "ClarionWin");
}

TEST_F(RegCommandTest, NameIsSentAsTypedWithItsBlanksAndWithoutQuotes) {
  IdeRunning();
  const struct {
    std::string line, file, sent;
  } cases[] = {
      {"REG \"My Templates\\a b.tpl\"", "My Templates\\a b.tpl",
       "[RegisterTemplateChain(My Templates\\a b.tpl,0)]"},
      {"REG ..\\tpl\\x.tpl", "..\\tpl\\x.tpl", "[RegisterTemplateChain(..\\tpl\\x.tpl,0)]"},
      {"reg \"trail.tpl  \"", "trail.tpl  ", "[RegisterTemplateChain(trail.tpl,0)]"},
      // Characters of the command syntax: the short form goes instead.
      {"REG a,b(1).tpl extra", "a,b(1).tpl", "[RegisterTemplateChain(AB1~1.TPL,0)]"},
  };
  fake_.files.short_names["a,b(1).tpl"] = "AB1~1.TPL";
  for (const auto& c : cases) {
    fake_.files.contents = {{c.file, ""}};
    Run(c.line);
    ASSERT_FALSE(fake_.dde_client.executes.empty()) << c.line;
    EXPECT_EQ(fake_.dde_client.executes.back().text, c.sent) << c.line;
  }
}

TEST_F(RegCommandTest, AutoPickIsPutBackAsItWas) {
  IdeRunning();
  fake_.files.contents = {{"x.tpl", ""}};
  const std::string values[] = {
      "on", "off", "", "Yes please", std::string(19, 'v'), std::string(40, 'w')};
  for (const std::string& value : values) {
    fake_.profile.Set(kIni, "Environment", "AutoPick", value);
    autopick_during_.clear();
    Run("REG x.tpl");
    EXPECT_EQ(autopick_during_, std::vector<std::string>{"off"}) << value;
    EXPECT_EQ(AutoPick(), value);
  }
}

TEST_F(RegCommandTest, MissingAutoPickIsWrittenAsOnAfterwards) {
  IdeRunning();
  fake_.files.contents = {{"x.tpl", ""}};
  Run("REG x.tpl");
  EXPECT_EQ(autopick_during_, std::vector<std::string>{"off"});
  EXPECT_TRUE(fake_.profile.Has(kIni, "Environment", "AutoPick"));
  EXPECT_EQ(AutoPick(), "on");
}

TEST_F(RegCommandTest, UnreachableOrRefusingIdeIsNotReportedAndAutoPickRestored) {
  fake_.files.contents = {{"x.tpl", ""}};
  fake_.profile.Set(kIni, "Environment", "AutoPick", "yes");
  Run("REG x.tpl");  // nothing answers for the whole bound
  EXPECT_TRUE(fake_.messages.shown.empty());
  EXPECT_TRUE(fake_.dde_client.executes.empty());
  EXPECT_EQ(AutoPick(), "yes");

  IdeRunning();
  fake_.dde_client.execute_error = kDdeRefused;
  fake_.dde_client.items = {{"GetErrorNum", "3"}, {"GetErrorMsg", "No such template"}};
  Run("REG x.tpl");
  EXPECT_TRUE(fake_.messages.shown.empty());
  EXPECT_EQ(fake_.dde_client.executes.size(), 1u);
  EXPECT_EQ(AutoPick(), "yes");
}

// Another REG that keeps its turn past the wait: this one changes nothing.
TEST_F(RegCommandTest, RunThatNeverGetsItsTurnChangesNothing) {
  IdeRunning();
  fake_.files.contents = {{"x.tpl", ""}};
  fake_.profile.Set(kIni, "Environment", "AutoPick", "off");
  fake_.programs.held = {"ZQMV5 REG AutoPick"};
  Run("REG x.tpl");
  EXPECT_TRUE(fake_.dde_client.executes.empty());
  EXPECT_TRUE(fake_.profile.writes().empty());
}

// Another program holds the IDE's INI file for a moment while REG puts
// AutoPick back: REG tries again for a while, and when it still cannot, it
// tells which value to put back in which file, also when another program
// keeps its turn at the file. When AutoPick cannot be set off at all, the
// command is not sent.
TEST_F(RegCommandTest, AutoPickThatCannotBeWrittenIsRetriedAndTold) {
  struct HeldIni : EnvWrapper {
    using EnvWrapper::EnvWrapper;
    Status WriteIniValue(const std::string& section, const std::string& entry,
                         const std::string& value, const std::string& file) override {
      if (entry == "AutoPick" && failures_left[value] > 0) {
        --failures_left[value];
        return FileIsLocked();
      }
      return EnvWrapper::WriteIniValue(section, entry, value, file);
    }
    std::map<std::string, int> failures_left;
  };
  IdeRunning();
  fake_.files.contents = {{"x.tpl", ""}};
  const struct {
    int off_failures, back_failures;
    bool quiet, sent;
    std::string autopick;    // afterwards
    bool turn_kept = false;  // another program takes the turn while the IDE works
  } cases[] = {
      {0, 3, false, true, "kept"},
      {0, 1000000, false, true, "off"},
      {0, 1000000, true, true, "off"},
      {1000000, 0, true, false, "kept"},
      {0, 0, true, true, "off", true},
  };
  for (const auto& c : cases) {
    fake_.dde_client.on_execute = [&](const std::string&) {
      if (c.turn_kept) fake_.programs.held.insert("ZQMV5 IDE INI file");
    };
    fake_.programs.held.clear();
    fake_.profile.Set(kIni, "Environment", "AutoPick", "kept");
    fake_.messages = {};
    fake_.clock.paused = 0;
    fake_.dde_client.executes.clear();
    HeldIni env(fake_);
    env.failures_left = {{"off", c.off_failures}, {"kept", c.back_failures}};
    CommandContext context;
    context.quiet = c.quiet;
    context.ini_file = kIni;
    context.exe_name = kExe;
    context.Tokenize("REG x.tpl");
    RegCommand(context, env);
    const std::string where = std::to_string(c.off_failures) + "/" +
                              std::to_string(c.back_failures) + (c.quiet ? " quiet" : "") +
                              (c.turn_kept ? " turn kept" : "");
    EXPECT_EQ(fake_.dde_client.executes.size(), c.sent ? 1u : 0u) << where;
    EXPECT_EQ(AutoPick(), c.autopick) << where;
    EXPECT_LE(fake_.clock.paused, 3000) << where;
    const bool failed = c.off_failures + c.back_failures > 3 || c.turn_kept;
    EXPECT_EQ(context.outcome().ok(), !failed) << where;
    if (!failed) continue;
    // The run's outcome tells what happened: the IDE has the command, and
    // AutoPick still needs its value back.
    const std::string& outcome = context.outcome().message();
    if (c.sent) EXPECT_NE(outcome.find("\"kept\""), std::string::npos) << where << ": " << outcome;
    EXPECT_EQ(outcome.find("nothing was changed"), std::string::npos) << where << ": " << outcome;
    const std::string told =
        c.quiet ? (fake_.messages.output.empty() ? "" : fake_.messages.output[0])
                : (fake_.messages.shown.empty() ? "" : fake_.messages.shown[0].text);
    EXPECT_NE(told.find("AutoPick"), std::string::npos) << where << ": " << told;
    EXPECT_NE(told.find(kIni), std::string::npos) << where << ": " << told;
    if (c.sent) EXPECT_NE(told.find("kept"), std::string::npos) << where << ": " << told;
  }
}

// An IDE that refuses the command fails the run, whatever its own error
// number says; the number and message it gave are told.
TEST_F(RegCommandTest, RefusedCommandIsAFailureUnderQuiet) {
  IdeRunning();
  fake_.files.contents = {{"x.tpl", ""}};
  fake_.dde_client.execute_error = kDdeRefused;
  for (const char* number : {"0", "42"}) {
    fake_.dde_client.items = {{"GetErrorNum", number}, {"GetErrorMsg", "Bad chain"}};
    fake_.messages = {};
    CommandContext context;
    context.quiet = true;
    context.ini_file = kIni;
    context.exe_name = kExe;
    context.Tokenize("REG x.tpl");
    RegCommand(context, fake_);
    EXPECT_EQ(Status::Kind::kRefused, context.outcome().kind()) << number;
    ASSERT_EQ(fake_.messages.output.size(), 1u) << number;
    EXPECT_NE(fake_.messages.output[0].find(std::string(number) + ": Bad chain"), std::string::npos)
        << fake_.messages.output[0];
  }
}

TEST_F(RegCommandTest, ConnectionIsDrivenInItsOrder) {
  IdeRunning();
  fake_.files.contents = {{"t.tpl   ", ""}};
  Run("REG \"t.tpl   \"");
  EXPECT_EQ(fake_.dde_client.timeouts, std::vector<int32_t>{12000});
  EXPECT_EQ(fake_.dde_client.connects, std::vector<std::string>{"ClarionWin"});
  ASSERT_EQ(fake_.dde_client.executes.size(), 1u);
  EXPECT_EQ(fake_.dde_client.executes[0].text, "[RegisterTemplateChain(t.tpl,0)]");
  EXPECT_EQ(fake_.dde_client.closed, std::vector<int32_t>{1});
  EXPECT_EQ(fake_.profile.Get(".\\ZQDE.LOG", "Connect", "Channel"), "1");
}

}  // namespace
}  // namespace zqmv5
