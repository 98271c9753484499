#ifndef ZQMV5_CMDLINE_DISCOVERY_H_
#define ZQMV5_CMDLINE_DISCOVERY_H_

#include "cmdline/command_context.h"
#include "env/env.h"

namespace zqmv5 {

// The verb of a command text: parameter 1, upper-cased, without the blanks
// around it, cut to 19 characters.
std::string VerbOf(const std::string& command_text);

// Finds the IDE installation and fills `context`: the IDE's root, executable
// and INI file. Each value is taken from "ZQMV5.ini" [Clarion] first, then
// from the IDE's WIN.INI sections. Returns false, with "Entry Not Found" told,
// when the root or the executable is found nowhere.
bool Discover(CommandContext& context, Env& env);

}  // namespace zqmv5

#endif  // ZQMV5_CMDLINE_DISCOVERY_H_
