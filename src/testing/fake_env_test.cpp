// The fake keeps the Env contract, and its failure switches fail as a real
// disk would.

#include "testing/fake_env.h"

#include "testing/env_contract.h"
#include "text/line_file.h"

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

// A commit that needs more room than the disk has, or whose write fails,
// leaves every byte, and the lines in memory are the file's again.
TEST(LineFileFailureTest, FailedCommitLeavesTheFileAsItWas) {
  FakeEnv env;
  const std::string before = "!a\r\n\r\n!c\r\nVersion d";
  for (int64_t free_bytes : {0, 5}) {
    env.files.contents["v"] = before;
    env.files.disk_free = free_bytes;
    LineFile file(env);
    ASSERT_TRUE(file.Open("v", Share::kDenyWrite).ok());
    file.Put(1, "!Version");
    file.Add("Version e");
    EXPECT_FALSE(file.Commit().ok()) << free_bytes;
    EXPECT_EQ(env.files.contents["v"], before) << free_bytes;
    EXPECT_EQ(file.lines(), (std::vector<std::string>{"!a", "", "!c", "Version d"}));
  }
  env.files.disk_free = -1;
  env.files.fail_writes = true;
  LineFile file(env);
  ASSERT_TRUE(file.Open("v", Share::kDenyWrite).ok());
  file.Put(0, "!A");
  EXPECT_EQ(file.Commit().message(), AccessDenied().message());
  EXPECT_EQ(env.files.contents["v"], before);
}

// A read that fails after some lines came in opens nothing: the rest of the
// file is unknown.
TEST(LineFileFailureTest, ReadFailingAfterSomeLinesOpensNothing) {
  FakeEnv env;
  env.files.contents["t"] = "line 1\r\nline 2\r\nline 3\r\n";
  env.files.fail_reads_at = 12;
  LineFile file(env);
  EXPECT_FALSE(file.Open("t", Share::kDenyNone).ok());
  EXPECT_FALSE(file.Commit().ok()) << "nothing is open";
  EXPECT_TRUE(file.lines().empty());
}

}  // namespace
}  // namespace zqmv5
