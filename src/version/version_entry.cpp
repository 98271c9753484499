// The file side of the version window: preparing the next line at open, and
// what Ok and Cancel do to the version file.

#include <string>

#include "text/strings.h"
#include "text/version_record.h"
#include "version/version_file.h"
#include "version/version_window.h"

namespace zqmv5 {

void VersionWindowProcedure::LoadVersionFile() {
  const Status status = file_.OpenOrCreate(file_name_, Share::kDenyWrite);
  if (!status.ok() && env_.FileExists(file_name_)) Tell(CannotOpenText(file_name_, status));
  next_ = PrepareNextLine(file_, auto_at_open_);
  const Status written = next_.last_position > 0 ? file_.Commit() : Status{};
  if (!written.ok()) {
    // Nothing has been written, so there is nothing to restore; the window
    // has no file to work on and closes.
    Tell("The version file " + file_name_ + " cannot be changed: " + written.text +
         "|Nothing in it has been changed.");
    next_.last_position = 0;
    close_allowed_ = true;
    view_->Post(ViewEvent::kCloseRequest);
  }
  added_ = AddedText(env_.Today(), env_.TimeOfDay());
  VersionEntry entry = view_->entry();
  entry.version = next_.version;
  entry.build = next_.build;
  entry.note = entry.updates_enabled ? "" : kUpdatesOffNote;
  view_->Show(entry);
  ShowStatus();
}

void VersionWindowProcedure::SaveEntry() {
  const VersionEntry entry = view_->entry();
  if (entry.note.size() > kNoteWidth || HasControlCharacter(entry.note)) {
    Tell((entry.note.size() > kNoteWidth
              ? "The note is longer than the " + std::to_string(kNoteWidth) +
                    " characters a line keeps."
              : kNoteControlText) +
         std::string("|The line has not been added."));
    return;
  }
  const std::string line =
      NewVersionLine(VersionField(entry.version.value_or(0), next_.version_field),
                     entry.build.value_or(0), added_, entry.note);
  // A new name is stored only once its file has taken the line. Until then
  // the old file stays the window's, with its last line ready to be restored
  // by Cancel; it is closed first, as the new name may be the same file.
  const std::string& name = entry.file_name;
  const bool new_name = !IsBlank(name) && TrimRight(name) != TrimRight(file_name_);
  if (new_name) {
    file_.Close();
    const Status status = file_.OpenOrCreate(name, Share::kDenyWrite);
    if (!status.ok()) {
      file_.Open(file_name_, Share::kDenyWrite);
      Tell("The version file " + name + " cannot be opened: " + status.text +
           "|The line has not been added. Correct the file name, or cancel.");
      view_->SelectFileName();
      return;
    }
  }
  file_.Add(line);
  const Status status = file_.Commit();
  if (!status.ok()) {
    // Nothing of the line is in the file; the window stays, so that Ok can be
    // tried again or Cancel restore the last line.
    Tell(status.text);
    if (new_name) {
      file_.Close();
      file_.Open(file_name_, Share::kDenyWrite);
    }
    return;
  }
  if (new_name) env_.WriteIniValue("FileName", "Name", name, kSettingsIni);

  close_allowed_ = true;
  env_.WriteIniValue("Status", "On", entry.updates_enabled ? "1" : "0", kSavedStatusIni);
  env_.WriteIniValue("Status", "Auto Increment", entry.auto_increment ? "1" : "0", kSettingsIni);
  view_->Post(ViewEvent::kCloseRequest);
}

Status VersionWindowProcedure::RestoreLastLine() {
  if (next_.last_position == 0 || next_.last_position > file_.lines().size()) return {};
  file_.Put(next_.last_position - 1, next_.restored);
  return file_.Commit();
}

void VersionWindowProcedure::CancelEntry() {
  close_allowed_ = true;
  const Status status = RestoreLastLine();
  if (!status.ok()) Tell("Error restoring last record: " + status.text);
  view_->Post(ViewEvent::kCloseRequest);
}

void VersionWindowProcedure::SessionEnd() {
  // Windows may end the program as soon as this returns: the last line is
  // restored now, and no box can wait for anyone.
  if (!close_allowed_) RestoreLastLine();
  close_allowed_ = true;
  file_.Close();
}

}  // namespace zqmv5
