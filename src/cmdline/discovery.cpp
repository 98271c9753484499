#include "cmdline/discovery.h"

#include <string>

#include "runtime/fixed_text.h"

namespace zqmv5 {
namespace {

// Reads one entry into a text field, cut to the field's size, as every try
// stores its value before testing it.
std::string ReadField(Runtime& runtime, const char* section, const char* entry,
                      const char* file) {
  return FitCString(runtime.profile.ReadIniValue(section, entry, "", file), kTextFieldSize);
}

// Tries "ZQMV5.ini" first, then the two WIN.INI sections, while the value is
// still blank.
std::string ReadWithFallback(Runtime& runtime, const char* own_entry, const char* win_entry) {
  std::string value = ReadField(runtime, kOwnIniSection, own_entry, kOwnIniFile);
  if (IsBlank(value)) value = ReadField(runtime, kWinIniEnterpriseSection, win_entry, "");
  if (IsBlank(value)) value = ReadField(runtime, kWinIniSection, win_entry, "");
  return value;
}

constexpr char kEntryNotFoundCaption[] = "Entry Not Found";
constexpr char kEntryNotFoundText[] =
    "The ZQ ZQ Commandline program looks for Clarion information in the WIN.INI file the "
    "related Clarion INI file.  Required information was not found.";

}  // namespace

uint8_t FindInstallation(CommandContext& context, Runtime& runtime) {
  context.ROOT = ReadWithFallback(runtime, "root", "root");
  if (IsBlank(context.ROOT)) return 1;

  const std::string root = TrimRight(context.ROOT);
  if (!root.empty() && root.back() == '\\') context.ROOT = root.substr(0, root.size() - 1);

  context.EXENAME = ReadWithFallback(runtime, "ExeName", "exename");
  return IsBlank(context.EXENAME) ? 1 : 0;
}

void FindIniFile(CommandContext& context, Runtime& runtime) {
  context.INIFILE = ReadField(runtime, kOwnIniSection, "IniFile", kOwnIniFile);
  if (IsBlank(context.INIFILE)) {
    context.INIFILE = FitCString(context.ROOT + kDefaultIdeIniFile, kTextFieldSize);
  }
}

uint8_t Discover(CommandContext& context, Runtime& runtime) {
  context.TOKENQ = std::make_unique<TokenQueue>();
  const std::string command_text = runtime.command_line.CommandText();
  context.CMD =
      FitCString(LeftJustify(Upper(CommandParameter(command_text, 1))), kVerbFieldSize);
  context.PROGRAMPATH = FitCString(runtime.files.ShortPath(""), kTextFieldSize);

  uint8_t failed = FindInstallation(context, runtime);
  if (failed == 0) FindIniFile(context, runtime);
  if (failed == 1) {
    runtime.messages.ShowMessage(kEntryNotFoundText, kEntryNotFoundCaption);
  } else {
    context.Tokenize(command_text);
  }
  return failed;
}

}  // namespace zqmv5
