#include "version/version_file.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "text/strings.h"
#include "text/version_record.h"

namespace zqmv5 {
namespace {

bool ReadFlag(Env& env, const char* entry) {
  std::string value;
  env.ReadIniValue("Status", entry, "1", kSettingsIni, &value);
  return (HundredthsOf(value) / 100 & 0xFF) != 0;
}

}  // namespace

VersionSettings ReadVersionSettings(Env& env) {
  VersionSettings settings;
  settings.updates_enabled = ReadFlag(env, "On");
  settings.auto_increment = ReadFlag(env, "Auto Increment");
  env.ReadIniValue("FileName", "Name", "", kSettingsIni, &settings.file_name);
  if (IsBlank(settings.file_name)) settings.file_name.clear();
  return settings;
}

NextLine PrepareNextLine(LineFile& file, bool auto_increment) {
  NextLine next;
  const std::vector<std::string>& lines = file.lines();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (const std::optional<VersionRecord> record = ReadVersionRecord(lines[i])) {
      next = {record->version, VersionFieldOf(lines[i]), record->build, i + 1, Restored(lines[i])};
    }
    file.Put(i, CommentedOut(lines[i]));
  }
  if (next.last_position == 0) return next;
  if (auto_increment && next.build < INT_MAX) ++next.build;
  next.build = std::min(next.build, kHighestBuild);
  return next;
}

Status OpenVersionFile(LineFile& file, const std::string& name) {
  constexpr int32_t kWait = 200;  // hundredths of a second
  return file.Open(name, Share::kDenyWrite, IfMissing::kCreate, kWait);
}

bool HasControlCharacter(const std::string& text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

std::string CannotOpenText(const std::string& name, const Status& status) {
  return "The version file " + name + " cannot be opened: " + status.message() +
         "|It may be in use by another program. Nothing in it has been changed.";
}

std::string CannotChangeText(const std::string& name, const Status& status) {
  return "The version file " + name + " cannot be changed: " + status.message() +
         "|Nothing in it has been changed.";
}

}  // namespace zqmv5
