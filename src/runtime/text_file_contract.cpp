// What every text file implementation must do, the fake and the real one alike.

#include "runtime/text_file_contract.h"

#include <vector>

namespace zqmv5 {
namespace {

TEST_P(TextFileContractTest, MissingFileIsNotCreatedByOpen) {
  const std::string name = harness_->NewName("missing");
  auto file = harness_->files().NewTextFile();
  EXPECT_FALSE(file->Open(name, FileAccess::kReadWriteDenyNone));
  EXPECT_EQ(harness_->error().code(), kFileNotFound);
  file->Add("x");
  EXPECT_FALSE(file->Commit());
  EXPECT_FALSE(harness_->Exists(name));
}

TEST_P(TextFileContractTest, ReadsLinesWhateverTheirEnds) {
  struct Case {
    const char* bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\r\nb", {"a", "b"}},
      {"\r\n\r\n", {"", ""}},
      {"one\n\ntwo", {"one", "", "two"}},
      {"cr\ralone\r", {"cr", "alone"}},
      {"\xEF\xBB\xBF" "bom\r\n", {"bom"}},
  };
  for (const Case& c : cases) {
    const std::string name = harness_->NewName("read");
    harness_->WriteBytes(name, c.bytes);
    auto file = harness_->files().NewTextFile();
    ASSERT_TRUE(file->Open(name, FileAccess::kReadWriteDenyWrite)) << c.bytes;
    EXPECT_EQ(file->lines(), c.lines) << c.bytes;
    file->Close();
  }
}

TEST_P(TextFileContractTest, RewriteInPlaceNeverTouchesNeighbours) {
  struct Case {
    const char* before;
    size_t line;  // 0-based
    const char* replacement;
    const char* after;
  };
  const Case cases[] = {
      {"aaa\r\nbbb\r\nccc\r\n", 1, "BBB", "aaa\r\nBBB\r\nccc\r\n"},
      {"aaa\r\n\r\nccc\r\n", 1, "!Version            ", "aaa\r\n!Version            \r\nccc\r\n"},
      {"aaa\nbbbbbb\nccc\n", 1, "b", "aaa\nb\nccc\n"},
      {"aaa\nbbb", 1, "longer line", "aaa\nlonger line"},
      {"x\r\n", 0, "", "\r\n"},
      {"\xEF\xBB\xBFx\ry\r", 0, "!x", "\xEF\xBB\xBF!x\ry\r"},
  };
  for (const Case& c : cases) {
    const std::string name = harness_->NewName("put");
    harness_->WriteBytes(name, c.before);
    auto file = harness_->files().NewTextFile();
    ASSERT_TRUE(file->Open(name, FileAccess::kReadWriteDenyWrite));
    file->Put(c.line, c.replacement);
    EXPECT_TRUE(file->Commit()) << c.before;
    file->Close();
    EXPECT_EQ(harness_->ReadBytes(name), c.after) << c.before;
  }
}

TEST_P(TextFileContractTest, AddKeepsTheFilesLineEndsAndEndsAnUnterminatedLine) {
  struct Case {
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {"", "new\r\n"},
      {"a\r\n", "a\r\nnew\r\n"},
      {"a\n", "a\nnew\n"},
      {"a\r\nb", "a\r\nb\r\nnew\r\n"},
      {"a\nb", "a\nb\nnew\n"},
      {"a\rb", "a\rb\rnew\r"},
      {"no line end", "no line end\r\nnew\r\n"},
  };
  for (const Case& c : cases) {
    const std::string name = harness_->NewName("add");
    harness_->WriteBytes(name, c.before);
    auto file = harness_->files().NewTextFile();
    ASSERT_TRUE(file->Open(name, FileAccess::kReadWriteDenyNone));
    file->Add("new");
    EXPECT_TRUE(file->Commit());
    EXPECT_EQ(file->lines().back(), "new");
    file->Close();
    EXPECT_EQ(harness_->ReadBytes(name), c.after) << c.before;
  }
}

TEST_P(TextFileContractTest, CreateNeverReplacesAFileWithLines) {
  const std::string name = harness_->NewName("create");
  auto file = harness_->files().NewTextFile();
  EXPECT_TRUE(file->Create(name));
  EXPECT_TRUE(harness_->Exists(name));
  EXPECT_EQ(harness_->ReadBytes(name), "");
  EXPECT_TRUE(file->Create(name));  // an empty file is as good as new
  harness_->WriteBytes(name, "precious\r\n");
  EXPECT_FALSE(file->Create(name));
  EXPECT_NE(harness_->error().code(), kNoError);
  EXPECT_EQ(harness_->ReadBytes(name), "precious\r\n");
}

TEST_P(TextFileContractTest, DenyWriteKeepsOthersOutUntilClosed) {
  const std::string name = harness_->NewName("share");
  harness_->WriteBytes(name, "v\r\n");
  auto holder = harness_->files().NewTextFile();
  auto other = harness_->files().NewTextFile();
  ASSERT_TRUE(holder->Open(name, FileAccess::kReadWriteDenyWrite));
  EXPECT_FALSE(other->Open(name, FileAccess::kReadWriteDenyNone));
  EXPECT_EQ(harness_->error().code(), kFileIsLocked);
  EXPECT_FALSE(holder->Open(name, FileAccess::kReadWriteDenyWrite));
  EXPECT_EQ(harness_->error().code(), kFileAlreadyOpen);
  holder->Close();
  holder->Close();  // closing twice does nothing
  EXPECT_TRUE(other->Open(name, FileAccess::kReadWriteDenyNone));
}

TEST_P(TextFileContractTest, Utf16FileIsLeftAlone) {
  const std::string name = harness_->NewName("utf16");
  const std::string bytes("\xFF\xFEv\0\r\0\n\0", 8);
  harness_->WriteBytes(name, bytes);
  auto file = harness_->files().NewTextFile();
  EXPECT_FALSE(file->Open(name, FileAccess::kReadWriteDenyNone));
  EXPECT_EQ(harness_->error().code(), kUtf16File);
  EXPECT_EQ(harness_->ReadBytes(name), bytes);
}

TEST_P(TextFileContractTest, AHundredThousandLinesRoundTrip) {
  const std::string name = harness_->NewName("big");
  std::string bytes;
  for (int i = 0; i < 100000; ++i) bytes += "Version             line " + std::to_string(i) + "\r\n";
  harness_->WriteBytes(name, bytes);
  auto file = harness_->files().NewTextFile();
  ASSERT_TRUE(file->Open(name, FileAccess::kReadWriteDenyWrite));
  ASSERT_EQ(file->lines().size(), 100000u);
  for (size_t i = 0; i < file->lines().size(); ++i) {
    file->Put(i, "!Version            " + file->lines()[i].substr(20));
  }
  file->Add("Version             new");
  ASSERT_TRUE(file->Commit());
  file->Close();
  std::string expected;
  for (int i = 0; i < 100000; ++i) expected += "!Version            line " + std::to_string(i) + "\r\n";
  expected += "Version             new\r\n";
  EXPECT_TRUE(harness_->ReadBytes(name) == expected);
}

}  // namespace
}  // namespace zqmv5
