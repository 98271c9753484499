#include "commands/version_command.h"

#include <gtest/gtest.h>

#include "testing/env_wrapper.h"
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
  EXPECT_FALSE(context.outcome().ok());
}

// Another VERSION run holds the file for a moment: this one waits its turn,
// a short while. A file held longer is left alone, as before.
TEST(VersionCommandTest, FileHeldForAMomentIsWaitedFor) {
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
    CommandContext context;
    context.quiet = true;
    context.Tokenize("VERSION nightly");
    VersionCommand(context, env);
    if (held == 50) {
      EXPECT_TRUE(context.outcome().ok());
      EXPECT_NE(fake.files.contents["Version.zqi"].find("EQUATE('1.01  0007')"), std::string::npos);
    } else {
      EXPECT_FALSE(context.outcome().ok());
      EXPECT_EQ(fake.files.contents["Version.zqi"], bytes);
      EXPECT_GE(fake.clock.paused, 100) << "waited a while";
      EXPECT_LT(fake.clock.paused, 1000) << "but not for good";
    }
  }
}

// A note is one line of source text: a line break, or any other control
// character, would put text of its own into the project.
TEST(VersionCommandTest, NoteWithAControlCharacterIsRefused) {
  for (const char* note :
       {"Fix crash\r\nVersion             EQUATE('9.99  9999')\r\n  RUN('x')", "a\nb", "a\tb",
        "a\x1b"
        "b"}) {
    FakeEnv fake;
    const std::string bytes = "Version             EQUATE('1.01  0006')  ! 12/07/26 1200 --\r\n";
    fake.files.contents["Version.zqi"] = bytes;
    CommandContext context;
    context.quiet = true;
    context.Tokenize(std::string("VERSION ") + note);
    VersionCommand(context, fake);
    EXPECT_EQ(Status::Kind::kBadInput, context.outcome().kind()) << note;
    EXPECT_EQ(fake.files.contents["Version.zqi"], bytes) << note;
    ASSERT_EQ(fake.messages.output.size(), 1u);
    EXPECT_EQ(fake.messages.output[0],
              "The note cannot hold a line break or another control character. | Nothing has "
              "been added.");
  }
}

}  // namespace
}  // namespace zqmv5
