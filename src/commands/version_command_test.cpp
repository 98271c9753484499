#include "commands/version_command.h"

#include <gtest/gtest.h>

#include "testing/command_test.h"
#include "testing/env_wrapper.h"

namespace zqmv5 {
namespace {

using VersionCommandTest = CommandTest<VersionCommand>;

// The comment-outs and the new line go in one write: a disk without room for
// them leaves every byte, and says so.
TEST_F(VersionCommandTest, FullDiskLeavesTheFileAsItWas) {
  const std::string bytes = "\r\nVersion             EQUATE('1.01  0006')  ! 12/07/26 1200 --\r\n";
  fake_.files.contents["Version.zqi"] = bytes;
  fake_.files.disk_free = 40;
  EXPECT_FALSE(Run("VERSION a note").ok());
  EXPECT_EQ(fake_.files.contents["Version.zqi"], bytes);
  ASSERT_EQ(fake_.messages.shown.size(), 1u);
  EXPECT_EQ(fake_.messages.shown[0].text.rfind("The version file Version.zqi cannot be changed", 0),
            0u);
}

// Another VERSION run holds the file for a moment: this one waits its turn,
// a short while. A file held longer is left alone, as before.
TEST_F(VersionCommandTest, FileHeldForAMomentIsWaitedFor) {
  struct ReleasedAfterAWhile : EnvWrapper {
    ReleasedAfterAWhile(FakeEnv& fake, int32_t hundredths)
        : EnvWrapper(fake), fake(fake), hundredths(hundredths) {}
    void Pause(int32_t pause) override {
      fake.Pause(pause);
      if (fake.clock.paused >= hundredths) fake.files.locked.clear();
    }
    FakeEnv& fake;
    int32_t hundredths;
  };
  const std::string bytes = "Version             EQUATE('1.01  0006')  ! 12/07/26 1200 --\r\n";
  for (const int32_t held : {50, 1000}) {
    FakeEnv fake;
    fake.files.contents["Version.zqi"] = bytes;
    fake.files.locked.insert("Version.zqi");
    ReleasedAfterAWhile env(fake, held);
    const Status outcome = Run("/Q VERSION nightly", env);
    if (held == 50) {
      EXPECT_TRUE(outcome.ok());
      EXPECT_NE(fake.files.contents["Version.zqi"].find("EQUATE('1.01  0007')"), std::string::npos);
    } else {
      EXPECT_FALSE(outcome.ok());
      EXPECT_EQ(fake.files.contents["Version.zqi"], bytes);
      EXPECT_GE(fake.clock.paused, 100) << "waited a while";
      EXPECT_LT(fake.clock.paused, 1000) << "but not for good";
    }
  }
}

// A note is one line of source text: a line break, or any other control
// character, would put text of its own into the project.
TEST_F(VersionCommandTest, NoteWithAControlCharacterIsRefused) {
  for (const char* note :
       {"Fix crash\r\nVersion             EQUATE('9.99  9999')\r\n  RUN('x')", "a\nb", "a\tb",
        "a\x1b"
        "b"}) {
    FakeEnv fake;
    const std::string bytes = "Version             EQUATE('1.01  0006')  ! 12/07/26 1200 --\r\n";
    fake.files.contents["Version.zqi"] = bytes;
    EXPECT_EQ(Run(std::string("/Q VERSION ") + note, fake).kind(), Status::Kind::kBadInput) << note;
    EXPECT_EQ(fake.files.contents["Version.zqi"], bytes) << note;
    ASSERT_EQ(fake.messages.output.size(), 1u);
    EXPECT_EQ(fake.messages.output[0],
              "The note cannot hold a line break or another control character. | Nothing has "
              "been added.");
  }
}

}  // namespace
}  // namespace zqmv5
