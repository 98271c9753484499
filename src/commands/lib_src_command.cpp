#include "commands/lib_src_command.h"

namespace zqmv5 {

void LibSrcCommand(CommandContext& context, Runtime& runtime) {}

}  // namespace zqmv5
