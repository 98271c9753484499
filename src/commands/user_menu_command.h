#ifndef ZQMV5_COMMANDS_USER_MENU_COMMAND_H_
#define ZQMV5_COMMANDS_USER_MENU_COMMAND_H_

#include <string>

#include "cmdline/command_context.h"
#include "env/env.h"

namespace zqmv5 {

// USERMENU AppRef MenuDisplay CommandLine [Parm]: adds the menu line
// "MenuDisplay|AppRef" to the first free slot (1 to 100) of "User Menus" in
// the IDE's INI file, with "+" in the menu text turned into blanks and "-"
// into "/", and writes "User Applications"/AppRef = "CommandLine Parm" ("+"
// in Parm turned into blanks). Writes nothing when the same menu line is
// already there (nothing to do), or when the application entry is there and
// runs another program (which fails the run); only the application when
// the menu is full, which fails the run. Shows the "Incorrect Command Line" box, and writes nothing, when
// an operand is missing or cannot be stored in an INI file.
void UserMenuCommand(CommandContext& context, Env& env);

// The sections of the IDE's INI file that hold the user menu's lines and the
// programs they run, and the entries of the menu that the IDE reads: 1 to
// kUserMenuSlots.
inline constexpr char kUserMenus[] = "User Menus";
inline constexpr char kUserApplications[] = "User Applications";
constexpr int kUserMenuSlots = 100;

// Whether `app_ref` can name an application in the IDE's INI file, and be
// found again after the last "|" of a menu line "Text|AppRef".
bool IsStorableAppRef(const std::string& app_ref);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_USER_MENU_COMMAND_H_
