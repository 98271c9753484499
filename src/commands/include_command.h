#ifndef ZQMV5_COMMANDS_INCLUDE_COMMAND_H_
#define ZQMV5_COMMANDS_INCLUDE_COMMAND_H_

#include "cmdline/command_context.h"
#include "runtime/runtime.h"

namespace zqmv5 {

void IncludeCommand(CommandContext& context, Runtime& runtime);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_INCLUDE_COMMAND_H_
