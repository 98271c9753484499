#include "commands/reg_command.h"

#include <algorithm>
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

// Another program may hold the IDE's INI file for a moment when AutoPick is
// put back: the write is tried again, with rests between, for this long.
constexpr int32_t kRestoreWait = 1000;
constexpr int32_t kRestoreRest = 50;

// REG runs take turns at AutoPick across processes: one that read the "off"
// of another as the value to put back would leave it off for good. A run waits
// for the INI file's turn, the connect bound, one DDE time-out and the
// put-back's retries; a turn held longer than all four means a stuck run.
constexpr char kRegLock[] = "ZQMV5 REG AutoPick";
constexpr int32_t kRegLockWait =
    kIdeIniTurnWait + kConnectBound + kTransactionTimeOut + kRestoreWait;

// The IDE reads its command up to the first of these: a name holding one
// could end the template argument early and add commands of its own.
bool HoldsCommandCharacters(const std::string& name) {
  return std::any_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < ' ' ||
           std::string_view("[](),\"").find(c) != std::string_view::npos;
  });
}

// Asks the IDE (starting `exe` when it does not answer) to register `file` as
// a template chain; returns how the command went, in words for the user. REG
// runs once per process, so the connection and its log live exactly as long
// as this needs them.
Status RegisterWithIde(Env& env, const std::string& exe, const std::string& file) {
  ConnectionLog log(env);
  DdeConnection connection(env, log, exe);
  Status status = connection.Connect();
  if (status.ok()) status = connection.RegisterTemplate(file);
  // A start that failed names the program itself; every other failure is DDE's.
  if (status.ok() || connection.start_failed()) return status;
  return status.About("The IDE did not take the template (DDE error " +
                      std::to_string(status.number()) + ")");
}

// Puts AutoPick back, in a turn at the IDE's INI file; a failed write is tried
// again for kRestoreWait. Returns how the last write went. A turn that
// another program keeps is told by the caller with the value to put back,
// not as a turn missed before any change.
Status RestoreAutoPick(CommandContext& context, Env& env, const std::string& value) {
  bool turn_missed = false;
  Rests rests{env, kRestoreWait, kRestoreRest};
  const auto write_in_turn = [&] {
    std::unique_ptr<ProcessLock> turn;
    const Status taken = env.LockAcrossProcesses(kIdeIniTurn, kIdeIniTurnWait, &turn);
    turn_missed = !taken.ok();
    return turn_missed
               ? taken.Reworded("another program kept its turn at the file for too long")
               : env.WriteIniValue(kEnvironmentSection, kAutoPickEntry, value, context.ini_file);
  };
  return Retry(write_in_turn, [&](const Status&) { return !turn_missed && rests.Take(); });
}

}  // namespace

void RegCommand(CommandContext& context, Env& env) {
  const std::string name = context.Token(2);
  if (IsBlank(name)) {
    return context.Tell(env,
                        {Status::Kind::kBadInput,
                         "Command line must include a template name as the second parameter."},
                        "ZQ Install Error");
  }
  if (!env.FileExists(name)) {
    return context.Tell(env, {Status::Kind::kNotFound, "Template file does not exist."},
                        kRegisterError);
  }
  // Such a name goes in its short form, which Windows makes of plain letters
  // and digits.
  const std::string sent = HoldsCommandCharacters(name) ? env.ShortPath(name) : name;
  if (HoldsCommandCharacters(sent)) {
    return context.Tell(
        env,
        {Status::Kind::kDenied,
         "The template file name holds [, ], (, ) or a comma, which the IDE would read "
         "as part of its command, and the file has no short name without them."},
        kRegisterError);
  }
  const std::unique_ptr<ProcessLock> turn =
      context.TakeTurn(env, kRegLock, kRegLockWait, "the IDE's AutoPick");
  if (!turn) return;
  // The whole value is put back, whatever its length: REG never changes a
  // setting it only borrowed.
  std::string saved;
  Status off;
  {
    const std::unique_ptr<ProcessLock> ini_turn = context.TakeIdeIniTurn(env);
    if (!ini_turn) return;
    off = env.ReadIniValue(kEnvironmentSection, kAutoPickEntry, "on", context.ini_file, &saved);
    if (off.ok())
      off = env.WriteIniValue(kEnvironmentSection, kAutoPickEntry, "off", context.ini_file);
  }
  // An IDE that received the command with AutoPick on would ask the user to
  // pick templates: the command waits for another run.
  if (!off.ok()) {
    return context.Tell(env,
                        off.Reworded("AutoPick could not be set off in " + context.ini_file + ": " +
                                     off.message() + "|The template has not been registered."),
                        kRegisterError);
  }
  const Status registered = RegisterWithIde(env, context.exe_name, sent);
  const Status back = RestoreAutoPick(context, env, saved);
  if (!registered.ok()) context.Fail(env, registered);
  if (!back.ok()) {
    const std::string sent_text = registered.ok() ? "The template went to the IDE, but " : "";
    context.Tell(env,
                 back.Reworded(sent_text + "AutoPick could not be put back in " + context.ini_file +
                               ": " + back.message() +
                               "|Set AutoPick in section [Environment] of that file back to \"" +
                               saved + "\"."),
                 kRegisterError);
  }
}

}  // namespace zqmv5
