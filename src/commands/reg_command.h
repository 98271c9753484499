#ifndef ZQMV5_COMMANDS_REG_COMMAND_H_
#define ZQMV5_COMMANDS_REG_COMMAND_H_

#include "cmdline/command_context.h"
#include "env/env.h"

namespace zqmv5 {

// REG Template: registers the template file (token 2) with the IDE over DDE,
// starting the IDE when it does not answer, with the IDE's "AutoPick" setting
// off meanwhile and put back afterwards. Shows a box for a missing name or
// file, for a name that the IDE's command syntax cannot carry, and for an
// AutoPick that cannot be set off (nothing is sent then) or put back. An IDE
// that cannot be started or reached, or that refuses the command, fails the
// run without a box; the connection log tells what happened.
void RegCommand(CommandContext& context, Env& env);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_REG_COMMAND_H_
