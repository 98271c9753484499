#ifndef ZQMV5_VERSION_VERSION_WINDOW_H_
#define ZQMV5_VERSION_VERSION_WINDOW_H_

#include <memory>
#include <string>
#include <utility>

#include "env/env.h"
#include "text/line_file.h"
#include "text/version_record.h"
#include "version/version_view.h"

namespace zqmv5 {

// The note while updates are off.
inline constexpr char kUpdatesOffNote[] = "Update is turned off";

// One run of the Log/Version window: the version file it keeps, the values
// that its number fields stand for, and the steps that share them.
class VersionWindow {
 public:
  VersionWindow(Env& env, VersionViewOpener open_view)
      : env_(env), open_view_(std::move(open_view)), file_(env) {}
  VersionWindow(const VersionWindow&) = delete;
  VersionWindow& operator=(const VersionWindow&) = delete;

  // Opens the window, runs its events until it closes, and releases it.
  void Run();

 private:
  void ShowStatus();
  void EnableEntry();
  void DisableEntry();
  void TakeTimer();
  void TakeEvent(ViewEvent event);

  // The text of a number field as the field shows its value.
  std::string NumberText(Field field) const;
  void ShowNumber(Field field) { view_->SetText(field, NumberText(field)); }
  // Takes what a number field shows: a new value is shown again as the field
  // shows numbers; text that is no value, a blank too, gives the field its
  // value back and the focus. False on a rejection.
  bool TakeNumber(Field field);
  bool TakeNumbers() { return TakeNumber(Field::kVersion) && TakeNumber(Field::kBuild); }
  // One step of a number field's arrows.
  void Step(Field field, int delta);

  // Opens the file, comments out its active lines and shows the next line.
  void LoadVersionFile();
  void SaveEntry();
  void CancelEntry();
  void SessionEnd();
  // Gives the file back the lines that were active at open; ok when there
  // were none.
  Status RestoreActiveLines();
  // Tells, naming the file, that its active lines could not be given back.
  void TellIfNotRestored(const Status& status);
  // Every message box of the version window has no caption and no icon.
  void Tell(const std::string& text) { env_.ShowMessage(text, "", MessageIcon::kNone); }

  Env& env_;
  VersionViewOpener open_view_;
  std::unique_ptr<VersionView> view_;
  LineFile file_;
  std::string file_name_;         // the file's name as the window opened it
  bool auto_at_open_ = false;     // "Auto Increment" as read at open
  bool updates_at_open_ = false;  // "On" as read at open
  bool close_allowed_ = false;    // until Ok, Cancel or the timer decide, a close is a Cancel
  int tick_count_ = 0;            // timer ticks counted while updates are off
  int version_ = 0;               // what the version field stands for, in hundredths
  int build_ = 0;                 // what the build field stands for
  std::string added_;             // the new line's date and time, taken at open
  NextLine next_;                 // what the file's last line gave at open
};

}  // namespace zqmv5

#endif  // ZQMV5_VERSION_VERSION_WINDOW_H_
