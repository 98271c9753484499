#include "dde/connection_log.h"

#include <gtest/gtest.h>

#include "runtime/fixed_text.h"
#include "testing/fake_platform.h"

namespace zqmv5 {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

TEST(ConnectionLogTest, FirstWriteNamesTheDefaultFileAndKeepsIt) {
  FakeProfile profile;
  ConnectionLog log(profile);
  EXPECT_TRUE(IsBlank(log.FILE));
  log.Write("Connect", "App", "ClarionWin");
  EXPECT_EQ(log.FILE, FitString(".\\ZQDE.LOG", kLogFileFieldSize));
  log.Write("Connect", "Run Error", 0);
  for (const FakeProfile::Access& write : profile.writes()) {
    EXPECT_EQ(write.file, ".\\ZQDE.LOG") << write.entry;
  }
  EXPECT_EQ(profile.Section(".\\ZQDE.LOG", "Connect"),
            (Entries{{"App", "ClarionWin"}, {"Run Error", "0"}}));
}

TEST(ConnectionLogTest, ANamedFileIsUsedWithoutItsTrailingBlanks) {
  FakeProfile profile;
  ConnectionLog log(profile);
  log.FILE = FitString("C:\\LOGS\\DDE.INI", kLogFileFieldSize);
  log.Write("Connect", "App", "ClarionWin");
  ASSERT_EQ(profile.writes().size(), 1u);
  EXPECT_EQ(profile.writes()[0].file, "C:\\LOGS\\DDE.INI");
}

TEST(ConnectionLogTest, TextsGoUnchangedAndNumbersInDecimal) {
  struct Case {
    std::string entry, expected;
    bool number;
    int64_t value;
  };
  const Case cases[] = {
      {"Text", "  Clarion Win  ", false, 0},
      {"Empty", "", false, 0},
      {"Zero", "0", true, 0},
      {"Byte", "255", true, 255},
      {"Negative", "-42", true, -42},
      {"Channel", "2147483647", true, 2147483647},
  };
  FakeProfile profile;
  ConnectionLog log(profile);
  for (const Case& c : cases) {
    if (c.number) {
      log.Write("Connect", c.entry, c.value);
    } else {
      log.Write("Connect", c.entry, c.expected);
    }
    EXPECT_EQ(profile.Get(".\\ZQDE.LOG", "Connect", c.entry), c.expected) << c.entry;
  }
}

TEST(ConnectionLogTest, ALaterWriteReplacesTheEntryAndKeepsTheOthers) {
  FakeProfile profile;
  profile.Set(".\\ZQDE.LOG", "Connect", "Before Run", "ClarionWin");
  ConnectionLog log(profile);
  log.Write("Connect", "Run Error", 2);
  log.Write("Connect", "Run Error", 0);
  EXPECT_EQ(profile.Section(".\\ZQDE.LOG", "Connect"),
            (Entries{{"Before Run", "ClarionWin"}, {"Run Error", "0"}}));
}

}  // namespace
}  // namespace zqmv5
