#ifndef ZQMV5_APP_DISPATCH_H_
#define ZQMV5_APP_DISPATCH_H_

#include "cmdline/command_context.h"
#include "env/env.h"
#include "version/version_view.h"

namespace zqmv5 {

// Runs the handler of the verb, the help box for "CMD", or the description
// box for any other verb, after finding the IDE where the verb needs it.
void Dispatch(CommandContext& context, Env& env);

// What a run's exit status tells the script that started it.
enum ExitStatus {
  kExitDone = 0,            // also when there was nothing to do
  kExitFailed = 1,          // any failure that the others do not name
  kExitBadCommandLine = 2,  // the command line cannot be used as given
  kExitNoInstallation = 3,  // the IDE installation was found nowhere
};

// The one place where a run's outcome (its first failure's kind) becomes what
// a script sees: kExitDone without /Q, whatever happened, as installation
// scripts must never take a failure of this program for one of their own.
ExitStatus ExitStatusOf(bool quiet, Status::Kind outcome);

// The top level: the version window when parameter 1 is blank, otherwise one
// command. `open_view` opens the window's dialog. Returns the exit status of
// the run's outcome.
int Main(Env& env, const VersionViewOpener& open_view);

}  // namespace zqmv5

#endif  // ZQMV5_APP_DISPATCH_H_
