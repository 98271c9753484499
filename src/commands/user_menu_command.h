#ifndef ZQMV5_COMMANDS_USER_MENU_COMMAND_H_
#define ZQMV5_COMMANDS_USER_MENU_COMMAND_H_

#include "cmdline/command_context.h"
#include "env/env.h"

namespace zqmv5 {

// USERMENU AppRef MenuDisplay CommandLine [Parm]: adds the menu line
// "MenuDisplay|AppRef" to the first free slot (1 to 100) of "User Menus" in
// the IDE's INI file, with "+" in the menu text turned into blanks and "-"
// into "/", and writes "User Applications"/AppRef = "CommandLine Parm" ("+"
// in Parm turned into blanks). Writes nothing when the same menu line is
// already there. Shows the "Incorrect Command Line" box, and writes nothing,
// when an operand is missing or cannot be stored in an INI file.
void UserMenuCommand(CommandContext& context, Env& env);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_USER_MENU_COMMAND_H_
