#include "commands/include_command.h"

namespace zqmv5 {

void IncludeCommand(CommandContext& context, Runtime& runtime) {}

}  // namespace zqmv5
