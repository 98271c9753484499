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
// Windows cannot take fails where it is used. A file that is there but
// cannot be read (another program holds it) fails the search: read as empty,
// WIN.INI could name another installation.
Status ReadField(Env& env, const char* section, const char* entry, const char* file,
                 std::string* value) {
  const Status read = env.ReadIniValue(section, entry, "", file, value);
  return read.About(*file ? file : "WIN.INI");
}

// "ZQMV5.ini" first, then the two WIN.INI sections, while the value is blank.
Status ReadWithFallback(Env& env, const char* own_entry, const char* win_entry,
                        std::string* value) {
  Status status = ReadField(env, kOwnIniSection, own_entry, kOwnIniFile, value);
  if (status.ok() && IsBlank(*value))
    status = ReadField(env, kWinIniEnterpriseSection, win_entry, "", value);
  if (status.ok() && IsBlank(*value)) status = ReadField(env, kWinIniSection, win_entry, "", value);
  return status;
}

// Sets the root and the executable; `*found` false when either is found
// nowhere. Fails when a file that holds them cannot be read.
Status FindInstallation(CommandContext& context, Env& env, bool* found) {
  *found = false;
  Status status = ReadWithFallback(env, "root", "root", &context.root);
  if (!status.ok() || IsBlank(context.root)) return status;
  const std::string root = TrimRight(context.root);
  if (EndsWithCharacter(env, root, '\\')) context.root = root.substr(0, root.size() - 1);
  status = ReadWithFallback(env, "ExeName", "exename", &context.exe_name);
  *found = status.ok() && !IsBlank(context.exe_name);
  return status;
}

Status FindIniFile(CommandContext& context, Env& env) {
  const Status status = ReadField(env, kOwnIniSection, "IniFile", kOwnIniFile, &context.ini_file);
  if (status.ok() && IsBlank(context.ini_file)) {
    context.ini_file = context.root + "\\Bin\\C5ee.ini";
  }
  return status;
}

}  // namespace

std::string VerbOf(const std::string& command_text) {
  return TrimRight(Trim(Upper(CommandParameter(command_text, 1))).substr(0, kMaxVerb));
}

bool Discover(CommandContext& context, Env& env) {
  bool found = false;
  Status status = FindInstallation(context, env, &found);
  if (found) status = FindIniFile(context, env);
  if (!status.ok()) {
    context.Tell(env, status.With("Nothing has been changed."), "Settings Not Read");
    return false;
  }
  if (!found) {
    context.Tell(env,
                 Status(Status::Kind::kNoInstallation,
                        "The ZQ ZQ Commandline program looks for Clarion information in the "
                        "WIN.INI file the related Clarion INI file.  Required information was not "
                        "found."),
                 "Entry Not Found");
    return false;
  }
  return true;
}

}  // namespace zqmv5
