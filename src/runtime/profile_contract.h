#ifndef ZQMV5_RUNTIME_PROFILE_CONTRACT_H_
#define ZQMV5_RUNTIME_PROFILE_CONTRACT_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "runtime/profile.h"

namespace zqmv5 {

// What the profile contract tests need of a Profile implementation: the
// service, and a file name to use for a test's private INI file.
class ProfileHarness {
 public:
  virtual ~ProfileHarness() = default;
  virtual Profile& profile() = 0;
  virtual std::string PrivateFile(const std::string& base) = 0;
};

using ProfileHarnessFactory = std::unique_ptr<ProfileHarness> (*)();

class ProfileContractTest : public ::testing::TestWithParam<ProfileHarnessFactory> {
 protected:
  void SetUp() override { harness_ = GetParam()(); }
  Profile& profile() { return harness_->profile(); }
  std::unique_ptr<ProfileHarness> harness_;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_PROFILE_CONTRACT_H_
