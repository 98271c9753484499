// A user points the IDE at a library source directory with LIBSRC, and starts
// the IDE with a third parameter; an uninstaller takes it back with UNLIBSRC.
// A recording program stands in for the IDE.

#include <windows.h>

#include <string>

#include "blackbox/session.h"

namespace zqmv5::testing {
namespace {

class LibSrcTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    ide_exe_ = root_ + "\\Bin\\C5EE.EXE";
    InstallRecorderAs(ide_exe_);
    UseDemoInstallation(ide_exe_);
    WriteIdeIni(
        "[Environment]\r\nAutoPick=on\r\n[Paths]\r\nRedFile=c:\\c5\\bin\\c5ee.red\r\n"
        "Libsrc=C:\\C5\\LIBSRC\r\nTemplates=c:\\c5\\template\r\n");
  }

  void InstallRecorderAs(const std::string& exe) {
    ASSERT_TRUE(CopyFileA((ProgramDirectory() + "\\recorder.exe").c_str(), exe.c_str(), FALSE))
        << exe;
  }

  void WriteIdeIni(const std::string& contents) {
    Flush();
    ASSERT_TRUE(WriteWholeFile(ide_ini_, contents));
  }
  void Flush() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, ide_ini_.c_str()); }

  RunResult RunQuietly(const std::string& arguments) {
    RunResult result = Run("LIBSRC " + arguments);
    EXPECT_EQ(result.exit_code, 0u);
    EXPECT_TRUE(result.boxes.empty()) << arguments << "\n" << Describe(result.boxes);
    Flush();
    return result;
  }

  std::string Libsrc() { return IniValue(ide_ini_, "Paths", "Libsrc"); }

  // The lines the stand-in IDE at `exe` has recorded, waiting up to `wait_ms`
  // for at least `expected` of them.
  std::string Recorded(const std::string& exe, int expected, DWORD wait_ms = 15000) {
    const DWORD start = GetTickCount();
    std::string log;
    for (;;) {
      log = ReadWholeFile(exe + ".log");
      int lines = 0;
      for (char c : log) lines += c == '\n';
      if (lines >= expected || GetTickCount() - start > wait_ms) return log;
      Sleep(50);
    }
  }

  std::string ide_exe_;
};

TEST_F(LibSrcTest, MissingDirectoryShowsTheBoxAndChangesNothing) {
  const std::string before = ReadWholeFile(ide_ini_);
  for (const char* arguments : {"LIBSRC", "libsrc \"  \""}) {
    RunResult result = Run(arguments);
    EXPECT_EQ(result.exit_code, 0u);
    ASSERT_EQ(result.boxes.size(), 1u) << arguments << "\n" << Describe(result.boxes);
    EXPECT_EQ(result.boxes[0].caption, "Set ABC Library Directory");
    EXPECT_EQ(result.boxes[0].text, "File parameter missing from command line");
    EXPECT_EQ(result.boxes[0].icon, "information");
    EXPECT_EQ(result.boxes[0].buttons, std::vector<std::string>{"OK"});
  }
  EXPECT_EQ(ReadWholeFile(ide_ini_), before);
  EXPECT_EQ(Recorded(ide_exe_, 1, 1500), "");
}

TEST_F(LibSrcTest, DirectoryIsStoredInUpperCaseAndNothingElseChanges) {
  RunQuietly("c:\\Projects\\MyLib\\");
  EXPECT_EQ(Libsrc(), "C:\\PROJECTS\\MYLIB\\");
  EXPECT_EQ(IniSection(ide_ini_, "Paths"),
            "RedFile=c:\\c5\\bin\\c5ee.red\nLibsrc=C:\\PROJECTS\\MYLIB\\\n"
            "Templates=c:\\c5\\template\n");
  EXPECT_EQ(IniValue(ide_ini_, "Environment", "AutoPick"), "on");
  // Without a third parameter the IDE is not started.
  EXPECT_EQ(Recorded(ide_exe_, 1, 2000), "");
}

TEST_F(LibSrcTest, LineBreakInTheDirectoryIsRefused) {
  const std::string before = ReadWholeFile(ide_ini_);
  RunResult result = Run("LIBSRC c:\\lib\r\n[Evil] run");
  ASSERT_EQ(result.boxes.size(), 1u) << Describe(result.boxes);
  EXPECT_EQ(result.boxes[0].caption, "Set ABC Library Directory");
  EXPECT_EQ(result.boxes[0].text, "The directory parameter cannot hold a line break");
  EXPECT_EQ(ReadWholeFile(ide_ini_), before);
  EXPECT_EQ(Recorded(ide_exe_, 1, 1500), "");
}

TEST_F(LibSrcTest, QuotedDirectoryWithBlanks) {
  RunQuietly("\"d:\\my projects\\abc lib\"");
  EXPECT_EQ(Libsrc(), "D:\\MY PROJECTS\\ABC LIB");
}

TEST_F(LibSrcTest, MissingPathsSectionIsCreated) {
  WriteIdeIni("[Environment]\r\nAutoPick=on\r\n");
  RunQuietly("c:\\lib");
  EXPECT_EQ(Libsrc(), "C:\\LIB");
  EXPECT_EQ(IniValue(ide_ini_, "Environment", "AutoPick"), "on");
}

TEST_F(LibSrcTest, ThirdParameterStartsTheIdeOnce) {
  RunQuietly("c:\\lib Run");
  EXPECT_EQ(Libsrc(), "C:\\LIB");
  // The IDE runs as EXENAME alone, in ZQMV5.exe's current directory.
  EXPECT_EQ(Recorded(ide_exe_, 1), ide_exe_ + "\t" + work_ + "\r\n");
  Sleep(500);
  EXPECT_EQ(Recorded(ide_exe_, 1), ide_exe_ + "\t" + work_ + "\r\n");
}

TEST_F(LibSrcTest, IdeInAFolderWithBlanksStarts) {
  const std::string folder = root_ + "\\My IDE";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string exe = folder + "\\C5EE.EXE";
  InstallRecorderAs(exe);
  UseDemoInstallation(exe);
  RunQuietly("c:\\lib x");
  // Wine hands the program the path it found in quotes; Windows as given.
  const std::string log = Recorded(exe, 1);
  EXPECT_NE(log.find(exe), std::string::npos) << log;
  EXPECT_EQ(log.size() - log.find('\n'), 1u) << log;
}

// An IDE path with blanks, unquoted as INI files hold it: the IDE starts, and
// not a program named like the path's first word.
TEST_F(LibSrcTest, UnquotedIdePathStartsTheIdeItNames) {
  CreateDirectoryA(Work("Program Files").c_str(), nullptr);
  CreateDirectoryA(Work("Program Files\\C5").c_str(), nullptr);
  const std::string exe = Work("Program Files\\C5\\C5EE.EXE");
  const std::string decoy = Work("Program.exe");
  InstallRecorderAs(exe);
  InstallRecorderAs(decoy);
  UseDemoInstallation(exe);
  RunQuietly("c:\\lib run");
  EXPECT_NE(Recorded(exe, 1).find(exe), std::string::npos);
  EXPECT_EQ(Recorded(decoy, 1, 1000), "");
}

// An ExeName with a blank names its program only where the text up to a
// blank names an existing file: a program named like its first words never
// starts in the IDE's place.
TEST_F(LibSrcTest, ExeNameWithABlankNeverStartsAnotherProgram) {
  const std::string decoy = root_ + "\\My.exe";
  const std::string exe = root_ + "\\My IDE\\C5EE.EXE";
  InstallRecorderAs(decoy);
  CreateDirectoryA((root_ + "\\My IDE").c_str(), nullptr);
  RunOptions options;
  options.output_file = Work("output.txt");

  // The IDE is missing: nothing starts, and the quiet run fails, naming ExeName.
  UseDemoInstallation(exe);
  EXPECT_EQ(Run("/Q LIBSRC c:\\x run", options).exit_code, 1u);
  const std::string line = ReadWholeFile(options.output_file);
  EXPECT_EQ(line.rfind("LIBSRC: ", 0), 0u) << line;
  EXPECT_NE(line.find(exe), std::string::npos) << line;
  EXPECT_EQ(Libsrc(), "C:\\X");

  // The IDE is there, with an argument after its name: it starts and gets it.
  InstallRecorderAs(exe);
  UseDemoInstallation(exe + " /n");
  EXPECT_EQ(Run("/Q LIBSRC c:\\y run", options).exit_code, 0u);
  const std::string log = Recorded(exe, 1);
  EXPECT_NE(log.find(" /n\t"), std::string::npos) << log;
  EXPECT_EQ(Recorded(decoy, 1, 1000), "");
}

TEST_F(LibSrcTest, IdeThatCannotStartIsNotReported) {
  UseDemoInstallation(root_ + "\\Bin\\MISSING.EXE");
  RunQuietly("c:\\lib run");
  EXPECT_EQ(Libsrc(), "C:\\LIB");
}

// Two add-ons, A over the IDE's own P and B over A, uninstalled in turn: the
// removed A never comes back. Then an entry that was absent, set twice by a
// re-run installer, is absent again. No run shows a box.
TEST_F(LibSrcTest, UnLibSrcTakesItsPathOutOfTheChain) {
  const std::string paths = IniSection(ide_ini_, "Paths");
  const struct {
    const char* arguments;
    const char* libsrc;  // afterwards; nullptr: no entry
  } steps[] = {
      {"LIBSRC c:\\a", "C:\\A"},
      {"LIBSRC \"c:\\b b\"", "C:\\B B"},
      {"UNLIBSRC C:\\A", "C:\\B B"},
      {"UNLIBSRC \"c:\\b b\"", "C:\\C5\\LIBSRC"},
      {"", nullptr},  // the IDE's INI file anew, without "Libsrc"
      {"LIBSRC c:\\a", "C:\\A"},
      {"LIBSRC C:\\A", "C:\\A"},
      {"UNLIBSRC c:\\a", nullptr},
  };
  for (const auto& step : steps) {
    if (!*step.arguments) {
      EXPECT_EQ(IniSection(ide_ini_, "Paths"), paths);
      WriteIdeIni("[Paths]\r\nRedFile=c:\\c5\\bin\\c5ee.red\r\n");
      continue;
    }
    const RunResult result = Run(step.arguments);
    EXPECT_EQ(result.exit_code, 0u) << step.arguments;
    EXPECT_TRUE(result.boxes.empty()) << step.arguments << "\n" << Describe(result.boxes);
    Flush();
    EXPECT_EQ(Libsrc(), step.libsrc ? step.libsrc : "") << step.arguments;
  }
  EXPECT_EQ(IniSection(ide_ini_, "Paths"), "RedFile=c:\\c5\\bin\\c5ee.red\n");
  EXPECT_EQ(IniSection(ide_ini_, "ZQMV5 Libsrc Undo"), "");

  RunOptions options;
  options.output_file = Work("output.txt");
  EXPECT_EQ(Run("/Q UNLIBSRC c:\\a", options).exit_code, 0u);
  EXPECT_EQ(ReadWholeFile(options.output_file), "UNLIBSRC: nothing to take back\r\n");
  EXPECT_EQ(Recorded(ide_exe_, 1, 1000), "") << "UNLIBSRC started the IDE";
}

}  // namespace
}  // namespace zqmv5::testing
