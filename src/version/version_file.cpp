#include "version/version_file.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "text/strings.h"
#include "text/version_record.h"

namespace zqmv5 {
namespace {

bool ReadFlag(Env& env, const char* entry) {
  return (HundredthsOf(env.ReadIniValue("Status", entry, "1", kSettingsIni)) / 100 & 0xFF) != 0;
}

}  // namespace

VersionSettings ReadVersionSettings(Env& env) {
  VersionSettings settings;
  settings.updates_enabled = ReadFlag(env, "On");
  settings.auto_increment = ReadFlag(env, "Auto Increment");
  settings.file_name = env.ReadIniValue("FileName", "Name", "", kSettingsIni).substr(0, 119);
  if (IsBlank(settings.file_name)) settings.file_name.clear();
  return settings;
}

NextLine PrepareNextLine(LineFile& file, bool auto_increment) {
  NextLine next;
  const std::vector<std::string>& lines = file.lines();
  size_t count = lines.size();
  while (count > 0 && lines[count - 1].find_first_not_of(" \t") == std::string::npos) --count;
  if (count == 0) return next;
  for (size_t i = 0; i < count; ++i) file.Put(i, CommentedOut(lines[i]));
  const std::string& last = lines[count - 1];
  next.version = VersionOf(last);
  next.version_field = VersionFieldOf(last);
  next.build = BuildOf(last);
  if (auto_increment && next.build < INT_MAX) ++next.build;
  next.build = std::min(next.build, kHighestBuild);
  next.last_position = count;
  return next;
}

std::string CannotOpenText(const std::string& name, const Status& status) {
  return "The version file " + name + " cannot be opened: " + status.text +
         "|It may be in use by another program. Nothing in it has been changed.";
}

}  // namespace zqmv5
