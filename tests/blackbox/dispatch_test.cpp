// A user runs ZQMV5.exe with a verb: discovery of the IDE, the help and
// description boxes, and "Entry Not Found".

#include <windows.h>

#include <string>

#include "blackbox/session.h"

namespace zqmv5::testing {
namespace {

const char kHelp[] =
    "Command Line Parameters are:\n"
    "\n"
    "     REG TemplateToRegister\n"
    "     USERMENU AppRef Menu+Display-Menu+Display CommandLine [Parm1+Parm2+Parm3] \n"
    "        + becomes a space and- becomes a \"/\" \n"
    "     INCLUDE File FileToInclude\n"
    "     LIBSRC Path [Run] (Any third parameter will run CW)\n"
    "ZQMV looks into Win.in for the Clarion root directory and exe name.  You can override "
    "this by adding an ini file ZQMV5.ini (ZQMV55 for the C55 version) with the following "
    "entries: \n"
    "     [Clarion]\n"
    "     Root=    Example: C:\\C55\n"
    "     ExeName= Example: C55ee.exe\n"
    "     IniFile= Example: C55ee.ini";

const char kDescription[] =
    "The ZQInstall is a \"Command Line\" Clarion 5 Utility.  From the command line you can:\n"
    "\n"
    "    Register a template using DDE\n"
    "    Add Menu Items to the Clarion Environment\n"
    "    Add includes files to a template\n"
    "    Change the source directory for ABC compliant INClude files.\n"
    "\n"
    "Great for use with Wise InstallBuilder Execute Program script. This is what we now uses "
    "for all our installation programs! Also run it from the Window's Run dialog or a DOS "
    "prompt,  or create project specific ABC library directories and use it to start Clarion "
    "using a selected directory.  ";

const char kEntryNotFound[] =
    "The ZQ ZQ Commandline program looks for Clarion information in the WIN.INI file the "
    "related Clarion INI file.  Required information was not found.";

class DispatchTest : public SessionTest {
 protected:
  // Runs one command and expects exactly one box with this caption and text.
  void ExpectOneBox(const std::string& arguments, const std::string& caption,
                    const std::string& text, const std::string& icon) {
    RunResult result = Run(arguments);
    EXPECT_EQ(result.exit_code, 0u) << arguments;
    ASSERT_EQ(result.boxes.size(), 1u) << arguments << "\n" << Describe(result.boxes);
    EXPECT_EQ(result.boxes[0].caption, caption) << arguments;
    EXPECT_EQ(result.boxes[0].text, text) << arguments;
    EXPECT_EQ(result.boxes[0].icon, icon) << arguments;
    EXPECT_EQ(result.boxes[0].buttons, std::vector<std::string>{"OK"}) << arguments;
  }
};

TEST_F(DispatchTest, HelpAndDescriptionBoxesToTheLetter) {
  UseDemoInstallation();
  ExpectOneBox("CMD", "ZQInstall", kHelp, "winlogo");
  ExpectOneBox("HELP", "ZQInstall", kDescription, "winlogo");
}

TEST_F(DispatchTest, VerbsMatchInAnyCaseButOnlyInFull) {
  UseDemoInstallation();
  for (const char* help : {"cmd", "Cmd", "  cMD  extra words", "\"CMD\""}) {
    RunResult result = Run(help);
    ASSERT_EQ(result.boxes.size(), 1u) << help << Describe(result.boxes);
    EXPECT_EQ(result.boxes[0].text, kHelp) << help;
  }
  // The program's name ends at its closing quote, also with no blank after it.
  for (const char* after : {"CMD", "\t CMD"}) {
    RunOptions options;
    options.directory = work_;
    const RunResult result = RunAndCatch(Quoted(ProgramUnderTest()) + after, options);
    ASSERT_EQ(result.boxes.size(), 1u) << after << Describe(result.boxes);
    EXPECT_EQ(result.boxes[0].text, kHelp) << after;
  }
  for (const char* other : {"REGISTER", "RE", "LIB", "CMDX", "USERMENUS", "INCLUDEX", "LIBSRC2",
                            "ABCDEFGHIJKLMNOPQRSTUVWXY", "CMD\tX"}) {
    RunResult result = Run(other);
    ASSERT_EQ(result.boxes.size(), 1u) << other << Describe(result.boxes);
    EXPECT_EQ(result.boxes[0].text, kDescription) << other;
  }
}

TEST_F(DispatchTest, KnownVerbsRunTheirCommandsNotTheDescription) {
  UseDemoInstallation();
  // Each command, given nothing to work on, ends without the description box.
  for (const char* verb : {"include", "INCLUDE"}) {
    RunResult result = Run(verb);
    EXPECT_EQ(result.exit_code, 0u);
    EXPECT_TRUE(result.boxes.empty()) << verb << Describe(result.boxes);
  }
}

// A command line past the 254 characters that are read is refused whole:
// a cut operand would name something else.
TEST_F(DispatchTest, VeryLongCommandLinesAreRefusedWhole) {
  UseDemoInstallation();
  const char* const too_long =
      "The command line is too long: ZQMV5 reads 254 characters of it.\nNothing was done, as a "
      "cut or changed value would name something else.";
  std::string long_verb(300, 'X');
  ExpectOneBox(long_verb, "Incorrect Command Line", too_long, "information");
  std::string many_tokens = "CMD";
  for (int i = 0; i < 3000; ++i) many_tokens += " t" + std::to_string(i);
  ExpectOneBox(many_tokens, "Incorrect Command Line", too_long, "information");
  ExpectOneBox("CMD" + std::string(251, ' ') + "x" + std::string(300, ' '),
               "Incorrect Command Line", too_long, "information");
  ExpectOneBox("CMD" + std::string(400, ' '), "ZQInstall", kHelp, "winlogo");
  ExpectOneBox("CMD \"unclosed quote and more", "ZQInstall", kHelp, "winlogo");
  ExpectOneBox("\xC4\xD6\xDC \xE9t\xE9", "ZQInstall", kDescription, "winlogo");
}

TEST_F(DispatchTest, NoInstallationShowsEntryNotFoundEvenForHelp) {
  WriteOwnIni("");
  WriteWinIni("");
  ExpectOneBox("CMD", "Entry Not Found", kEntryNotFound, "information");
  ExpectOneBox("HELP", "Entry Not Found", kEntryNotFound, "information");
}

TEST_F(DispatchTest, RootWithoutExecutableIsNotEnough) {
  WriteOwnIni("[Clarion]\r\nroot=C:\\C5\r\n");
  ExpectOneBox("CMD", "Entry Not Found", kEntryNotFound, "information");
  WriteOwnIni("[Clarion]\r\nExeName=C5EE.EXE\r\n");
  ExpectOneBox("CMD", "Entry Not Found", kEntryNotFound, "information");
}

TEST_F(DispatchTest, EachValueFallsBackOnItsOwn) {
  struct Case {
    const char* own;
    const char* win;
    bool found;
  };
  const Case cases[] = {
      {"[Clarion]\r\nroot=C:\\C5\r\nExeName=C5EE.EXE\r\n", "", true},
      {"[clarion]\r\nRoot=C:\\C5\r\nEXENAME=C5EE.EXE\r\n", "", true},
      {"[Clarion]\r\nroot=C:\\C5\r\n", "[Clarion 5]\r\nexename=C5EE.EXE\r\n", true},
      {"[Clarion]\r\nExeName=C5EE.EXE\r\n", "[Clarion 5  Enterprise Edition]\r\nroot=C:\\C5\r\n",
       true},
      {"", "[Clarion 5  Enterprise Edition]\r\nroot=C:\\C5\r\nexename=C5EE.EXE\r\n", true},
      {"", "[Clarion 5]\r\nroot=C:\\C5\r\nexename=C5EE.EXE\r\n", true},
      {"", "[Clarion 5 Enterprise Edition]\r\nroot=C:\\C5\r\nexename=C5EE.EXE\r\n", false},
      {"[Clarion]\r\nroot=\r\n", "[Clarion 5]\r\nroot=C:\\C5\r\n", false},
  };
  for (const Case& c : cases) {
    WriteOwnIni(c.own);
    WriteWinIni(c.win);
    RunResult result = Run("CMD");
    ASSERT_EQ(result.boxes.size(), 1u) << c.own << c.win << Describe(result.boxes);
    EXPECT_EQ(result.boxes[0].caption, c.found ? "ZQInstall" : "Entry Not Found")
        << "ZQMV5.ini:\n"
        << c.own << "\nWIN.INI:\n"
        << c.win;
    EXPECT_EQ(result.exit_code, 0u);
  }
}

TEST_F(DispatchTest, NoParametersNeverLooksForTheIde) {
  WriteOwnIni("");
  WriteWinIni("");
  RunOptions options;
  options.timeout_ms = 20000;
  // Without a display of its own, the window closes by its own timer when
  // updates are off; all that matters here is that no "Entry Not Found" box
  // appears and the run ends with status 0.
  WritePrivateProfileStringA("Status", "On", "0", (work_ + "\\ZQMV5.ini").c_str());
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, (work_ + "\\ZQMV5.ini").c_str());
  for (const char* arguments : {"", "   "}) {
    RunResult result = Run(arguments, options);
    EXPECT_EQ(result.exit_code, 0u);
    EXPECT_TRUE(result.boxes.empty()) << Describe(result.boxes);
  }
}

}  // namespace
}  // namespace zqmv5::testing
