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

}  // namespace
}  // namespace zqmv5
