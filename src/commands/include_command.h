#ifndef ZQMV5_COMMANDS_INCLUDE_COMMAND_H_
#define ZQMV5_COMMANDS_INCLUDE_COMMAND_H_

#include <memory>
#include <string>

#include "cmdline/command_context.h"
#include "env/env.h"
#include "text/line_file.h"

namespace zqmv5 {

// INCLUDE TemplateFile IncludeName: looks through the template file (token 2)
// for the include line "#INCLUDE('IncludeName')" (token 3), anywhere in any
// line and with exact case, and when no line holds it adds it at the end of
// the file, after an empty line when the last line holds text. Shows nothing
// in any case and never creates the file. Does nothing when either operand is
// blank, when the line would not fit a template line of 255 characters or
// holds a line break, or when the file cannot be read to its end or is in
// UTF-16. Other programs cannot write the file meanwhile. A write that fails
// leaves the file as it was.
void IncludeCommand(CommandContext& context, Env& env);

// The include line of a file: "#INCLUDE('name')", each quote of the name
// doubled, as the template language reads a quote inside a string.
std::string IncludeLine(const std::string& include_name);

// Opens the template file (token 2) whole, for the include line of token 3,
// with writes denied to other programs until it is closed, in a turn at
// templates (`*turn`) that other INCLUDE and UNINCLUDE runs wait for; waits a
// few seconds for the turn and for a file that another program holds. False,
// with the failure told under /Q, when an operand is blank, when the include
// line would not fit a template line of 255 characters or holds a line
// break, or when the turn or the file cannot be had.
bool OpenTemplate(CommandContext& context, Env& env, LineFile* template_file,
                  std::unique_ptr<ProcessLock>* turn);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_INCLUDE_COMMAND_H_
