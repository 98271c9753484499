#ifndef ZQMV5_VERSION_VERSION_WINDOW_H_
#define ZQMV5_VERSION_VERSION_WINDOW_H_

#include <cstddef>
#include <memory>
#include <string>

#include "env/env.h"
#include "text/line_file.h"
#include "version/version_file.h"

namespace zqmv5 {

// The note while updates are off.
inline constexpr char kUpdatesOffNote[] = "Update is turned off";

// Runs the Log/Version window until it closes.
void VersionWindow(Env& env);

// One run of the version window: the version file it keeps, the window's own
// state, and the steps that share them. The window's steps are in
// version_window.cpp, the file's in version_entry.cpp.
class VersionWindowProcedure {
 public:
  explicit VersionWindowProcedure(Env& env) : env_(env), file_(env) {}
  VersionWindowProcedure(const VersionWindowProcedure&) = delete;
  VersionWindowProcedure& operator=(const VersionWindowProcedure&) = delete;

  // Opens the window, runs its events until it closes, and releases it.
  void Run();

 private:
  void ShowStatus();
  void ShowNote(const std::string& note);
  void EnableEntry();
  void DisableEntry();
  void TakeTimer();
  void TakeEvent(ViewEvent event);

  // Opens the file, comments out its active lines and shows the next line.
  void LoadVersionFile();
  void SaveEntry();
  void CancelEntry();
  void SessionEnd();
  // Makes the file's last line active again; ok when there was none.
  Status RestoreLastLine();
  // Every message box of the version window has no caption and no icon.
  void Tell(const std::string& text) { env_.ShowMessage(text, "", MessageIcon::kNone); }

  Env& env_;
  std::unique_ptr<VersionView> view_;
  LineFile file_;
  std::string file_name_;         // the file's name as the window opened it
  bool auto_at_open_ = false;     // "Auto Increment" as read at open
  bool updates_at_open_ = false;  // "On" as read at open
  bool close_allowed_ = false;    // until Ok, Cancel or the timer decide, a close is a Cancel
  int tick_count_ = 0;            // timer ticks counted while updates are off
  std::string added_;             // the new line's date and time, taken at open
  NextLine next_;                 // what the file's last line gave at open
};

}  // namespace zqmv5

#endif  // ZQMV5_VERSION_VERSION_WINDOW_H_
