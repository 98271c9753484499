#include "commands/user_menu_command.h"

namespace zqmv5 {

void UserMenuCommand(CommandContext& context, Runtime& runtime) {}

}  // namespace zqmv5
