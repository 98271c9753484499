#include "commands/un_user_menu_command.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zqmv5
