#include "commands/reg_command.h"

#include "dde/connection_log.h"
#include "dde/dde_connection.h"
#include "runtime/fixed_text.h"

namespace zqmv5 {
namespace {

constexpr char kEnvironmentSection[] = "Environment";
constexpr char kAutoPickEntry[] = "AutoPick";

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
    runtime.messages.ShowMessage("Template file does not exist.", "Register Error");
    return;
  }
  const std::string saved =
      runtime.profile.ReadIniValue(kEnvironmentSection, kAutoPickEntry, "on", context.INIFILE);
  context.SAVAUTOPIC = FitCString(saved, kAutoPickFieldSize);
  runtime.profile.WriteIniValue(kEnvironmentSection, kAutoPickEntry, "off", context.INIFILE);
  RegisterWithIde(runtime, context.EXENAME, name);
  // SAVAUTOPIC holds 19 characters; a longer value is put back whole rather
  // than cut, so that REG never changes the setting it only borrowed.
  const std::string& restored =
      saved.size() > context.SAVAUTOPIC.size() ? saved : context.SAVAUTOPIC;
  runtime.profile.WriteIniValue(kEnvironmentSection, kAutoPickEntry, restored, context.INIFILE);
}

}  // namespace zqmv5
