// A user adds entries to the IDE's user menu with USERMENU: the INI file
// before and after, and the box for a command line that lacks an operand.

#include <windows.h>

#include <string>

#include "blackbox/session.h"

namespace zqmv5::testing {
namespace {

class UserMenuTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    UseDemoInstallation();
  }

  // Gives the IDE's INI file these bytes.
  void WriteIdeIni(const std::string& contents) {
    Flush();
    ASSERT_TRUE(WriteWholeFile(ide_ini_, contents));
  }
  // Wine caches profile files in the process that read them; flushing makes
  // the next read see what ZQMV5.exe wrote.
  void Flush() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, ide_ini_.c_str()); }

  RunResult RunQuietly(const std::string& arguments) {
    RunResult result = Run("USERMENU " + arguments);
    EXPECT_EQ(result.exit_code, 0u);
    EXPECT_TRUE(result.boxes.empty()) << arguments << "\n" << Describe(result.boxes);
    Flush();
    return result;
  }

  std::string Menu(int slot) { return IniValue(ide_ini_, "User Menus", std::to_string(slot)); }
  std::string App(const std::string& app_ref) {
    return IniValue(ide_ini_, "User Applications", app_ref, "(none)");
  }

  // The box of a run that lacks an operand, with the operands as given.
  void ExpectIncorrect(const std::string& arguments, const std::string& app_ref,
                       const std::string& menu, const std::string& command_line,
                       const std::string& parm) {
    const std::string before = ReadWholeFile(ide_ini_);
    RunResult result = Run("USERMENU " + arguments);
    EXPECT_EQ(result.exit_code, 0u);
    ASSERT_EQ(result.boxes.size(), 1u) << arguments << "\n" << Describe(result.boxes);
    EXPECT_EQ(result.boxes[0].caption, "Incorrect Command Line");
    std::string text =
        "Command line paramters are: AppRef MenuDisplay CommandLine [Parm].  Found were: ";
    text += "\n   AppRef: " + app_ref;
    text += "\n   MenuDisplay: " + menu;
    text += "\n   CommandLine: " + command_line;
    text += "\n   Parm: " + parm;
    EXPECT_EQ(result.boxes[0].text, text) << arguments;
    EXPECT_EQ(result.boxes[0].icon, "information");
    EXPECT_EQ(result.boxes[0].buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(ReadWholeFile(ide_ini_), before) << arguments;
  }
};

TEST_F(UserMenuTest, MissingOperandsShowTheBoxAndLeaveTheIniAlone) {
  WriteIdeIni("[User Menus]\r\n1=One|A\r\n");
  ExpectIncorrect("", "", "", "", "");
  ExpectIncorrect("MyApp My+Tools-Sub", "MyApp", "My+Tools-Sub", "", "");
  ExpectIncorrect("\"\" My+Tools prog.exe", "My+Tools", "prog.exe", "", "");
}

TEST_F(UserMenuTest, AppRefsAnIniFileCannotHoldAreRefused) {
  WriteIdeIni("[User Applications]\r\nA=a.exe\r\n[Paths]\r\nLibsrc=C:\\L\r\n");
  ExpectIncorrect("[Paths] Menu prog.exe", "[Paths]", "Menu", "prog.exe", "");
  ExpectIncorrect("A=B Menu prog.exe", "A=B", "Menu", "prog.exe", "");
  // A line break would start a line, here a section, of its own.
  ExpectIncorrect("App Menu\n[Evil] prog.exe", "App", "Menu\n[Evil]", "prog.exe", "");
}

TEST_F(UserMenuTest, AddsTheMenuLineAndTheApplication) {
  WriteIdeIni(
      "[Paths]\r\nLibsrc=C:\\L\r\n[User Menus]\r\n1=One|A\r\n2=Two|B\r\n"
      "[User Applications]\r\nA=a.exe\r\nB=b.exe\r\n");
  RunQuietly("MyApp My+Tools-Sub \"C:\\Program Files\\My App\\x-y.exe\" /a+b-c");
  EXPECT_EQ(Menu(3), "My Tools/Sub|MyApp");
  EXPECT_EQ(App("MyApp"), "C:\\Program Files\\My App\\x-y.exe /a b-c");
  EXPECT_EQ(IniSection(ide_ini_, "User Menus"), "1=One|A\n2=Two|B\n3=My Tools/Sub|MyApp\n");
  EXPECT_EQ(App("A"), "a.exe");
  EXPECT_EQ(IniValue(ide_ini_, "Paths", "Libsrc"), "C:\\L");
}

TEST_F(UserMenuTest, WithoutParmTheValueIsTheCommandLineAndOneBlank) {
  WriteIdeIni("[Environment]\r\nAutoPick=on\r\n");
  RunQuietly("App Menu prog.exe");
  EXPECT_EQ(Menu(1), "Menu|App");
  EXPECT_NE(ReadWholeFile(ide_ini_).find("App=prog.exe \r\n"), std::string::npos)
      << ReadWholeFile(ide_ini_);
}

TEST_F(UserMenuTest, SameLineInAnotherCaseWritesNothing) {
  const std::string ini =
      "[User Menus]\r\n1=Other|X\r\n2=my tools/SUB|myapp\r\n"
      "[User Applications]\r\nmyapp=old.exe\r\n";
  WriteIdeIni(ini);
  RunQuietly("MyApp My+Tools-Sub new.exe /n");
  EXPECT_EQ(ReadWholeFile(ide_ini_), ini);
  EXPECT_EQ(App("MyApp"), "old.exe");
}

TEST_F(UserMenuTest, SecondRunAddsNothingEvenForAMenuTextThatBeganWithPlus) {
  WriteIdeIni("[User Menus]\r\n1=One|A\r\n");
  RunQuietly("App +Leading+Blank prog.exe");
  const std::string once = ReadWholeFile(ide_ini_);
  EXPECT_EQ(Menu(2), "Leading Blank|App");
  RunQuietly("App +Leading+Blank prog.exe");
  EXPECT_EQ(ReadWholeFile(ide_ini_), once);
  RunQuietly("App Other prog.exe");  // a new line, behind the first run's
  EXPECT_EQ(Menu(3), "Other|App");
  EXPECT_EQ(Menu(4), "");
}

TEST_F(UserMenuTest, EqualLineBehindAFreeSlotIsWrittenAgain) {
  WriteIdeIni("[User Menus]\r\n1=One|A\r\n2=   \r\n3=Menu|App\r\n4=Four|D\r\n");
  RunQuietly("App Menu prog.exe");
  EXPECT_EQ(Menu(2), "Menu|App");
  EXPECT_EQ(Menu(3), "Menu|App");
  EXPECT_EQ(App("App"), "prog.exe");
}

TEST_F(UserMenuTest, AllHundredSlotsTakenStillWritesTheApplication) {
  std::string ini = "[User Menus]\r\n";
  for (int slot = 1; slot <= 100; ++slot) {
    ini += std::to_string(slot) + "=Item " + std::to_string(slot) + "|X\r\n";
  }
  WriteIdeIni(ini);
  RunQuietly("App Menu prog.exe p");
  EXPECT_EQ(Menu(100), "Item 100|X");
  EXPECT_EQ(IniValue(ide_ini_, "User Menus", "101", "(none)"), "(none)");
  EXPECT_EQ(App("App"), "prog.exe p");
}

TEST_F(UserMenuTest, MissingIniFileIsCreated) {
  RemoveFileIfAny(ide_ini_);
  RunQuietly("App Menu prog.exe");
  EXPECT_EQ(Menu(1), "Menu|App");
  EXPECT_EQ(App("App"), "prog.exe");
}

}  // namespace
}  // namespace zqmv5::testing
