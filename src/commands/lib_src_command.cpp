#include "commands/lib_src_command.h"

#include "env/ansi_text.h"
#include "env/program.h"
#include "text/strings.h"

namespace zqmv5 {
namespace {

constexpr char kLibSrcCaption[] = "Set ABC Library Directory";

}  // namespace

void LibSrcCommand(CommandContext& context, Env& env) {
  const std::string directory = context.Token(2);
  if (IsBlank(directory)) {
    context.Tell(env, {Status::Kind::kBadInput, "File parameter missing from command line"},
                 kLibSrcCaption);
    return;
  }
  if (HasLineBreak(directory)) {
    context.Tell(env, {Status::Kind::kBadInput, "The directory parameter cannot hold a line break"},
                 kLibSrcCaption);
    return;
  }
  {
    const std::unique_ptr<ProcessLock> turn = context.TakeIdeIniTurn(env);
    if (!turn) return;
    const Status written =
        env.WriteIniValue("Paths", "Libsrc", UpperCase(env, directory), context.ini_file);
    if (!written.ok()) context.Fail(env, written.About(context.ini_file));
  }
  // The help text promises "LIBSRC Path [Run] (Any third parameter will run CW)".
  if (IsBlank(context.exe_name) || context.Token(3).empty()) return;
  const Status started = RunProgram(env, context.exe_name);
  if (!started.ok()) context.Fail(env, started);
}

}  // namespace zqmv5
