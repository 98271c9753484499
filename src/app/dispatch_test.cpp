#include "app/dispatch.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>

#include "testing/env_wrapper.h"
#include "testing/fake_env.h"
#include "testing/fake_version_view.h"

namespace zqmv5 {
namespace {

constexpr char kIdeIni[] = "C:\\C5\\Bin\\C5ee.ini";

class MainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_.profile.Set("ZQMV5.ini", "Clarion", "root", "C:\\C5");
    fake_.profile.Set("ZQMV5.ini", "Clarion", "ExeName", "C5EE.EXE");
  }
  void RunMain(const std::string& command) {
    fake_.command_line.text = command;
    Main(fake_, views_.opener());
  }
  FakeEnv fake_;
  FakeVersionViews views_;
};

TEST_F(MainTest, HelpBoxLinesAreExact) {
  RunMain("cmd");
  ASSERT_EQ(fake_.messages.shown.size(), 1u);
  const ShownMessage& box = fake_.messages.shown[0];
  EXPECT_EQ(box.caption, "ZQInstall");
  EXPECT_EQ(box.icon, MessageIcon::kWindowsLogo);
  EXPECT_EQ(box.text.substr(0, 30), "Command Line Parameters are:||");
  // Lines 3 to 7 begin with five blanks (line 5 with eight); 4, 5 and 8 end with one.
  EXPECT_NE(box.text.find("|     REG TemplateToRegister|"), std::string::npos);
  EXPECT_NE(box.text.find("[Parm1+Parm2+Parm3] |        + becomes a space and- becomes a \"/\" |"),
            std::string::npos);
  EXPECT_NE(box.text.find("following entries: |     [Clarion]|"), std::string::npos);
}

// What a script sees: each kind of failure gives the exit status of the
// README's table, whatever its message or number says.
TEST(ExitStatusTest, EachKindOfOutcomeHasItsStatus) {
  using Kind = Status::Kind;
  const struct {
    Status outcome;
    int status;
  } cases[] = {
      {Status(), 0},
      {Status(Kind::kBadInput, "an operand missing"), 2},
      {Status(Kind::kNoInstallation, "Entry Not Found"), 3},
      {FileNotFound(), 1},
      {FileIsLocked(), 1},
      {Status(Kind::kNoRoom, "full", 112), 1},
      {AccessDenied(), 1},
      {DdeFailure(kDdeRefused).With("the IDE's error 0"), 1},
      {DdeFailure(kDdeTimeOut), 1},
      {DdeFailure(kDdeNotAvailable), 1},
      {Utf16File(), 1},
      {Status(Kind::kIoError, "", 0), 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExitStatusOf(true, c.outcome.kind()), c.status) << c.outcome.message();
  }
}

TEST_F(MainTest, EveryOtherVerbShowsTheDescription) {
  for (const char* verb : {"HELP", "REGISTER", "RE", "LIB", "CMDS", "ZQ"}) {
    FakeEnv fake;
    fake.profile.Set("ZQMV5.ini", "Clarion", "root", "C:\\C5");
    fake.profile.Set("ZQMV5.ini", "Clarion", "ExeName", "C5EE.EXE");
    fake.command_line.text = verb;
    Main(fake, views_.opener());
    ASSERT_EQ(fake.messages.shown.size(), 1u) << verb;
    EXPECT_EQ(fake.messages.shown[0].text.substr(0, 21), "The ZQInstall is a \"C") << verb;
    EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::kWindowsLogo);
  }
}

TEST_F(MainTest, DescriptionEndsWithTwoBlanks) {
  RunMain("HELP");
  ASSERT_EQ(fake_.messages.shown.size(), 1u);
  const std::string& text = fake_.messages.shown[0].text;
  EXPECT_EQ(text.substr(text.size() - 29), "using a selected directory.  ");
  EXPECT_NE(text.find("||    Register a template using DDE|"), std::string::npos);
}

TEST_F(MainTest, BlankFirstParameterNeverLooksForTheIde) {
  RunMain("");
  RunMain("    ");
  EXPECT_TRUE(fake_.messages.shown.empty());
  EXPECT_TRUE(fake_.profile.log.empty() || fake_.profile.log.front().file != "ZQMV5.ini");
  for (const auto& access : fake_.profile.log) EXPECT_NE(access.section, "Clarion");
}

TEST_F(MainTest, FailedDiscoveryRunsNoCommand) {
  FakeEnv fake;
  fake.command_line.text = "CMD";
  Main(fake, views_.opener());
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].caption, "Entry Not Found");
}

// Under /Q no one sees operands shift: an empty "" before another operand, or
// text right after a closing quote, is refused before anything is read. An
// empty "" at the end, and any line without /Q, work as they did.
TEST(QuietOperandsTest, OperandsThatWouldShiftAreRefusedUnderQuietOnly) {
  const struct {
    const char* command;
    const char* told;  // in the line; "" where the run goes ahead
  } cases[] = {
      {"/Q LIBSRC \"\" Run", "Parameter 2 is an empty"},
      {"/Q LIBSRC \"C:\\Program Files\\C5\"\\LIBSRC", "Parameter 3, \\LIBSRC, stands"},
      {"/Q USERMENU MyApp \"   \" notepad.exe x", "Parameter 3 is an empty"},
      {"/Q INCLUDE a\"b c\"d.tpl x", "d.tpl"},
      {"/Q LIBSRC \"C:\\Lib\" \"\" \"  \" ", ""},
  };
  for (const auto& c : cases) {
    FakeEnv fake;
    fake.profile.Set("ZQMV5.ini", "Clarion", "root", "C:\\C5");
    fake.profile.Set("ZQMV5.ini", "Clarion", "ExeName", "C5EE.EXE");
    fake.command_line.text = c.command;
    EXPECT_EQ(Main(fake, FakeVersionViews().opener()), *c.told ? 2 : 0) << c.command;
    EXPECT_TRUE(fake.programs.started.empty()) << c.command;
    EXPECT_EQ(fake.profile.Get(kIdeIni, "Paths", "Libsrc"), *c.told ? "" : "C:\\LIB");
    EXPECT_EQ(fake.profile.log.empty(), *c.told != 0) << c.command;
    const std::string line = fake.messages.output.empty() ? "" : fake.messages.output[0];
    EXPECT_NE(line.find(c.told), std::string::npos) << line;
  }
  FakeEnv fake;
  fake.profile.Set("ZQMV5.ini", "Clarion", "root", "C:\\C5");
  fake.profile.Set("ZQMV5.ini", "Clarion", "ExeName", "C5EE.EXE");
  fake.command_line.text = "LIBSRC \"\" Run";
  Main(fake, FakeVersionViews().opener());
  EXPECT_EQ(fake.profile.Get(kIdeIni, "Paths", "Libsrc"), "RUN");
}

// Two installers at once must not interleave their changes to the IDE's INI
// file (the profile API rewrites it whole): every verb that changes it holds
// one cross-process turn over its reads and writes of it. A run that cannot
// get the turn changes nothing and fails.
TEST_F(MainTest, ChangesToTheIdeIniFileTakeOneTurn) {
  struct Watch : EnvWrapper {
    explicit Watch(FakeEnv& fake) : EnvWrapper(fake), fake(fake) {}
    void Seen(const std::string& file) {
      if (file != kIdeIni) return;
      const std::set<std::string>& held = fake.programs.held;
      if (first) common = held;
      first = false;
      std::erase_if(common, [&](const std::string& lock) { return held.count(lock) == 0; });
    }
    Status ReadIniValue(const std::string& section, const std::string& entry,
                        const std::string& default_value, const std::string& file,
                        std::string* value) override {
      Seen(file);
      return EnvWrapper::ReadIniValue(section, entry, default_value, file, value);
    }
    Status WriteIniValue(const std::string& section, const std::string& entry,
                         const std::string& value, const std::string& file) override {
      Seen(file);
      return EnvWrapper::WriteIniValue(section, entry, value, file);
    }
    Status RemoveIniValue(const std::string& section, const std::string& entry,
                          const std::string& file) override {
      Seen(file);
      return EnvWrapper::RemoveIniValue(section, entry, file);
    }
    FakeEnv& fake;
    bool first = true;
    std::set<std::string> common;  // the locks held at every access so far
  };
  const char* const commands[] = {"/Q USERMENU App Menu a.exe", "/Q UNUSERMENU Old",
                                  "/Q LIBSRC C:\\L", "/Q UNLIBSRC C:\\L", "/Q REG x.tpl"};
  auto prepare = [&](FakeEnv& fake, const char* command) {
    fake.profile.Set("ZQMV5.ini", "Clarion", "root", "C:\\C5");
    fake.profile.Set("ZQMV5.ini", "Clarion", "ExeName", "C5EE.EXE");
    fake.profile.Set(kIdeIni, "User Menus", "1", "Old|Old");
    fake.profile.Set(kIdeIni, "Paths", "Libsrc", "C:\\L");
    fake.profile.Set(kIdeIni, "ZQMV5 Libsrc Undo", "C:\\L", "C:\\OLD");
    fake.files.contents["x.tpl"] = "";
    fake.dde_client.services = {"ClarionWin"};
    fake.command_line.text = command;
  };
  std::set<std::string> turn;
  for (const char* command : commands) {
    FakeEnv fake;
    prepare(fake, command);
    Watch watch(fake);
    EXPECT_EQ(Main(watch, views_.opener()), 0) << command;
    EXPECT_FALSE(watch.first) << command;
    if (command == commands[0]) turn = watch.common;
    std::erase_if(turn, [&](const std::string& lock) { return watch.common.count(lock) == 0; });
  }
  ASSERT_EQ(turn.size(), 1u);
  for (const char* command : commands) {
    FakeEnv fake;
    prepare(fake, command);
    fake.programs.held = turn;
    EXPECT_EQ(Main(fake, views_.opener()), 1) << command;
    for (const auto& write : fake.profile.writes()) EXPECT_NE(write.file, kIdeIni) << command;
    EXPECT_TRUE(fake.dde_client.executes.empty()) << command;
    EXPECT_FALSE(fake.messages.output.empty()) << command;
  }
}

// A file that exists but cannot be read (another program holds it) is never
// read as empty: every verb that reads the IDE's INI file, VERSION its
// settings (after a short wait), and the search for the IDE its ZQMV5.ini
// (read as empty, WIN.INI could name another installation), fails and
// changes nothing.
TEST_F(MainTest, IniFileThatCannotBeReadFailsTheRunAndChangesNothing) {
  const struct {
    const char* command;
    const char* unreadable;
  } cases[] = {{"/Q USERMENU App Menu a.exe", kIdeIni},
               {"/Q UNUSERMENU Old", kIdeIni},
               {"/Q REG x.tpl", kIdeIni},
               {"/Q LIBSRC C:\\X", kIdeIni},
               {"/Q UNLIBSRC C:\\L", kIdeIni},
               {"/Q LIBSRC C:\\X", "ZQMV5.ini"},
               {"/Q VERSION nightly", ".\\ZQMV5.ini"}};
  for (const auto& c : cases) {
    FakeEnv fake;
    fake.profile.Set("ZQMV5.ini", "Clarion", "root", "C:\\C5");
    fake.profile.Set("ZQMV5.ini", "Clarion", "ExeName", "C5EE.EXE");
    fake.profile.Set(kIdeIni, "User Menus", "1", "Old|Old");
    fake.profile.Set(kIdeIni, "ZQMV5 Libsrc Undo", "C:\\L", "C:\\OLD");
    fake.files.contents["x.tpl"] = "";
    fake.dde_client.services = {"ClarionWin"};
    fake.profile.fail_reads = {c.unreadable};
    fake.command_line.text = c.command;
    EXPECT_EQ(Main(fake, views_.opener()), 1) << c.command;
    EXPECT_TRUE(fake.profile.writes().empty()) << c.command;
    EXPECT_TRUE(fake.dde_client.executes.empty()) << c.command;
    EXPECT_EQ(fake.files.contents.count("Version.zqi"), 0u) << c.command;
    ASSERT_EQ(fake.messages.output.size(), 1u) << c.command;
    EXPECT_NE(fake.messages.output[0].find(std::string(c.unreadable) + ": File Is Locked"),
              std::string::npos)
        << fake.messages.output[0];
  }
}

}  // namespace
}  // namespace zqmv5
