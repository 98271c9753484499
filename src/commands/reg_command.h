#ifndef ZQMV5_COMMANDS_REG_COMMAND_H_
#define ZQMV5_COMMANDS_REG_COMMAND_H_

#include "cmdline/command_context.h"
#include "env/env.h"

namespace zqmv5 {

// REG Template: registers the template file (token 2) with the IDE over DDE,
// starting the IDE when it does not answer, with the IDE's "AutoPick" setting
// off meanwhile and put back afterwards. A box tells a missing name or file, a
// name that the IDE's command syntax cannot carry, and an AutoPick not set off
// (nothing is sent) or not put back; an IDE not started, not reached or
// refusing the command fails the run without one (the connection log tells).
void RegCommand(CommandContext& context, Env& env);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_REG_COMMAND_H_
