#include "commands/lib_src_command.h"

#include "text/strings.h"

namespace zqmv5 {
namespace {

constexpr char kLibSrcCaption[] = "Set ABC Library Directory";

}  // namespace

void LibSrcCommand(CommandContext& context, Env& env) {
  const std::string directory = context.Token(2);
  if (IsBlank(directory)) {
    context.Tell(env, "File parameter missing from command line", kLibSrcCaption,
                 kWrongCommandLine);
    return;
  }
  if (HasLineBreak(directory)) {
    context.Tell(env, "The directory parameter cannot hold a line break", kLibSrcCaption,
                 kWrongCommandLine);
    return;
  }
  {
    const std::unique_ptr<ProcessLock> turn = context.TakeIdeIniTurn(env);
    if (!turn) return;
    const Status written = env.WriteIniValue("Paths", "Libsrc", Upper(directory), context.ini_file);
    if (!written.ok()) context.Fail(env, kFailed, context.ini_file + ": " + written.text);
  }
  // The help text promises "LIBSRC Path [Run] (Any third parameter will run CW)".
  if (IsBlank(context.exe_name) || context.Token(3).empty()) return;
  const Status started = env.StartProgram(context.exe_name);
  if (!started.ok()) context.Fail(env, kFailed, context.exe_name + ": " + started.text);
}

}  // namespace zqmv5
