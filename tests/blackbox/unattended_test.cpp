// An installer runs ZQMV5.exe unattended: /Q with its lines and exit
// statuses, and an uninstaller takes back what USERMENU and INCLUDE added.

#include <windows.h>

#include <string>

#include "blackbox/session.h"

namespace zqmv5::testing {
namespace {

class UnattendedTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    UseDemoInstallation();
  }

  struct Quiet {
    unsigned long status = 0;
    std::string output;  // what it wrote to the standard output it was handed
    std::string log;     // ZQMV5.LOG in the working folder
  };

  // Runs with /Q, which may show no box.
  Quiet RunQuiet(const std::string& arguments) {
    RunOptions options;
    options.output_file = Work("output.txt");
    const RunResult result = Run(arguments, options);
    EXPECT_TRUE(result.boxes.empty()) << arguments << "\n" << Describe(result.boxes);
    return {result.exit_code, ReadWholeFile(options.output_file), ReadWholeFile(Work("ZQMV5.LOG"))};
  }

  void WriteIdeIni(const std::string& contents) {
    Flush();
    ASSERT_TRUE(WriteWholeFile(ide_ini_, contents));
  }
  void Flush() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, ide_ini_.c_str()); }

  // The IDE's INI file as its values read.
  std::string IdeIni() {
    Flush();
    std::string values;
    for (const char* section : {"Environment", "User Menus", "User Applications", "Paths"}) {
      values += std::string("[") + section + "]\n" + IniSection(ide_ini_, section);
    }
    return values;
  }
};

TEST_F(UnattendedTest, QuietRunsTellByLineAndStatus) {
  ASSERT_TRUE(WriteWholeFile(Work("demo.tpl"), "#TEMPLATE(Demo,'Demo')\r\n"));
  const struct {
    const char* arguments;
    unsigned long status;
    const char* line;
  } cases[] = {
      {"/Q REG missing.tpl", 1, "Register Error: Template file does not exist."},
      {"/q REG", 2,
       "ZQ Install Error: Command line must include a template name as the second parameter."},
      {"/Q USERMENU App", 2,
       "Incorrect Command Line: Command line paramters are: AppRef MenuDisplay CommandLine "
       "[Parm].  Found were:  |    AppRef: App |    MenuDisplay:  |    CommandLine:  |    Parm: "},
      {"/Q HELP", 2, "ZQInstall: The ZQInstall is a \"Command Line\" Clarion 5 Utility."},
      {"/Q", 2, "ZQInstall: The ZQInstall is a \"Command Line\" Clarion 5 Utility."},
      {"/Q   CMD", 0, "ZQInstall: Command Line Parameters are: |  |      REG TemplateToRegister"},
      {"/Q INCLUDE none.tpl x.tpw", 1, "INCLUDE: none.tpl: File Not Found"},
      {"/Q INCLUDE demo.tpl", 2, "INCLUDE: A template file and a file to include are needed."},
      {"/Q LIBSRC", 2, "Set ABC Library Directory: File parameter missing from command line"},
      {"/Q UNUSERMENU", 2, "Incorrect Command Line: Command line parameter is: AppRef."},
  };
  for (const auto& c : cases) {
    const Quiet run = RunQuiet(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments;
    EXPECT_NE(run.output.find(c.line), std::string::npos) << c.arguments << "\n" << run.output;
    // The log line carries the date and time: "2026-12-07 09:05:00 ...".
    const size_t last = run.log.rfind('\n', run.log.size() - 2) + 1;
    EXPECT_EQ(run.log.substr(last + 19, 1), " ") << run.log;
    EXPECT_NE(run.log.substr(last).find(c.line), std::string::npos) << c.arguments;
  }
  const Quiet done = RunQuiet("/Q INCLUDE demo.tpl Inc.tpw");
  EXPECT_EQ(done.status, 0u);
  EXPECT_EQ(done.output, "");

  WriteOwnIni("");
  const Quiet nowhere = RunQuiet("/Q CMD");
  EXPECT_EQ(nowhere.status, 3u);
  EXPECT_EQ(nowhere.output.rfind("Entry Not Found: ", 0), 0u) << nowhere.output;
}

// USERMENU then UNUSERMENU leaves the IDE's INI file as it was, whatever the
// menu held; a line removed from the middle lets the ones after it move up.
TEST_F(UnattendedTest, UnUserMenuTakesBackWhatUserMenuAdded) {
  std::string full;
  for (int slot = 1; slot <= 100; ++slot) {
    full += std::to_string(slot) + "=Tool " + std::to_string(slot) + "|T" + std::to_string(slot) +
            "\r\n";
  }
  const std::string menus[] = {"", "1=Editor|EDIT\r\n2=Viewer|VIEW\r\n",
                               "1=Editor|EDIT\r\n2=Viewer|VIEW\r\n5=Hidden|HID\r\n", full};
  for (const std::string& menu : menus) {
    WriteIdeIni("[Environment]\r\nAutoPick=on\r\n[User Menus]\r\n" + menu +
                "[User Applications]\r\nEDIT=c:\\e.exe \r\n[Paths]\r\nLibsrc=C:\\L\r\n");
    const std::string before = IdeIni();
    Run("USERMENU MyApp My+Tool C:\\t.exe a+b");
    EXPECT_NE(IdeIni(), before);
    Run("UNUSERMENU myapp");
    EXPECT_EQ(IdeIni(), before) << menu;
  }

  WriteIdeIni(
      "[User Menus]\r\n1=Editor|EDIT\r\n2=Mine|MyApp\r\n3=Viewer|VIEW\r\n4=Again|myapp \r\n"
      "5=Last|LAST\r\n[User Applications]\r\nMyApp=c:\\m.exe \r\n");
  const Quiet run = RunQuiet("/Q UNUSERMENU MyApp");
  EXPECT_EQ(run.status, 0u);
  EXPECT_EQ(IniSection(ide_ini_, "User Menus"), "1=Editor|EDIT\n2=Viewer|VIEW\n3=Last|LAST\n");
  EXPECT_EQ(IniSection(ide_ini_, "User Applications"), "");
}

// INCLUDE then UNINCLUDE gives the template's bytes back, with the two
// exceptions that INCLUDE's output cannot tell apart.
TEST_F(UnattendedTest, UnIncludeTakesBackWhatIncludeAdded) {
  const std::string tpl = Work("demo.tpl");
  const struct {
    std::string before, after;
  } cases[] = {
      {"#TEMPLATE(A,'a')\r\n#! x\r\n", "#TEMPLATE(A,'a')\r\n#! x\r\n"},
      {"#TEMPLATE(A,'a')\n", "#TEMPLATE(A,'a')\n"},
      {"", ""},
      {"#TEMPLATE(A,'a')\r\n   \r\n", "#TEMPLATE(A,'a')\r\n   \r\n"},
      // A last line without a line end gets one.
      {"#TEMPLATE(A,'a')", "#TEMPLATE(A,'a')\r\n"},
      // A file that ended in an empty line comes back without it.
      {"#TEMPLATE(A,'a')\r\n\r\n", "#TEMPLATE(A,'a')\r\n"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteWholeFile(tpl, c.before));
    Run("INCLUDE demo.tpl Inc.tpw");
    EXPECT_NE(ReadWholeFile(tpl), c.before);
    EXPECT_EQ(RunQuiet("/Q UNINCLUDE demo.tpl Inc.tpw").status, 0u);
    EXPECT_EQ(ReadWholeFile(tpl), c.after) << c.before;
  }
  // Include lines that were there, alone on their lines, go; others stay.
  ASSERT_TRUE(
      WriteWholeFile(tpl, "a\r\n  #INCLUDE('Inc.tpw')  \r\nb\r\n#! #INCLUDE('Inc.tpw')\r\n"));
  Run("UNINCLUDE demo.tpl Inc.tpw");
  EXPECT_EQ(ReadWholeFile(tpl), "a\r\nb\r\n#! #INCLUDE('Inc.tpw')\r\n");
  // Nothing is left behind beside the template.
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(Work("*~").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

TEST_F(UnattendedTest, UnIncludeLeavesATemplateAnotherProgramHoldsAlone) {
  const std::string tpl = Work("demo.tpl");
  const std::string bytes = "#TEMPLATE(A,'a')\r\n\r\n#INCLUDE('Inc.tpw')\r\n";
  ASSERT_TRUE(WriteWholeFile(tpl, bytes));
  HANDLE held = CreateFileA(tpl.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const Quiet run = RunQuiet("/Q UNINCLUDE demo.tpl Inc.tpw");
  CloseHandle(held);
  EXPECT_EQ(run.status, 1u);
  EXPECT_NE(run.output.find("UNINCLUDE: demo.tpl: File Is Locked"), std::string::npos)
      << run.output;
  EXPECT_EQ(ReadWholeFile(tpl), bytes);
}

}  // namespace
}  // namespace zqmv5::testing
