// The examples as users copy them: the NSIS add-on installer (built from
// examples/nsis by makensis) run silently against the stand-in IDE, and its
// uninstaller; the build step examples/build-step/next_version.cmd under cmd.

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "blackbox/session.h"
#include "support/stand_in_ide.h"

namespace zqmv5::testing {
namespace {

constexpr char kIdeIni[] =
    "[Environment]\r\nAutoPick=on\r\n[User Menus]\r\n1=Other|Other\r\n"
    "[User Applications]\r\nOther=other.exe\r\n[Paths]\r\nLibsrc=C:\\Old\\Libsrc\r\n";
constexpr char kChain[] = "#TEMPLATE(Chain,'The chain')\r\n";

class AddonInstallerTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    CloseStandIns();
    // The IDE's root holds a blank, as under Program Files: each path the
    // script hands ZQMV5.exe must be quoted.
    root_ = Work("My IDE");
    ide_ini_ = root_ + "\\Bin\\C5ee.ini";
    addon_ = root_ + "\\ExampleAddon";
    chain_ = root_ + "\\TEMPLATE\\CHAIN.TPL";
    record_ = root_ + "\\Bin\\fake_ide.log";
    for (const char* dir : {"", "\\Bin", "\\TEMPLATE"}) {
      CreateDirectoryA((root_ + dir).c_str(), nullptr);
    }
    const std::string ide_exe = root_ + "\\Bin\\C5EE.EXE";
    ASSERT_TRUE(CopyFileA((ProgramDirectory() + "\\fake_ide.exe").c_str(), ide_exe.c_str(), FALSE));
    ASSERT_TRUE(WriteWholeFile(root_ + "\\Bin\\fake_ide.cfg", "[FakeIde]\r\nLiveFor=60000\r\n"));
    UseDemoInstallation(ide_exe);
    ASSERT_TRUE(WriteWholeFile(ide_ini_, kIdeIni));
    ASSERT_TRUE(WriteWholeFile(chain_, kChain));
  }

  void TearDown() override {
    CloseStandIns();
    SessionTest::TearDown();
  }

  // Runs an installer or uninstaller silently. Nothing may hold it up: a box
  // would be caught here (and a box that is not caught would time it out).
  unsigned long RunSilently(const std::string& line) {
    RunOptions options;
    options.directory = work_;
    options.timeout_ms = 120000;
    const RunResult result = RunAndCatch(line, options);
    EXPECT_TRUE(result.started) << line;
    EXPECT_FALSE(result.timed_out) << line;
    EXPECT_TRUE(result.boxes.empty()) << line << "\n" << Describe(result.boxes);
    return result.exit_code;
  }
  unsigned long Install() {
    const std::string setup = ProgramDirectory() + "\\example_addon_setup.exe";
    EXPECT_TRUE(PathExists(setup)) << "the NSIS example was not built (makensis missing?)";
    // NSIS reads /D= to the end of the line, blanks and all, and without quotes.
    return RunSilently(Quoted(setup) + " /S /D=" + root_);
  }
  unsigned long Uninstall() {
    // _?= runs the uninstaller where it is, so that it ends when its work does.
    return RunSilently(Quoted(addon_ + "\\Uninstall.exe") + " /S _?=" + addon_);
  }

  // The sections that the example changes and takes back, as their values read.
  std::string TakenBackSections() {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ide_ini_.c_str());
    std::string values;
    for (const char* section :
         {"Environment", "User Menus", "User Applications", "Paths", "ZQMV5 Libsrc Undo"}) {
      values += std::string("[") + section + "]\n" + IniSection(ide_ini_, section);
    }
    return values;
  }
  std::string Libsrc() { return IniValue(ide_ini_, "Paths", "Libsrc"); }

  std::string addon_;   // the add-on's folder, below the IDE's root
  std::string chain_;   // the template chain the add-on's templates are included in
  std::string record_;  // what the stand-in IDE received
};

TEST_F(AddonInstallerTest, InstallSetsTheIdeUpAndUninstallTakesItBack) {
  const std::string before = TakenBackSections();
  ASSERT_EQ(Install(), 0u);
  EXPECT_EQ(IniSection(ide_ini_, "User Menus"),
            "1=Other|Other\n2=Example Addon/Read me|ExampleAddon\n");
  EXPECT_EQ(IniValue(ide_ini_, "User Applications", "ExampleAddon"),
            "notepad.exe " + addon_ + "\\ReadMe.txt");
  std::string libsrc = root_ + "\\LIBSRC";
  std::transform(libsrc.begin(), libsrc.end(), libsrc.begin(), ::toupper);
  EXPECT_EQ(Libsrc(), libsrc);
  EXPECT_EQ(ReadWholeFile(chain_), std::string(kChain) + "\r\n#INCLUDE('ExampleAddon.tpw')\r\n");
  EXPECT_TRUE(PathExists(root_ + "\\TEMPLATE\\ExampleAddon.tpw"));
  // REG came last, with the chain as INCLUDE left it, and AutoPick is back.
  EXPECT_EQ(RecordedEvents(record_, "execute"),
            std::vector<std::string>{"[RegisterTemplateChain(" + chain_ + ",0)]"});
  EXPECT_EQ(IniValue(ide_ini_, "Environment", "AutoPick"), "on");

  ASSERT_EQ(Uninstall(), 0u);
  EXPECT_EQ(TakenBackSections(), before);
  EXPECT_EQ(ReadWholeFile(chain_), kChain);
  EXPECT_EQ(Libsrc(), "C:\\Old\\Libsrc");
  for (const char* gone : {"\\TEMPLATE\\ExampleAddon.tpw", "\\ExampleAddon\\ZQMV5.exe",
                           "\\ExampleAddon\\ReadMe.txt", "\\ExampleAddon\\ZQDE.LOG"}) {
    EXPECT_FALSE(PathExists(root_ + gone)) << gone;
  }
}

TEST_F(AddonInstallerTest, FailedStepStopsTheInstallAndTheUninstallerStillCleansUp) {
  RemoveFileIfAny(chain_);
  const std::string before = TakenBackSections();
  // INCLUDE finds no chain: NSIS's status for an installation its script
  // stopped, with LIBSRC and REG not run.
  EXPECT_EQ(Install(), 2u);
  EXPECT_NE(IniSection(ide_ini_, "User Menus").find("|ExampleAddon"), std::string::npos);
  EXPECT_EQ(Libsrc(), "C:\\Old\\Libsrc");
  EXPECT_FALSE(PathExists(record_)) << "REG ran after a failed step";
  EXPECT_NE(ReadWholeFile(addon_ + "\\ZQMV5.LOG").find("File Not Found"), std::string::npos);
  EXPECT_FALSE(PathExists(chain_));

  // Nothing was included, so there is nothing to take out of the chain.
  EXPECT_EQ(Uninstall(), 0u);
  EXPECT_EQ(TakenBackSections(), before);
}

class BuildStepTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    // The batch file and ZQMV5.exe beside it, in a folder of the project.
    const std::string tools = Work("tools");
    CreateDirectoryA(tools.c_str(), nullptr);
    batch_ = tools + "\\next_version.cmd";
    ASSERT_TRUE(
        CopyFileA((ProgramDirectory() + "\\next_version.cmd").c_str(), batch_.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(ProgramUnderTest().c_str(), (tools + "\\ZQMV5.exe").c_str(), FALSE));
  }

  // Runs the build step in the project's folder, as a build would.
  unsigned long RunStep(const std::string& note) {
    RunOptions options;
    options.directory = work_;
    options.output_file = Work("output.txt");
    const RunResult result = RunAndCatch("cmd /c " + batch_ + " " + note, options);
    EXPECT_TRUE(result.started);
    EXPECT_FALSE(result.timed_out);
    EXPECT_TRUE(result.boxes.empty()) << Describe(result.boxes);
    return result.exit_code;
  }

  std::string batch_;
};

TEST_F(BuildStepTest, AddsTheNextLineAndFailsTheBuildOnAHeldFile) {
  const std::string file = Work("Version.zqi");
  const std::string old_line = "Version             EQUATE('1.01  0006')  ! 12/01/26 0930 -- first";
  ASSERT_TRUE(WriteWholeFile(file, old_line + "\r\n"));

  EXPECT_EQ(RunStep("nightly"), 0u);
  const std::string after = ReadWholeFile(file);
  const std::string commented = "!Version" + std::string(12, ' ') + old_line.substr(20) + "\r\n";
  ASSERT_EQ(after.rfind(commented, 0), 0u) << after;
  const std::string added = after.substr(commented.size());
  EXPECT_EQ(added.rfind("Version             EQUATE('1.01  0007')  ! ", 0), 0u) << after;
  EXPECT_TRUE(added.ends_with(" -- nightly\r\n")) << after;

  // An open Log/Version window holds the file so: others may read, not write.
  HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(RunStep("held"), 1u);
  CloseHandle(held);
  EXPECT_EQ(ReadWholeFile(file), after);
  EXPECT_NE(ReadWholeFile(Work("output.txt")).find("cannot be opened"), std::string::npos)
      << ReadWholeFile(Work("output.txt"));
}

}  // namespace
}  // namespace zqmv5::testing
