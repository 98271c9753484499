#ifndef ZQMV5_COMMANDS_USER_MENU_COMMAND_H_
#define ZQMV5_COMMANDS_USER_MENU_COMMAND_H_

#include <string>

#include "cmdline/command_context.h"
#include "runtime/runtime.h"

namespace zqmv5 {

// The operands of one USERMENU run, held in fields of 255 bytes. The program
// to run (`CommandLine`) is kept in the context's COMMANDLINE instead.
struct UserMenuOperands {
  std::string AppRef;       // the application reference: a key of "User Applications"
  std::string MenuDisplay;  // the menu text, "+" turned into blanks and "-" into "/"
  std::string Parm;         // the program's parameters, "+" turned into blanks
};

// USERMENU AppRef MenuDisplay CommandLine [Parm]: adds the menu line
// "MenuDisplay|AppRef" to the first free slot (1 to 100) of "User Menus" in
// the IDE's INI file (INIFILE), and writes "User Applications"/AppRef =
// "CommandLine Parm". Writes nothing when the same menu line is already there.
// Shows the "Incorrect Command Line" box, and writes nothing, when an
// operand is missing or cannot be stored in an INI file.
void UserMenuCommand(CommandContext& context, Runtime& runtime);

// The slot scan and the writes of UserMenuCommand, for operands that have
// been checked and rewritten; the program to run is context.COMMANDLINE.
void AddUserMenuEntry(const UserMenuOperands& operands, const CommandContext& context,
                      Runtime& runtime);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_USER_MENU_COMMAND_H_
