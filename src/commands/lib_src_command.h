#ifndef ZQMV5_COMMANDS_LIB_SRC_COMMAND_H_
#define ZQMV5_COMMANDS_LIB_SRC_COMMAND_H_

#include "cmdline/command_context.h"
#include "env/env.h"

namespace zqmv5 {

// LIBSRC Directory [Run]: writes the directory (token 2), upper-cased, as
// "Paths"/"Libsrc" of the IDE's INI file. When a third token is present it
// then starts the IDE's executable, as it stands and without arguments, and
// does not wait for it. A missing directory, or one with a line break in it,
// shows the "Set ABC Library Directory" box and changes nothing. Failures of
// the write and of the start are not reported.
void LibSrcCommand(CommandContext& context, Env& env);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_LIB_SRC_COMMAND_H_
