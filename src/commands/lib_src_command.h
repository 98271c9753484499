#ifndef ZQMV5_COMMANDS_LIB_SRC_COMMAND_H_
#define ZQMV5_COMMANDS_LIB_SRC_COMMAND_H_

#include "cmdline/command_context.h"
#include "runtime/runtime.h"

namespace zqmv5 {

// LIBSRC Directory [Run]: keeps the directory (token 2) in COMMANDLINE and
// writes it, upper-cased, as "Paths"/"Libsrc" of the IDE's INI file
// (INIFILE). When a third token is present and EXENAME is not blank, it then
// starts EXENAME, as it stands and without arguments, and does not wait for
// it. A missing directory, or one with a line break in it, shows the "Set ABC
// Library Directory" box and changes nothing. Failures of the write and of
// the start are not reported.
void LibSrcCommand(CommandContext& context, Runtime& runtime);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_LIB_SRC_COMMAND_H_
