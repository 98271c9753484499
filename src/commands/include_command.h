#ifndef ZQMV5_COMMANDS_INCLUDE_COMMAND_H_
#define ZQMV5_COMMANDS_INCLUDE_COMMAND_H_

#include <cstddef>
#include <string>

#include "cmdline/command_context.h"
#include "runtime/runtime.h"

namespace zqmv5 {

// The longest include name whose include line, "#INCLUDE('name')", still fits
// a template line of 255 characters.
constexpr size_t kMaxIncludeName = 243;

// The include line for `include_name`: "#INCLUDE('" include_name "')".
std::string IncludeLine(const std::string& include_name);

// INCLUDE TemplateFile IncludeName: looks through the template file (token 2)
// for the include line of the name (token 3), anywhere in any line and with
// exact case, and when no line holds it adds it at the end of the file, after
// an empty line when the last line holds text. Shows nothing in any case, and
// never creates the file. Does nothing when either operand is blank, when the
// name is longer than kMaxIncludeName or holds a line break, or when the file
// cannot be read to its end or is in UTF-16. A write that fails leaves the
// file as it was.
void IncludeCommand(CommandContext& context, Runtime& runtime);

// Adds the include line at the end of the open `template_file`, in memory,
// first an empty line when `last_line` (the file's last line) is not blank.
void AppendIncludeLine(TextFile& template_file, const std::string& last_line,
                       const std::string& include_name);

}  // namespace zqmv5

#endif  // ZQMV5_COMMANDS_INCLUDE_COMMAND_H_
