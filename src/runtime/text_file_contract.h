#ifndef ZQMV5_RUNTIME_TEXT_FILE_CONTRACT_H_
#define ZQMV5_RUNTIME_TEXT_FILE_CONTRACT_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "runtime/error_state.h"
#include "runtime/text_file.h"

namespace zqmv5 {

// What the text file contract tests need of an implementation: the service,
// its error state, and raw access to the bytes of the files it works on.
class TextFileHarness {
 public:
  virtual ~TextFileHarness() = default;
  virtual TextFiles& files() = 0;
  virtual ErrorState& error() = 0;
  // A name for a new file that does not exist yet.
  virtual std::string NewName(const std::string& base) = 0;
  virtual void WriteBytes(const std::string& name, const std::string& bytes) = 0;
  virtual std::string ReadBytes(const std::string& name) = 0;
  virtual bool Exists(const std::string& name) = 0;
};

using TextFileHarnessFactory = std::unique_ptr<TextFileHarness> (*)();

class TextFileContractTest : public ::testing::TestWithParam<TextFileHarnessFactory> {
 protected:
  void SetUp() override { harness_ = GetParam()(); }
  std::unique_ptr<TextFileHarness> harness_;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_TEXT_FILE_CONTRACT_H_
