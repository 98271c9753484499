// The window's behaviour with a fake window: states, settings, status bar,
// timer and the close rule.

#include "version/version_window.h"

#include "version/version_test_support.h"

namespace zqmv5 {
namespace {

void ExpectEntryEnabled(const FakeVersionView& w, bool enabled, const char* when) {
  EXPECT_EQ(w.entry_enabled(), enabled) << when;
}

TEST_F(VersionWindowTest, SettingsAbsentMeansUpdatesAndAutoIncrementOn) {
  User([&](FakeVersionView& w) {
    ExpectEntryEnabled(w, true, "at open");
    EXPECT_EQ(w.timer(), 0);
    EXPECT_TRUE(w.checked(Check::kUpdates));
    EXPECT_TRUE(w.checked(Check::kAutoIncrement));
    EXPECT_EQ(w.text(Field::kFileName), "Version.zqi");
    EXPECT_EQ(w.text(Field::kNote), "");
    EXPECT_EQ(w.text(Field::kVersion), " 1.00");
    EXPECT_EQ(w.text(Field::kBuild), "0001");
    EXPECT_EQ(w.text(Field::kDirectory), "C:\\WORK") << "the short form of the current directory";
    EXPECT_EQ(w.status(1), "1.00 0001");
    EXPECT_EQ(w.status(2), "Version.zqi");
    EXPECT_EQ(w.status(3), "Auto");
  });
  Run();
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "FileName", "Name"), "Version.zqi");
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
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "FileName", "Name"), "Version.zqi") << "blanks count as empty";
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
    EXPECT_EQ(w.status(2), "Version.zqi") << "typing a name alone does not refresh it";
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
  EXPECT_EQ(File(),
            Commented(ActiveLine("1.20", "0042")) + "\r\n" + ActiveLine("1.20", "0043") + "\r\n");
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
  EXPECT_EQ(File(),
            Commented(ActiveLine("1.20", "0042")) + "\r\n" + ActiveLine("3.25", "0077") + "\r\n");
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

}  // namespace
}  // namespace zqmv5
