// A text file as lines, over the fake Env: where lines end, changes that keep
// every other byte, and what a failed read or write leaves.

#include "text/line_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/fake_env.h"

namespace zqmv5 {
namespace {

class LineFileTest : public ::testing::Test {
 protected:
  FakeEnv fake_;
  LineFile file_{fake_};
};

TEST_F(LineFileTest, MissingFileIsNotCreatedByOpen) {
  EXPECT_EQ(file_.Open("missing.txt", Share::kDenyNone).message(), FileNotFound().message());
  file_.Add("x");
  EXPECT_FALSE(file_.Commit().ok());
  EXPECT_FALSE(fake_.FileExists("missing.txt"));
}

TEST_F(LineFileTest, LinesEndAtCrLfLfOrALoneCr) {
  struct Case {
    const char* bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"\r\n\r\n", {"", ""}},
      {"one\n\ntwo", {"one", "", "two"}},
      {"cr\ralone\r", {"cr", "alone"}},
      {"\xEF\xBB\xBF"
       "bom\r\n",
       {"bom"}},
  };
  for (const Case& c : cases) {
    fake_.files.contents["read.txt"] = c.bytes;
    LineFile file(fake_);
    ASSERT_TRUE(file.Open("read.txt", Share::kDenyWrite).ok()) << c.bytes;
    EXPECT_EQ(file.lines(), c.lines) << c.bytes;
  }
}

// A changed line never touches its neighbours, whatever the lengths; new
// lines take the file's own line end, after a last line without one is ended.
TEST_F(LineFileTest, ChangesKeepEveryOtherByte) {
  struct Case {
    const char* before;
    int line;  // -1: a line is added
    const char* text;
    const char* after;
  };
  const Case cases[] = {
      {"aaa\r\nbbb\r\nccc\r\n", 1, "BBB", "aaa\r\nBBB\r\nccc\r\n"},
      {"aaa\r\n\r\nccc\r\n", 1, "!Version", "aaa\r\n!Version\r\nccc\r\n"},
      {"aaa\nbbbbbb\nccc\n", 1, "b", "aaa\nb\nccc\n"},
      {"\xEF\xBB\xBFx\ry\r", 0, "!x", "\xEF\xBB\xBF!x\ry\r"},
      {"", -1, "new", "new\r\n"},
      {"a\n", -1, "new", "a\nnew\n"},
      {"a\r\nb", -1, "new", "a\r\nb\r\nnew\r\n"},
      {"a\rb", -1, "new", "a\rb\rnew\r"},
  };
  for (const Case& c : cases) {
    fake_.files.contents["put.txt"] = c.before;
    LineFile file(fake_);
    ASSERT_TRUE(file.Open("put.txt", Share::kDenyWrite).ok());
    if (c.line < 0) {
      file.Add(c.text);
    } else {
      file.Put(c.line, c.text);
    }
    EXPECT_TRUE(file.Commit().ok()) << c.before;
    file.Close();
    EXPECT_EQ(fake_.files.contents["put.txt"], c.after) << c.before;
  }
}

// An open LineFile is not opened again over itself; closing twice does nothing.
TEST_F(LineFileTest, OpenFileStaysUntilClosed) {
  fake_.files.contents["share.txt"] = "v\r\n";
  ASSERT_TRUE(file_.Open("share.txt", Share::kDenyWrite).ok());
  EXPECT_EQ(file_.Open("share.txt", Share::kDenyWrite).message(), FileAlreadyOpen().message());
  file_.Close();
  file_.Close();
  EXPECT_TRUE(file_.Open("share.txt", Share::kDenyWrite).ok());
  EXPECT_EQ(file_.lines(), std::vector<std::string>{"v"});
}

TEST_F(LineFileTest, Utf16FileIsLeftAlone) {
  const std::string bytes("\xFF\xFEv\0\r\0\n\0", 8);
  fake_.files.contents["utf16.txt"] = bytes;
  EXPECT_EQ(file_.Open("utf16.txt", Share::kDenyNone).message(), Utf16File().message());
  EXPECT_EQ(fake_.files.contents["utf16.txt"], bytes);
}

TEST_F(LineFileTest, AHundredThousandLinesRoundTrip) {
  std::string bytes, expected;
  for (int i = 0; i < 100000; ++i) {
    bytes += "Version             line " + std::to_string(i) + "\r\n";
    expected += "!Version            line " + std::to_string(i) + "\r\n";
  }
  fake_.files.contents["big.txt"] = bytes;
  ASSERT_TRUE(file_.Open("big.txt", Share::kDenyWrite).ok());
  ASSERT_EQ(file_.lines().size(), 100000u);
  for (size_t i = 0; i < file_.lines().size(); ++i) {
    file_.Put(i, "!Version            " + file_.lines()[i].substr(20));
  }
  file_.Add("Version             new");
  ASSERT_TRUE(file_.Commit().ok());
  file_.Close();
  EXPECT_TRUE(fake_.files.contents["big.txt"] == expected + "Version             new\r\n");
}

// A commit that needs more room than the disk has, or whose write fails,
// leaves every byte, and the lines in memory are the file's again.
TEST_F(LineFileTest, FailedCommitLeavesTheFileAsItWas) {
  const std::string before = "!a\r\n\r\n!c\r\nVersion d";
  for (int64_t free_bytes : {0, 5}) {
    fake_.files.contents["v"] = before;
    fake_.files.disk_free = free_bytes;
    LineFile file(fake_);
    ASSERT_TRUE(file.Open("v", Share::kDenyWrite).ok());
    file.Put(1, "!Version");
    file.Add("Version e");
    EXPECT_FALSE(file.Commit().ok()) << free_bytes;
    EXPECT_EQ(fake_.files.contents["v"], before) << free_bytes;
    EXPECT_EQ(file.lines(), (std::vector<std::string>{"!a", "", "!c", "Version d"}));
  }
  fake_.files.disk_free = -1;
  fake_.files.fail_writes = true;
  LineFile file(fake_);
  ASSERT_TRUE(file.Open("v", Share::kDenyWrite).ok());
  file.Put(0, "!A");
  EXPECT_EQ(file.Commit().message(), AccessDenied().message());
  EXPECT_EQ(fake_.files.contents["v"], before);
}

// A read that fails after some lines came in opens nothing: the rest of the
// file is unknown.
TEST_F(LineFileTest, ReadFailingAfterSomeLinesOpensNothing) {
  fake_.files.contents["t"] = "line 1\r\nline 2\r\nline 3\r\n";
  fake_.files.fail_reads_at = 12;
  LineFile file(fake_);
  EXPECT_FALSE(file.Open("t", Share::kDenyNone).ok());
  EXPECT_FALSE(file.Commit().ok()) << "nothing is open";
  EXPECT_TRUE(file.lines().empty());
}

}  // namespace
}  // namespace zqmv5
