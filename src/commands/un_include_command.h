#ifndef ZQMV5_COMMANDS_UN_INCLUDE_COMMAND_H_
#define ZQMV5_COMMANDS_UN_INCLUDE_COMMAND_H_

#include "cmdline/command_context.h"
#include "env/env.h"

namespace zqmv5 {

// UNINCLUDE TemplateFile IncludeName: takes back what INCLUDE added. Removes
// every line of the template file that is "#INCLUDE('IncludeName')" alone
// (blanks at either end allowed, exact case), and the empty line that INCLUDE
// put before such a line when it was the file's last. Every other byte stays.
// The new file is written beside the old one and put in its place in one
// step; a file that cannot be read to its end, or that another program holds,
// is left as it is. Shows nothing, as INCLUDE does.
void UnIncludeCommand(CommandContext& context, Env& env);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_UN_INCLUDE_COMMAND_H_
