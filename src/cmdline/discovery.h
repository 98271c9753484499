#ifndef ZQMV5_CMDLINE_DISCOVERY_H_
#define ZQMV5_CMDLINE_DISCOVERY_H_

#include "cmdline/command_context.h"
#include "env/env.h"

namespace zqmv5 {

// Finds the IDE installation and fills `context`: the verb, the current
// directory, the IDE's root, executable and INI file, and the command line's
// tokens. Each value is taken from "ZQMV5.ini" [Clarion] first, then from the
// IDE's WIN.INI sections. Returns false, with the "Entry Not Found" box shown
// and no tokens, when the root or the executable is found nowhere.
bool Discover(CommandContext& context, Env& env);

}  // namespace zqmv5

#endif  // ZQMV5_CMDLINE_DISCOVERY_H_
