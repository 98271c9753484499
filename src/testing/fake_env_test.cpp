// The fake keeps the Env contract.

#include "testing/fake_env.h"

#include "testing/env_contract.h"

namespace zqmv5 {
namespace {

class FakeEnvHarness : public EnvHarness {
 public:
  Env& env() override { return env_; }
  std::string NewName(const std::string& base) override {
    return std::to_string(++counter_) + base;
  }
  void WriteBytes(const std::string& name, const std::string& bytes) override {
    env_.files.contents[name] = bytes;
  }
  std::string ReadBytes(const std::string& name) override { return env_.files.contents[name]; }
  std::shared_ptr<void> Hold(const std::string& name) override {
    env_.profile.fail_reads.insert(name);
    env_.profile.fail_writes = true;
    return std::shared_ptr<void>(nullptr, [this, name](void*) {
      env_.profile.fail_reads.erase(name);
      env_.profile.fail_writes = false;
    });
  }

 private:
  FakeEnv env_;
  int counter_ = 0;
};

std::unique_ptr<EnvHarness> MakeFake() { return std::make_unique<FakeEnvHarness>(); }

INSTANTIATE_TEST_SUITE_P(Fake, EnvContractTest, ::testing::Values(&MakeFake));

}  // namespace
}  // namespace zqmv5
