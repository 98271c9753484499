#include "runtime/record.h"

#include <gtest/gtest.h>

namespace zqmv5 {
namespace {

TEST(RecordTest, RecordsAreLinesCutOrPaddedToTheWidth) {
  EXPECT_EQ(RecordFromLine("abc", 5), "abc  ");
  EXPECT_EQ(RecordFromLine("abcdefg", 5), "abcde");
  EXPECT_EQ(RecordFromLine("", 3), "   ");
}

TEST(RecordTest, PutKeepsWhatTheOldLineHeldBeyondTheWidth) {
  struct Case {
    const char* record;
    const char* old_line;
    const char* put;
  };
  const Case cases[] = {
      {"!Ver ", "Versi", "!Ver "},          // a line of exactly the width keeps its length
      {"!Ver ", "", "!Ver"},                // a blank line grows only by the text
      {"ab   ", "xy   ", "ab   "},          // trailing blanks the line had stay
      {"!Ver ", "Versionandmore", "!Ver onandmore"},  // the tail beyond the width stays
      {"     ", "   ", "   "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LineForPut(c.record, c.old_line, 5), c.put) << c.record << "|" << c.old_line;
    // What is put reads back as the same record.
    EXPECT_EQ(RecordFromLine(LineForPut(c.record, c.old_line, 5), 5), c.record);
  }
}

TEST(RecordTest, AddDropsTrailingBlanks) {
  EXPECT_EQ(LineForAdd("Version   x    "), "Version   x");
  EXPECT_EQ(LineForAdd("     "), "");
}

}  // namespace
}  // namespace zqmv5
