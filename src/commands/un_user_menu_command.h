#ifndef ZQMV5_COMMANDS_UN_USER_MENU_COMMAND_H_
#define ZQMV5_COMMANDS_UN_USER_MENU_COMMAND_H_

#include "cmdline/command_context.h"
#include "env/env.h"

namespace zqmv5 {

// UNUSERMENU AppRef: takes back what USERMENU added. Removes every entry of
// "User Menus" (1 to 100) whose application reference, the part after the
// last "|", is AppRef (case and blanks at either end ignored), moves the
// entries that followed each one up so that the numbered list keeps no gap,
// and removes "User Applications"/AppRef. Touches nothing else; nothing to
// remove is no error. A missing AppRef, or one that an INI file cannot hold,
// shows the "Incorrect Command Line" box and changes nothing.
void UnUserMenuCommand(CommandContext& context, Env& env);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_UN_USER_MENU_COMMAND_H_
