// The window's behaviour with a fake window: states, settings, status bar,
// timer and the close rule; and what opening, Ok and Cancel leave in the
// version file and in the settings.

#include "version/version_window.h"

#include "testing/version_window_fixture.h"

namespace zqmv5 {
namespace {

std::string Lines(const std::vector<std::string>& lines, const char* end = "\r\n") {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + end;
  return bytes;
}

void PressOk(FakeVersionView& w) { EXPECT_TRUE(w.Ok()) << "Ok"; }
void PressCancel(FakeVersionView& w) { EXPECT_TRUE(w.Cancel()) << "Cancel"; }

void ExpectEntryEnabled(const FakeVersionView& w, bool enabled, const char* when) {
  EXPECT_EQ(w.entry_enabled(), enabled) << when;
}

TEST_F(VersionWindowTest, SettingsAbsentMeansUpdatesAndAutoIncrementOn) {
  User([&](FakeVersionView& w) {
    ExpectEntryEnabled(w, true, "at open");
    EXPECT_EQ(w.timer(), 0);
    EXPECT_TRUE(w.checked(Check::kUpdates));
    EXPECT_TRUE(w.checked(Check::kAutoIncrement));
    EXPECT_EQ(w.text(Field::kFileName), kFile);
    EXPECT_EQ(w.text(Field::kNote), "");
    EXPECT_EQ(w.text(Field::kVersion), " 1.00");
    EXPECT_EQ(w.text(Field::kBuild), "0001");
    EXPECT_EQ(w.text(Field::kDirectory), "C:\\WORK") << "the short form of the current directory";
    EXPECT_EQ(w.status(1), "1.00 0001");
    EXPECT_EQ(w.status(2), kFile);
    EXPECT_EQ(w.status(3), "Auto");
  });
  Run();
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "FileName", "Name"), kFile);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(VersionWindowTest, FileNameComesFromTheSettingsWhole) {
  const std::string long_name(150, 'n');
  Setting(".\\ZQMV5.ini", "FileName", "Name", long_name);
  User([&](FakeVersionView& w) { EXPECT_EQ(w.text(Field::kFileName), long_name); });
  Run();
  EXPECT_TRUE(HasFile(long_name));
  EXPECT_EQ(fake_.files.contents.size(), 1u) << "no file of a cut name";

  steps_.clear();
  Setting(".\\ZQMV5.ini", "FileName", "Name", "   ");
  Run();
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "FileName", "Name"), kFile) << "blanks count as empty";
}

TEST_F(VersionWindowTest, UpdatesOffDisablesEntryAndClosesOnTheThirdTick) {
  SetFile(ActiveLine("1.01", "0006") + "\r\n");
  Setting(".\\ZQMV5.ini", "Status", "On", "0");
  User([&](FakeVersionView& w) {
    ExpectEntryEnabled(w, false, "at open");
    EXPECT_EQ(w.text(Field::kNote), "Update is turned off");
    EXPECT_FALSE(w.checked(Check::kUpdates));
    EXPECT_EQ(w.timer(), 100);
    EXPECT_FALSE(w.Ok()) << "Ok is disabled";
    EXPECT_FALSE(w.Type(Field::kNote, "note"));
  });
  FakeVersionView& w = Run();
  int ticks = 0;
  for (ViewEvent e : w.events()) ticks += e == ViewEvent::kTimer;
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(w.events().back(), ViewEvent::kCloseRequest);
  // Nothing added, and the active line is active again.
  EXPECT_EQ(File(), ActiveLine("1.01", "0006") + "\r\n");
  EXPECT_EQ(Setting(".\\ZQMV.ini", "Status", "On"), "") << "no settings written";
}

TEST_F(VersionWindowTest, SettingOf256KeepsItsLowBitsAndCountsAsOff) {
  Setting(".\\ZQMV5.ini", "Status", "On", "256");
  Setting(".\\ZQMV5.ini", "Status", "Auto Increment", "257");
  User([&](FakeVersionView& w) {
    EXPECT_EQ(w.timer(), 100);
    EXPECT_FALSE(w.entry_enabled());
    EXPECT_EQ(w.status(3), "Auto") << "257 keeps 1";
  });
  Run();
  steps_.clear();

  for (const char* off : {"0", "abc", "512", "0.9"}) {
    Setting(".\\ZQMV5.ini", "Status", "On", off);
    EXPECT_EQ(Run().timer_settings().back(), 100) << off;
  }
  for (const char* on : {"1", "-1", " 3 ", "1.5"}) {
    Setting(".\\ZQMV5.ini", "Status", "On", on);
    EXPECT_EQ(Run().timer_settings(), std::vector<int>{0}) << on;
  }
}

TEST_F(VersionWindowTest, EnablingWithinTheTicksStopsTheTimerAndTicksStillCount) {
  SetFile(ActiveLine("1.01", "0006") + "\r\n");
  Setting(".\\ZQMV5.ini", "Status", "On", "0");
  User([](FakeVersionView& w) { w.Tick(); });
  User([](FakeVersionView& w) { w.Tick(); });
  User([](FakeVersionView& w) { EXPECT_TRUE(w.ToggleUpdates()); });
  User([&](FakeVersionView& w) {
    ExpectEntryEnabled(w, true, "after checking Enable Updates");
    EXPECT_EQ(w.timer(), 0);
    EXPECT_EQ(w.text(Field::kNote), "") << "the note is cleared";
    EXPECT_FALSE(w.Tick()) << "the timer has stopped";
    EXPECT_TRUE(w.ToggleUpdates());
  });
  User([&](FakeVersionView& w) {
    ExpectEntryEnabled(w, false, "after clearing it again");
    EXPECT_EQ(w.timer(), 100);
    EXPECT_EQ(w.text(Field::kNote), "Update is turned off");
    EXPECT_TRUE(w.Tick());
  });
  User([](FakeVersionView& w) { ADD_FAILURE() << "the third counted tick should have closed it"; });
  FakeVersionView& w = Run();
  EXPECT_EQ(File(), ActiveLine("1.01", "0006") + "\r\n");
  EXPECT_EQ(w.timer_settings(), (std::vector<int>{100, 0, 100}));
}

TEST_F(VersionWindowTest, EnablingAndSavingWithUpdatesOffAtOpen) {
  Setting(".\\ZQMV5.ini", "Status", "On", "0");
  User([](FakeVersionView& w) { w.ToggleUpdates(); });
  User([](FakeVersionView& w) { EXPECT_TRUE(w.Type(Field::kNote, "Enabled by hand")); });
  User([](FakeVersionView& w) { EXPECT_TRUE(w.Ok()); });
  Run();
  EXPECT_EQ(File(), ActiveLine("1.00", "0001", "Enabled by hand") + "\r\n");
  EXPECT_EQ(Setting(".\\ZQMV.ini", "Status", "On"), "1");
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "Status", "On"), "0") << "the next run still starts off";
}

TEST_F(VersionWindowTest, ClearingEnableUpdatesWhenOnAtOpenChangesNothingOnScreen) {
  User([&](FakeVersionView& w) {
    EXPECT_TRUE(w.ToggleUpdates());
    w.Then([](FakeVersionView& w) {
      ExpectEntryEnabled(w, true, "after clearing Enable Updates");
      EXPECT_EQ(w.timer(), 0);
      EXPECT_EQ(w.text(Field::kNote), "");
      EXPECT_FALSE(w.Tick());
      w.Ok();
    });
  });
  Run();
  EXPECT_EQ(Setting(".\\ZQMV.ini", "Status", "On"), "0");
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "Status", "On"), "");
  EXPECT_EQ(File(), ActiveLine("1.00", "0001") + "\r\n") << "Ok still saves";
}

TEST_F(VersionWindowTest, StatusBarZones) {
  Setting(".\\ZQMV5.ini", "Status", "Auto Increment", "0");
  SetFile(ActiveLine("1.01", "0006") + "\r\n");
  User([&](FakeVersionView& w) {
    EXPECT_EQ(w.status(1), "1.01 0006");
    EXPECT_EQ(w.status(3), "Manual");
    EXPECT_TRUE(w.ToggleAutoIncrement());
    EXPECT_TRUE(w.Type(Field::kFileName, "Other.zqi"));
  });
  User([&](FakeVersionView& w) {
    EXPECT_EQ(w.status(3), "Manual") << "as at open";
    EXPECT_EQ(w.status(2), kFile) << "typing a name alone does not refresh it";
    EXPECT_TRUE(w.Spin(Field::kVersion, 1));
  });
  User([&](FakeVersionView& w) {
    EXPECT_EQ(w.status(1), "1.02 0006");
    EXPECT_EQ(w.status(2), "Other.zqi");
    EXPECT_EQ(w.status(3), "Manual");
    EXPECT_TRUE(w.Type(Field::kBuild, "42"));
  });
  User([&](FakeVersionView& w) {
    EXPECT_EQ(w.status(1), "1.02 0042");
    EXPECT_TRUE(w.Spin(Field::kBuild, -1));
  });
  User([&](FakeVersionView& w) { EXPECT_EQ(w.status(1), "1.02 0041"); });
  Run();
}

// Text that is no value, a blank field too, gives the field its previous
// value back at once: what the status bar shows is what Ok saves.
TEST_F(VersionWindowTest, RejectedTextGivesThePreviousValueBack) {
  SetFile(ActiveLine("1.20", "0042") + "\r\n");
  User([&](FakeVersionView& w) {
    for (const char* text : {"10.00", "1,21", "-1", "abc", "1.234", ""}) {
      w.Then([text](FakeVersionView& w) { EXPECT_TRUE(w.Type(Field::kVersion, text)); });
      w.Then([text](FakeVersionView& w) { EXPECT_EQ(w.text(Field::kVersion), " 1.20") << text; });
    }
    for (const char* text : {"1e3", "-1", "12.5", " "}) {
      w.Then([text](FakeVersionView& w) { EXPECT_TRUE(w.Type(Field::kBuild, text)); });
      w.Then([text](FakeVersionView& w) { EXPECT_EQ(w.text(Field::kBuild), "0043") << text; });
    }
    w.Then([](FakeVersionView& w) {
      EXPECT_EQ(w.status(1), "1.20 0043");
      w.Ok();
    });
  });
  Run();
  EXPECT_EQ(File(), Lines({CommentedOut(ActiveLine("1.20", "0042")), ActiveLine("1.20", "0043")}));
}

// What a tool set into the number fields, without the focus, is taken when
// a button acts: a value is what Ok saves, and text that is no value gives the
// field its value back and stops the button.
TEST_F(VersionWindowTest, ButtonsTakeWhatAToolSetIntoTheNumberFields) {
  SetFile(ActiveLine("1.20", "0042") + "\r\n");
  User([](FakeVersionView& w) {
    w.SetByTool(Field::kBuild, "10000");
    EXPECT_TRUE(w.ShowInfo());
  });
  User([](FakeVersionView& w) {
    EXPECT_EQ(w.page(), Page::kMain) << "the page button was stopped";
    EXPECT_EQ(w.text(Field::kBuild), "0043");
    EXPECT_EQ(w.selected(), Field::kBuild);
    w.SetByTool(Field::kVersion, "abc");
    w.Ok();
  });
  User([](FakeVersionView& w) {
    EXPECT_FALSE(w.closed()) << "Ok was stopped";
    EXPECT_EQ(w.text(Field::kVersion), " 1.20");
    EXPECT_EQ(w.selected(), Field::kVersion);
    w.SetByTool(Field::kVersion, "3.25");
    w.SetByTool(Field::kBuild, "77");
    w.Ok();
  });
  Run();
  EXPECT_EQ(File(), Lines({CommentedOut(ActiveLine("1.20", "0042")), ActiveLine("3.25", "0077")}));
}

TEST_F(VersionWindowTest, CloseRequestBeforeOkOrCancelActsAsCancel) {
  const std::string bytes =
      "!" + ActiveLine("1.00", "0004") + "\r\n" + ActiveLine("1.01", "0005") + "\r\n";
  SetFile(bytes);
  User([](FakeVersionView& w) { w.CloseFrame(); });
  FakeVersionView& w = Run();
  ASSERT_GE(w.events().size(), 3u);
  EXPECT_EQ(w.events()[0], ViewEvent::kCloseRequest);
  EXPECT_EQ(w.events()[1], ViewEvent::kCancel);
  EXPECT_EQ(w.events()[2], ViewEvent::kCloseRequest);
  EXPECT_EQ(File(), bytes);
  EXPECT_EQ(Setting(".\\ZQMV.ini", "Status", "On"), "") << "Cancel stores no settings";
}

TEST_F(VersionWindowTest, CloseRequestWhileDisabledAlsoRestores) {
  SetFile(ActiveLine("1.01", "0005") + "\r\n");
  Setting(".\\ZQMV5.ini", "Status", "On", "0");
  User([](FakeVersionView& w) { w.CloseFrame(); });
  FakeVersionView& w = Run();
  EXPECT_EQ(w.events().size(), 3u) << "closed at once, not by the timer";
  EXPECT_EQ(File(), ActiveLine("1.01", "0005") + "\r\n");
}

TEST_F(VersionWindowTest, WindowThatCannotOpenLeavesTheFileAlone) {
  SetFile(ActiveLine("1.01", "0005") + "\r\n");
  views_.fail_open = true;
  VersionWindow(fake_, views_.opener()).Run();
  EXPECT_TRUE(views_.opened.empty());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "The Log/Version window cannot be opened: The window cannot be opened");
  EXPECT_EQ(File(), ActiveLine("1.01", "0005") + "\r\n");
}

// Settings that exist but cannot be read are never taken for absent ones: a
// box says so, and the window closes with every file as it was.
TEST_F(VersionWindowTest, SettingsThatCannotBeReadAreToldAndNothingChanges) {
  SetFile(ActiveLine("1.01", "0005") + "\r\n");
  fake_.profile.fail_reads = {".\\ZQMV5.ini"};
  VersionWindow(fake_, views_.opener()).Run();
  EXPECT_TRUE(views_.opened.empty());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].rfind("The settings cannot be read from .\\ZQMV5.ini: File Is Locked", 0),
            0u)
      << Messages()[0];
  EXPECT_TRUE(fake_.profile.writes().empty());
  EXPECT_EQ(File(), ActiveLine("1.01", "0005") + "\r\n");
}

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
    EXPECT_EQ(File(), Lines({CommentedOut(ActiveLine("1.01", c.build_in_file)),
                             ActiveLine("1.01", c.offered)}))
        << c.build_in_file << " auto " << c.automatic;
  }
}

TEST_F(VersionWindowTest, OkCommentsOutTheLastLineAndAddsTheNewOne) {
  const std::string a = CommentedOut(ActiveLine("1.00", "0001", "one"));
  const std::string b = CommentedOut(ActiveLine("1.00", "0002", "two"));
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
  EXPECT_EQ(File(), Lines({a, b, CommentedOut(c), ActiveLine("1.01", "0004", "four")}));
  EXPECT_EQ(Setting(".\\ZQMV.ini", "Status", "On"), "1");
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "Status", "Auto Increment"), "1");
}

TEST_F(VersionWindowTest, CancelLeavesAFileWithOneActiveLastLineAsItWas) {
  const std::string bytes =
      Lines({CommentedOut(ActiveLine("1.00", "0001")), CommentedOut(ActiveLine("1.00", "0002")),
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
      {{CommentedOut(own), "Version EQUATE('2.0.1 build 7')"}, " 1.01", "0007"},
      {{"Version EQUATE('beta')", own, "", "  CODE", "Version EQUATE('1.20  0042') ! hand"},
       " 1.20",
       "0043"},
      {{CommentedOut(own), CommentedOut(ActiveLine("1.00", "0002"))}, " 1.00", "0003"},
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
      {{own, comment}, " 1.20", "0043", {CommentedOut(own), comment}, {}},
      {{comment, "! another"}, " 1.00", "0001", {comment, "! another"}, {}},
      {{hand}, " 1.20", "0043", {"!" + hand}, {}},
      {{tabs, ""}, " 1.20", "0043", {"!" + tabs, ""}, {}},
      {{"!" + hand, comment}, " 1.20", "0043", {"!" + hand, comment}, {}},
      {{"Version EQUATE('beta')", own, "  CODE"},
       " 1.20",
       "0043",
       {"!Version EQUATE('beta')", CommentedOut(own), "  CODE"},
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
  EXPECT_EQ(File("Other.zqi"), Lines({"! other", CommentedOut(other), "!Version EQUATE('2.0')",
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
  EXPECT_EQ(File(), Lines({CommentedOut(ActiveLine("1.01", "0006")), ActiveLine("1.01", "0007")}));
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
            Lines({CommentedOut(ActiveLine("1.01", "0006")), ActiveLine("1.01", "0007")}));
  EXPECT_EQ(fake_.files.contents.size(), 1u) << "no file whose name starts with a blank";
}

TEST_F(VersionWindowTest, BlankFileNameAtOkUsesTheFileOpenedAtStart) {
  SetFile(Lines({ActiveLine("1.01", "0006")}));
  Setting(".\\ZQMV5.ini", "FileName", "Name", kFile);
  User([](FakeVersionView& w) { w.Type(Field::kFileName, "   "); });
  User(PressOk);
  Run();
  EXPECT_EQ(File(), Lines({CommentedOut(ActiveLine("1.01", "0006")), ActiveLine("1.01", "0007")}));
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "FileName", "Name"), kFile);
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
  EXPECT_EQ(File(), Lines({CommentedOut(ActiveLine("9.99", "9999")), ActiveLine("9.99", "9999")}));
}

TEST_F(VersionWindowTest, VersionOfTenOrMoreTakesAllFiveColumns) {
  // Typed by hand into the file: "12.50" fills VER:VER; Ok keeps the value.
  const std::string line = "Version             EQUATE('12.50 0006')  ! 12/07/26 1200 --";
  SetFile(Lines({line}));
  User([](FakeVersionView& w) { EXPECT_EQ(w.text(Field::kVersion), "12.50"); });
  User(PressOk);
  Run();
  EXPECT_EQ(File(), Lines({CommentedOut(line),
                           "Version             EQUATE('12.50 0007')  ! 12/07/26 1200 --"}));
}

TEST_F(VersionWindowTest, LineEndsAndLongLinesSurvive) {
  const std::string longer = ActiveLine("1.01", "0006", std::string(200, 'x'));
  SetFile(Lines({longer}, "\n"));
  User(PressOk);
  Run();
  EXPECT_EQ(File(), Lines({CommentedOut(longer), ActiveLine("1.01", "0007")}, "\n"));

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
