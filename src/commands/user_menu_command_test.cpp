#include "commands/user_menu_command.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "commands/un_user_menu_command.h"
#include "testing/command_test.h"

namespace zqmv5 {
namespace {

class UserMenuCommandTest : public CommandTest<UserMenuCommand> {
 protected:
  void SetSlot(int slot, const std::string& value) {
    fake_.profile.Set(kIni, "User Menus", std::to_string(slot), value);
  }
  std::string Slot(int slot) const {
    return fake_.profile.Get(kIni, "User Menus", std::to_string(slot));
  }
  std::string App(const std::string& app_ref) const {
    return fake_.profile.Get(kIni, "User Applications", app_ref);
  }
};

TEST_F(UserMenuCommandTest, MissingOperandsShowTheBoxAndWriteNothing) {
  const char* const lines[] = {
      "USERMENU",
      "USERMENU App",
      "USERMENU App Menu",
      "USERMENU App \"  \" prog.exe",  // blank quotes hold no place: prog.exe is the menu
      "USERMENU \"\" \"\" \"\"",
  };
  for (const char* line : lines) {
    fake_.messages.shown.clear();
    Run(line);
    ASSERT_EQ(fake_.messages.shown.size(), 1u) << line;
    EXPECT_EQ(fake_.messages.shown[0].caption, "Incorrect Command Line") << line;
    EXPECT_EQ(fake_.messages.shown[0].icon, MessageIcon::kInformation) << line;
    EXPECT_TRUE(fake_.profile.log.empty()) << line;
  }
}

TEST_F(UserMenuCommandTest, BoxListsTheOperandsAsReceived) {
  Run("USERMENU My-App My+Tools-Sub");
  ASSERT_EQ(fake_.messages.shown.size(), 1u);
  EXPECT_EQ(fake_.messages.shown[0].text,
            "Command line paramters are: AppRef MenuDisplay CommandLine [Parm].  Found were: "
            "|   AppRef: My-App|   MenuDisplay: My+Tools-Sub|   CommandLine: |   Parm: ");
  fake_.messages.shown.clear();
  Run("USERMENU \"\" Menu a+b-c");  // the empty quotes hold no place
  ASSERT_EQ(fake_.messages.shown.size(), 1u);
  EXPECT_EQ(fake_.messages.shown[0].text,
            "Command line paramters are: AppRef MenuDisplay CommandLine [Parm].  Found were: "
            "|   AppRef: Menu|   MenuDisplay: a+b-c|   CommandLine: |   Parm: ");
}

TEST_F(UserMenuCommandTest, OperandsAnIniFileCannotHoldAreRefused) {
  const char* const lines[] = {
      "USERMENU a=b Menu prog.exe",       // read back as key "a"
      "USERMENU [Paths] Menu prog.exe",   // read back as a section header
      "USERMENU \t[Evil] Menu prog.exe",  // the INI file drops the white space before it
      "USERMENU App Menu\nx prog.exe",   "USERMENU App Menu prog\r.exe",
      "USERMENU App Menu prog.exe a\nb",
  };
  for (const char* line : lines) {
    fake_.messages.shown.clear();
    Run(line);
    ASSERT_EQ(fake_.messages.shown.size(), 1u) << line;
    EXPECT_EQ(fake_.messages.shown[0].caption, "Incorrect Command Line") << line;
    EXPECT_TRUE(fake_.profile.log.empty()) << line;
  }
  // "[" and ";" inside a key are ordinary characters.
  Run("USERMENU a[1];b Menu prog.exe");
  EXPECT_EQ(Slot(1), "Menu|a[1];b");
}

TEST_F(UserMenuCommandTest, RewritesMenuTextAndParametersOnly) {
  Run("USERMENU My-App+1 My+Tools-Sub+Menu C:\\A-B\\p+q.exe /x+-y-z");
  EXPECT_TRUE(fake_.messages.shown.empty());
  EXPECT_EQ(Slot(1), "My Tools/Sub Menu|My-App+1");
  EXPECT_EQ(App("My-App+1"), "C:\\A-B\\p+q.exe /x -y-z");
}

TEST_F(UserMenuCommandTest, WithoutParmTheCommandLineEndsInOneBlank) {
  Run("USERMENU App Menu \"C:\\Program Files\\p.exe\"");
  EXPECT_EQ(App("App"), "C:\\Program Files\\p.exe ");
}

TEST_F(UserMenuCommandTest, WritesTheFirstFreeSlotThenTheApplication) {
  SetSlot(1, "One|A");
  SetSlot(2, "Two|B");
  Run("USERMENU App Menu prog.exe p");
  const auto writes = fake_.profile.writes();
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0].section, "User Menus");
  EXPECT_EQ(writes[0].entry, "3");
  EXPECT_EQ(writes[0].value, "Menu|App");
  EXPECT_EQ(writes[0].file, kIni);
  EXPECT_EQ(writes[1].section, "User Applications");
  EXPECT_EQ(writes[1].entry, "App");
  EXPECT_EQ(writes[1].value, "prog.exe p");
  EXPECT_EQ(writes[1].file, kIni);
  EXPECT_EQ(fake_.profile.log.size(), 6u);  // slots 1 to 3 and the application read, two writes
}

TEST_F(UserMenuCommandTest, PresentLineInAnotherCaseStopsEverything) {
  SetSlot(1, "Other|X");
  SetSlot(2, "mY tOOLS/sUB|app  ");
  fake_.profile.Set(kIni, "User Applications", "App", "old.exe");
  EXPECT_TRUE(Run("USERMENU App My+Tools-Sub new.exe").ok()) << "nothing to do";
  EXPECT_TRUE(fake_.profile.writes().empty());
  EXPECT_EQ(App("App"), "old.exe");
  EXPECT_EQ(fake_.profile.log.size(), 2u);  // the scan ended at slot 2
}

// UNUSERMENU removes the application entry, so USERMENU never takes over one
// that runs another program: it would be lost for good. One that runs the
// same program is written again.
TEST_F(UserMenuCommandTest, ApplicationEntryOfAnotherProgramIsLeftAlone) {
  fake_.profile.Set(kIni, "User Applications", "MyTool", "C:\\old.exe /old");
  const Status refused = Run("USERMENU MyTool Menu C:\\new.exe");
  EXPECT_EQ(Status::Kind::kDenied, refused.kind());
  EXPECT_NE(refused.message().find("C:\\old.exe /old"), std::string::npos) << refused.message();
  EXPECT_TRUE(fake_.profile.writes().empty());
  fake_.profile.Set(kIni, "User Applications", "MyTool", "C:\\new.exe");
  EXPECT_TRUE(Run("USERMENU MyTool Menu C:\\new.exe").ok());
  EXPECT_EQ(Slot(1), "Menu|MyTool");
}

// Two double-byte characters that a byte-wise upper case would make one
// (\x83\x46 and \x83\x66 in code page 932) are two menu lines and two AppRefs.
TEST_F(UserMenuCommandTest, DoubleByteCharactersAreComparedWhole) {
  fake_.code_page.lead_bytes = ShiftJisLeadBytes();
  SetSlot(1, "\x83\x46|App");
  Run("USERMENU App \x83\x66 new.exe");
  EXPECT_EQ(Slot(2), "\x83\x66|App");

  fake_.profile.Set(kIni, "User Menus", "1", "Tool|\x83\x46");
  fake_.profile.Set(kIni, "User Menus", "2", "");
  RunCommand(UnUserMenuCommand, "UNUSERMENU \x83\x66", fake_);
  EXPECT_EQ(Slot(1), "Tool|\x83\x46");
}

TEST_F(UserMenuCommandTest, MenuTextThatBeganWithPlusIsFoundAgain) {
  // The profile service stores " Tools|App" without its leading blank.
  SetSlot(1, "Tools|App");
  Run("USERMENU App +Tools prog.exe");
  EXPECT_TRUE(fake_.profile.writes().empty());
}

TEST_F(UserMenuCommandTest, EqualLineBehindAFreeSlotIsWrittenAgain) {
  SetSlot(1, "One|A");
  SetSlot(3, "Menu|App");
  Run("USERMENU App Menu prog.exe");
  EXPECT_EQ(Slot(2), "Menu|App");
  EXPECT_EQ(App("App"), "prog.exe ");
}

TEST_F(UserMenuCommandTest, BlankSlotCountsAsFree) {
  SetSlot(1, "   ");
  Run("USERMENU App Menu prog.exe");
  EXPECT_EQ(Slot(1), "Menu|App");
}

TEST_F(UserMenuCommandTest, AllSlotsTakenStillWritesTheApplication) {
  for (int slot = 1; slot <= 100; ++slot) SetSlot(slot, "Item " + std::to_string(slot) + "|X");
  SetSlot(101, "");
  Run("USERMENU App Menu prog.exe");
  const auto writes = fake_.profile.writes();
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0].section, "User Applications");
  EXPECT_EQ(writes[0].value, "prog.exe ");
  EXPECT_EQ(fake_.profile.log.size(), 102u);  // slots 1 to 100 (never 101), the application
  EXPECT_EQ(Slot(100), "Item 100|X");
}

TEST_F(UserMenuCommandTest, SlotKeysAreDecimalWithoutPadding) {
  for (int slot = 1; slot <= 99; ++slot) SetSlot(slot, "x|y");
  Run("USERMENU App Menu prog.exe");
  ASSERT_FALSE(fake_.profile.writes().empty());
  EXPECT_EQ(fake_.profile.writes()[0].entry, "100");
  EXPECT_EQ(fake_.profile.log[0].entry, "1");
  EXPECT_EQ(fake_.profile.log[9].entry, "10");
}

TEST_F(UserMenuCommandTest, OnlyTheWholeMenuLineCounts) {
  SetSlot(1, "Menu|App2");
  SetSlot(2, "Menu|Ap");
  SetSlot(3, "Menu2|App");
  Run("USERMENU App Menu prog.exe");
  EXPECT_EQ(Slot(4), "Menu|App");
}

}  // namespace
}  // namespace zqmv5
