#ifndef ZQMV5_COMMANDS_REG_COMMAND_H_
#define ZQMV5_COMMANDS_REG_COMMAND_H_

#include <string>

#include "cmdline/command_context.h"
#include "runtime/runtime.h"

namespace zqmv5 {

// REG: registers the template file named by token 2 with the IDE over DDE,
// with the IDE's "AutoPick" setting switched off meanwhile and put back
// afterwards. Shows a box only for a missing name or a missing file; what
// happens with the IDE is not reported.
void RegCommand(CommandContext& context, Runtime& runtime);

// Asks the IDE (starting `exe` when it does not answer) to register `file` as
// a template chain: Init, Connect, RegisterTemplate with flag 0, Disconnect.
// Its steps are logged in the connection log; no outcome is returned.
void RegisterWithIde(Runtime& runtime, const std::string& exe, const std::string& file);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_REG_COMMAND_H_
