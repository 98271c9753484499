#include "commands/reg_command.h"

#include <string_view>

#include "dde/connection_log.h"
#include "dde/dde_connection.h"
#include "runtime/fixed_text.h"

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
    if (static_cast<unsigned char>(c) < ' ' || std::string_view("[](),\"").find(c) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

}  // namespace

void RegisterWithIde(Runtime& runtime, const std::string& exe, const std::string& file) {
  // REG is the connection's only user and runs once per process, so the
  // connection and its log live exactly as long as the program needs them.
  ConnectionLog log(runtime.profile);
  DdeConnection connection(runtime, log);
  connection.Init(exe);
  connection.Connect();
  connection.RegisterTemplate(file, 0);
  connection.Disconnect();
}

void RegCommand(CommandContext& context, Runtime& runtime) {
  const std::string name = FitCString(context.Token(2), kTextFieldSize);
  if (IsBlank(name)) {
    runtime.messages.ShowMessage(
        "Command line must include a template name as the second parameter.", "ZQ Install Error");
    return;
  }
  if (!runtime.files.FileExists(name)) {
    runtime.messages.ShowMessage("Template file does not exist.", kRegisterError);
    return;
  }
  // Such a name goes in its short form, which Windows makes of plain letters
  // and digits.
  const std::string sent = HoldsCommandCharacters(name) ? runtime.files.ShortPath(name) : name;
  if (HoldsCommandCharacters(sent)) {
    runtime.messages.ShowMessage(
        "The template file name holds [, ], (, ) or a comma, which the IDE would read as part "
        "of its command, and the file has no short name without them.",
        kRegisterError);
    return;
  }
  const std::unique_ptr<ProcessLock> turn =
      runtime.programs.LockAcrossProcesses(kRegLock, kRegLockWait);
  if (!turn) return;
  const std::string saved =
      runtime.profile.ReadIniValue(kEnvironmentSection, kAutoPickEntry, "on", context.INIFILE);
  context.SAVAUTOPIC = FitCString(saved, kAutoPickFieldSize);
  runtime.profile.WriteIniValue(kEnvironmentSection, kAutoPickEntry, "off", context.INIFILE);
  RegisterWithIde(runtime, context.EXENAME, sent);
  // SAVAUTOPIC holds 19 characters; a longer value is put back whole rather
  // than cut, so that REG never changes the setting it only borrowed.
  const std::string& restored =
      saved.size() > context.SAVAUTOPIC.size() ? saved : context.SAVAUTOPIC;
  runtime.profile.WriteIniValue(kEnvironmentSection, kAutoPickEntry, restored, context.INIFILE);
}

}  // namespace zqmv5
