#include "commands/un_user_menu_command.h"

#include <gtest/gtest.h>

#include "testing/env_wrapper.h"
#include "testing/fake_env.h"

namespace zqmv5 {
namespace {

constexpr char kIni[] = "C:\\C5\\Bin\\C5ee.ini";

class UnUserMenuCommandTest : public ::testing::Test {
 protected:
  void Run(const std::string& text) {
    CommandContext context;
    context.ini_file = kIni;
    context.Tokenize(text);
    UnUserMenuCommand(context, fake_);
  }
  FakeEnv fake_;
};

TEST_F(UnUserMenuCommandTest, NothingToRemoveWritesNothing) {
  fake_.profile.Set(kIni, "User Menus", "1", "Editor|EDIT");
  fake_.profile.Set(kIni, "User Menus", "2", "My|App|Other");  // the reference is after the last |
  Run("UNUSERMENU App");
  EXPECT_TRUE(fake_.profile.writes().empty());
  EXPECT_TRUE(fake_.messages.shown.empty());
}

TEST_F(UnUserMenuCommandTest, AnAppRefNoIniFileCanHoldIsRefused) {
  for (const char* line : {"UNUSERMENU", "UNUSERMENU a=b", "UNUSERMENU [Paths]"}) {
    fake_.messages.shown.clear();
    Run(line);
    ASSERT_EQ(fake_.messages.shown.size(), 1u) << line;
    EXPECT_EQ(fake_.messages.shown[0].caption, "Incorrect Command Line");
  }
  EXPECT_TRUE(fake_.profile.writes().empty());
}

// Moving the entries up can need room on the way (a longer line into a
// shorter one's slot): a write that fails there leaves every entry where it
// was, rather than a menu that shows an entry twice.
TEST_F(UnUserMenuCommandTest, WriteFailingOnTheWayPutsEveryEntryBack) {
  struct FailsOnWrite : EnvWrapper {
    using EnvWrapper::EnvWrapper;
    Status WriteIniValue(const std::string& section, const std::string& entry,
                         const std::string& value, const std::string& file) override {
      if (++writes == 2) return {Status::Kind::kNoRoom, "File System Error"};
      return EnvWrapper::WriteIniValue(section, entry, value, file);
    }
    int writes = 0;
  };
  const FakeProfile::Entries menu = {
      {"1", "A|App"}, {"2", "Second entry|B"}, {"3", "Third entry|C"}, {"4", "Fourth|D"}};
  for (const auto& [slot, line] : menu) fake_.profile.Set(kIni, "User Menus", slot, line);
  fake_.profile.Set(kIni, "User Applications", "App", "app.exe");
  FailsOnWrite env(fake_);
  CommandContext context;
  context.ini_file = kIni;
  context.Tokenize("UNUSERMENU App");
  UnUserMenuCommand(context, env);
  EXPECT_EQ(Status::Kind::kNoRoom, context.outcome().kind());
  EXPECT_EQ(fake_.profile.Section(kIni, "User Menus"), menu);
  EXPECT_EQ(fake_.profile.Get(kIni, "User Applications", "App"), "app.exe");
}

}  // namespace
}  // namespace zqmv5
