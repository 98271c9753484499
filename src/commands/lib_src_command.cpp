#include "commands/lib_src_command.h"

#include "text/strings.h"

namespace zqmv5 {
namespace {

constexpr char kLibSrcCaption[] = "Set ABC Library Directory";

}  // namespace

void LibSrcCommand(CommandContext& context, Env& env) {
  const std::string directory = context.Token(2);
  if (IsBlank(directory)) {
    env.ShowMessage("File parameter missing from command line", kLibSrcCaption);
    return;
  }
  if (HasLineBreak(directory)) {
    env.ShowMessage("The directory parameter cannot hold a line break", kLibSrcCaption);
    return;
  }
  env.WriteIniValue("Paths", "Libsrc", Upper(directory), context.ini_file);
  // The help text promises "LIBSRC Path [Run] (Any third parameter will run CW)".
  if (!IsBlank(context.exe_name) && !context.Token(3).empty()) env.StartProgram(context.exe_name);
}

}  // namespace zqmv5
