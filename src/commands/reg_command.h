#ifndef ZQMV5_COMMANDS_REG_COMMAND_H_
#define ZQMV5_COMMANDS_REG_COMMAND_H_

#include "cmdline/command_context.h"
#include "runtime/runtime.h"

namespace zqmv5 {

void RegCommand(CommandContext& context, Runtime& runtime);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_REG_COMMAND_H_
