#ifndef ZQMV5_RUNTIME_RUNTIME_H_
#define ZQMV5_RUNTIME_RUNTIME_H_

#include "runtime/clock.h"
#include "runtime/command_line.h"
#include "runtime/dde_client.h"
#include "runtime/error_state.h"
#include "runtime/file_system.h"
#include "runtime/messages.h"
#include "runtime/profile.h"
#include "runtime/programs.h"
#include "runtime/text_file.h"
#include "runtime/window.h"

namespace zqmv5 {

// Everything the logic needs of the platform. The program entry builds the real
// services once (platform.h); tests build fakes (testing/fake_runtime.h). All
// services share the one error state.
struct Runtime {
  ErrorState& error;
  CommandLine& command_line;
  Profile& profile;
  Messages& messages;
  Programs& programs;
  FileSystem& files;
  Clock& clock;
  TextFiles& text_files;
  DdeClient& dde;
  WindowSystem& windows;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_RUNTIME_H_
