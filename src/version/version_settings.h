#ifndef ZQMV5_VERSION_VERSION_SETTINGS_H_
#define ZQMV5_VERSION_VERSION_SETTINGS_H_

#include <string>

#include "env/env.h"

namespace zqmv5 {

// The version file when the settings name none.
inline constexpr char kDefaultVersionFile[] = "Version.zqi";

// The settings that the window and the VERSION verb read alike.
struct VersionSettings {
  bool updates_enabled = true;  // [Status] On, default 1: its low eight bits
  bool auto_increment = true;   // [Status] Auto Increment, likewise
  std::string file_name;        // [FileName] Name, whole but for blanks around it; "" when blank
};
// Fails when the settings file exists but cannot be read (settings taken for
// absent ones would count in another file, or add a line with updates off),
// after the version file's short wait for another program that holds it.
Status ReadVersionSettings(Env& env, VersionSettings* settings);

// Store the name of the version file that the next run counts in, and the
// check boxes as Ok leaves them: "On" where the next run does not read it,
// "Auto Increment" where it counts (StoreChecks returns how that went).
Status StoreFileName(Env& env, const std::string& name);
Status StoreChecks(Env& env, bool updates_enabled, bool auto_increment);

// The box texts for settings that cannot be read, and the first line of one
// for settings that cannot be stored.
std::string CannotReadSettingsText(const Status& status);
std::string CannotStoreText(const Status& status);

}  // namespace zqmv5

#endif  // ZQMV5_VERSION_VERSION_SETTINGS_H_
