#include "cmdline/discovery.h"

#include <string>

#include "env/ansi_text.h"
#include "text/strings.h"

namespace zqmv5 {
namespace {

constexpr char kOwnIniFile[] = "ZQMV5.ini";  // bare name: the Windows directory
constexpr char kOwnIniSection[] = "Clarion";
constexpr char kWinIniEnterpriseSection[] = "Clarion 5  Enterprise Edition";
constexpr char kWinIniSection[] = "Clarion 5";
// The verb is compared as a field of 19 characters holds it: cut, and then
// without its trailing blanks, so that a quoted "CMD" followed by blanks and
// more text past that field is still CMD.
constexpr size_t kMaxVerb = 19;

// A value is used whole: a cut one would name another file. One that
// Windows cannot take fails where it is used.
std::string ReadField(Env& env, const char* section, const char* entry, const char* file) {
  std::string value;
  env.ReadIniValue(section, entry, "", file, &value);
  return value;
}

// "ZQMV5.ini" first, then the two WIN.INI sections, while the value is blank.
std::string ReadWithFallback(Env& env, const char* own_entry, const char* win_entry) {
  std::string value = ReadField(env, kOwnIniSection, own_entry, kOwnIniFile);
  if (IsBlank(value)) value = ReadField(env, kWinIniEnterpriseSection, win_entry, "");
  if (IsBlank(value)) value = ReadField(env, kWinIniSection, win_entry, "");
  return value;
}

// Sets the root and the executable; false when either is found nowhere.
bool FindInstallation(CommandContext& context, Env& env) {
  context.root = ReadWithFallback(env, "root", "root");
  if (IsBlank(context.root)) return false;
  const std::string root = TrimRight(context.root);
  if (EndsWithCharacter(env, root, '\\')) context.root = root.substr(0, root.size() - 1);
  context.exe_name = ReadWithFallback(env, "ExeName", "exename");
  return !IsBlank(context.exe_name);
}

void FindIniFile(CommandContext& context, Env& env) {
  context.ini_file = ReadField(env, kOwnIniSection, "IniFile", kOwnIniFile);
  if (IsBlank(context.ini_file)) {
    context.ini_file = context.root + "\\Bin\\C5ee.ini";
  }
}

}  // namespace

std::string VerbOf(const std::string& command_text) {
  return TrimRight(Trim(Upper(CommandParameter(command_text, 1))).substr(0, kMaxVerb));
}

bool Discover(CommandContext& context, Env& env) {
  if (!FindInstallation(context, env)) {
    context.Tell(env,
                 Status(Status::Kind::kNoInstallation,
                        "The ZQ ZQ Commandline program looks for Clarion information in the "
                        "WIN.INI file the related Clarion INI file.  Required information was not "
                        "found."),
                 "Entry Not Found");
    return false;
  }
  FindIniFile(context, env);
  return true;
}

}  // namespace zqmv5
