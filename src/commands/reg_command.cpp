#include "commands/reg_command.h"

namespace zqmv5 {

void RegCommand(CommandContext& context, Runtime& runtime) {}

}  // namespace zqmv5
