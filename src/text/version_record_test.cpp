#include "text/version_record.h"

#include <gtest/gtest.h>

namespace zqmv5 {
namespace {

TEST(VersionRecordTest, NewLineFieldsLieAtTheirColumnsAndReadBack) {
  const std::string line = NewVersionLine(
      VersionField(101, ""), 6, AddedText({{2026, 12, 7}, 12 * 360000 + 34 * 6000}), "First build");
  EXPECT_EQ(line, "Version             EQUATE('1.01  0006')  ! 12/07/26 1234 -- First build");
  EXPECT_EQ(line[42], '!') << "the comment's ! stands in column 43";
  EXPECT_EQ(VersionOf(line), 101);
  EXPECT_EQ(BuildOf(line), 6);
  EXPECT_EQ(VersionFieldOf(line), "1.01 ");
  // Without a note the line ends with the added field's "--".
  EXPECT_EQ(NewVersionLine("1.00 ", 1, AddedText({{2026, 1, 5}, 0}), "").size(), 60u);
}

TEST(VersionRecordTest, VersionFieldTakesFourColumnsOrAllFive) {
  EXPECT_EQ(VersionField(0, ""), "0.00 ");
  EXPECT_EQ(VersionField(999, ""), "9.99 ");
  EXPECT_EQ(VersionField(1250, ""), "12.50");
  EXPECT_EQ(VersionField(-100, ""), "-1.00");
  EXPECT_EQ(VersionField(123456, "999.9"), "999.9") << "the file's own text when nothing fits";
}

TEST(VersionRecordTest, NumbersInTheColumnsAndInTypedText) {
  const struct {
    const char* field;
    int version;
  } fields[] = {{"1.01 ", 101}, {" 2.5 ", 250}, {"1.005", 101}, {"-1.5 ", -150},
                {"abc  ", 0},   {"     ", 0},   {"12.50", 1250}};
  for (const auto& f : fields) {
    EXPECT_EQ(VersionOf(std::string(28, ' ') + f.field), f.version) << f.field;
  }
  EXPECT_EQ(BuildOf(std::string(34, ' ') + "12.7"), 12);
  EXPECT_EQ(BuildOf("short"), 0);

  EXPECT_EQ(TypedVersion(" 2.5 "), 250);
  EXPECT_EQ(TypedVersion("+9.99"), 999);
  for (const char* rejected : {"10", "1.015", "-0.01", "abc", "1.2.3", "", "."}) {
    EXPECT_EQ(TypedVersion(rejected), std::nullopt) << rejected;
  }
  EXPECT_EQ(TypedBuild("0042"), 42);
  for (const char* rejected : {"10000", "1.5", "-1", "4x"}) {
    EXPECT_EQ(TypedBuild(rejected), std::nullopt) << rejected;
  }
  EXPECT_EQ(Fitted(VersionText(5), 4, '0'), "0.05");
  EXPECT_EQ(Fitted(VersionText(1250), 4, '0'), "####");
  EXPECT_EQ(BuildText(-1), "-001");
}

TEST(VersionRecordTest, AddedTextKeepsItsTwentyColumns) {
  struct Case {
    Date date;
    int32_t time;
    const char* added;
  };
  const Case cases[] = {
      {{2026, 1, 5}, 9 * 360000 + 5 * 6000 + 5999, " ! 01/05/26 0905 -- "},
      {{1999, 12, 31}, 23 * 360000 + 59 * 6000, " ! 12/31/99 2359 -- "},
      {{12345, 123, 456}, 8639999, " ! 23/56/45 2359 -- "},
  };
  for (const Case& c : cases) EXPECT_EQ(AddedText({c.date, c.time}), c.added);
}

// Commenting out a line in the program's own layout changes its label alone:
// every other column, and what it holds beyond its 241 columns, stays. A line
// that defines Version in other spacing gets a "!" in front; other lines stay.
TEST(VersionRecordTest, CommentingOutLosesNoCharacter) {
  const std::string own = "Version             EQUATE('1.01  0006')  ! 12/07/26 1200 -- note";
  const struct {
    std::string line, commented;
  } cases[] = {
      {own, "!Version            EQUATE('1.01  0006')  ! 12/07/26 1200 -- note"},
      {"", ""},
      {"   ", "   "},
      {"MyOwnLongLabelText12345 rest", "MyOwnLongLabelText12345 rest"},
      {"!anything at all   \t", "!anything at all   \t"},
      {"Version EQUATE('1.20  0042') ! hand", "!Version EQUATE('1.20  0042') ! hand"},
      {"VERSION\tEQUATE('1.20\t0042')", "!VERSION\tEQUATE('1.20\t0042')"},
      {"Versions EQUATE('1')", "Versions EQUATE('1')"},
      {own + std::string(234, '.') + "TAIL BEYOND 241",
       "!Version            " + own.substr(20) + std::string(234, '.') + "TAIL BEYOND 241"},
  };
  for (const auto& c : cases) EXPECT_EQ(CommentedOut(c.line), c.commented) << c.line;
  EXPECT_EQ(WithLabel("!Version            x", "Version"), "Version             x");
  EXPECT_EQ(WithLabel("!Version", "Version"), "Version ") << "keeps its length";
}

}  // namespace
}  // namespace zqmv5
