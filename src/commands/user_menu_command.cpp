#include "commands/user_menu_command.h"

#include <string>
#include <string_view>

#include "env/ansi_text.h"
#include "text/strings.h"

namespace zqmv5 {
namespace {

std::string Replace(std::string text, char from, char to) {
  for (char& c : text) {
    if (c == from) c = to;
  }
  return text;
}

// A line break in any operand would start a line of its own in the IDE's
// INI file.
bool FitsIniFile(const std::string& app_ref, const std::string& menu_display,
                 const std::string& command_line, const std::string& parm) {
  return IsStorableAppRef(app_ref) && !HasLineBreak(menu_display) && !HasLineBreak(command_line) &&
         !HasLineBreak(parm);
}

// The profile service drops the blanks at both ends of a value it stores, so
// a menu text that begins with "+" is read back without its leading blank.
// Comparing without those blanks keeps a second run from adding the line again.
bool SameMenuLine(Env& env, std::string_view stored, std::string_view wanted) {
  return Trim(UpperCase(env, stored)) == Trim(UpperCase(env, wanted));
}

// Writes the menu line into the first free slot, unless a slot before it
// holds the same line (nothing to do), and then the application's command
// line. Returns how the reads and writes went; `*full` tells a menu without a
// free slot, where only the application is written. A failed write of the
// application takes its menu line back, as one without its application would
// run nothing.
Status AddUserMenuEntry(Env& env, const std::string& ini_file, const std::string& app_ref,
                        const std::string& menu_display, const std::string& program, bool* full) {
  const std::string menu_line = menu_display + "|" + app_ref;
  std::string free_key;
  for (int slot = 1; slot <= kUserMenuSlots && free_key.empty(); ++slot) {
    const std::string key = std::to_string(slot);
    std::string value;
    const Status read = env.ReadIniValue(kUserMenus, key, "", ini_file, &value);
    if (!read.ok()) return read;
    value = value.substr(0, kMaxText);
    if (SameMenuLine(env, value, menu_line)) return {};
    if (IsBlank(value)) free_key = key;
  }
  // UNUSERMENU takes the application entry back: one that runs another
  // program would be lost for good. The profile service stores a value
  // without the blanks at its ends.
  std::string present;
  const Status read = env.ReadIniValue(kUserApplications, app_ref, "", ini_file, &present);
  if (!read.ok()) return read;
  if (!IsBlank(present) && Trim(present) != Trim(program)) {
    return {Status::Kind::kDenied, "The application " + app_ref + " is there already and runs " +
                                       Trim(present) + "; nothing was written."};
  }
  *full = free_key.empty();
  if (!*full) {
    const Status status = env.WriteIniValue(kUserMenus, free_key, menu_line, ini_file);
    if (!status.ok()) return status;
  }
  const Status written = env.WriteIniValue(kUserApplications, app_ref, program, ini_file);
  if (!written.ok() && !*full) env.RemoveIniValue(kUserMenus, free_key, ini_file);
  return written;
}

}  // namespace

bool IsStorableAppRef(const std::string& app_ref) {
  return IsIniEntryName(app_ref) && app_ref.find('|') == std::string::npos;
}

void UserMenuCommand(CommandContext& context, Env& env) {
  const std::string app_ref = context.Token(2);
  const std::string menu_display = context.Token(3);
  const std::string command_line = context.Token(4);
  const std::string parm = context.Token(5);
  if (IsBlank(app_ref) || IsBlank(command_line) || IsBlank(menu_display) ||
      !FitsIniFile(app_ref, menu_display, command_line, parm)) {
    const std::string found = "|   AppRef: " + app_ref + "|   MenuDisplay: " + menu_display +
                              "|   CommandLine: " + command_line + "|   Parm: " + parm;
    return context.Tell(
        env,
        {Status::Kind::kBadInput,
         "Command line paramters are: AppRef MenuDisplay CommandLine [Parm].  Found were: " +
             found},
        "Incorrect Command Line");
  }
  const std::unique_ptr<ProcessLock> turn = context.TakeIdeIniTurn(env);
  if (!turn) return;
  bool full = false;
  const Status written = AddUserMenuEntry(env, context.ini_file, app_ref,
                                          Replace(Replace(menu_display, '+', ' '), '-', '/'),
                                          command_line + " " + Replace(parm, '+', ' '), &full);
  if (!written.ok()) {
    context.Fail(env, written.About(context.ini_file));
  } else if (full) {
    context.Fail(env, {Status::Kind::kNoRoom,
                       "The user menu is full (entries 1 to " + std::to_string(kUserMenuSlots) +
                           "): only the application " + app_ref + " was written."});
  }
}

}  // namespace zqmv5
