#include "commands/reg_command.h"

#include <string>
#include <string_view>

#include "dde/connection_log.h"
#include "dde/dde_connection.h"
#include "text/strings.h"

namespace zqmv5 {
namespace {

constexpr char kEnvironmentSection[] = "Environment";
constexpr char kAutoPickEntry[] = "AutoPick";
constexpr char kRegisterError[] = "Register Error";

// REG runs take turns at AutoPick across processes: one that read the "off"
// of another as the value to put back would leave it off for good. A run
// ends within the connect bound and one DDE time-out, so a turn longer than
// this wait means that the other run is stuck.
constexpr char kRegLock[] = "ZQMV5 REG AutoPick";
constexpr int32_t kRegLockWait = 18000;

// The IDE reads its command up to the first of these: a name holding one
// could end the template argument early and add commands of its own.
bool HoldsCommandCharacters(const std::string& name) {
  for (char c : name) {
    if (static_cast<unsigned char>(c) < ' ' ||
        std::string_view("[](),\"").find(c) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

// Asks the IDE (starting `exe` when it does not answer) to register `file` as
// a template chain. REG runs once per process, so the connection and its log
// live exactly as long as this needs them.
void RegisterWithIde(Env& env, const std::string& exe, const std::string& file) {
  ConnectionLog log(env);
  DdeConnection connection(env, log);
  connection.Init(exe);
  connection.Connect();
  connection.RegisterTemplate(file, 0);
  connection.Disconnect();
}

}  // namespace

void RegCommand(CommandContext& context, Env& env) {
  const std::string name = context.Token(2);
  if (IsBlank(name)) {
    env.ShowMessage("Command line must include a template name as the second parameter.",
                    "ZQ Install Error");
    return;
  }
  if (!env.FileExists(name)) {
    env.ShowMessage("Template file does not exist.", kRegisterError);
    return;
  }
  // Such a name goes in its short form, which Windows makes of plain letters
  // and digits.
  const std::string sent = HoldsCommandCharacters(name) ? env.ShortPath(name) : name;
  if (HoldsCommandCharacters(sent)) {
    env.ShowMessage(
        "The template file name holds [, ], (, ) or a comma, which the IDE would read as part "
        "of its command, and the file has no short name without them.",
        kRegisterError);
    return;
  }
  const std::unique_ptr<ProcessLock> turn = env.LockAcrossProcesses(kRegLock, kRegLockWait);
  if (!turn) return;
  // The whole value is put back, also one longer than the 19 characters that
  // the saved setting is declared to hold: REG never changes a setting it
  // only borrowed.
  const std::string saved =
      env.ReadIniValue(kEnvironmentSection, kAutoPickEntry, "on", context.ini_file);
  env.WriteIniValue(kEnvironmentSection, kAutoPickEntry, "off", context.ini_file);
  RegisterWithIde(env, context.exe_name, sent);
  env.WriteIniValue(kEnvironmentSection, kAutoPickEntry, saved, context.ini_file);
}

}  // namespace zqmv5
