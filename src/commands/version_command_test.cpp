#include "commands/version_command.h"

#include <gtest/gtest.h>

#include "testing/fake_env.h"

namespace zqmv5 {
namespace {

// The comment-outs and the new line go in one write: a disk without room for
// them leaves every byte, and says so.
TEST(VersionCommandTest, FullDiskLeavesTheFileAsItWas) {
  FakeEnv fake;
  const std::string bytes = "\r\nVersion             EQUATE('1.01  0006')  ! 12/07/26 1200 --\r\n";
  fake.files.contents["Version.zqi"] = bytes;
  fake.files.disk_free = 40;
  CommandContext context;
  context.Tokenize("VERSION a note");
  VersionCommand(context, fake);
  EXPECT_EQ(fake.files.contents["Version.zqi"], bytes);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].text.rfind("The version file Version.zqi cannot be changed", 0),
            0u);
  EXPECT_EQ(context.outcome, kFailed);
}

}  // namespace
}  // namespace zqmv5
