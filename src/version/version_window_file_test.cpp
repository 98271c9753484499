// The version file through the window: what opening, Ok and Cancel leave in
// the file and in the settings.

#include <memory>

#include "version/version_test_support.h"

namespace zqmv5 {
namespace {

std::string Lines(const std::vector<std::string>& lines, const char* end = "\r\n") {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + end;
  return bytes;
}

void PressOk(FakeVersionView& w) { EXPECT_TRUE(w.Ok()) << "Ok"; }
void PressCancel(FakeVersionView& w) { EXPECT_TRUE(w.Cancel()) << "Cancel"; }

TEST_F(VersionWindowTest, NewFileOffersTheDefaultsWhateverAutoIncrementSays) {
  for (const char* automatic : {"1", "0"}) {
    fake_.files.contents.clear();
    Setting(".\\ZQMV5.ini", "Status", "Auto Increment", automatic);
    User([](FakeVersionView& w) {
      EXPECT_EQ(w.text(Field::kVersion), " 1.00");
      EXPECT_EQ(w.text(Field::kBuild), "0001");
    });
    User(PressCancel);
    Run();
    EXPECT_TRUE(HasFile()) << "created at open";
    EXPECT_EQ(File(), "") << "Cancel writes nothing";
    steps_.clear();

    User([](FakeVersionView& w) { EXPECT_TRUE(w.Type(Field::kNote, "First")); });
    User(PressOk);
    Run();
    EXPECT_EQ(File(), Lines({ActiveLine("1.00", "0001", "First")})) << automatic;
    steps_.clear();
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(VersionWindowTest, EmptyFileOffersTheDefaults) {
  SetFile("");
  User([](FakeVersionView& w) { EXPECT_EQ(w.text(Field::kBuild), "0001"); });
  User(PressOk);
  Run();
  EXPECT_EQ(File(), Lines({ActiveLine("1.00", "0001")}));
  EXPECT_EQ(fake_.files.creates, 0) << "an existing empty file is opened, not made";
}

TEST_F(VersionWindowTest, AutoIncrementRaisesTheLastBuild) {
  struct Case {
    const char* automatic;
    const char* build_in_file;
    const char* offered;
  };
  const Case cases[] = {{"1", "0006", "0007"}, {"0", "0006", "0006"}, {"1", "0099", "0100"},
                        {"1", "abcd", "0001"}, {"0", "    ", "0000"}, {"1", "9999", "9999"},
                        {"1", "-005", "-004"}};
  for (const Case& c : cases) {
    SetFile(Lines({ActiveLine("1.01", c.build_in_file)}));
    Setting(".\\ZQMV5.ini", "Status", "Auto Increment", c.automatic);
    steps_.clear();
    User([&](FakeVersionView& w) {
      EXPECT_EQ(w.text(Field::kBuild), c.offered) << c.build_in_file << " auto " << c.automatic;
    });
    User(PressOk);
    Run();
    EXPECT_EQ(File(), Lines({Commented(ActiveLine("1.01", c.build_in_file)),
                             ActiveLine("1.01", c.offered)}))
        << c.build_in_file << " auto " << c.automatic;
  }
}

TEST_F(VersionWindowTest, OkCommentsOutTheLastLineAndAddsTheNewOne) {
  const std::string a = Commented(ActiveLine("1.00", "0001", "one"));
  const std::string b = Commented(ActiveLine("1.00", "0002", "two"));
  const std::string c = ActiveLine("1.00", "0003", "three");
  SetFile(Lines({a, b, c}));
  User([](FakeVersionView& w) {
    EXPECT_EQ(w.text(Field::kVersion), " 1.00");
    EXPECT_EQ(w.text(Field::kBuild), "0004");
    EXPECT_TRUE(w.Spin(Field::kVersion, 1));
    EXPECT_TRUE(w.Type(Field::kNote, "four"));
  });
  User(PressOk);
  Run();
  EXPECT_EQ(File(), Lines({a, b, Commented(c), ActiveLine("1.01", "0004", "four")}));
  EXPECT_EQ(Setting(".\\ZQMV.ini", "Status", "On"), "1");
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "Status", "Auto Increment"), "1");
}

TEST_F(VersionWindowTest, CancelLeavesAFileWithOneActiveLastLineAsItWas) {
  const std::string bytes =
      Lines({Commented(ActiveLine("1.00", "0001")), Commented(ActiveLine("1.00", "0002")),
             ActiveLine("1.00", "0003", "three")});
  SetFile(bytes);
  User([&](FakeVersionView& w) {
    EXPECT_NE(File(), bytes) << "the active line is commented out while the window is open";
  });
  User(PressCancel);
  Run();
  EXPECT_EQ(File(), bytes);
  EXPECT_FALSE(fake_.profile.Has(".\\ZQMV.ini", "Status", "On"));
}

// Every way of closing without Ok (Cancel, Esc or the frame, a log-off, the
// automatic close with updates off) gives back exactly the lines that were
// active at open, byte for byte, and changes nothing else. The version
// offered is the last active line's, or the last readable line's when no
// active line can be read.
TEST_F(VersionWindowTest, ClosingWithoutOkGivesBackTheLinesActiveAtOpen) {
  const std::string own = ActiveLine("1.01", "0006");
  const struct {
    std::vector<std::string> lines;
    const char* version;
    const char* build;
  } cases[] = {
      {{"! my project version", "Version EQUATE('2.1')"}, " 1.00", "0001"},
      {{own, "!Version EQUATE('0.90  0001') ! old scheme"}, " 1.01", "0007"},
      {{Commented(own), "Version EQUATE('2.0.1 build 7')"}, " 1.01", "0007"},
      {{"Version EQUATE('beta')", own, "", "  CODE", "Version EQUATE('1.20  0042') ! hand"},
       " 1.20",
       "0043"},
      {{Commented(own), Commented(ActiveLine("1.00", "0002"))}, " 1.00", "0003"},
  };
  const struct {
    const char* road;
    FakeVersionView::Step step;
  } roads[] = {{"Cancel", PressCancel},
               {"close", [](FakeVersionView& w) { w.CloseFrame(); }},
               {"log-off", [](FakeVersionView& w) { w.EndSession(); }},
               {"updates off", nullptr}};
  for (const auto& c : cases) {
    const std::string bytes = Lines(c.lines);
    for (const auto& r : roads) {
      SetFile(bytes);
      Setting(".\\ZQMV5.ini", "Status", "On", r.step ? "1" : "0");
      steps_.clear();
      User([&](FakeVersionView& w) {
        EXPECT_EQ(w.text(Field::kVersion), c.version) << bytes;
        EXPECT_EQ(w.text(Field::kBuild), c.build) << bytes;
      });
      if (r.step) User(r.step);
      Run();
      EXPECT_EQ(File(), bytes) << r.road;
    }
  }
  EXPECT_TRUE(Messages().empty());
}

// Lines the program did not write lose no character: a line that defines
// Version in other spacing gets a "!" in front, every other line stays. The
// version comes from the last line that holds a record, and Cancel gives that
// line its bytes back.
TEST_F(VersionWindowTest, LinesTheProgramDidNotWriteKeepEveryCharacter) {
  const std::string own = "Version             EQUATE('1.20  0042') ! 01/01/26 0900 -- first";
  const std::string comment = "! Keep this file in the project; see the build notes";
  const std::string hand = "Version EQUATE('1.20  0042') ! hand written";
  const std::string tabs = "Version\tEQUATE('1.20\t0042')\t! tabs";
  const struct {
    std::vector<std::string> lines;
    const char* version;
    const char* build;
    std::vector<std::string> after_ok;      // without the new line
    std::vector<std::string> after_cancel;  // none: the lines as they were
  } cases[] = {
      {{own, comment}, " 1.20", "0043", {Commented(own), comment}, {}},
      {{comment, "! another"}, " 1.00", "0001", {comment, "! another"}, {}},
      {{hand}, " 1.20", "0043", {"!" + hand}, {}},
      {{tabs, ""}, " 1.20", "0043", {"!" + tabs, ""}, {}},
      {{"!" + hand, comment}, " 1.20", "0043", {"!" + hand, comment}, {}},
      {{"Version EQUATE('beta')", own, "  CODE"},
       " 1.20",
       "0043",
       {"!Version EQUATE('beta')", Commented(own), "  CODE"},
       {}},
  };
  for (const auto& c : cases) {
    std::string bytes;
    for (const std::string& line : c.lines) bytes += line + "\r\n";
    SetFile(bytes);
    steps_.clear();
    User([&](FakeVersionView& w) {
      EXPECT_EQ(w.text(Field::kVersion), c.version) << bytes;
      EXPECT_EQ(w.text(Field::kBuild), c.build) << bytes;
    });
    User(PressCancel);
    Run();
    std::string after_cancel;
    for (const std::string& line : c.after_cancel) after_cancel += line + "\r\n";
    EXPECT_EQ(File(), c.after_cancel.empty() ? bytes : after_cancel) << "Cancel";

    steps_.clear();
    User(PressOk);
    Run();
    std::string expected;
    for (const std::string& line : c.after_ok) expected += line + "\r\n";
    EXPECT_EQ(File(), expected + ActiveLine(std::string(c.version).substr(1), c.build) + "\r\n")
        << bytes;
  }
}

// A new name at Ok that names another version file: that file ends with one
// active line, the new one, its own earlier lines commented out as at open;
// the old file gets its active line back, as after Cancel. The numbers are
// those the window offered. Blanks around the typed name are dropped.
TEST_F(VersionWindowTest, FileNameChangedBeforeOk) {
  const std::string old_line = ActiveLine("1.01", "0006");
  SetFile(Lines({old_line}));
  const std::string other = ActiveLine("2.00", "0100", "other project");
  SetFile(Lines({"! other", other, "Version EQUATE('2.0')"}), "Other.zqi");
  User([](FakeVersionView& w) { EXPECT_TRUE(w.Type(Field::kFileName, "  Other.zqi ")); });
  User(PressOk);
  Run();
  EXPECT_EQ(File("Other.zqi"), Lines({"! other", Commented(other), "!Version EQUATE('2.0')",
                                      ActiveLine("1.01", "0007")}));
  EXPECT_EQ(File(), Lines({old_line}));
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "FileName", "Name"), "Other.zqi");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(VersionWindowTest, FileNameChangedToAMissingFileCreatesIt) {
  SetFile(Lines({ActiveLine("1.01", "0006")}));
  User([](FakeVersionView& w) { w.Type(Field::kFileName, "New.zqi"); });
  User(PressOk);
  Run();
  EXPECT_EQ(File("New.zqi"), Lines({ActiveLine("1.01", "0007")}));
  EXPECT_EQ(File(), Lines({ActiveLine("1.01", "0006")}));
  EXPECT_TRUE(Messages().empty());
}

// Windows takes a name in other letter case for the same file: the line goes
// into the file the window holds, and the name is stored as typed.
TEST_F(VersionWindowTest, FileNameDifferingOnlyInCaseNamesTheSameFile) {
  SetFile(Lines({ActiveLine("1.01", "0006")}));
  User([](FakeVersionView& w) { w.Type(Field::kFileName, "VERSION.ZQI"); });
  User(PressOk);
  Run();
  EXPECT_EQ(File(), Lines({Commented(ActiveLine("1.01", "0006")), ActiveLine("1.01", "0007")}));
  EXPECT_FALSE(HasFile("VERSION.ZQI"));
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "FileName", "Name"), "VERSION.ZQI");
  EXPECT_TRUE(Messages().empty());
}

// Blanks around a typed name are dropped before it is used and stored alike
// (the settings file would drop them): a name that differs from the open
// file's in its blanks alone is that file's.
TEST_F(VersionWindowTest, BlanksAroundATypedFileNameAreDropped) {
  SetFile(Lines({ActiveLine("1.01", "0006")}), "Other.zqi");
  Setting(".\\ZQMV5.ini", "FileName", "Name", "Other.zqi");
  User([](FakeVersionView& w) { w.Type(Field::kFileName, " Other.zqi"); });
  User(PressOk);
  Run();
  EXPECT_EQ(File("Other.zqi"),
            Lines({Commented(ActiveLine("1.01", "0006")), ActiveLine("1.01", "0007")}));
  EXPECT_EQ(fake_.files.contents.size(), 1u) << "no file whose name starts with a blank";
}

TEST_F(VersionWindowTest, BlankFileNameAtOkUsesTheFileOpenedAtStart) {
  SetFile(Lines({ActiveLine("1.01", "0006")}));
  Setting(".\\ZQMV5.ini", "FileName", "Name", "Version.zqi");
  User([](FakeVersionView& w) { w.Type(Field::kFileName, "   "); });
  User(PressOk);
  Run();
  EXPECT_EQ(File(), Lines({Commented(ActiveLine("1.01", "0006")), ActiveLine("1.01", "0007")}));
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "FileName", "Name"), "Version.zqi");
}

TEST_F(VersionWindowTest, SettingsAtOkGoToTheirOwnFiles) {
  Setting(".\\ZQMV5.ini", "Status", "On", "1");
  User([](FakeVersionView& w) {
    w.ToggleUpdates();
    w.ToggleAutoIncrement();
  });
  User(PressOk);
  Run();
  EXPECT_EQ(Setting(".\\ZQMV.ini", "Status", "On"), "0");
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "Status", "On"), "1") << "what the next run reads";
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "Status", "Auto Increment"), "0");
  EXPECT_FALSE(fake_.profile.Has(".\\ZQMV.ini", "Status", "Auto Increment"));
}

// A write that fails at Ok or at open leaves the file as it was and says why.
// After Ok the window stays, so that no line is lost; at open it closes, as it
// has nothing to work on.
TEST_F(VersionWindowTest, FailedWritesLeaveTheFileAndAreReported) {
  const std::string bytes = Lines({ActiveLine("1.01", "0006")});
  SetFile(bytes);
  User([this](FakeVersionView& w) {
    fake_.files.disk_free = 0;
    w.Ok();
  });
  User([this](FakeVersionView& w) {
    EXPECT_FALSE(w.closed());
    fake_.files.disk_free = -1;
    w.Cancel();
  });
  Run();
  EXPECT_EQ(Messages(), std::vector<std::string>{"The version file Version.zqi cannot be changed: "
                                                 "File System Error|The line has not been "
                                                 "added. Correct the file name, or cancel."});
  EXPECT_EQ(File(), bytes);
  EXPECT_FALSE(fake_.profile.Has(".\\ZQMV.ini", "Status", "On"));

  const std::string with_gap =
      Lines({"!old", "Version EQUATE('1.00  0001')", ActiveLine("1.01", "0006")});
  SetFile(with_gap);
  fake_.messages.shown.clear();
  fake_.files.disk_free = 0;
  steps_.clear();
  Run();
  EXPECT_EQ(Messages(), std::vector<std::string>{"The version file Version.zqi cannot be changed: "
                                                 "File System Error|Nothing in it has been "
                                                 "changed."});
  EXPECT_EQ(File(), with_gap);
}

// Cancel, and a log-off too, tell a restore that failed, naming the file.
TEST_F(VersionWindowTest, FailedRestoreIsReported) {
  for (const bool log_off : {false, true}) {
    SetFile(Lines({ActiveLine("1.01", "0006")}));
    fake_.files.fail_writes = false;
    fake_.messages.shown.clear();
    steps_.clear();
    User([this, log_off](FakeVersionView& w) {
      fake_.files.fail_writes = true;
      log_off ? w.EndSession() : void(w.Cancel());
    });
    Run();
    EXPECT_EQ(
        Messages(),
        std::vector<std::string>{"Error restoring last record: Access Denied|The lines that were "
                                 "active in Version.zqi stay commented out."})
        << log_off;
  }
}

// A new name that cannot be used at Ok, while another program takes the old
// file for reading: the window never let go of the old file, so Cancel still
// gives its active line back.
TEST_F(VersionWindowTest, OldFileStaysTheWindowsUntilTheNewOneHasTheLine) {
  const std::string bytes = Lines({ActiveLine("1.01", "0006")});
  SetFile(bytes);
  SetFile("", "held.zqi");
  User([this](FakeVersionView& w) {
    fake_.files.locked = {"held.zqi", kFile};
    w.Type(Field::kFileName, "held.zqi");
    w.Ok();
  });
  User(PressCancel);
  Run();
  EXPECT_EQ(File(), bytes);
  EXPECT_EQ(Messages(), std::vector<std::string>{
                            "The version file held.zqi cannot be opened: File Is Locked|The line "
                            "has not been added. Correct the file name, or cancel."});
}

// A window without its file closes after its box: Ok would have nothing to
// add the line to.
TEST_F(VersionWindowTest, ExistingFileThatCannotBeOpenedIsNeverMadeAnew) {
  const std::string bytes = Lines({ActiveLine("1.01", "0006")});
  SetFile(bytes);
  fake_.files.locked.insert(kFile);
  User(PressOk);
  FakeVersionView& w = Run();
  EXPECT_EQ(w.events(), std::vector<ViewEvent>{ViewEvent::kCloseRequest});
  EXPECT_EQ(File(), bytes);
  EXPECT_EQ(fake_.files.creates, 0);
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "The version file Version.zqi cannot be opened: File Is "
                            "Locked|It may "
                            "be in use by another program. Nothing in it has been changed."}));
}

TEST_F(VersionWindowTest, BuildAtTheTopStaysInFourColumns) {
  SetFile(Lines({ActiveLine("9.99", "9999")}));
  User(PressOk);
  Run();
  EXPECT_EQ(File(), Lines({Commented(ActiveLine("9.99", "9999")), ActiveLine("9.99", "9999")}));
}

TEST_F(VersionWindowTest, VersionOfTenOrMoreTakesAllFiveColumns) {
  // Typed by hand into the file: "12.50" fills VER:VER; Ok keeps the value.
  const std::string line = "Version             EQUATE('12.50 0006')  ! 12/07/26 1200 --";
  SetFile(Lines({line}));
  User([](FakeVersionView& w) { EXPECT_EQ(w.text(Field::kVersion), "12.50"); });
  User(PressOk);
  Run();
  EXPECT_EQ(File(), Lines({Commented(line),
                           "Version             EQUATE('12.50 0007')  ! 12/07/26 1200 --"}));
}

TEST_F(VersionWindowTest, LineEndsAndLongLinesSurvive) {
  const std::string longer = ActiveLine("1.01", "0006", std::string(200, 'x'));
  SetFile(Lines({longer}, "\n"));
  User(PressOk);
  Run();
  EXPECT_EQ(File(), Lines({Commented(longer), ActiveLine("1.01", "0007")}, "\n"));

  SetFile(ActiveLine("1.01", "0006", "no line end"));
  steps_.clear();
  User(PressCancel);
  Run();
  EXPECT_EQ(File(), ActiveLine("1.01", "0006", "no line end"));
}

TEST_F(VersionWindowTest, ManyCommentedLinesAndOneActive) {
  std::string bytes;
  for (int i = 0; i < 100000; ++i) bytes += "!Version old line " + std::to_string(i) + "\r\n";
  bytes += ActiveLine("3.10", "0042") + "\r\n";
  SetFile(bytes);
  User([](FakeVersionView& w) { EXPECT_EQ(w.text(Field::kBuild), "0043"); });
  User(PressCancel);
  Run();
  EXPECT_EQ(File(), bytes);
}

}  // namespace
}  // namespace zqmv5
