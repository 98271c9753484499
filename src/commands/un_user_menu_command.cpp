#include "commands/un_user_menu_command.h"

#include <string>
#include <vector>

#include "commands/user_menu_command.h"
#include "env/ansi_text.h"
#include "text/strings.h"

namespace zqmv5 {
namespace {

// Whether a menu line "Menu Text|AppRef" runs `app_ref`.
bool Runs(Env& env, const std::string& menu_line, const std::string& app_ref) {
  const size_t bar = menu_line.rfind('|');
  return bar != std::string::npos &&
         Trim(UpperCase(env, menu_line.substr(bar + 1))) == Trim(UpperCase(env, app_ref));
}

}  // namespace

void UnUserMenuCommand(CommandContext& context, Env& env) {
  const std::string app_ref = context.Token(2);
  if (IsBlank(app_ref) || !IsStorableAppRef(app_ref)) {
    return context.Tell(env,
                        {Status::Kind::kBadInput,
                         "Command line parameter is: AppRef.  Found was: |   AppRef: " + app_ref},
                        "Incorrect Command Line");
  }
  // The IDE and USERMENU read the slots up to the first free one, so a run of
  // taken slots closes up over each line removed from it; slots behind a free
  // one stay where they are.
  const std::unique_ptr<ProcessLock> turn = context.TakeIdeIniTurn(env);
  if (!turn) return;
  std::vector<std::string> slots(kUserMenuSlots + 1);
  std::vector<std::string> kept(kUserMenuSlots + 1);
  for (int slot = 1, next = 1; slot <= kUserMenuSlots; ++slot) {
    const Status read =
        env.ReadIniValue(kUserMenus, std::to_string(slot), "", context.ini_file, &slots[slot]);
    if (!read.ok()) return context.Fail(env, read.About(context.ini_file));
    if (IsBlank(slots[slot])) {
      kept[slot] = slots[slot];
      next = slot + 1;
    } else if (!Runs(env, slots[slot], app_ref)) {
      kept[next++] = slots[slot];
    }
  }
  auto put = [&](int slot, const std::string& line) {
    const std::string key = std::to_string(slot);
    return IsBlank(line) ? env.RemoveIniValue(kUserMenus, key, context.ini_file)
                         : env.WriteIniValue(kUserMenus, key, line, context.ini_file);
  };
  Status status;
  std::vector<int> moved;
  for (int slot = 1; slot <= kUserMenuSlots && status.ok(); ++slot) {
    if (kept[slot] == slots[slot]) continue;
    status = put(slot, kept[slot]);
    if (status.ok()) moved.push_back(slot);
  }
  if (!status.ok()) {
    // A longer line moved into a shorter one's slot needs room on the way; a
    // menu left half moved up would show an entry twice. Each slot gets its
    // line back, in the room that it had.
    for (auto slot = moved.rbegin(); slot != moved.rend(); ++slot) put(*slot, slots[*slot]);
    return context.Fail(env, status.About(context.ini_file));
  }
  std::string application;
  status = env.ReadIniValue(kUserApplications, app_ref, "", context.ini_file, &application);
  if (status.ok() && !application.empty()) {
    status = env.RemoveIniValue(kUserApplications, app_ref, context.ini_file);
  }
  if (!status.ok()) context.Fail(env, status.About(context.ini_file));
}

}  // namespace zqmv5
