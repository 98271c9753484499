#include "runtime/profile_contract.h"
#include "testing/fake_platform.h"

namespace zqmv5 {
namespace {

class FakeProfileHarness : public ProfileHarness {
 public:
  Profile& profile() override { return profile_; }
  std::string PrivateFile(const std::string& base) override { return ".\\" + base + ".ini"; }

 private:
  FakeProfile profile_;
};

std::unique_ptr<ProfileHarness> MakeFake() { return std::make_unique<FakeProfileHarness>(); }

INSTANTIATE_TEST_SUITE_P(Fake, ProfileContractTest, ::testing::Values(&MakeFake));

}  // namespace
}  // namespace zqmv5
