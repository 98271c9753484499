// A user registers a template with the IDE by REG. The stand-in IDE
// (fake_ide.exe, installed as the demo IDE's C5EE.EXE) serves the DDE service,
// records each command it receives and what "AutoPick" held at that moment.

#include <windows.h>

#include <string>
#include <vector>

#include "blackbox/session.h"
#include "support/stand_in_ide.h"

namespace zqmv5::testing {
namespace {

class RegTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    CloseStandIns();  // none may be left from elsewhere
    ide_exe_ = root_ + "\\Bin\\C5EE.EXE";
    record_ = root_ + "\\Bin\\fake_ide.log";
    log_ = Work("ZQDE.LOG");
    ASSERT_TRUE(
        CopyFileA((ProgramDirectory() + "\\fake_ide.exe").c_str(), ide_exe_.c_str(), FALSE));
    UseDemoInstallation(ide_exe_);
    ConfigureIde("");
    WriteIdeIni("[Environment]\r\nAutoPick=on\r\n[Paths]\r\nLibsrc=C:\\C5\\LIBSRC\r\n");
    ASSERT_TRUE(WriteWholeFile(Work("demo.tpl"), "#TEMPLATE(Demo,'Demo')\r\n"));
  }

  void TearDown() override {
    CloseStandIns();
    SessionTest::TearDown();
  }

  // Settings of the stand-in, in its fake_ide.cfg; it never outlives a test.
  void ConfigureIde(const std::string& entries) {
    ASSERT_TRUE(
        WriteWholeFile(root_ + "\\Bin\\fake_ide.cfg", "[FakeIde]\r\nLiveFor=60000\r\n" + entries));
  }

  void WriteIdeIni(const std::string& contents) {
    Flush(ide_ini_);
    ASSERT_TRUE(WriteWholeFile(ide_ini_, contents));
  }
  static void Flush(const std::string& file) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
  }

  std::string AutoPick(const std::string& default_value = "(none)") {
    Flush(ide_ini_);
    return IniValue(ide_ini_, "Environment", "AutoPick", default_value);
  }

  // The connection log's section, as "key=value" lines.
  std::string ConnectLog() {
    Flush(log_);
    return IniSection(log_, "Connect");
  }

  std::vector<std::string> Recorded(const std::string& event) {
    return RecordedEvents(record_, event);
  }
  bool WaitForRecord(const std::string& event) { return testing::WaitForRecord(record_, event); }

  // Starts the stand-in as a user would have started the IDE before REG.
  void StartIdeByHand() {
    HANDLE process = StartDetached(Quoted(ide_exe_), root_ + "\\Bin");
    ASSERT_NE(process, nullptr);
    CloseHandle(process);
    ASSERT_TRUE(WaitForRecord("serving")) << ReadWholeFile(record_);
  }

  // A REG run that shows no box.
  RunResult RunQuietly(const std::string& arguments, DWORD timeout_ms = 60000) {
    RunOptions options;
    options.timeout_ms = timeout_ms;
    RunResult result = Run("REG " + arguments, options);
    EXPECT_EQ(result.exit_code, 0u);
    EXPECT_TRUE(result.boxes.empty()) << arguments << "\n" << Describe(result.boxes);
    return result;
  }

  std::string ide_exe_;
  std::string record_;
  std::string log_;
};

TEST_F(RegTest, RunningIdeReceivesTheCommandAndIsNotStartedAgain) {
  StartIdeByHand();
  RunQuietly("demo.tpl");
  EXPECT_EQ(Recorded("execute"), std::vector<std::string>{"[RegisterTemplateChain(demo.tpl,0)]"});
  EXPECT_EQ(Recorded("autopick"), std::vector<std::string>{"off"});
  EXPECT_EQ(Recorded("started").size(), 1u);
  EXPECT_EQ(ConnectLog(), "App=ClarionWin\nBefore Open Channel=ClarionWin\nChannel=1\n");
  EXPECT_EQ(AutoPick(), "on");
}

TEST_F(RegTest, IdeNotRunningIsStartedAndReceivesTheCommand) {
  RunQuietly("demo.tpl");
  EXPECT_EQ(Recorded("started").size(), 1u);
  EXPECT_EQ(Recorded("execute"), std::vector<std::string>{"[RegisterTemplateChain(demo.tpl,0)]"});
  // The setting was off before the IDE started and while it took the command.
  EXPECT_EQ(Recorded("autopick"), std::vector<std::string>{"off"});
  const std::string log = ConnectLog();
  EXPECT_EQ(log.rfind("App=ClarionWin\nBefore Open Channel=ClarionWin\nBefore Run=ClarionWin\n"
                      "Run Error=0\nChannel=",
                      0),
            0u)
      << log;
  EXPECT_EQ(AutoPick(), "on");
}

TEST_F(RegTest, SlowlyStartingIdeIsWaitedFor) {
  ConfigureIde("ServeAfter=3000\r\n");
  const RunResult result = RunQuietly("demo.tpl");
  EXPECT_GT(result.seconds, 3.0);
  EXPECT_EQ(Recorded("execute"), std::vector<std::string>{"[RegisterTemplateChain(demo.tpl,0)]"});
  EXPECT_NE(ConnectLog().find("Channel="), std::string::npos);
}

TEST_F(RegTest, NamesAreSentAsTypedWithBlanksAndWithoutQuotes) {
  CreateDirectoryA(Work("My Templates").c_str(), nullptr);
  CreateDirectoryA(Work("sub").c_str(), nullptr);
  ASSERT_TRUE(WriteWholeFile(Work("My Templates\\a b.tpl"), "#TEMPLATE(AB,'AB')\r\n"));
  ASSERT_TRUE(WriteWholeFile(Work("sub\\rel.tpl"), "#TEMPLATE(Rel,'Rel')\r\n"));
  StartIdeByHand();
  RunQuietly("\"My Templates\\a b.tpl\"");
  RunQuietly("sub\\rel.tpl");
  RunQuietly(Work("demo.tpl"));
  EXPECT_EQ(Recorded("execute"),
            (std::vector<std::string>{"[RegisterTemplateChain(My Templates\\a b.tpl,0)]",
                                      "[RegisterTemplateChain(sub\\rel.tpl,0)]",
                                      "[RegisterTemplateChain(" + Work("demo.tpl") + ",0)]"}));
}

TEST_F(RegTest, AutoPickIsOffDuringTheCommandAndPutBackAfterwards) {
  StartIdeByHand();
  const struct {
    std::string before, after;
  } cases[] = {
      {"[Environment]\r\nEditor=x\r\n", "on"},  // absent: written as the default
      {"[Environment]\r\nAutoPick=Maybe So\r\n", "Maybe So"},
      {"[Environment]\r\nAutoPick=off\r\n", "off"},
  };
  for (const auto& c : cases) {
    WriteIdeIni(c.before);
    RunQuietly("demo.tpl");
    EXPECT_EQ(Recorded("autopick").back(), "off") << c.before;
    EXPECT_EQ(AutoPick(), c.after) << c.before;
  }
}

TEST_F(RegTest, MissingNameOrFileShowsItsBoxAndChangesNothing) {
  const std::string ini_before = ReadWholeFile(ide_ini_);
  const struct {
    std::string arguments, caption, text;
  } cases[] = {
      {"REG", "ZQ Install Error",
       "Command line must include a template name as the second parameter."},
      {"reg \"\"", "ZQ Install Error",
       "Command line must include a template name as the second parameter."},
      {"REG nothere.tpl", "Register Error", "Template file does not exist."},
      {"REG sub", "Register Error", "Template file does not exist."},
  };
  CreateDirectoryA(Work("sub").c_str(), nullptr);
  for (const auto& c : cases) {
    const RunResult result = Run(c.arguments);
    EXPECT_EQ(result.exit_code, 0u);
    ASSERT_EQ(result.boxes.size(), 1u) << c.arguments << "\n" << Describe(result.boxes);
    EXPECT_EQ(result.boxes[0].caption, c.caption) << c.arguments;
    EXPECT_EQ(result.boxes[0].text, c.text) << c.arguments;
    EXPECT_EQ(result.boxes[0].icon, "information") << c.arguments;
    EXPECT_EQ(result.boxes[0].buttons, std::vector<std::string>{"OK"}) << c.arguments;
  }
  EXPECT_EQ(ReadWholeFile(ide_ini_), ini_before);
  EXPECT_FALSE(PathExists(log_));
  EXPECT_FALSE(PathExists(record_));
}

std::string ShortName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// Names that hold what the IDE's command syntax gives a meaning to go in their
// short form, which holds none of it; the IDE never receives more than the one
// command. A name whose short form still holds such characters is refused.
TEST_F(RegTest, NameCanNeverCarryACommandOfItsOwn) {
  const std::string evil = "x.tpl,0)][RunProgram(evil.exe)][Foo(x";
  CreateDirectoryA(Work("Tpl [old]").c_str(), nullptr);
  ASSERT_TRUE(WriteWholeFile(Work(evil), "#TEMPLATE(X,'X')\r\n"));
  ASSERT_TRUE(WriteWholeFile(Work("Tpl [old]\\a.tpl"), "#TEMPLATE(A,'A')\r\n"));
  ASSERT_TRUE(WriteWholeFile(Work("a(1).tpl"), "#TEMPLATE(P,'P')\r\n"));
  StartIdeByHand();
  RunQuietly("\"" + evil + "\"");
  RunQuietly("\"" + Work("Tpl [old]\\a.tpl") + "\"");
  char evil_short[MAX_PATH] = {}, old_short[MAX_PATH] = {};
  const std::string old_long = Work("Tpl [old]\\a.tpl");
  GetShortPathNameA(Work(evil).c_str(), evil_short, MAX_PATH);
  GetShortPathNameA(old_long.c_str(), old_short, MAX_PATH);
  EXPECT_EQ(Recorded("execute"), (std::vector<std::string>{
                                     "[RegisterTemplateChain(" + ShortName(evil_short) + ",0)]",
                                     "[RegisterTemplateChain(" + std::string(old_short) + ",0)]"}));

  WriteIdeIni("[Environment]\r\nAutoPick=kept\r\n");
  const RunResult result = Run("REG a(1).tpl");
  ASSERT_EQ(result.boxes.size(), 1u) << Describe(result.boxes);
  EXPECT_EQ(result.boxes[0].caption, "Register Error");
  EXPECT_NE(result.boxes[0].text.find("short"), std::string::npos) << result.boxes[0].text;
  EXPECT_EQ(Recorded("execute").size(), 2u);
  EXPECT_EQ(AutoPick(), "kept");
}

// Two installers register at once: each command reaches the IDE while
// AutoPick is off, and AutoPick ends as it was.
TEST_F(RegTest, TwoRunsAtOnceKeepAutoPick) {
  ConfigureIde("HoldExecute=3000\r\n");
  StartIdeByHand();
  const std::string line = Quoted(ProgramUnderTest()) + " REG demo.tpl";
  HANDLE first = StartDetached(line, work_);
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(WaitForRecord("execute"));
  HANDLE second = StartDetached(line, work_);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(WaitForSingleObject(first, 60000), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(second, 60000), WAIT_OBJECT_0);
  CloseHandle(first);
  CloseHandle(second);
  EXPECT_EQ(Recorded("autopick"), (std::vector<std::string>{"off", "off"}));
  EXPECT_EQ(AutoPick(), "on");
}

// An IDE that does not take the command fails the quiet run, whatever error
// number it then tells; the line carries the number and message it gave.
TEST_F(RegTest, RefusedCommandFailsTheQuietRun) {
  const struct {
    std::string settings, told;
  } cases[] = {
      {"RefuseExecute=1\r\n", "did not take"},
      {"RefuseExecute=1\r\nErrorNum=42\r\nErrorMsg=Template chain is bad\r\n",
       "42: Template chain is bad"},
  };
  for (const auto& c : cases) {
    CloseStandIns();
    ConfigureIde(c.settings);
    StartIdeByHand();
    RunOptions options;
    options.output_file = Work("output.txt");
    const RunResult result = Run("/Q REG demo.tpl", options);
    const std::string output = ReadWholeFile(options.output_file);
    EXPECT_EQ(result.exit_code, 1u) << c.settings;
    EXPECT_NE(output.find(c.told), std::string::npos) << c.settings << "\n" << output;
    EXPECT_EQ(AutoPick(), "on");
  }
}

TEST_F(RegTest, IdeThatNeverAnswersIsGivenUpAfterThirtySeconds) {
  ConfigureIde("ServeAfter=-1\r\n");
  const RunResult result = RunQuietly("demo.tpl", 120000);
  EXPECT_GT(result.seconds, 30.0);
  EXPECT_LT(result.seconds, 45.0);
  EXPECT_EQ(Recorded("started").size(), 1u);
  EXPECT_TRUE(Recorded("execute").empty());
  EXPECT_EQ(ConnectLog(),
            "App=ClarionWin\nBefore Open Channel=ClarionWin\nBefore Run=ClarionWin\n"
            "Run Error=0\n");
  EXPECT_EQ(AutoPick(), "on");
}

// An IDE that cannot be started brings no IDE to wait for: the run fails at
// once, naming ExeName, and the connection log holds the start's error. A
// program named like the first words of an ExeName with a blank never starts
// in the IDE's place.
TEST_F(RegTest, IdeThatCannotBeStartedFailsAtOnceAndIsLogged) {
  const std::string decoy = root_ + "\\Bin\\My.exe";
  ASSERT_TRUE(CopyFileA(ide_exe_.c_str(), decoy.c_str(), FALSE));
  const std::string exe = root_ + "\\Bin\\My IDE\\C5EE.EXE";
  UseDemoInstallation(exe);
  RunOptions options;
  options.output_file = Work("output.txt");
  const RunResult result = Run("/Q REG demo.tpl", options);
  EXPECT_EQ(result.exit_code, 1u);
  EXPECT_LT(result.seconds, 15.0);
  const std::string line = ReadWholeFile(options.output_file);
  EXPECT_EQ(line.rfind("REG: ", 0), 0u) << line;
  EXPECT_NE(line.find(exe), std::string::npos) << line;
  EXPECT_EQ(ConnectLog(),
            "App=ClarionWin\nBefore Open Channel=ClarionWin\nBefore Run=ClarionWin\n"
            "Run Error=2\n");
  EXPECT_EQ(AutoPick(), "on");
  EXPECT_FALSE(PathExists(record_));
}

}  // namespace
}  // namespace zqmv5::testing
