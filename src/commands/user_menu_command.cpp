#include "commands/user_menu_command.h"

#include <string_view>

#include "runtime/fixed_text.h"

namespace zqmv5 {
namespace {

constexpr char kUserMenus[] = "User Menus";
constexpr char kUserApplications[] = "User Applications";
constexpr int kUserMenuSlots = 100;

constexpr char kIncorrectCaption[] = "Incorrect Command Line";

std::string Replace(std::string text, char from, char to) {
  for (char& c : text) {
    if (c == from) c = to;
  }
  return text;
}

std::string TrimLeft(std::string_view text) {
  size_t start = text.find_first_not_of(' ');
  return start == std::string_view::npos ? "" : std::string(text.substr(start));
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != text.npos; }

// An INI line is "key=value": a key with "=" in it would be read back as a
// shorter key, and one that begins with "[" as a section header that captures
// the entries after it. A line break in any operand would start a line of its
// own in the IDE's INI file.
bool FitsIniFile(const UserMenuOperands& operands, const std::string& command_line) {
  const std::string& app_ref = operands.AppRef;
  if (app_ref.find('=') != std::string::npos) return false;
  if (TrimLeft(app_ref).rfind('[', 0) == 0) return false;
  return !HasLineBreak(app_ref) && !HasLineBreak(operands.MenuDisplay) &&
         !HasLineBreak(command_line) && !HasLineBreak(operands.Parm);
}

void ShowIncorrectCommandLine(const UserMenuOperands& operands, const std::string& command_line,
                              Runtime& runtime) {
  std::string text =
      "Command line paramters are: AppRef MenuDisplay CommandLine [Parm].  Found were: ";
  text += "|   AppRef: " + operands.AppRef;
  text += "|   MenuDisplay: " + operands.MenuDisplay;
  text += "|   CommandLine: " + command_line;
  text += "|   Parm: " + operands.Parm;
  runtime.messages.ShowMessage(text, kIncorrectCaption);
}

// The profile service drops the blanks at both ends of a value it stores, so
// a menu text that begins with "+" is read back without its leading blank.
// Comparing without those blanks keeps a second run from adding the line again.
bool SameMenuLine(std::string_view stored, std::string_view wanted) {
  return SameText(TrimLeft(Upper(stored)), TrimLeft(Upper(wanted)));
}

}  // namespace

void AddUserMenuEntry(const UserMenuOperands& operands, const CommandContext& context,
                      Runtime& runtime) {
  const std::string menu_line = operands.MenuDisplay + "|" + operands.AppRef;
  for (int slot = 1; slot <= kUserMenuSlots; ++slot) {
    const std::string key = std::to_string(slot);
    const std::string value = FitCString(
        runtime.profile.ReadIniValue(kUserMenus, key, "", context.INIFILE), kTextFieldSize);
    if (SameMenuLine(value, menu_line)) return;
    if (IsBlank(value)) {
      runtime.profile.WriteIniValue(kUserMenus, key, menu_line, context.INIFILE);
      break;
    }
  }
  runtime.profile.WriteIniValue(kUserApplications, operands.AppRef,
                                context.COMMANDLINE + " " + operands.Parm, context.INIFILE);
}

void UserMenuCommand(CommandContext& context, Runtime& runtime) {
  UserMenuOperands operands;
  operands.AppRef = FitCString(context.Token(2), kTextFieldSize);
  operands.MenuDisplay = FitCString(context.Token(3), kTextFieldSize);
  context.COMMANDLINE = FitCString(context.Token(4), kTextFieldSize);
  operands.Parm = FitCString(context.Token(5), kTextFieldSize);

  if (IsBlank(operands.AppRef) || IsBlank(context.COMMANDLINE) || IsBlank(operands.MenuDisplay) ||
      !FitsIniFile(operands, context.COMMANDLINE)) {
    ShowIncorrectCommandLine(operands, context.COMMANDLINE, runtime);
    return;
  }

  operands.MenuDisplay = Replace(Replace(operands.MenuDisplay, '+', ' '), '-', '/');
  operands.Parm = Replace(operands.Parm, '+', ' ');
  AddUserMenuEntry(operands, context, runtime);
}

}  // namespace zqmv5
