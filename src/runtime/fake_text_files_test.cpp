#include "runtime/text_file_contract.h"
#include "testing/fake_text_files.h"

namespace zqmv5 {
namespace {

class FakeTextFileHarness : public TextFileHarness {
 public:
  TextFiles& files() override { return files_; }
  ErrorState& error() override { return error_; }
  std::string NewName(const std::string& base) override {
    return base + std::to_string(++counter_) + ".txt";
  }
  void WriteBytes(const std::string& name, const std::string& bytes) override {
    files_.contents[name] = bytes;
  }
  std::string ReadBytes(const std::string& name) override { return files_.contents[name]; }
  bool Exists(const std::string& name) override { return files_.contents.count(name) != 0; }

 private:
  ErrorState error_;
  FakeTextFiles files_{error_};
  int counter_ = 0;
};

std::unique_ptr<TextFileHarness> MakeFake() { return std::make_unique<FakeTextFileHarness>(); }

INSTANTIATE_TEST_SUITE_P(Fake, TextFileContractTest, ::testing::Values(&MakeFake));

// Failures that a real disk cannot be made to show on demand.
class TextFileFailureTest : public ::testing::Test {
 protected:
  ErrorState error_;
  FakeTextFiles files_{error_};
};

// A commit that needs more room than the disk has, or whose write fails,
// leaves every byte, and the lines in memory are the file's again.
TEST_F(TextFileFailureTest, FailedCommitLeavesTheFileAsItWas) {
  const std::string before = "!a\r\n\r\n!c\r\nVersion d";
  for (int64_t free_bytes : {0, 5}) {
    files_.contents["v"] = before;
    files_.disk_free = free_bytes;
    auto file = files_.NewTextFile();
    ASSERT_TRUE(file->Open("v", FileAccess::kReadWriteDenyWrite));
    file->Put(1, "!Version");
    file->Add("Version e");
    EXPECT_FALSE(file->Commit()) << free_bytes;
    EXPECT_EQ(files_.contents["v"], before) << free_bytes;
    EXPECT_EQ(file->lines(), (std::vector<std::string>{"!a", "", "!c", "Version d"}));
  }
  files_.disk_free = -1;
  files_.fail_writes_with = kAccessDenied;
  auto file = files_.NewTextFile();
  ASSERT_TRUE(file->Open("v", FileAccess::kReadWriteDenyWrite));
  file->Put(0, "!A");
  EXPECT_FALSE(file->Commit());
  EXPECT_EQ(error_.code(), kAccessDenied);
  EXPECT_EQ(files_.contents["v"], before);
}

// A read that fails after some lines came in opens nothing: the rest of the
// file is unknown.
TEST_F(TextFileFailureTest, ReadFailingAfterSomeLinesOpensNothing) {
  files_.contents["t"] = "line 1\r\nline 2\r\nline 3\r\n";
  files_.fail_reads_at = 12;
  auto file = files_.NewTextFile();
  EXPECT_FALSE(file->Open("t", FileAccess::kReadWriteDenyNone));
  EXPECT_FALSE(file->is_open());
  EXPECT_TRUE(file->lines().empty());
}

}  // namespace
}  // namespace zqmv5
