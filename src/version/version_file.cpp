#include "version/version_file.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

#include "text/strings.h"
#include "text/version_record.h"

namespace zqmv5 {
namespace {

// Another VERSION run holds the version file, and a program that writes the
// settings holds them, only for a moment.
constexpr int32_t kHeldWait = 200;  // hundredths of a second

Status ReadFlag(Env& env, const char* entry, bool* flag) {
  std::string value;
  const Status read = env.ReadIniValue("Status", entry, "1", kSettingsIni, &value);
  *flag = (HundredthsOf(value) / 100 & 0xFF) != 0;
  return read;
}

Status ReadSettingsOnce(Env& env, VersionSettings* settings) {
  Status status = ReadFlag(env, "On", &settings->updates_enabled);
  if (status.ok()) status = ReadFlag(env, "Auto Increment", &settings->auto_increment);
  if (status.ok())
    status = env.ReadIniValue("FileName", "Name", "", kSettingsIni, &settings->file_name);
  // The window stores a name without blanks around it, as the profile API
  // drops them; a name read is taken alike, whatever wrote it.
  settings->file_name = Trim(settings->file_name);
  return status;
}

}  // namespace

Status ReadVersionSettings(Env& env, VersionSettings* settings) {
  return RetryWhileHeld(env, kHeldWait, [&] { return ReadSettingsOnce(env, settings); });
}

NextLine PrepareNextLine(LineFile& file, bool auto_increment) {
  struct Found {
    VersionRecord record;
    std::string field;
  };
  std::optional<Found> last, last_active;
  NextLine next;
  const std::vector<std::string>& lines = file.lines();
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string commented = CommentedOut(lines[i]);
    const bool active = commented != lines[i];
    if (const std::optional<VersionRecord> record = ReadVersionRecord(lines[i])) {
      last = Found{*record, VersionFieldOf(lines[i])};
      if (active) last_active = last;
    }
    if (active) {
      next.active.emplace_back(i, lines[i]);
      file.Put(i, std::move(commented));
    }
  }
  const std::optional<Found>& found = last_active ? last_active : last;
  if (!found) return next;
  next.version = found->record.version;
  next.version_field = found->field;
  next.build = found->record.build;
  if (auto_increment && next.build < INT_MAX) ++next.build;
  next.build = std::min(next.build, kHighestBuild);
  return next;
}

Status OpenVersionFile(LineFile& file, const std::string& name) {
  return file.Open(name, Share::kDenyWrite, IfMissing::kCreate, kHeldWait);
}

bool HasControlCharacter(const std::string& text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

std::string CannotOpenText(const std::string& name, const Status& status) {
  return "The version file " + name + " cannot be opened: " + status.message() +
         "|It may be in use by another program. Nothing in it has been changed.";
}

std::string CannotReadSettingsText(const Status& status) {
  return std::string("The settings cannot be read from ") + kSettingsIni + ": " + status.message() +
         "|Nothing has been changed.";
}

std::string CannotChangeText(const std::string& name, const Status& status) {
  return "The version file " + name + " cannot be changed: " + status.message() +
         "|Nothing in it has been changed.";
}

}  // namespace zqmv5
