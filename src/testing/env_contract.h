#ifndef ZQMV5_TESTING_ENV_CONTRACT_H_
#define ZQMV5_TESTING_ENV_CONTRACT_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "env/env.h"

namespace zqmv5 {

// What the contract tests need of an Env: the Env, fresh names for a test's
// own files, and raw access to the bytes of those files.
class EnvHarness {
 public:
  virtual ~EnvHarness() = default;
  virtual Env& env() = 0;
  // A name for a file of the test's own that does not exist yet.
  virtual std::string NewName(const std::string& base) = 0;
  virtual void WriteBytes(const std::string& name, const std::string& bytes) = 0;
  virtual std::string ReadBytes(const std::string& name) = 0;
  // Holds the file as another program that shares it with no one would,
  // until the result goes.
  virtual std::shared_ptr<void> Hold(const std::string& name) = 0;
};

// An INI value read through `env`, or the failure's message in brackets.
inline std::string ReadIni(Env& env, const std::string& section, const std::string& entry,
                           const std::string& default_value, const std::string& file) {
  std::string value;
  const Status read = env.ReadIniValue(section, entry, default_value, file, &value);
  return read.ok() ? value : "[" + read.message() + "]";
}

using EnvHarnessFactory = std::unique_ptr<EnvHarness> (*)();

// The contract that the fake and the Win32 Env both keep, for profile files,
// files, programs and the code page.
class EnvContractTest : public ::testing::TestWithParam<EnvHarnessFactory> {
 protected:
  void SetUp() override { harness_ = GetParam()(); }
  Env& env() { return harness_->env(); }
  std::unique_ptr<EnvHarness> harness_;
};

}  // namespace zqmv5

#endif  // ZQMV5_TESTING_ENV_CONTRACT_H_
