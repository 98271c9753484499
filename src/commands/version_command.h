#ifndef ZQMV5_COMMANDS_VERSION_COMMAND_H_
#define ZQMV5_COMMANDS_VERSION_COMMAND_H_

#include "cmdline/command_context.h"
#include "env/env.h"

namespace zqmv5 {

// VERSION [Note...]: does without a window what opening the Log/Version
// window and pressing Ok with the values it offers does. Every active line of
// the version file is commented out and the next line added, with the last
// line's version, its build one higher under auto increment, the date and
// time of now and the note (the text after the verb, as typed), in one write.
// Writes no settings and needs no IDE. With updates turned off it adds
// nothing, and a note with a control character is refused. A version file
// that another program holds for longer than a moment, or that cannot be read
// or written whole, is left as it is and reported.
void VersionCommand(CommandContext& context, Env& env);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_VERSION_COMMAND_H_
