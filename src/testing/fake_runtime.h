#ifndef ZQMV5_TESTING_FAKE_RUNTIME_H_
#define ZQMV5_TESTING_FAKE_RUNTIME_H_

#include "runtime/runtime.h"
#include "testing/fake_dde_client.h"
#include "testing/fake_platform.h"
#include "testing/fake_text_files.h"
#include "testing/fake_window.h"

namespace zqmv5 {

// Every service faked, sharing one error state; `runtime` hands them to the
// logic under test.
struct FakeRuntime {
  ErrorState error;
  FakeCommandLine command_line;
  FakeProfile profile;
  FakeMessages messages;
  FakePrograms programs{error};
  FakeFileSystem files;
  FakeClock clock;
  FakeTextFiles text_files{error};
  FakeDdeClient dde{error};
  FakeWindowSystem windows;
  Runtime runtime{error, command_line, profile,    messages, programs,
                  files, clock,        text_files, dde,      windows};
};

}  // namespace zqmv5

#endif  // ZQMV5_TESTING_FAKE_RUNTIME_H_
