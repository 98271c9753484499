#include "version/version_settings.h"

#include "text/strings.h"
#include "text/version_record.h"

namespace zqmv5 {
namespace {

// The settings files of the version utility, in the current directory.
constexpr char kSettingsIni[] = ".\\ZQMV5.ini";
constexpr char kSavedStatusIni[] = ".\\ZQMV.ini";
constexpr char kStatusSection[] = "Status";
constexpr char kOnEntry[] = "On";
constexpr char kAutoIncrementEntry[] = "Auto Increment";
constexpr char kFileNameSection[] = "FileName";
constexpr char kNameEntry[] = "Name";

Status ReadFlag(Env& env, const char* entry, bool* flag) {
  std::string value;
  const Status read = env.ReadIniValue(kStatusSection, entry, "1", kSettingsIni, &value);
  *flag = (HundredthsOf(value) / 100 & 0xFF) != 0;
  return read;
}

Status ReadSettingsOnce(Env& env, VersionSettings* settings) {
  Status status = ReadFlag(env, kOnEntry, &settings->updates_enabled);
  if (status.ok()) status = ReadFlag(env, kAutoIncrementEntry, &settings->auto_increment);
  if (status.ok())
    status = env.ReadIniValue(kFileNameSection, kNameEntry, "", kSettingsIni, &settings->file_name);
  // The window stores a name without blanks around it, as the profile API
  // drops them; a name read is taken alike, whatever wrote it.
  settings->file_name = Trim(settings->file_name);
  return status;
}

}  // namespace

Status ReadVersionSettings(Env& env, VersionSettings* settings) {
  return RetryWhileHeld(env, kHeldWait, [&] { return ReadSettingsOnce(env, settings); });
}

Status StoreFileName(Env& env, const std::string& name) {
  return env.WriteIniValue(kFileNameSection, kNameEntry, name, kSettingsIni);
}

Status StoreChecks(Env& env, bool updates_enabled, bool auto_increment) {
  env.WriteIniValue(kStatusSection, kOnEntry, updates_enabled ? "1" : "0", kSavedStatusIni);
  return env.WriteIniValue(kStatusSection, kAutoIncrementEntry, auto_increment ? "1" : "0",
                           kSettingsIni);
}

std::string CannotReadSettingsText(const Status& status) {
  return std::string("The settings cannot be read from ") + kSettingsIni + ": " + status.message() +
         "|Nothing has been changed.";
}

std::string CannotStoreText(const Status& status) {
  return std::string("The settings cannot be stored in ") + kSettingsIni + ": " + status.message();
}

}  // namespace zqmv5
