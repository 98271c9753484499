#include "app/dispatch.h"

#include <gtest/gtest.h>

#include <iterator>

#include "testing/fake_env.h"

namespace zqmv5 {
namespace {

class MainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_.profile.Set("ZQMV5.ini", "Clarion", "root", "C:\\C5");
    fake_.profile.Set("ZQMV5.ini", "Clarion", "ExeName", "C5EE.EXE");
  }
  void RunMain(const std::string& command) {
    fake_.command_line.text = command;
    Main(fake_);
  }
  FakeEnv fake_;
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
  EXPECT_EQ(std::size(kHelpLines), 12u);
}

TEST_F(MainTest, EveryOtherVerbShowsTheDescription) {
  for (const char* verb : {"HELP", "REGISTER", "RE", "LIB", "CMDS", "ZQ"}) {
    FakeEnv fake;
    fake.profile.Set("ZQMV5.ini", "Clarion", "root", "C:\\C5");
    fake.profile.Set("ZQMV5.ini", "Clarion", "ExeName", "C5EE.EXE");
    fake.command_line.text = verb;
    Main(fake);
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
  Main(fake);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].caption, "Entry Not Found");
}

}  // namespace
}  // namespace zqmv5
