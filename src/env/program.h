#ifndef ZQMV5_ENV_PROGRAM_H_
#define ZQMV5_ENV_PROGRAM_H_

#include <string>

#include "env/env.h"

namespace zqmv5 {

// Starts the program that `command_line` (such as the IDE's ExeName) names,
// without waiting for it and without guessing where its name ends: the whole
// text when it names an existing file; else, when it starts with a quote, the
// name up to the closing one; else the longest part up to a blank that names
// an existing file. What follows the name goes to the program as its
// arguments. When no part names an existing file, nothing starts and it fails
// (not found, with the number that Windows gives a missing file). A failure's
// message names `command_line`.
Status RunProgram(Env& env, const std::string& command_line);

}  // namespace zqmv5

#endif  // ZQMV5_ENV_PROGRAM_H_
