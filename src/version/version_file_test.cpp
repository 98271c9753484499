#include "version/version_file.h"

#include <gtest/gtest.h>

#include "runtime/error_state.h"
#include "testing/fake_text_files.h"

namespace zqmv5 {
namespace {

TEST(VersionRecordTest, FieldsLieAtTheirColumns) {
  EXPECT_EQ(kVersionRecordSize, 241u);
  VersionRecord VER;
  EXPECT_EQ(VER.Text(), std::string(241, ' '));

  VER.LABEL = "Version";
  VER.LP = "EQUATE('";
  VER.VER = "1.01";
  VER.BUILD = "0006";
  VER.RP = "')";
  VER.ADDED = AddedText({2026, 12, 7}, 12 * 360000 + 34 * 6000);
  VER.NOTE = "First build";
  const std::string text = VER.Text();
  ASSERT_EQ(text.size(), 241u);
  EXPECT_EQ(text.substr(0, 20), "Version             ");
  EXPECT_EQ(text.substr(20, 8), "EQUATE('");
  EXPECT_EQ(text.substr(28, 5), "1.01 ");
  EXPECT_EQ(text.substr(33, 1), " ");
  EXPECT_EQ(text.substr(34, 4), "0006");
  EXPECT_EQ(text.substr(38, 3), "') ");
  EXPECT_EQ(text.substr(41, 20), " ! 12/07/26 1234 -- ");
  EXPECT_EQ(text[42], '!') << "the comment's ! stands in column 43";
  EXPECT_EQ(text.substr(61), "First build" + std::string(169, ' '));
  EXPECT_EQ(VER.COMMENT(), text.substr(41));

  // Read as source, the equate is a ten-character string: version, two
  // blanks, build.
  EXPECT_EQ(text.substr(28, 10), "1.01  0006");

  VersionRecord back;
  back.SetText(text);
  EXPECT_EQ(back.Text(), text);
  EXPECT_EQ(back.BUILD, "0006");
  EXPECT_EQ(back.NOTE.size(), 180u);
}

TEST(VersionRecordTest, ShortAndLongLinesAreFittedToTheRecord) {
  VersionRecord VER;
  VER.SetText("!Old");
  EXPECT_EQ(VER.LABEL, "!Old" + std::string(16, ' '));
  EXPECT_EQ(VER.VER, "     ");
  VER.SetText(std::string(300, 'x'));
  EXPECT_EQ(VER.Text(), std::string(241, 'x'));
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
      {{2000, 2, 29}, 0, " ! 02/29/00 0000 -- "},
      {{12345, 123, 456}, 8639999, " ! 23/56/45 2359 -- "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AddedText(c.date, c.time), c.added) << c.added;
    EXPECT_EQ(AddedText(c.date, c.time).size(), 20u);
  }
}

class CommentOutLineTest : public ::testing::Test {
 protected:
  // Comments out line `n` (1-based) of `bytes` and returns the file.
  std::string CommentOut(const std::string& bytes, int n) {
    files_.contents["v.zqi"] = bytes;
    std::unique_ptr<TextFile> file = files_.NewTextFile();
    EXPECT_TRUE(file->Open("v.zqi", FileAccess::kReadWriteDenyWrite));
    CommentOutLine(*file, n - 1);
    EXPECT_TRUE(file->Commit());
    file->Close();
    return files_.contents["v.zqi"];
  }

  ErrorState error_;
  FakeTextFiles files_{error_};
};

TEST_F(CommentOutLineTest, ActiveLineGetsTheCommentLabel) {
  const std::string active = "Version             EQUATE('1.01  0006')  ! 12/07/26 1200 -- note";
  EXPECT_EQ(CommentOut("first\r\n" + active + "\r\nlast\r\n", 2),
            "first\r\n!Version            EQUATE('1.01  0006')  ! 12/07/26 "
            "1200 -- note\r\n"
            "last\r\n");
}

TEST_F(CommentOutLineTest, BlankLineBecomesACommentAndNeighboursStay) {
  EXPECT_EQ(CommentOut("a\r\n\r\nb\r\n", 2), "a\r\n!Version\r\nb\r\n");
  EXPECT_EQ(CommentOut("a\n   \nb", 2), "a\n!Version\nb");
}

TEST_F(CommentOutLineTest, HandWrittenLabelIsLost) {
  EXPECT_EQ(CommentOut("MyOwnLongLabelText12345 rest\r\n", 1), "!Version            345 rest\r\n");
}

TEST_F(CommentOutLineTest, LineStartingWithBangIsNeverRewritten) {
  const std::string bytes = "!anything at all   \t\r\n";
  EXPECT_EQ(CommentOut(bytes, 1), bytes);
}

TEST_F(CommentOutLineTest, TailBeyondTheRecordIsKept) {
  const std::string line = "Version" + std::string(234, '.') + "TAIL BEYOND 241";
  EXPECT_EQ(
      CommentOut(line + "\r\nnext\r\n", 1),
      "!Version" + std::string(12, ' ') + std::string(221, '.') + "TAIL BEYOND 241\r\nnext\r\n");
}

}  // namespace
}  // namespace zqmv5
