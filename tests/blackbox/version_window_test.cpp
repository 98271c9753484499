// A user opens ZQMV5.exe without parameters: the Log/Version window, worked
// through its controls by version_driver.exe, and the version file and
// settings it leaves behind.

#include <windows.h>

#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "blackbox/session.h"

namespace zqmv5::testing {
namespace {

// What version_driver.exe reported: "key=value" lines.
using Report = std::map<std::string, std::string>;

// The new line that Ok writes: the date and time are today's, so they are
// matched by their shape.
std::string NewLinePattern(const std::string& version, const std::string& build,
                           const std::string& note = "") {
  return "Version             EQUATE\\('" + version + "  " + build +
         "'\\)  ! \\d\\d/\\d\\d/\\d\\d \\d\\d\\d\\d --" + (note.empty() ? "" : " " + note) + "\r\n";
}

std::string ActiveLine(const std::string& version, const std::string& build,
                       const std::string& note) {
  return "Version             EQUATE('" + version + "  " + build + "')  ! 12/01/26 0930 -- " + note;
}

std::string Commented(const std::string& line) {
  return "!Version" + std::string(12, ' ') + line.substr(20);
}

class VersionWindowSession : public SessionTest {
 protected:
  std::string VersionFile() const { return Work("Version.zqi"); }
  std::string Settings() const { return Work("ZQMV5.ini"); }
  std::string SavedStatus() const { return Work("ZQMV.ini"); }

  // Runs ZQMV5.exe without parameters and the driver's steps on its window,
  // in the working directory or in `directory`.
  Report Drive(const std::vector<std::string>& steps, unsigned long timeout_ms = 30000,
               const std::string& directory = "") {
    const std::string report_file = Work("driver-report.txt");
    std::string line = Quoted(ProgramDirectory() + "\\version_driver.exe") + " --report " +
                       Quoted(report_file) + " --timeout " + std::to_string(timeout_ms) + " " +
                       Quoted(ProgramUnderTest());
    for (const std::string& step : steps) line += " " + Quoted(step);
    RunOptions options;
    options.directory = directory.empty() ? work_ : directory;
    options.timeout_ms = timeout_ms + 30000;
    RunResult run = RunAndCatch(line, options);
    EXPECT_TRUE(run.started) << line;
    EXPECT_FALSE(run.timed_out) << line;
    Report report;
    std::istringstream lines(ReadWholeFile(report_file));
    std::string entry;
    while (std::getline(lines, entry)) {
      const size_t equals = entry.find('=');
      if (equals != std::string::npos) report[entry.substr(0, equals)] = entry.substr(equals + 1);
    }
    EXPECT_EQ(report["exit"], "0") << line;
    EXPECT_EQ(report["timed_out"], "0") << line;
    if (steps.empty()) return report;
    EXPECT_EQ(report["window"], "found") << line;
    EXPECT_EQ(report.count("steps_left"), 0u) << "the window closed before all steps ran";
    return report;
  }

  std::string Setting(const std::string& file, const std::string& section,
                      const std::string& entry) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
    return IniValue(file, section, entry, "(none)");
  }

  static std::string ScreenshotPath(const std::string& name) {
    const std::string dir = ProgramDirectory() + "\\screenshots";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\" + name;
  }

  void ExpectFileMatches(const std::string& pattern, const std::string& file = "") {
    const std::string bytes = ReadWholeFile(file.empty() ? VersionFile() : file);
    EXPECT_TRUE(std::regex_match(bytes, std::regex(pattern))) << bytes << "\ndoes not match\n"
                                                              << pattern;
  }
};

std::string Escaped(const std::string& text) {
  return std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

TEST_F(VersionWindowSession, OkAddsTheLineAndCommentsOutTheLastOne) {
  const std::string old_line = ActiveLine("1.01", "0006", "first");
  ASSERT_TRUE(WriteWholeFile(VersionFile(), old_line + "\r\n"));
  Report r = Drive({"show", "open", "type", "9", "Black-box note", "click", "19"});
  EXPECT_EQ(r["open.11.text"], " 1.01");
  EXPECT_EQ(r["open.13.text"], "0007");
  EXPECT_EQ(r["open.15.checked"], "1");
  EXPECT_EQ(r["open.16.checked"], "1");
  EXPECT_EQ(r["open.18.text"], "Version.zqi");
  EXPECT_EQ(r["open.status.zones"], "3");
  EXPECT_EQ(r["open.status.1"], "1.01 0007");
  EXPECT_EQ(r["open.status.2"], "Version.zqi");
  EXPECT_EQ(r["open.status.3"], "Auto");
  EXPECT_EQ(r["open.22.text"], "Version: 1.01  0006");
  EXPECT_NE(r["open.5.text"], "***") << "the current directory's short form";
  EXPECT_EQ(r["boxes"], "0");
  ExpectFileMatches(Escaped(Commented(old_line) + "\r\n") +
                    NewLinePattern("1\\.01", "0007", "Black-box note"));
  EXPECT_EQ(Setting(SavedStatus(), "Status", "On"), "1");
  EXPECT_EQ(Setting(Settings(), "Status", "Auto Increment"), "1");
  EXPECT_EQ(Setting(Settings(), "FileName", "Name"), "Version.zqi");
  EXPECT_EQ(Setting(Settings(), "Status", "On"), "(none)");
}

TEST_F(VersionWindowSession, EnterPressesOk) {
  Report r = Drive({"type", "9", "by Enter", "enter"});
  ExpectFileMatches(NewLinePattern("1\\.00", "0001", "by Enter"));
}

TEST_F(VersionWindowSession, CancelRestoresTheLastLine) {
  const std::string bytes = Commented(ActiveLine("1.00", "0001", "one")) + "\r\n" +
                            Commented(ActiveLine("1.00", "0002", "two")) + "\r\n" +
                            ActiveLine("1.00", "0003", "three") + "\r\n";
  ASSERT_TRUE(WriteWholeFile(VersionFile(), bytes));
  Drive({"type", "9", "not kept", "click", "20"});
  EXPECT_EQ(ReadWholeFile(VersionFile()), bytes);
  EXPECT_EQ(Setting(SavedStatus(), "Status", "On"), "(none)");
}

TEST_F(VersionWindowSession, FrameCloseAndEscActAsCancel) {
  const std::string bytes = ActiveLine("2.00", "0010", "kept") + "\n";
  for (const char* how : {"close", "esc"}) {
    ASSERT_TRUE(WriteWholeFile(VersionFile(), bytes));
    Report r = Drive({"show", "open", how});
    EXPECT_EQ(r["open.13.text"], "0011") << how;
    EXPECT_EQ(ReadWholeFile(VersionFile()), bytes) << how;
    EXPECT_EQ(r["boxes"], "0") << how;
  }
}

TEST_F(VersionWindowSession, UpdatesOffClosesByItselfInAboutThreeSeconds) {
  const std::string bytes = ActiveLine("1.01", "0006", "kept") + "\r\n";
  ASSERT_TRUE(WriteWholeFile(VersionFile(), bytes));
  ASSERT_TRUE(WriteWholeFile(Settings(), "[Status]\r\nOn=0\r\n"));
  Report r = Drive({"show", "open", "click", "19", "click", "20"});
  for (int field : {6, 7, 8, 9, 10, 11, 12, 13, 16, 17, 18, 19, 20}) {
    EXPECT_EQ(r["open." + std::to_string(field) + ".enabled"], "0") << field;
  }
  EXPECT_EQ(r["open.15.enabled"], "1");
  EXPECT_EQ(r["open.15.checked"], "0");
  EXPECT_EQ(r["open.9.text"], "Update is turned off");
  EXPECT_EQ(r["open.focus"], "15");
  const double seconds = std::stod(r["window_seconds"]);
  EXPECT_GT(seconds, 2.5);
  EXPECT_LT(seconds, 6.0);
  EXPECT_EQ(ReadWholeFile(VersionFile()), bytes) << "no line added, the last one active again";
  EXPECT_EQ(Setting(SavedStatus(), "Status", "On"), "(none)");
}

TEST_F(VersionWindowSession, EnablingUpdatesInTimeKeepsTheWindowOpen) {
  ASSERT_TRUE(WriteWholeFile(Settings(), "[Status]\r\nOn=0\r\n"));
  Report r = Drive({"wait", "1000", "click", "15", "wait", "3500", "show", "later", "type", "9",
                    "enabled by hand", "click", "19"});
  EXPECT_EQ(r["later.19.enabled"], "1");
  EXPECT_EQ(r["later.9.text"], "");
  ExpectFileMatches(NewLinePattern("1\\.00", "0001", "enabled by hand"));
  EXPECT_EQ(Setting(SavedStatus(), "Status", "On"), "1");
  EXPECT_EQ(Setting(Settings(), "Status", "On"), "0");
}

TEST_F(VersionWindowSession, SpinBoxesStepAndReject) {
  ASSERT_TRUE(WriteWholeFile(VersionFile(), ActiveLine("1.01", "0006", "") + "\r\n"));
  Report r = Drive({"up",   "11",        "up",   "11",   "down",     "13",     "show",  "stepped",
                    "type", "11",        "12.5", "show", "rejected", "type",   "13",    "abc",
                    "show", "rejected2", "type", "11",   "9.99",     "up",     "11",    "type",
                    "13",   "0",         "down", "13",   "show",     "limits", "type",  "11",
                    "2.5",  "type",      "13",   "0042", "show",     "typed",  "click", "19"});
  EXPECT_EQ(r["stepped.11.text"], " 1.03");
  EXPECT_EQ(r["stepped.13.text"], "0006");
  EXPECT_EQ(r["stepped.status.1"], "1.03 0006");
  EXPECT_EQ(r["rejected.11.text"], "") << "text that does not fit blanks the field";
  EXPECT_EQ(r["rejected.focus"], "11") << "and the field keeps the focus";
  EXPECT_EQ(r["rejected2.13.text"], "");
  EXPECT_EQ(r["limits.11.text"], " 9.99");
  EXPECT_EQ(r["limits.13.text"], "0000");
  EXPECT_EQ(r["typed.11.text"], " 2.50");
  EXPECT_EQ(r["typed.13.text"], "0042");
  EXPECT_EQ(r["typed.status.1"], "2.50 0042");
  const std::string bytes = ReadWholeFile(VersionFile());
  EXPECT_NE(bytes.find("EQUATE('2.50  0042')"), std::string::npos) << bytes;
}

TEST_F(VersionWindowSession, InformationPageAndBackWithScreenshots) {
  const std::string main_shot = ScreenshotPath("version-window-main.png");
  const std::string info_shot = ScreenshotPath("version-window-information.png");
  Report r = Drive({"show", "main", "shot", main_shot, "click", "7", "show", "info", "shot",
                    info_shot, "click", "23", "show", "back", "click", "20"});
  for (int field : {5, 6, 7, 9, 11, 13, 15, 18, 19, 20}) {
    const std::string f = std::to_string(field);
    EXPECT_EQ(r["main." + f + ".visible"], "1") << field;
    EXPECT_EQ(r["info." + f + ".visible"], "0") << field;
    EXPECT_EQ(r["back." + f + ".visible"], "1") << field;
  }
  for (int field : {22, 23, 24, 25, 26, 27, 28}) {
    const std::string f = std::to_string(field);
    EXPECT_EQ(r["main." + f + ".visible"], "0") << field;
    EXPECT_EQ(r["info." + f + ".visible"], "1") << field;
  }
  for (const char* page : {"main", "info", "back"}) {
    EXPECT_EQ(r[std::string(page) + ".29.visible"], "0") << "prompt 29 is never shown";
    EXPECT_EQ(r[std::string(page) + ".3.visible"], "0") << "the sheet shows no tab strip";
  }
  EXPECT_EQ(r["info.22.text"], "Version: 1.01  0006");
  EXPECT_EQ(r["info.26.text"],
            "Run ZQMV55 with CMD as a command line parameter to see a list of command line "
            "options.");
  EXPECT_EQ(r["info.28.text"],
            "This procedure creates an equate called \"VERSION\" and increments the build "
            "number.  Each entry also has a date, time, and comment.  Previous equates and "
            "comments are commented out but remain.");
  EXPECT_EQ(r["info.focus"], "23");
  EXPECT_EQ(r["back.focus"], "7");
  EXPECT_EQ(r["main.2.text"], "Quorvane Commandline Utility");
  for (const std::string& shot : {main_shot, info_shot}) {
    EXPECT_EQ(ReadWholeFile(shot).substr(0, 4), "\x89PNG") << shot;
  }
}

TEST_F(VersionWindowSession, FileNameInOtherCaseIsTheSameFileOnWindows) {
  const std::string old_line = ActiveLine("1.01", "0006", "");
  ASSERT_TRUE(WriteWholeFile(VersionFile(), old_line + "\r\n"));
  Drive({"type", "18", "VERSION.ZQI", "click", "19"});
  EXPECT_EQ(Setting(Settings(), "FileName", "Name"), "VERSION.ZQI");
  ExpectFileMatches(Escaped(Commented(old_line) + "\r\n") + NewLinePattern("1\\.01", "0007"));
}

TEST_F(VersionWindowSession, FileNameChangedBeforeOkGoesToTheNewFile) {
  const std::string old_line = ActiveLine("1.01", "0006", "");
  ASSERT_TRUE(WriteWholeFile(VersionFile(), old_line + "\r\n"));
  Drive({"type", "18", "Other.zqi", "click", "19"});
  EXPECT_EQ(ReadWholeFile(VersionFile()), Commented(old_line) + "\r\n");
  const std::string other = ReadWholeFile(Work("Other.zqi"));
  EXPECT_TRUE(std::regex_match(other, std::regex(NewLinePattern("1\\.01", "0007")))) << other;
  EXPECT_EQ(Setting(Settings(), "FileName", "Name"), "Other.zqi");
}

TEST_F(VersionWindowSession, FileHeldByAnotherProgramIsLeftAlone) {
  const std::string bytes = ActiveLine("1.01", "0006", "held") + "\r\n";
  ASSERT_TRUE(WriteWholeFile(VersionFile(), bytes));
  HANDLE held = CreateFileA(VersionFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Report r = Drive({"show", "open", "click", "20"});
  CloseHandle(held);
  EXPECT_EQ(ReadWholeFile(VersionFile()), bytes);
  ASSERT_EQ(r["boxes"], "1");
  EXPECT_EQ(r["box.1.caption"], "");
  EXPECT_EQ(r["box.1.text"],
            "The version file Version.zqi cannot be opened: File Is Locked|It may be in use by "
            "another program. Nothing in it has been changed.");
  EXPECT_EQ(r["open.13.text"], "0001");
}

TEST_F(VersionWindowSession, OtherProgramsMayReadTheFileWhileTheWindowIsOpen) {
  ASSERT_TRUE(WriteWholeFile(VersionFile(), ActiveLine("1.01", "0006", "") + "\r\n"));
  std::string read_meanwhile;
  bool write_refused = false;
  RunOptions options;
  options.directory = work_;
  // A plain run: the window stays until the frame is closed below.
  std::string line = Quoted(ProgramDirectory() + "\\version_driver.exe") + " --report " +
                     Quoted(Work("r.txt")) + " " + Quoted(ProgramUnderTest()) + " wait 1500 close";
  options.while_running = [&](unsigned long) {
    if (!read_meanwhile.empty()) return;
    const std::string bytes = ReadWholeFile(VersionFile());
    if (bytes.empty() || bytes[0] != '!') return;  // not yet opened by the window
    read_meanwhile = bytes;
    HANDLE writer =
        CreateFileA(VersionFile().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    write_refused = writer == INVALID_HANDLE_VALUE;
    if (!write_refused) CloseHandle(writer);
  };
  RunResult run = RunAndCatch(line, options);
  EXPECT_FALSE(run.timed_out);
  EXPECT_EQ(read_meanwhile.substr(0, 8), "!Version");
  EXPECT_TRUE(write_refused);
}

// Files as editors and other tools leave them: the last line that holds a
// record is the one the window works on, and Cancel gives every byte back.
TEST_F(VersionWindowSession, EmptyLastLineBomAndLoneCarriageReturns) {
  const std::string good = ActiveLine("1.20", "0041", "good");
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty last line",
       Commented(ActiveLine("1.10", "0040", "old")) + "\r\n" + good + "\r\n\r\n"},
      {"UTF-8 BOM", "\xEF\xBB\xBF" + good + "\r\n"},
      {"lone CRs", Commented(ActiveLine("1.10", "0040", "old")) + "\r" + good + "\r"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteWholeFile(VersionFile(), c.bytes));
    Report r = Drive({"show", "open", "click", "20"});
    EXPECT_EQ(r["open.11.text"], " 1.20") << c.what;
    EXPECT_EQ(r["open.13.text"], "0042") << c.what;
    EXPECT_EQ(ReadWholeFile(VersionFile()), c.bytes) << c.what;
  }
}

TEST_F(VersionWindowSession, TextSetIntoTheFieldsByAToolIsWhatOkSaves) {
  Drive({"settext", "11", "3.25", "settext", "13", "0077", "settext", "9", "by a tool", "click",
         "19"});
  ExpectFileMatches(NewLinePattern("3\\.25", "0077", "by a tool"));
}

// A new file name that cannot be used at Ok: a missing folder, a folder, a
// file another program holds. The box says why, the window stays open with
// the name selected, and nothing is lost.
TEST_F(VersionWindowSession, NewFileNameThatCannotBeOpenedLosesNothing) {
  const std::string bytes = ActiveLine("1.01", "0006", "kept") + "\r\n";
  CreateDirectoryA(Work("afolder").c_str(), nullptr);
  ASSERT_TRUE(WriteWholeFile(Work("held.zqi"), "held\r\n"));
  HANDLE held = CreateFileA(Work("held.zqi").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  for (const char* name : {"no such folder\\v.zqi", "afolder", "held.zqi"}) {
    ASSERT_TRUE(WriteWholeFile(VersionFile(), bytes));
    Report r =
        Drive({"type", "18", name, "click", "19", "wait", "1500", "show", "after", "click", "20"});
    ASSERT_EQ(r["boxes"], "1") << name;
    EXPECT_NE(r["box.1.text"].find(name), std::string::npos) << r["box.1.text"];
    EXPECT_EQ(r["after.focus"], "18") << name;
    EXPECT_EQ(r["after.18.text"], name);
    EXPECT_EQ(ReadWholeFile(VersionFile()), bytes) << name;
    EXPECT_EQ(Setting(Settings(), "FileName", "Name"), "Version.zqi") << name;
  }
  CloseHandle(held);
  EXPECT_EQ(ReadWholeFile(Work("held.zqi")), "held\r\n");
}

TEST_F(VersionWindowSession, SessionEndRestoresTheLastLine) {
  const std::string bytes = Commented(ActiveLine("1.00", "0001", "")) + "\r\n" +
                            ActiveLine("1.01", "0002", "last") + "\r\n";
  ASSERT_TRUE(WriteWholeFile(VersionFile(), bytes));
  Report r = Drive({"wait", "500", "endsession"});
  EXPECT_EQ(r["endsession.agreed"], "1");
  EXPECT_EQ(ReadWholeFile(VersionFile()), bytes);
}

// VERSION from a build script: the line that the window's Ok would add, with
// no window, no box and no settings written, and no IDE needed.
TEST_F(VersionWindowSession, VersionVerbAddsTheLineThatOkWould) {
  WriteOwnIni("");
  RunResult run = Run("VERSION first  build \"of the day\"");
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_TRUE(run.boxes.empty()) << Describe(run.boxes);
  ExpectFileMatches(NewLinePattern("1\\.00", "0001", "first  build of the day"));
  EXPECT_FALSE(PathExists(Settings()));

  const std::string history = Commented(ActiveLine("1.10", "0040", "old")) + "\r\n" +
                              ActiveLine("1.20", "0041", "good") + "\r\n";
  const std::string copy = Work("copy");
  CreateDirectoryA(copy.c_str(), nullptr);
  ASSERT_TRUE(WriteWholeFile(copy + "\\Version.zqi", history));
  ASSERT_TRUE(WriteWholeFile(VersionFile(), history));
  Drive({"type", "9", "same note", "click", "19"}, 30000, copy);
  Run("VERSION same note");
  const std::regex stamp(R"(! \d\d/\d\d/\d\d \d\d\d\d --)");
  const std::string by_verb = std::regex_replace(ReadWholeFile(VersionFile()), stamp, "! --");
  EXPECT_EQ(by_verb, std::regex_replace(ReadWholeFile(copy + "\\Version.zqi"), stamp, "! --"));
  EXPECT_NE(by_verb.find("EQUATE('1.20  0042')"), std::string::npos) << by_verb;

  ASSERT_TRUE(WriteWholeFile(VersionFile(), ActiveLine("2.00", "9999", "top") + "\r\n"));
  Run("VERSION");
  ExpectFileMatches(Escaped(Commented(ActiveLine("2.00", "9999", "top")) + "\r\n") +
                    NewLinePattern("2\\.00", "9999"));

  const std::string kept = ReadWholeFile(VersionFile());
  ASSERT_TRUE(WriteWholeFile(Settings(), "[Status]\r\nOn=0\r\n"));
  run = Run("VERSION not added");
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_EQ(ReadWholeFile(VersionFile()), kept);
}

TEST_F(VersionWindowSession, VersionVerbLeavesAFileAnotherProgramHoldsAlone) {
  const std::string bytes = ActiveLine("1.01", "0006", "held") + "\r\n";
  ASSERT_TRUE(WriteWholeFile(VersionFile(), bytes));
  HANDLE held = CreateFileA(VersionFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const RunResult shown = Run("VERSION");
  const RunResult quiet = Run("/Q VERSION");
  CloseHandle(held);
  ASSERT_EQ(shown.boxes.size(), 1u) << Describe(shown.boxes);
  EXPECT_EQ(shown.boxes[0].text,
            "The version file Version.zqi cannot be opened: File Is Locked\nIt may be in use by "
            "another program. Nothing in it has been changed.");
  EXPECT_TRUE(quiet.boxes.empty());
  EXPECT_EQ(quiet.exit_code, 1u);
  EXPECT_EQ(ReadWholeFile(VersionFile()), bytes);
}

// A version file on a disk that is full to the last block.
class FullDiskVersionWindow : public VersionWindowSession {
 protected:
  void SetUp() override {
    VersionWindowSession::SetUp();
    const std::string drive = SmallDrive();
    if (drive.empty()) GTEST_SKIP() << "no small drive S: (tools/test maps one when run as root)";
    dir_ = drive + "zqmv5-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir_.c_str(), nullptr);
    file_ = dir_ + "\\Version.zqi";
    ASSERT_TRUE(WriteWholeFile(dir_ + "\\ZQMV5.ini", "[FileName]\r\nName=Version.zqi\r\n"));
  }
  void TearDown() override {
    if (!dir_.empty()) {
      for (const char* name : {"fill", "Version.zqi", "ZQMV5.ini", "ZQMV.ini"}) {
        RemoveFileIfAny(dir_ + "\\" + name);
      }
      RemoveDirectoryA(dir_.c_str());
    }
    VersionWindowSession::TearDown();
  }

  // Writes `lines`, padding the first note so that the file ends `slack`
  // bytes before a 4 KiB block ends, and fills the disk.
  std::string WriteAndFill(std::vector<std::string> lines, size_t slack) {
    size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 2;
    lines[0] += std::string(4096 - slack - size % 4096, '.');
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    EXPECT_TRUE(WriteWholeFile(file_, bytes));
    EXPECT_TRUE(FillDrive(dir_ + "\\fill"));
    return bytes;
  }

  std::string dir_;
  std::string file_;
};

// The open comments out an empty line among the old ones, which needs more
// room than is left: the window says so and leaves every byte as it was.
TEST_F(FullDiskVersionWindow, OpenThatCannotWriteChangesNothing) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 58; ++i)
    lines.push_back(Commented(ActiveLine("1.00", "00" + std::to_string(10 + i), "")));
  lines.insert(lines.begin() + 30, "");
  lines.push_back(ActiveLine("1.00", "0069", "last"));
  const std::string bytes = WriteAndFill(lines, 4);
  Report r = Drive({}, 10000, dir_);
  ASSERT_EQ(r["boxes"], "1");
  EXPECT_EQ(r["box.1.text"].rfind("The version file Version.zqi cannot be changed: ", 0), 0u)
      << r["box.1.text"];
  EXPECT_EQ(ReadWholeFile(file_), bytes);
}

// Ok on a full disk: no half line; the window stays, and Cancel then gives
// the file back as it was.
TEST_F(FullDiskVersionWindow, OkThatCannotWriteLeavesNoHalfLine) {
  const std::string bytes = WriteAndFill({ActiveLine("1.20", "0007", "kept")}, 20);
  Report r = Drive({"click", "19", "wait", "1500", "show", "after", "click", "20"}, 30000, dir_);
  ASSERT_EQ(r["boxes"], "1");
  EXPECT_EQ(r["box.1.caption"], "");
  EXPECT_EQ(r["after.19.enabled"], "1");
  EXPECT_EQ(ReadWholeFile(file_), bytes);
}

}  // namespace
}  // namespace zqmv5::testing
