#ifndef ZQMV5_TESTING_COMMAND_TEST_H_
#define ZQMV5_TESTING_COMMAND_TEST_H_

#include <gtest/gtest.h>

#include <string>

#include "cmdline/command_context.h"
#include "cmdline/discovery.h"
#include "testing/fake_env.h"

namespace zqmv5 {

using Command = void (*)(CommandContext&, Env&);

// A fixture for the tests of `kCommand`: every service faked, and the IDE
// installation under C:\C5 as discovery finds it.
template <Command kCommand>
class CommandTest : public ::testing::Test {
 protected:
  static constexpr char kIni[] = "C:\\C5\\Bin\\C5ee.ini";
  static constexpr char kExe[] = "C:\\C5\\Bin\\C5EE.EXE";

  // Runs `command` with `text` as the whole command text (quietly after a
  // /Q) over `env`, as the program does once it has found the IDE, with
  // `exe_name` as its executable; returns the run's outcome.
  static Status RunCommand(Command command, std::string text, Env& env,
                           const std::string& exe_name = kExe) {
    CommandContext context;
    context.ini_file = kIni;
    context.exe_name = exe_name;
    context.quiet = TakeQuietSwitch(&text);
    context.verb = VerbOf(text);
    context.Tokenize(text);
    command(context, env);
    return context.outcome();
  }
  Status Run(const std::string& text, Env& env) { return RunCommand(kCommand, text, env); }
  Status Run(const std::string& text) { return Run(text, fake_); }

  FakeEnv fake_;
};

}  // namespace zqmv5

#endif  // ZQMV5_TESTING_COMMAND_TEST_H_
