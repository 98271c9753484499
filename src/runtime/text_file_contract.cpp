// What every text file implementation must do, the fake and the real one alike.

#include "runtime/text_file_contract.h"

#include <vector>

namespace zqmv5 {
namespace {

std::vector<std::string> ReadAll(TextFile& file) {
  std::vector<std::string> lines;
  std::string line;
  file.SetToFirst();
  while (file.Next(&line)) lines.push_back(line);
  return lines;
}

TEST_P(TextFileContractTest, MissingFileIsNotCreatedByOpen) {
  const std::string name = harness_->NewName("missing");
  auto file = harness_->files().NewTextFile();
  EXPECT_FALSE(file->Open(name, FileAccess::kReadWriteDenyNone));
  EXPECT_EQ(harness_->error().code(), kFileNotFound);
  std::string line = "kept";
  EXPECT_FALSE(file->Next(&line));
  EXPECT_EQ(line, "kept");
  EXPECT_FALSE(file->Add("x"));
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
      {"cr\ralone\n", {"cr\ralone"}},
  };
  for (const Case& c : cases) {
    const std::string name = harness_->NewName("read");
    harness_->WriteBytes(name, c.bytes);
    auto file = harness_->files().NewTextFile();
    ASSERT_TRUE(file->Open(name, FileAccess::kReadWriteDenyWrite)) << c.bytes;
    EXPECT_EQ(ReadAll(*file), c.lines) << c.bytes;
    EXPECT_EQ(harness_->error().code(), kRecordNotAvailable);
    file->Close();
  }
}

TEST_P(TextFileContractTest, FailedReadLeavesTheBufferAlone) {
  const std::string name = harness_->NewName("buffer");
  harness_->WriteBytes(name, "last\r\n");
  auto file = harness_->files().NewTextFile();
  ASSERT_TRUE(file->Open(name, FileAccess::kReadWriteDenyNone));
  std::string line;
  file->SetToFirst();
  ASSERT_TRUE(file->Next(&line));
  EXPECT_EQ(file->Position(), 1u);
  EXPECT_FALSE(file->Next(&line));
  EXPECT_EQ(line, "last");
}

TEST_P(TextFileContractTest, RewriteInPlaceNeverTouchesNeighbours) {
  struct Case {
    const char* before;
    int line;  // 1-based
    const char* replacement;
    const char* after;
  };
  const Case cases[] = {
      {"aaa\r\nbbb\r\nccc\r\n", 2, "BBB", "aaa\r\nBBB\r\nccc\r\n"},
      {"aaa\r\n\r\nccc\r\n", 2, "!Version            ", "aaa\r\n!Version            \r\nccc\r\n"},
      {"aaa\nbbbbbb\nccc\n", 2, "b", "aaa\nb\nccc\n"},
      {"aaa\nbbb", 2, "longer line", "aaa\nlonger line"},
      {"x\r\n", 1, "", "\r\n"},
  };
  for (const Case& c : cases) {
    const std::string name = harness_->NewName("put");
    harness_->WriteBytes(name, c.before);
    auto file = harness_->files().NewTextFile();
    ASSERT_TRUE(file->Open(name, FileAccess::kReadWriteDenyWrite));
    std::string line;
    file->SetToFirst();
    for (int i = 0; i < c.line; ++i) ASSERT_TRUE(file->Next(&line)) << c.before;
    EXPECT_TRUE(file->Put(c.replacement)) << c.before;
    // Reading goes on after the rewritten line.
    std::vector<std::string> rest;
    while (file->Next(&line)) rest.push_back(line);
    file->Close();
    EXPECT_EQ(harness_->ReadBytes(name), c.after) << c.before;
  }
}

TEST_P(TextFileContractTest, RegetFindsALineAfterEarlierLinesChangedLength) {
  const std::string name = harness_->NewName("reget");
  harness_->WriteBytes(name, "\r\nshort\r\nlast line\r\n");
  auto file = harness_->files().NewTextFile();
  ASSERT_TRUE(file->Open(name, FileAccess::kReadWriteDenyWrite));
  std::string line;
  file->SetToFirst();
  uint32_t last = 0;
  while (file->Next(&line)) {
    last = file->Position();
    ASSERT_TRUE(file->Put("!Version" + line));
  }
  EXPECT_EQ(last, 3u);
  ASSERT_TRUE(file->Reget(last, &line));
  EXPECT_EQ(line, "!Versionlast line");
  ASSERT_TRUE(file->Put("Version last line"));
  EXPECT_FALSE(file->Reget(9, &line));
  EXPECT_FALSE(file->Reget(0, &line));
  file->Close();
  EXPECT_EQ(harness_->ReadBytes(name), "!Version\r\n!Versionshort\r\nVersion last line\r\n");
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
      {"no line end", "no line end\r\nnew\r\n"},
  };
  for (const Case& c : cases) {
    const std::string name = harness_->NewName("add");
    harness_->WriteBytes(name, c.before);
    auto file = harness_->files().NewTextFile();
    ASSERT_TRUE(file->Open(name, FileAccess::kReadWriteDenyNone));
    ReadAll(*file);
    EXPECT_TRUE(file->Add("new"));
    file->Close();
    EXPECT_EQ(harness_->ReadBytes(name), c.after) << c.before;
  }
}

TEST_P(TextFileContractTest, ReadingAfterAnAddSeesTheAddedLineOnce) {
  const std::string name = harness_->NewName("addread");
  harness_->WriteBytes(name, "a\r\nb");
  auto file = harness_->files().NewTextFile();
  ASSERT_TRUE(file->Open(name, FileAccess::kReadWriteDenyNone));
  std::string line;
  file->SetToFirst();
  while (file->Next(&line)) {
  }
  ASSERT_TRUE(file->Add("c"));
  ASSERT_TRUE(file->Next(&line));
  EXPECT_EQ(line, "c");
  EXPECT_FALSE(file->Next(&line));
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

TEST_P(TextFileContractTest, AHundredThousandLinesRoundTrip) {
  const std::string name = harness_->NewName("big");
  std::string bytes;
  for (int i = 0; i < 100000; ++i) bytes += "Version             line " + std::to_string(i) + "\r\n";
  harness_->WriteBytes(name, bytes);
  auto file = harness_->files().NewTextFile();
  ASSERT_TRUE(file->Open(name, FileAccess::kReadWriteDenyWrite));
  std::string line;
  file->SetToFirst();
  int count = 0;
  while (file->Next(&line)) {
    ++count;
    line.replace(0, 20, "!Version            ");
    ASSERT_TRUE(file->Put(line));
  }
  EXPECT_EQ(count, 100000);
  EXPECT_EQ(file->Position(), 100000u);
  ASSERT_TRUE(file->Add("Version             new"));
  file->Close();
  std::string expected;
  for (int i = 0; i < 100000; ++i) expected += "!Version            line " + std::to_string(i) + "\r\n";
  expected += "Version             new\r\n";
  EXPECT_TRUE(harness_->ReadBytes(name) == expected);
}

}  // namespace
}  // namespace zqmv5
