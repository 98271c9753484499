// An installer runs ZQMV5.exe unattended: /Q with its lines and exit
// statuses, and an uninstaller takes back what USERMENU and INCLUDE added.

#include <windows.h>

#include <cstdlib>
#include <set>
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

  // Runs with /Q, which may show no box; a UTF-8 command line goes as wide text.
  Quiet RunQuiet(const std::string& arguments, bool utf8 = false) {
    RunOptions options;
    options.utf8 = utf8;
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
      {"/Q UNLIBSRC \"C:\\A=B\"", 2, "Incorrect Command Line: Command line parameter is: Path."},
      // An installer that quotes every argument, or puts a tab after the switch.
      {"\"/Q\" REG nothere.tpl", 1, "Register Error: Template file does not exist."},
      {"/Q\tREG nothere.tpl", 1, "Register Error: Template file does not exist."},
      // A menu line is "Text|AppRef": an AppRef with "|" would make UNUSERMENU
      // read another AppRef out of it.
      {"/Q USERMENU \"Vendor|Tool\" My+Tool tool.exe", 2, "Incorrect Command Line: "},
      {"/Q UNUSERMENU \"Vendor|Tool\"", 2, "Incorrect Command Line: "},
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

// UNINCLUDE works wherever INCLUDE does, also beside a template whose full
// name is as long as Windows' file functions take.
TEST_F(UnattendedTest, UnIncludeTakesBackAtTheLongestNames) {
  const std::string bytes = "#TEMPLATE(A,'a')\r\n";
  for (size_t length : {256u, 259u}) {
    std::string dir = Work(std::to_string(length));
    for (size_t left = length - 6 - dir.size(); CreateDirectoryA(dir.c_str(), nullptr) && left > 0;
         left = length - 6 - dir.size()) {
      dir += "\\" + std::string(left <= 101 ? left - 1 : 90, 'd');
    }
    ASSERT_EQ(dir.size(), length - 6);  // then "\t.tpl"
    ASSERT_TRUE(WriteWholeFile(dir + "\\t.tpl", bytes));
    RunOptions options;
    options.directory = dir;
    EXPECT_EQ(Run("/Q INCLUDE t.tpl x.tpw", options).exit_code, 0u) << length;
    EXPECT_EQ(Run("/Q UNINCLUDE t.tpl x.tpw", options).exit_code, 0u) << length;
    EXPECT_EQ(ReadWholeFile(dir + "\\t.tpl"), bytes) << length;
  }
}

// UNINCLUDE's new bytes take the template's place, not its identity: its
// attributes stay, a symbolic link stays a link to the file that loses the
// line, and names linked hard to it keep sharing its bytes.
TEST_F(UnattendedTest, UnIncludeKeepsTheTemplatesIdentity) {
  const std::string bytes = "#TEMPLATE(A,'a')\r\n\r\n#INCLUDE('Inc.tpw')\r\n";
  const std::string kept = "#TEMPLATE(A,'a')\r\n";
  const std::string system = Work("system.tpl");
  ASSERT_TRUE(WriteWholeFile(system, bytes));
  ASSERT_TRUE(SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(RunQuiet("/Q UNINCLUDE system.tpl Inc.tpw").status, 0u);
  EXPECT_EQ(ReadWholeFile(system), kept);
  EXPECT_NE(GetFileAttributesA(system.c_str()) & FILE_ATTRIBUTE_SYSTEM, 0u);

  const std::string real = Work("real.tpl");
  ASSERT_TRUE(WriteWholeFile(real, bytes));
  // The link is made by the host's own ln, as Wine shows host links as plain
  // files and makes none itself; Wine runs a host program without waiting.
  STARTUPINFOA startup = {sizeof(startup)};
  PROCESS_INFORMATION ln = {};
  char line[] = "Z:\\bin\\ln -s real.tpl link.tpl";
  ASSERT_TRUE(CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, work_.c_str(),
                             &startup, &ln));
  CloseHandle(ln.hThread);
  CloseHandle(ln.hProcess);
  for (int wait = 0; wait < 250 && !PathExists(Work("link.tpl")); ++wait) Sleep(20);
  ASSERT_EQ(ReadWholeFile(Work("link.tpl")), bytes);
  EXPECT_EQ(RunQuiet("/Q UNINCLUDE link.tpl Inc.tpw").status, 0u);
  EXPECT_EQ(ReadWholeFile(real), kept);
  ASSERT_TRUE(WriteWholeFile(real, bytes));
  EXPECT_EQ(ReadWholeFile(Work("link.tpl")), bytes) << "no longer a link";

  ASSERT_TRUE(CreateHardLinkA(Work("hard.tpl").c_str(), real.c_str(), nullptr));
  EXPECT_EQ(RunQuiet("/Q UNINCLUDE hard.tpl Inc.tpw").status, 0u);
  EXPECT_EQ(ReadWholeFile(Work("hard.tpl")), kept);
  EXPECT_EQ(ReadWholeFile(real), kept);
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

// A command line that the program could only read changed, cut or converted
// into look-alikes, is refused before anything is read or written.
TEST_F(UnattendedTest, CommandLinesThatCannotBeReadAsGivenAreRefused) {
  const std::string head = "#TEMPLATE(A,'a')\r\n";
  ASSERT_TRUE(WriteWholeFile(Work("x.tpl"), head));
  const std::string long_name = std::string(236, 'n') + ".tpl";
  ASSERT_TRUE(WriteWholeFile(Work(long_name), head));
  WriteIdeIni("[Paths]\r\nLibsrc=C:\\OLD\r\n");
  const std::string ini = IdeIni();
  const struct {
    std::string arguments;
    const char* line;
  } cases[] = {
      // U+FF58 and U+03A9: Windows' best fit would make them "x" and "O".
      {"/Q INCLUDE \xEF\xBD\x98.tpl A.inc", "characters"},
      {"/Q INCLUDE \xCE\xA9.tpl A.inc", "characters"},
      // U+FF02 would become a real quote and end the path early.
      {"/Q LIBSRC \"C:\\Lib\xEF\xBC\x82 RUN\"", "characters"},
      // Past the 254 characters that the program reads, the include name
      // would be cut.
      {"/Q INCLUDE " + long_name + " MyAddonInclude.inc", "too long"},
      {"/Q LIBSRC C:\\" + std::string(250, 'L'), "too long"},
  };
  for (const auto& c : cases) {
    const Quiet run = RunQuiet(c.arguments, true);
    EXPECT_EQ(run.status, 2u) << c.arguments;
    EXPECT_NE(run.output.find(c.line), std::string::npos) << c.arguments << "\n" << run.output;
  }
  EXPECT_EQ(ReadWholeFile(Work("x.tpl")), head);
  EXPECT_EQ(ReadWholeFile(Work("O.tpl")), "");
  EXPECT_EQ(ReadWholeFile(Work(long_name)), head);
  EXPECT_EQ(IdeIni(), ini);

  // Without /Q a box says so; a line that fits and converts exactly still runs.
  const RunResult boxed = Run("LIBSRC C:\\" + std::string(250, 'L'));
  ASSERT_EQ(boxed.boxes.size(), 1u) << Describe(boxed.boxes);
  EXPECT_NE(boxed.boxes[0].text.find("too long"), std::string::npos) << boxed.boxes[0].text;
  EXPECT_EQ(IdeIni(), ini);
  EXPECT_EQ(RunQuiet("/Q LIBSRC C:\\Lib\xC3\xA9 ", true).status, 0u);
  Flush();
  EXPECT_EQ(IniValue(ide_ini_, "Paths", "Libsrc"), "C:\\LIB\xE9");

  // So does one from a program whose own path is not ASCII, as in a clone
  // under such a folder.
  const std::string folder = Work("proj\xE9");
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(CopyFileA(ProgramUnderTest().c_str(), (folder + "\\ZQMV5.exe").c_str(), FALSE));
  RunOptions options;
  options.utf8 = true;
  options.directory = work_;
  const std::string line =
      Utf8FromAnsi(Quoted(folder + "\\ZQMV5.exe")) + " /Q LIBSRC C:\\\xC3\xA9";
  const RunResult copied = RunAndCatch(line, options);
  EXPECT_TRUE(copied.started) << line;
  EXPECT_EQ(copied.exit_code, 0u) << line;
  Flush();
  EXPECT_EQ(IniValue(ide_ini_, "Paths", "Libsrc"), "C:\\\xE9");
}

// Under code page 932 (Japanese Windows) the second byte of a character may
// be an ASCII letter or a backslash: upper case and the root's trailing
// backslash leave such characters whole. tools/test runs this test again
// under a Japanese locale; under another code page it skips.
TEST_F(UnattendedTest, DoubleByteCharactersStayWhole) {
  if (GetACP() != 932) {
    const char* lang = std::getenv("LANG");
    if (lang != nullptr && std::string(lang).rfind("ja_JP", 0) == 0) {
      FAIL() << "LANG=" << lang << " gives code page " << GetACP() << ", not 932";
    }
    GTEST_SKIP() << "code page " << GetACP() << ", not 932";
  }
  // U+30C7 U+30FC U+30BF, "\x83\x66\x81\x5B\x83\x5E" in code page 932.
  EXPECT_EQ(RunQuiet("/Q LIBSRC c:\\\xE3\x83\x87\xE3\x83\xBC\xE3\x82\xBF", true).status, 0u);
  Flush();
  EXPECT_EQ(IniValue(ide_ini_, "Paths", "Libsrc"), "C:\\\x83\x66\x81\x5B\x83\x5E");

  // A root that ends in U+8868, "\x95\x5C", whose INI file is the default one.
  const std::string root = root_ + "\\J\x95\x5C";
  const std::string ini = root + "\\Bin\\C5ee.ini";
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "\\Bin").c_str(), nullptr);
  WriteOwnIni("[Clarion]\r\nroot=" + root + "\r\nExeName=C5EE.EXE\r\n");
  const Quiet run = RunQuiet("/Q LIBSRC c:\\lib");
  EXPECT_EQ(run.status, 0u) << run.output;
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());
  EXPECT_EQ(IniValue(ini, "Paths", "Libsrc"), "C:\\LIB");
  RemoveFileIfAny(ini);
  RemoveDirectoryA((root + "\\Bin").c_str());
  RemoveDirectoryA(root.c_str());
}

// An installer must learn that its menu item is missing from a full menu.
TEST_F(UnattendedTest, FullUserMenuFailsTheQuietRun) {
  std::string full;
  for (int slot = 1; slot <= 100; ++slot)
    full += std::to_string(slot) + "=T|T" + std::to_string(slot) + "\r\n";
  WriteIdeIni("[User Menus]\r\n" + full);
  const Quiet run = RunQuiet("/Q USERMENU NEWAPP New+Item new.exe");
  EXPECT_EQ(run.status, 1u);
  EXPECT_NE(run.output.find("full"), std::string::npos) << run.output;
  Flush();
  EXPECT_EQ(IniValue(ide_ini_, "User Applications", "NEWAPP"), "new.exe");
}

// An INI file that another program holds is never read as empty: each verb
// that reads or writes it fails and every file keeps its bytes. The IDE's INI
// file first, then the settings that VERSION reads.
TEST_F(UnattendedTest, IniFilesAnotherProgramHoldsFailTheRun) {
  WriteIdeIni("[User Menus]\r\n1=One|App1\r\n[User Applications]\r\nApp1=one.exe\r\n");
  const std::string ide = ReadWholeFile(ide_ini_);
  HANDLE held = CreateFileA(ide_ini_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  for (const char* command :
       {"/Q UNUSERMENU App1", "/Q USERMENU App2 Two two.exe", "/Q LIBSRC C:\\L"}) {
    const Quiet run = RunQuiet(command);
    EXPECT_EQ(run.status, 1u) << command;
    EXPECT_NE(run.output.find(ide_ini_ + ": File Is Locked"), std::string::npos)
        << command << "\n" << run.output;
  }
  CloseHandle(held);
  EXPECT_EQ(ReadWholeFile(ide_ini_), ide);

  const std::string settings = Work("ZQMV5.ini");
  const std::string version = "Version             EQUATE('3.00  0500')  ! 12/07/26 0905 --\r\n";
  ASSERT_TRUE(WriteWholeFile(settings, "[FileName]\r\nName=proj.zqi\r\n[Status]\r\nOn=0\r\n"));
  ASSERT_TRUE(WriteWholeFile(Work("proj.zqi"), version));
  held = CreateFileA(settings.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const Quiet run = RunQuiet("/Q VERSION nightly");
  CloseHandle(held);
  EXPECT_EQ(run.status, 1u);
  EXPECT_NE(run.output.find("ZQMV5.ini: File Is Locked"), std::string::npos) << run.output;
  EXPECT_FALSE(PathExists(Work("Version.zqi")));
  EXPECT_EQ(ReadWholeFile(Work("proj.zqi")), version);
}

// The IDE's INI file fills the last page of a disk that is otherwise full: a
// change that needs more room fails, and the file keeps every byte.
TEST_F(UnattendedTest, IdeIniFileOnAFullDiskKeepsEveryByte) {
  const std::string dir = SmallDriveFolder("ini");
  if (dir.empty()) GTEST_SKIP() << kNoSmallDrive;
  const std::string ini = dir + "\\C5ee.ini";
  WriteOwnIni("[Clarion]\r\nroot=" + root_ + "\r\nExeName=C5EE.EXE\r\nIniFile=" + ini + "\r\n");
  std::string bytes = "[Paths]\r\nLibsrc=C:\\C5\\LIBSRC\r\nRed=C:\\C5\\RED\r\n[User Menus]\r\n";
  bytes += "1=One|App1\r\n[User Applications]\r\n";
  for (int i = 1; bytes.size() < 4060; ++i) {
    bytes += "App" + std::to_string(i) + "=notepad.exe file" + std::to_string(i) + ".txt\r\n";
  }
  ASSERT_TRUE(WriteWholeFile(ini, bytes));
  ASSERT_TRUE(FillDrive(dir + "\\fill"));
  for (const char* command :
       {"/Q LIBSRC \"c:\\newlibsrcpath\\that\\is\\longer\\than\\before\\and\\longer\"",
        "/Q USERMENU NewApp \"New+Item\" \"C:\\tools\\tool.exe\" \"p1+p2\""}) {
    EXPECT_EQ(RunQuiet(command).status, 1u) << command;
    EXPECT_TRUE(ReadWholeFile(ini) == bytes) << command << "\n" << ReadWholeFile(ini).size();
  }
  RemoveFileIfAny(dir + "\\fill");
  RemoveFileIfAny(ini);
  RemoveDirectoryA(dir.c_str());
}

// A root too long for Windows' file functions fails where the IDE's INI file
// is written, and leaves no file of a cut name anywhere.
TEST_F(UnattendedTest, IdeRootTooLongForWindowsFailsAndLeavesNoStrayFile) {
  WriteOwnIni("[Clarion]\r\nroot=" + work_ + "\\" + std::string(300, 'r') +
              "\r\nExeName=C5EE.EXE\r\n");
  for (const char* command : {"/Q USERMENU App Menu a.exe", "/Q LIBSRC C:\\L"}) {
    const Quiet run = RunQuiet(command);
    EXPECT_EQ(run.status, 1u) << command << "\n" << run.output;
  }
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(Work("*").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  std::set<std::string> names;
  do {
    names.insert(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  EXPECT_EQ(names, (std::set<std::string>{".", "..", "C5", "output.txt", "ZQMV5.LOG"}));
}

// A log that a build server never rotates, or one that cannot be written,
// never changes a run's outcome; a line is added without reading the log.
TEST_F(UnattendedTest, LargeOrHeldLogNeverFailsTheRun) {
  const std::string log = Work("ZQMV5.LOG");
  LARGE_INTEGER size;
  size.QuadPart = 1536ll << 20;
  ASSERT_TRUE(MakeSparseFile(log, size.QuadPart));
  RunOptions options;
  options.output_file = Work("output.txt");
  const RunResult big = Run("/Q CMD", options);
  EXPECT_EQ(big.exit_code, 0u);
  EXPECT_NE(ReadWholeFile(options.output_file).find("ZQInstall: Command Line"), std::string::npos);
  HANDLE file = CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER after;
  GetFileSizeEx(file, &after);
  std::string tail(64, '\0');
  DWORD read = 0;
  SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
  ReadFile(file, tail.data(), static_cast<DWORD>(tail.size()), &read, nullptr);
  CloseHandle(file);
  EXPECT_GT(after.QuadPart, size.QuadPart);
  EXPECT_NE(tail.find(" ZQInstall: Command Line"), std::string::npos) << tail;
  RemoveFileIfAny(log);

  HANDLE held = CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const RunResult locked = Run("/Q CMD", options);
  CloseHandle(held);
  EXPECT_EQ(locked.exit_code, 0u);
  EXPECT_NE(ReadWholeFile(options.output_file).find("ZQInstall: Command Line"), std::string::npos);
}

}  // namespace
}  // namespace zqmv5::testing
