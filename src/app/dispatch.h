#ifndef ZQMV5_APP_DISPATCH_H_
#define ZQMV5_APP_DISPATCH_H_

#include "cmdline/command_context.h"
#include "env/env.h"
#include "version/version_view.h"

namespace zqmv5 {

// Runs the handler of the verb, the help box for "CMD", or the description
// box for any other verb, after finding the IDE where the verb needs it.
void Dispatch(CommandContext& context, Env& env);

// The exit status that a quiet run ending with `outcome` (its first failure)
// gives its caller: 0 done, 2 a command line that cannot be used, 3 no IDE
// installation found, 1 any other failure. This is the one place where a
// run's outcome becomes what a script sees.
int ExitStatus(const Status& outcome);

// The top level: the version window when parameter 1 is blank, otherwise one
// command. `open_view` opens the window's dialog. Returns the exit status:
// ExitStatus of the run's outcome under /Q, otherwise 0.
int Main(Env& env, const VersionViewOpener& open_view);

// The exit status of a run that ends for want of memory.
inline int g_fatal_exit_status = 0;

}  // namespace zqmv5

#endif  // ZQMV5_APP_DISPATCH_H_
