// The window's behaviour with a fake window: states, settings, status bar,
// timer and the close rule.

#include "version/version_window.h"

#include "version/version_test_support.h"

namespace zqmv5 {
namespace {

constexpr int kEntryControls[] = {6, 7, 8, 9, 10, 11, 12, 13, 16, 17, 18, 19, 20};

void ExpectEntryEnabled(const FakeWindow& w, bool enabled, const char* when) {
  for (int field : kEntryControls) EXPECT_EQ(w.IsEnabled(field), enabled) << field << " " << when;
  EXPECT_TRUE(w.IsEnabled(15)) << "Enable Updates stays usable " << when;
}

TEST_F(VersionWindowTest, SettingsAbsentMeansUpdatesAndAutoIncrementOn) {
  User([&](FakeWindow& w) {
    EXPECT_EQ(w.description().layout, "VERSIONWINDOW");
    ExpectEntryEnabled(w, true, "at open");
    EXPECT_EQ(w.timer(), 0);
    EXPECT_EQ(w.Shown(15), "1");
    EXPECT_EQ(w.Shown(16), "1");
    EXPECT_EQ(w.Shown(18), "Version.zqi");
    EXPECT_EQ(w.Shown(9), "");
    EXPECT_EQ(w.Shown(11), " 1.00");
    EXPECT_EQ(w.Shown(13), "0001");
    EXPECT_EQ(w.Text(5), "C:\\WORK") << "the short form of the current directory";
    EXPECT_EQ(w.Text(22), "Version: 1.01  0006");
    EXPECT_EQ(w.Status(1), "1.00 0001");
    EXPECT_EQ(w.Status(2), "Version.zqi");
    EXPECT_EQ(w.Status(3), "Auto");
    EXPECT_EQ(w.selected_tab(), 4);
  });
  Run();
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "FileName", "Name"), "Version.zqi");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(VersionWindowTest, FileNameComesFromTheSettingsCutTo119Characters) {
  const std::string long_name(150, 'n');
  Setting(".\\ZQMV5.ini", "FileName", "Name", long_name);
  Run();
  EXPECT_TRUE(HasFile(long_name.substr(0, 119)));
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "FileName", "Name"), long_name) << "not written back";

  Setting(".\\ZQMV5.ini", "FileName", "Name", "   ");
  Run();
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "FileName", "Name"), "Version.zqi") << "blanks count as empty";
}

TEST_F(VersionWindowTest, UpdatesOffDisablesEntryAndClosesOnTheThirdTick) {
  SetFile(ActiveLine("1.01", "0006") + "\r\n");
  Setting(".\\ZQMV5.ini", "Status", "On", "0");
  User([&](FakeWindow& w) {
    ExpectEntryEnabled(w, false, "at open");
    EXPECT_EQ(w.Shown(9), "Update is turned off");
    EXPECT_EQ(w.Shown(15), "0");
    EXPECT_EQ(w.timer(), 100);
    EXPECT_FALSE(w.Click(19)) << "Ok is disabled";
    EXPECT_FALSE(w.Click(7)) << "the information page cannot be reached";
    EXPECT_FALSE(w.Type(9, "note"));
  });
  FakeWindow& w = Run();
  int ticks = 0;
  for (const WindowEvent& e : w.events()) ticks += e.kind == WindowEventKind::kTimer;
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(w.events().back().kind, WindowEventKind::kCloseRequest);
  // Nothing added, and the active line is active again.
  EXPECT_EQ(File(), ActiveLine("1.01", "0006") + "\r\n");
  EXPECT_EQ(Setting(".\\ZQMV.ini", "Status", "On"), "") << "no settings written";
}

TEST_F(VersionWindowTest, SettingOf256KeepsItsLowBitsAndCountsAsOff) {
  Setting(".\\ZQMV5.ini", "Status", "On", "256");
  Setting(".\\ZQMV5.ini", "Status", "Auto Increment", "257");
  User([&](FakeWindow& w) {
    EXPECT_EQ(w.timer(), 100);
    EXPECT_FALSE(w.IsEnabled(19));
    EXPECT_EQ(w.Status(3), "Auto") << "257 keeps 1";
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
  User([](FakeWindow& w) { w.Tick(); });
  User([](FakeWindow& w) { w.Tick(); });
  User([](FakeWindow& w) { EXPECT_TRUE(w.Click(15)); });
  User([&](FakeWindow& w) {
    ExpectEntryEnabled(w, true, "after checking Enable Updates");
    EXPECT_EQ(w.timer(), 0);
    EXPECT_EQ(w.Shown(9), "") << "the note is cleared";
    EXPECT_FALSE(w.Tick()) << "the timer has stopped";
    EXPECT_TRUE(w.Click(15));
  });
  User([&](FakeWindow& w) {
    ExpectEntryEnabled(w, false, "after clearing it again");
    EXPECT_EQ(w.timer(), 100);
    EXPECT_EQ(w.Shown(9), "Update is turned off");
    EXPECT_TRUE(w.Tick());
  });
  User([](FakeWindow& w) { ADD_FAILURE() << "the third counted tick should have closed it"; });
  FakeWindow& w = Run();
  EXPECT_EQ(File(), ActiveLine("1.01", "0006") + "\r\n");
  EXPECT_EQ(w.timer_settings(), (std::vector<int>{100, 0, 100}));
}

TEST_F(VersionWindowTest, EnablingAndSavingWithUpdatesOffAtOpen) {
  Setting(".\\ZQMV5.ini", "Status", "On", "0");
  User([](FakeWindow& w) { w.Click(15); });
  User([](FakeWindow& w) { EXPECT_TRUE(w.Type(9, "Enabled by hand")); });
  User([](FakeWindow& w) { EXPECT_TRUE(w.Click(19)); });
  Run();
  EXPECT_EQ(File(), ActiveLine("1.00", "0001", "Enabled by hand") + "\r\n");
  EXPECT_EQ(Setting(".\\ZQMV.ini", "Status", "On"), "1");
  EXPECT_EQ(Setting(".\\ZQMV5.ini", "Status", "On"), "0") << "the next run still starts off";
}

TEST_F(VersionWindowTest, ClearingEnableUpdatesWhenOnAtOpenChangesNothingOnScreen) {
  User([&](FakeWindow& w) {
    const int displays = w.display_count();
    EXPECT_TRUE(w.Click(15));
    w.Then([displays](FakeWindow& w) {
      ExpectEntryEnabled(w, true, "after clearing Enable Updates");
      EXPECT_EQ(w.timer(), 0);
      EXPECT_EQ(w.display_count(), displays);
      EXPECT_FALSE(w.Tick());
      w.Click(19);
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
  User([&](FakeWindow& w) {
    EXPECT_EQ(w.Status(1), "1.01 0006");
    EXPECT_EQ(w.Status(3), "Manual");
    EXPECT_TRUE(w.Click(16));
    EXPECT_TRUE(w.Type(18, "Other.zqi"));
  });
  User([&](FakeWindow& w) {
    EXPECT_EQ(w.Status(3), "Manual") << "as at open";
    EXPECT_EQ(w.Status(2), "Version.zqi") << "typing a name alone does not refresh it";
    EXPECT_TRUE(w.Spin(11, 1));
  });
  User([&](FakeWindow& w) {
    EXPECT_EQ(w.Status(1), "1.02 0006");
    EXPECT_EQ(w.Status(2), "Other.zqi");
    EXPECT_EQ(w.Status(3), "Manual");
    EXPECT_TRUE(w.Type(13, "42"));
  });
  User([&](FakeWindow& w) {
    EXPECT_EQ(w.Status(1), "1.02 0042");
    EXPECT_TRUE(w.Spin(13, -1));
  });
  User([&](FakeWindow& w) { EXPECT_EQ(w.Status(1), "1.02 0041"); });
  Run();
}

TEST_F(VersionWindowTest, RejectedTextBlanksTheField) {
  SetFile(ActiveLine("1.01", "0006") + "\r\n");
  User([&](FakeWindow& w) {
    const int displays = w.display_count();
    EXPECT_TRUE(w.Type(11, "10.5"));
    w.Then([displays](FakeWindow& w) {
      EXPECT_EQ(w.events().back().kind, WindowEventKind::kRejected);
      EXPECT_EQ(w.Shown(11), "");
      EXPECT_EQ(w.display_count(), displays + 1);
      EXPECT_TRUE(w.Type(13, "abcd"));
    });
    w.Then([](FakeWindow& w) {
      EXPECT_EQ(w.Shown(13), "");
      EXPECT_EQ(w.Status(1), "1.01 0007") << "a rejection alone does not refresh the status";
      w.Click(19);
    });
  });
  Run();
  EXPECT_EQ(File(),
            Commented(ActiveLine("1.01", "0006")) + "\r\n" + ActiveLine("0.00", "0000") + "\r\n");
}

TEST_F(VersionWindowTest, InformationPageAndBack) {
  User([](FakeWindow& w) {
    EXPECT_FALSE(w.Click(23)) << "not showing yet";
    EXPECT_TRUE(w.Click(7));
  });
  User([](FakeWindow& w) {
    EXPECT_EQ(w.selected_tab(), 21);
    EXPECT_FALSE(w.Click(19)) << "Ok lies on the main page";
    EXPECT_TRUE(w.Click(23));
  });
  User([](FakeWindow& w) {
    EXPECT_EQ(w.selected_tab(), 4);
    w.Click(20);
  });
  Run();
}

TEST_F(VersionWindowTest, CloseRequestBeforeOkOrCancelActsAsCancel) {
  const std::string bytes =
      "!" + ActiveLine("1.00", "0004") + "\r\n" + ActiveLine("1.01", "0005") + "\r\n";
  SetFile(bytes);
  User([](FakeWindow& w) { w.CloseFrame(); });
  FakeWindow& w = Run();
  ASSERT_GE(w.events().size(), 3u);
  EXPECT_EQ(w.events()[0].kind, WindowEventKind::kCloseRequest);
  EXPECT_EQ(w.events()[1].kind, WindowEventKind::kAccepted);
  EXPECT_EQ(w.events()[1].field, 20);
  EXPECT_EQ(w.events()[2].kind, WindowEventKind::kCloseRequest);
  EXPECT_EQ(File(), bytes);
  EXPECT_EQ(Setting(".\\ZQMV.ini", "Status", "On"), "") << "Cancel stores no settings";
}

TEST_F(VersionWindowTest, CloseRequestWhileDisabledAlsoRestores) {
  SetFile(ActiveLine("1.01", "0005") + "\r\n");
  Setting(".\\ZQMV5.ini", "Status", "On", "0");
  User([](FakeWindow& w) { w.CloseFrame(); });
  FakeWindow& w = Run();
  EXPECT_EQ(w.events().size(), 3u) << "closed at once, not by the timer";
  EXPECT_EQ(File(), ActiveLine("1.01", "0005") + "\r\n");
}

TEST_F(VersionWindowTest, WindowThatCannotOpenLeavesTheFileAlone) {
  SetFile(ActiveLine("1.01", "0005") + "\r\n");
  fake_.windows.fail_open = true;
  VersionWindow(fake_.runtime);
  EXPECT_TRUE(fake_.windows.opened.empty());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "The Log/Version window cannot be opened: The window cannot be opened");
  EXPECT_EQ(File(), ActiveLine("1.01", "0005") + "\r\n");
}

}  // namespace
}  // namespace zqmv5
