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
#include "res/resource_ids.h"

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
    // A folder name outside ASCII, as a clone's path may hold.
    const std::string dir = ProgramDirectory() + "\\screenshots \xE9";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\" + name;
  }

  void ExpectFileMatches(const std::string& pattern, const std::string& file = "") {
    const std::string bytes = ReadWholeFile(file.empty() ? VersionFile() : file);
    EXPECT_TRUE(std::regex_match(bytes, std::regex(pattern))) << bytes << "\ndoes not match\n"
                                                              << pattern;
  }
};

// A control's number as the driver takes it, and a key of its report.
std::string N(int control) { return std::to_string(control); }
std::string Key(const std::string& label, int control, const std::string& property) {
  return label + "." + N(control) + "." + property;
}

std::string Escaped(const std::string& text) {
  return std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

TEST_F(VersionWindowSession, OkAddsTheLineAndCommentsOutTheLastOne) {
  const std::string old_line = ActiveLine("1.01", "0006", "first");
  ASSERT_TRUE(WriteWholeFile(VersionFile(), old_line + "\r\n"));
  Report r = Drive({"show", "open", "type", N(ZQ_NOTE), "Black-box note", "click", N(ZQ_OK)});
  EXPECT_EQ(r[Key("open", ZQ_VERSION, "text")], " 1.01");
  EXPECT_EQ(r[Key("open", ZQ_BUILD, "text")], "0007");
  EXPECT_EQ(r[Key("open", ZQ_ENABLE_UPDATES, "checked")], "1");
  EXPECT_EQ(r[Key("open", ZQ_AUTO_INCREMENT, "checked")], "1");
  EXPECT_EQ(r[Key("open", ZQ_FILE_NAME, "text")], "Version.zqi");
  EXPECT_EQ(r["open.status.zones"], "3");
  EXPECT_EQ(r["open.status.1"], "1.01 0007");
  EXPECT_EQ(r["open.status.2"], "Version.zqi");
  EXPECT_EQ(r["open.status.3"], "Auto");
  EXPECT_EQ(r[Key("open", ZQ_PROGRAM_VERSION, "text")], "Version: 1.01  0006");
  EXPECT_NE(r[Key("open", ZQ_DIRECTORY, "text")], "***") << "the current directory's short form";
  EXPECT_EQ(r["boxes"], "0");
  ExpectFileMatches(Escaped(Commented(old_line) + "\r\n") +
                    NewLinePattern("1\\.01", "0007", "Black-box note"));
  EXPECT_EQ(Setting(SavedStatus(), "Status", "On"), "1");
  EXPECT_EQ(Setting(Settings(), "Status", "Auto Increment"), "1");
  EXPECT_EQ(Setting(Settings(), "FileName", "Name"), "Version.zqi");
  EXPECT_EQ(Setting(Settings(), "Status", "On"), "(none)");
}

TEST_F(VersionWindowSession, EnterPressesOk) {
  Report r = Drive({"type", N(ZQ_NOTE), "by Enter", "enter"});
  ExpectFileMatches(NewLinePattern("1\\.00", "0001", "by Enter"));
}

TEST_F(VersionWindowSession, CancelRestoresTheLastLine) {
  const std::string bytes = Commented(ActiveLine("1.00", "0001", "one")) + "\r\n" +
                            Commented(ActiveLine("1.00", "0002", "two")) + "\r\n" +
                            ActiveLine("1.00", "0003", "three") + "\r\n";
  ASSERT_TRUE(WriteWholeFile(VersionFile(), bytes));
  Drive({"type", N(ZQ_NOTE), "not kept", "click", N(ZQ_CANCEL)});
  EXPECT_EQ(ReadWholeFile(VersionFile()), bytes);
  EXPECT_EQ(Setting(SavedStatus(), "Status", "On"), "(none)");
}

TEST_F(VersionWindowSession, FrameCloseAndEscActAsCancel) {
  const std::string bytes = ActiveLine("2.00", "0010", "kept") + "\n";
  for (const char* how : {"close", "esc"}) {
    ASSERT_TRUE(WriteWholeFile(VersionFile(), bytes));
    Report r = Drive({"show", "open", how});
    EXPECT_EQ(r[Key("open", ZQ_BUILD, "text")], "0011") << how;
    EXPECT_EQ(ReadWholeFile(VersionFile()), bytes) << how;
    EXPECT_EQ(r["boxes"], "0") << how;
  }
}

TEST_F(VersionWindowSession, UpdatesOffClosesByItselfInAboutThreeSeconds) {
  const std::string bytes = "! my project version\r\nVersion EQUATE('2.1')\r\n";
  ASSERT_TRUE(WriteWholeFile(VersionFile(), bytes));
  ASSERT_TRUE(WriteWholeFile(Settings(), "[Status]\r\nOn=0\r\n"));
  Report r = Drive({"show", "open", "click", N(ZQ_OK), "click", N(ZQ_CANCEL)});
  for (int field : {ZQ_VERSION_GROUP, ZQ_INFO_BUTTON, ZQ_NOTE_PROMPT, ZQ_NOTE, ZQ_VERSION_PROMPT,
                    ZQ_VERSION, ZQ_BUILD_PROMPT, ZQ_BUILD, ZQ_AUTO_INCREMENT, ZQ_FILE_PROMPT,
                    ZQ_FILE_NAME, ZQ_OK, ZQ_CANCEL}) {
    EXPECT_EQ(r[Key("open", field, "enabled")], "0") << field;
  }
  EXPECT_EQ(r[Key("open", ZQ_ENABLE_UPDATES, "enabled")], "1");
  EXPECT_EQ(r[Key("open", ZQ_ENABLE_UPDATES, "checked")], "0");
  EXPECT_EQ(r[Key("open", ZQ_NOTE, "text")], "Update is turned off");
  EXPECT_EQ(r["open.focus"], N(ZQ_ENABLE_UPDATES));
  const double seconds = std::stod(r["window_seconds"]);
  EXPECT_GT(seconds, 2.5);
  EXPECT_LT(seconds, 6.0);
  EXPECT_EQ(ReadWholeFile(VersionFile()), bytes) << "no line added, the active one active again";
  EXPECT_EQ(Setting(SavedStatus(), "Status", "On"), "(none)");
}

TEST_F(VersionWindowSession, EnablingUpdatesInTimeKeepsTheWindowOpen) {
  ASSERT_TRUE(WriteWholeFile(Settings(), "[Status]\r\nOn=0\r\n"));
  Report r = Drive({"wait", "1000", "click", N(ZQ_ENABLE_UPDATES), "wait", "3500", "show", "later",
                    "type", N(ZQ_NOTE), "enabled by hand", "click", N(ZQ_OK)});
  EXPECT_EQ(r[Key("later", ZQ_OK, "enabled")], "1");
  EXPECT_EQ(r[Key("later", ZQ_NOTE, "text")], "");
  ExpectFileMatches(NewLinePattern("1\\.00", "0001", "enabled by hand"));
  EXPECT_EQ(Setting(SavedStatus(), "Status", "On"), "1");
  EXPECT_EQ(Setting(Settings(), "Status", "On"), "0");
}

TEST_F(VersionWindowSession, SpinBoxesStepAndReject) {
  ASSERT_TRUE(WriteWholeFile(VersionFile(), ActiveLine("1.01", "0006", "") + "\r\n"));
  Report r =
      Drive({"up",        N(ZQ_VERSION), "up",        N(ZQ_VERSION), "down",        N(ZQ_BUILD),
             "show",      "stepped",     "type",      N(ZQ_VERSION), "12.5",        "show",
             "rejected",  "type",        N(ZQ_BUILD), "abc",         "type",        N(ZQ_VERSION),
             "",          "show",        "rejected2",
             "type",      N(ZQ_VERSION), "9.99",      "up",          N(ZQ_VERSION), "type",
             N(ZQ_BUILD), "0",           "down",      N(ZQ_BUILD),   "show",        "limits",
             "type",      N(ZQ_VERSION), "2.5",       "type",        N(ZQ_BUILD),   "0042",
             "show",      "typed",       "click",     N(ZQ_OK)});
  EXPECT_EQ(r[Key("stepped", ZQ_VERSION, "text")], " 1.03");
  EXPECT_EQ(r[Key("stepped", ZQ_BUILD, "text")], "0006");
  EXPECT_EQ(r["stepped.status.1"], "1.03 0006");
  EXPECT_EQ(r[Key("rejected", ZQ_VERSION, "text")], " 1.03")
      << "text that is no value gives the field its previous value back";
  EXPECT_EQ(r["rejected.focus"], N(ZQ_VERSION)) << "and the field keeps the focus";
  EXPECT_EQ(r[Key("rejected2", ZQ_BUILD, "text")], "0006");
  EXPECT_EQ(r[Key("rejected2", ZQ_VERSION, "text")], " 1.03") << "a blank field too";
  EXPECT_EQ(r["rejected2.status.1"], "1.03 0006");
  EXPECT_EQ(r[Key("limits", ZQ_VERSION, "text")], " 9.99");
  EXPECT_EQ(r[Key("limits", ZQ_BUILD, "text")], "0000");
  EXPECT_EQ(r[Key("typed", ZQ_VERSION, "text")], " 2.50");
  EXPECT_EQ(r[Key("typed", ZQ_BUILD, "text")], "0042");
  EXPECT_EQ(r["typed.status.1"], "2.50 0042");
  const std::string bytes = ReadWholeFile(VersionFile());
  EXPECT_NE(bytes.find("EQUATE('2.50  0042')"), std::string::npos) << bytes;
}

TEST_F(VersionWindowSession, InformationPageAndBackWithScreenshots) {
  const std::string main_shot = ScreenshotPath("version-window-main.png");
  const std::string info_shot = ScreenshotPath("version-window-information.png");
  Report r =
      Drive({"show", "main", "shot", main_shot, "click", N(ZQ_INFO_BUTTON), "show", "info", "shot",
             info_shot, "click", N(ZQ_MAIN_BUTTON), "show", "back", "click", N(ZQ_CANCEL)});
  for (int field : {ZQ_DIRECTORY, ZQ_VERSION_GROUP, ZQ_INFO_BUTTON, ZQ_NOTE, ZQ_VERSION, ZQ_BUILD,
                    ZQ_ENABLE_UPDATES, ZQ_FILE_NAME, ZQ_OK, ZQ_CANCEL}) {
    EXPECT_EQ(r[Key("main", field, "visible")], "1") << field;
    EXPECT_EQ(r[Key("info", field, "visible")], "0") << field;
    EXPECT_EQ(r[Key("back", field, "visible")], "1") << field;
  }
  for (int field : {ZQ_PROGRAM_VERSION, ZQ_MAIN_BUTTON, ZQ_CREDIT, ZQ_OPTIONS_GROUP,
                    ZQ_OPTIONS_PROMPT, ZQ_UTILITY_GROUP, ZQ_DESCRIPTION}) {
    EXPECT_EQ(r[Key("main", field, "visible")], "0") << field;
    EXPECT_EQ(r[Key("info", field, "visible")], "1") << field;
  }
  for (const char* page : {"main", "info", "back"}) {
    EXPECT_EQ(r[Key(page, ZQ_HIDDEN_PROMPT, "visible")], "0") << "the hidden prompt never shows";
    EXPECT_EQ(r[Key(page, ZQ_SHEET, "visible")], "0") << "the sheet shows no tab strip";
  }
  EXPECT_EQ(r[Key("info", ZQ_PROGRAM_VERSION, "text")], "Version: 1.01  0006");
  EXPECT_EQ(r[Key("info", ZQ_OPTIONS_PROMPT, "text")],
            "Run ZQMV55 with CMD as a command line parameter to see a list of command line "
            "options.");
  EXPECT_EQ(r[Key("info", ZQ_DESCRIPTION, "text")],
            "This procedure creates an equate called \"VERSION\" and increments the build "
            "number.  Each entry also has a date, time, and comment.  Previous equates and "
            "comments are commented out but remain.");
  EXPECT_EQ(r["info.focus"], N(ZQ_MAIN_BUTTON));
  EXPECT_EQ(r["back.focus"], N(ZQ_INFO_BUTTON));
  EXPECT_EQ(r[Key("main", ZQ_HEADER, "text")], "Quorvane Commandline Utility");
  for (const std::string& shot : {main_shot, info_shot}) {
    EXPECT_EQ(ReadWholeFile(shot).substr(0, 4), "\x89PNG") << shot;
  }
}

TEST_F(VersionWindowSession, FileNameInOtherCaseIsTheSameFileOnWindows) {
  const std::string old_line = ActiveLine("1.01", "0006", "");
  ASSERT_TRUE(WriteWholeFile(VersionFile(), old_line + "\r\n"));
  Drive({"type", N(ZQ_FILE_NAME), "VERSION.ZQI", "click", N(ZQ_OK)});
  EXPECT_EQ(Setting(Settings(), "FileName", "Name"), "VERSION.ZQI");
  ExpectFileMatches(Escaped(Commented(old_line) + "\r\n") + NewLinePattern("1\\.01", "0007"));
}

// The new file ends with one active line, and the old one has its own back;
// blanks around the typed name are dropped, as the settings file drops them.
TEST_F(VersionWindowSession, FileNameChangedBeforeOkGoesToTheNewFile) {
  const std::string old_line = ActiveLine("1.01", "0006", "");
  ASSERT_TRUE(WriteWholeFile(VersionFile(), old_line + "\r\n"));
  const std::string other_line = ActiveLine("2.00", "0100", "other");
  ASSERT_TRUE(WriteWholeFile(Work("Other.zqi"), other_line + "\r\n"));
  Drive({"type", N(ZQ_FILE_NAME), " Other.zqi", "click", N(ZQ_OK)});
  EXPECT_EQ(ReadWholeFile(VersionFile()), old_line + "\r\n");
  ExpectFileMatches(Escaped(Commented(other_line) + "\r\n") + NewLinePattern("1\\.01", "0007"),
                    Work("Other.zqi"));
  EXPECT_FALSE(PathExists(Work(" Other.zqi")));
  EXPECT_EQ(Setting(Settings(), "FileName", "Name"), "Other.zqi");
}

// A second window on a held file: the box says so, and the window, which has
// no file to add a line to, closes by itself.
TEST_F(VersionWindowSession, FileHeldByAnotherProgramIsLeftAlone) {
  const std::string bytes = ActiveLine("1.01", "0006", "held") + "\r\n";
  ASSERT_TRUE(WriteWholeFile(VersionFile(), bytes));
  HANDLE held = CreateFileA(VersionFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Report r = Drive({}, 10000);
  CloseHandle(held);
  EXPECT_EQ(ReadWholeFile(VersionFile()), bytes);
  ASSERT_EQ(r["boxes"], "1");
  EXPECT_EQ(r[Key("box", ZQ_ICON, "caption")], "");
  EXPECT_EQ(r[Key("box", ZQ_ICON, "text")],
            "The version file Version.zqi cannot be opened: File Is Locked|It may be in use by "
            "another program. Nothing in it has been changed.");
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
    Report r = Drive({"show", "open", "click", N(ZQ_CANCEL)});
    EXPECT_EQ(r[Key("open", ZQ_VERSION, "text")], " 1.20") << c.what;
    EXPECT_EQ(r[Key("open", ZQ_BUILD, "text")], "0042") << c.what;
    EXPECT_EQ(ReadWholeFile(VersionFile()), c.bytes) << c.what;
  }
}

TEST_F(VersionWindowSession, TextSetIntoTheFieldsByAToolIsWhatOkSaves) {
  Drive({"settext", N(ZQ_VERSION), "3.25", "settext", N(ZQ_BUILD), "0077", "settext", N(ZQ_NOTE),
         "by a tool", "click", N(ZQ_OK)});
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
  for (const char* name : {"no such folder\\v.zqi", "afolder", "held.zqi", "NUL", "AUX", "COM1"}) {
    ASSERT_TRUE(WriteWholeFile(VersionFile(), bytes));
    Report r = Drive({"type", N(ZQ_FILE_NAME), name, "click", N(ZQ_OK), "wait", "1500", "show",
                      "after", "click", N(ZQ_CANCEL)});
    ASSERT_EQ(r["boxes"], "1") << name;
    const std::string box = r[Key("box", ZQ_ICON, "text")];
    EXPECT_EQ(box.rfind(std::string("The version file ") + name + " cannot be ", 0), 0u) << box;
    EXPECT_NE(box.find("|The line has not been added."), std::string::npos) << box;
    EXPECT_EQ(r["after.focus"], N(ZQ_FILE_NAME)) << name;
    EXPECT_EQ(r[Key("after", ZQ_FILE_NAME, "text")], name);
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

// Lines the program did not write lose no character: the trailing comment of
// a developer's notes and a Version line typed by hand. The version counts on
// from the last line that holds a record.
TEST_F(VersionWindowSession, LinesTheProgramDidNotWriteLoseNothing) {
  const std::string own = "Version             EQUATE('1.20  0042') ! 01/01/26 0900 -- first";
  const std::string comment = "! Keep this file in the project; see the build notes";
  const std::string hand = "Version EQUATE('1.20  0042') ! hand written";
  const std::string old_scheme = "!Version EQUATE('0.90  0001') ! old scheme";
  const std::string unreadable = "Version EQUATE('2.0.1 build 7')";
  const struct {
    std::string bytes, kept;
  } cases[] = {{own + "\r\n" + comment + "\r\n", Commented(own) + "\r\n" + comment + "\r\n"},
               {hand + "\r\n", "!" + hand + "\r\n"},
               {own + "\r\n" + old_scheme + "\r\n", Commented(own) + "\r\n" + old_scheme + "\r\n"},
               {Commented(own) + "\r\n" + unreadable + "\r\n",
                Commented(own) + "\r\n!" + unreadable + "\r\n"}};
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteWholeFile(VersionFile(), c.bytes));
    Report r = Drive({"show", "open", "esc"});
    EXPECT_EQ(r[Key("open", ZQ_VERSION, "text")], " 1.20") << c.bytes;
    EXPECT_EQ(r[Key("open", ZQ_BUILD, "text")], "0043") << c.bytes;
    EXPECT_EQ(ReadWholeFile(VersionFile()), c.bytes) << "Esc gives every byte back";
    EXPECT_EQ(Run("/Q VERSION nightly").exit_code, 0u);
    ExpectFileMatches(Escaped(c.kept) + NewLinePattern("1\\.20", "0043", "nightly"));
  }
}

// A hand-edited version of 10.00: the status bar shows it as Ok writes it,
// and the arrows step from it.
TEST_F(VersionWindowSession, VersionOfTenOrMoreStepsFromTheValueShown) {
  const std::string bytes =
      "Version             EQUATE('10.00 0006')  ! 12/01/26 0930 -- by hand\r\n";
  ASSERT_TRUE(WriteWholeFile(VersionFile(), bytes));
  Report r = Drive({"show", "open", "up", N(ZQ_VERSION), "show", "up", "down", N(ZQ_VERSION),
                    "show", "down", "click", N(ZQ_CANCEL)});
  EXPECT_EQ(r["open.status.1"], "10.00 0007");
  EXPECT_EQ(r[Key("up", ZQ_VERSION, "text")], "10.00") << "the top stays";
  EXPECT_EQ(r[Key("down", ZQ_VERSION, "text")], " 9.99");
  EXPECT_EQ(r["down.status.1"], "9.99 0007");
  EXPECT_EQ(ReadWholeFile(VersionFile()), bytes);
}

// A note set by a tool that a line cannot keep (too long, or with a line
// break) is refused at Ok; the window stays and loses nothing.
TEST_F(VersionWindowSession, NoteALineCannotKeepIsRefusedAtOk) {
  const std::string bytes = ActiveLine("1.20", "0042", "kept") + "\r\n";
  const struct {
    std::string note, box;
  } cases[] = {
      {std::string(1000, 'x'),
       "The note is longer than the 180 characters a line keeps.|The line has not been added."},
      {"Fix crash\r\nVersion             EQUATE('9.99  9999')",
       "The note cannot hold a line break or another control character.|The line has not been "
       "added."},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteWholeFile(VersionFile(), bytes));
    Report r = Drive({"settext", N(ZQ_NOTE), c.note, "click", N(ZQ_OK), "wait", "1500", "show",
                      "after", "click", N(ZQ_CANCEL)});
    ASSERT_EQ(r["boxes"], "1") << c.box;
    EXPECT_EQ(r[Key("box", ZQ_ICON, "text")], c.box);
    EXPECT_EQ(r[Key("after", ZQ_OK, "enabled")], "1") << "the window stays";
    EXPECT_EQ(ReadWholeFile(VersionFile()), bytes);
  }
}

// .\ZQMV5.ini held by another program at Ok: a new file name that cannot be
// stored adds no line, so that the next run counts on in the same file; a
// setting lost after the line is added is told.
TEST_F(VersionWindowSession, SettingsThatCannotBeStoredAreTold) {
  const std::string bytes = ActiveLine("1.20", "0042", "kept") + "\r\n";
  ASSERT_TRUE(WriteWholeFile(VersionFile(), bytes));
  ASSERT_TRUE(WriteWholeFile(Settings(), "[FileName]\r\nName=Version.zqi\r\n"));
  HANDLE held = CreateFileA(Settings().c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Report renamed = Drive({"type", N(ZQ_FILE_NAME), "new.zqi", "click", N(ZQ_AUTO_INCREMENT),
                          "click", N(ZQ_OK), "wait", "1500", "show", "after", "click",
                          N(ZQ_CANCEL)});
  const std::string after_cancel = ReadWholeFile(VersionFile());
  Report same = Drive({"click", N(ZQ_AUTO_INCREMENT), "click", N(ZQ_OK)});
  CloseHandle(held);
  ASSERT_EQ(renamed["boxes"], "1");
  EXPECT_EQ(renamed[Key("box", ZQ_ICON, "text")].rfind(
                "The settings cannot be stored in .\\ZQMV5.ini: ", 0),
            0u)
      << renamed[Key("box", ZQ_ICON, "text")];
  EXPECT_EQ(renamed[Key("after", ZQ_OK, "enabled")], "1") << "the window stays";
  EXPECT_FALSE(PathExists(Work("new.zqi")));
  EXPECT_EQ(after_cancel, bytes);
  ASSERT_EQ(same["boxes"], "1");
  EXPECT_EQ(
      same[Key("box", ZQ_ICON, "text")].rfind("The settings cannot be stored in .\\ZQMV5.ini: ", 0),
      0u)
      << same[Key("box", ZQ_ICON, "text")];
  ExpectFileMatches(Escaped(Commented(bytes.substr(0, bytes.size() - 2)) + "\r\n") +
                    NewLinePattern("1\\.20", "0043"));
  EXPECT_EQ(Setting(Settings(), "FileName", "Name"), "Version.zqi");
}

// A stored file name longer than 119 characters is used whole, by VERSION
// and by the window; one longer than a Windows path can be is refused.
TEST_F(VersionWindowSession, LongStoredFileNameIsUsedWhole) {
  const std::string file_name = "\\MyProduct.zqi";
  const std::string dir = Work(std::string(150 - work_.size() - 1 - file_name.size(), 'd'));
  ASSERT_GT(dir.size(), 120u);
  ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
  const std::string name = dir + file_name;
  const std::string bytes = ActiveLine("1.20", "0042", "kept") + "\r\n";
  ASSERT_TRUE(WriteWholeFile(name, bytes));
  ASSERT_TRUE(WriteWholeFile(Settings(), "[FileName]\r\nName=" + name + "\r\n"));
  EXPECT_EQ(Run("/Q VERSION nightly").exit_code, 0u);
  ExpectFileMatches(Escaped(Commented(bytes.substr(0, bytes.size() - 2)) + "\r\n") +
                        NewLinePattern("1\\.20", "0043", "nightly"),
                    name);
  const std::string after_verb = ReadWholeFile(name);
  Report r = Drive({"show", "open", "esc"});
  EXPECT_EQ(r[Key("open", ZQ_FILE_NAME, "text")], name);
  EXPECT_EQ(r[Key("open", ZQ_BUILD, "text")], "0044");
  EXPECT_EQ(ReadWholeFile(name), after_verb);

  const std::string too_long = Work(std::string(300, 'n') + ".zqi");
  ASSERT_TRUE(WriteWholeFile(Settings(), "[FileName]\r\nName=" + too_long + "\r\n"));
  EXPECT_EQ(Run("/Q VERSION nightly").exit_code, 1u);
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
  Drive({"type", N(ZQ_NOTE), "same note", "click", N(ZQ_OK)}, 30000, copy);
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
    dir_ = SmallDriveFolder("version");
    if (dir_.empty()) GTEST_SKIP() << kNoSmallDrive;
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

// The open comments out a Version line typed by hand among the old ones,
// which needs one byte more than is left: the window says so and leaves every
// byte as it was.
TEST_F(FullDiskVersionWindow, OpenThatCannotWriteChangesNothing) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 58; ++i)
    lines.push_back(Commented(ActiveLine("1.00", "00" + std::to_string(10 + i), "")));
  lines.insert(lines.begin() + 30, "Version EQUATE('1.00  0040')");
  lines.push_back(ActiveLine("1.00", "0069", "last"));
  const std::string bytes = WriteAndFill(lines, 0);
  Report r = Drive({}, 10000, dir_);
  ASSERT_EQ(r["boxes"], "1");
  EXPECT_EQ(
      r[Key("box", ZQ_ICON, "text")].rfind("The version file Version.zqi cannot be changed: ", 0),
      0u)
      << r[Key("box", ZQ_ICON, "text")];
  EXPECT_EQ(ReadWholeFile(file_), bytes);
}

// Ok on a full disk: no half line; the window stays, and Cancel then gives
// the file back as it was.
TEST_F(FullDiskVersionWindow, OkThatCannotWriteLeavesNoHalfLine) {
  const std::string bytes = WriteAndFill({ActiveLine("1.20", "0007", "kept")}, 20);
  Report r = Drive({"click", N(ZQ_OK), "wait", "1500", "show", "after", "click", N(ZQ_CANCEL)},
                   30000, dir_);
  ASSERT_EQ(r["boxes"], "1");
  EXPECT_EQ(r[Key("box", ZQ_ICON, "caption")], "");
  EXPECT_EQ(r[Key("after", ZQ_OK, "enabled")], "1");
  EXPECT_EQ(ReadWholeFile(file_), bytes);
}

}  // namespace
}  // namespace zqmv5::testing
