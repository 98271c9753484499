#include "env/program.h"

#include <gtest/gtest.h>

#include "testing/fake_env.h"

namespace zqmv5 {
namespace {

// The files that exist, the text that names the program, and the program and
// arguments started ("" when nothing may start).
TEST(RunProgramTest, StartsTheProgramThatTheTextNamesWithoutGuessing) {
  const struct {
    std::vector<std::string> files;
    std::string text, program, arguments;
  } cases[] = {
      {{"C:\\Program Files\\C5\\C5EE.EXE"},
       "C:\\Program Files\\C5\\C5EE.EXE",
       "C:\\Program Files\\C5\\C5EE.EXE",
       ""},
      {{"C:\\C5\\C5EE.EXE"}, "  C:\\C5\\C5EE.EXE  ", "C:\\C5\\C5EE.EXE", ""},
      // A program named like the first words of a missing one never starts.
      {{"C:\\ZQDemo\\My.exe"}, "C:\\ZQDemo\\My IDE\\C5EE.EXE", "", ""},
      {{"C:\\ZQDemo\\My.exe", "C:\\ZQDemo\\My IDE\\C5EE.EXE"},
       "C:\\ZQDemo\\My IDE\\C5EE.EXE /n",
       "C:\\ZQDemo\\My IDE\\C5EE.EXE",
       "/n"},
      // The longest part that names a file is the program.
      {{"C:\\T\\run", "C:\\T\\run me.exe"},
       "C:\\T\\run me.exe  -a  b ",
       "C:\\T\\run me.exe",
       "-a  b"},
      {{"C:\\T\\run", "C:\\T\\run me.exe"}, "C:\\T\\run  me.exe", "C:\\T\\run", "me.exe"},
      {{"C:\\T\\run"}, "C:\\T\\run\t-x", "C:\\T\\run", "-x"},
      // A quoted name is the program, whatever follows it.
      {{"C:\\Program Files\\C5\\C5EE.EXE"},
       "\"C:\\Program Files\\C5\\C5EE.EXE\" /n x",
       "C:\\Program Files\\C5\\C5EE.EXE",
       "/n x"},
      {{"C:\\Program"}, "\"C:\\Program Files\\C5\\C5EE.EXE\" /n", "", ""},
      {{}, "   ", "", ""},
  };
  for (const auto& c : cases) {
    FakeEnv fake;
    for (const std::string& file : c.files) fake.files.contents[file];
    const Status started = RunProgram(fake, c.text);
    if (c.program.empty()) {
      EXPECT_TRUE(fake.programs.started.empty()) << c.text;
      // Windows' number for a missing file, and a message that names the text.
      EXPECT_TRUE(started.IsNotFound()) << c.text;
      EXPECT_EQ(started.number(), 2) << c.text;
      EXPECT_EQ(started.message(), c.text + " could not be started: File Not Found");
    } else {
      EXPECT_TRUE(started.ok()) << c.text << ": " << started.message();
      EXPECT_EQ(fake.programs.started, (std::vector<StartedProgram>{{c.program, c.arguments}}))
          << c.text;
    }
  }
}

}  // namespace
}  // namespace zqmv5
