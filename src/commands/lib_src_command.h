#ifndef ZQMV5_COMMANDS_LIB_SRC_COMMAND_H_
#define ZQMV5_COMMANDS_LIB_SRC_COMMAND_H_

#include "cmdline/command_context.h"
#include "env/env.h"

namespace zqmv5 {

// LIBSRC Directory [Run]: writes the directory (token 2), upper-cased, as
// "Paths"/"Libsrc" of the IDE's INI file, after an undo record of the value it
// replaces (kept once per directory: a second run keeps the first record).
// When a third token is present it then starts the IDE's executable, as it
// stands and without arguments, and does not wait for it. A missing
// directory, or one with a line break in it, shows the "Set ABC Library
// Directory" box and changes nothing. A write that fails, and a start that
// fails, fail the run without a box.
void LibSrcCommand(CommandContext& context, Env& env);

// UNLIBSRC Path: takes Path out of the chain of values that LIBSRC runs set.
// When "Libsrc" is Path it gets back the value Path replaced (absent again
// when it was absent); when a later LIBSRC replaced Path, that value's record
// takes over Path's value before. Path's record goes. No record: nothing to
// take back, which is no failure. A missing Path, or one that an INI file
// cannot hold as an entry's name, shows the "Incorrect Command Line" box and
// changes nothing. Never starts the IDE.
void UnLibSrcCommand(CommandContext& context, Env& env);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_LIB_SRC_COMMAND_H_
