#include <string>

#include "text/strings.h"
#include "text/version_record.h"
#include "version/version_file.h"
#include "version/version_window.h"

namespace zqmv5 {
namespace {

std::string CannotStoreText(const Status& status) {
  return std::string("The settings cannot be stored in ") + kSettingsIni + ": " + status.message();
}

}  // namespace

void VersionWindow::LoadVersionFile() {
  const Status opened = OpenVersionFile(file_, file_name_);
  next_ = PrepareNextLine(file_, auto_at_open_);
  const Status written = opened.ok() ? file_.Commit() : opened;
  if (!written.ok()) {
    // Nothing has been written, so there is nothing to restore; the window
    // has no file to add a line to and closes.
    Tell(!opened.ok() ? CannotOpenText(file_name_, opened) : CannotChangeText(file_name_, written));
    next_.active.clear();
    close_allowed_ = true;
    view_->Post(ViewEvent::kCloseRequest);
  }
  added_ = AddedText(env_.Now());
  version_ = next_.version;
  build_ = next_.build;
  ShowNumber(Field::kVersion);
  ShowNumber(Field::kBuild);
  view_->SetText(Field::kNote, view_->Checked(Check::kUpdates) ? "" : kUpdatesOffNote);
  ShowStatus();
}

void VersionWindow::SaveEntry() {
  const std::string note = view_->Text(Field::kNote);
  if (note.size() > kNoteWidth || HasControlCharacter(note)) {
    Tell((note.size() > kNoteWidth ? "The note is longer than the " + std::to_string(kNoteWidth) +
                                         " characters a line keeps."
                                   : kNoteControlText) +
         std::string("|The line has not been added."));
    return;
  }
  const std::string line =
      NewVersionLine(VersionField(version_, next_.version_field), build_, added_, note);
  // A new name is stored first: when it cannot be, no line is added, so that
  // the next run counts on in the file that this one counted from. Until the
  // new file has taken the line the old one stays the window's, its last line
  // ready to be restored by Cancel; it is closed first, as the new name may be
  // the same file.
  const std::string name = view_->Text(Field::kFileName);
  const bool new_name = !IsBlank(name) && TrimRight(name) != TrimRight(file_name_);
  Status status = new_name ? env_.WriteIniValue("FileName", "Name", name, kSettingsIni) : Status{};
  if (!status.ok()) {
    Tell(CannotStoreText(status) +
         "|The line has not been added, so that the next run counts on "
         "in the same file.");
    return;
  }
  if (new_name) {
    file_.Close();
    status = file_.Open(name, Share::kDenyWrite, IfMissing::kCreate);
  }
  const bool opened = status.ok();
  if (opened) {
    file_.Add(line);
    status = file_.Commit();
  }
  if (!status.ok()) {
    // Nothing of the line is in the file; the window stays, so that Ok can be
    // tried again or Cancel give back the active lines.
    if (new_name) {
      env_.WriteIniValue("FileName", "Name", file_name_, kSettingsIni);
      file_.Close();
      file_.Open(file_name_, Share::kDenyWrite);
    }
    Tell("The version file " + (new_name ? name : file_name_) + " cannot be " +
         (opened ? "changed: " : "opened: ") + status.message() +
         "|The line has not been added. Correct the file name, or cancel.");
    view_->SelectField(Field::kFileName);
    return;
  }

  close_allowed_ = true;
  // "On" goes where the window does not read it; "Auto Increment" counts.
  env_.WriteIniValue("Status", "On", view_->Checked(Check::kUpdates) ? "1" : "0", kSavedStatusIni);
  status = env_.WriteIniValue("Status", "Auto Increment",
                              view_->Checked(Check::kAutoIncrement) ? "1" : "0", kSettingsIni);
  if (!status.ok()) Tell(CannotStoreText(status) + "|The line has been added.");
  view_->Post(ViewEvent::kCloseRequest);
}

Status VersionWindow::RestoreActiveLines() {
  if (next_.active.empty()) return {};
  for (const auto& [index, line] : next_.active) file_.Put(index, line);
  return file_.Commit();
}

void VersionWindow::CancelEntry() {
  close_allowed_ = true;
  const Status status = RestoreActiveLines();
  if (!status.ok()) Tell("Error restoring last record: " + status.message());
  view_->Post(ViewEvent::kCloseRequest);
}

void VersionWindow::SessionEnd() {
  // Windows may end the program as soon as this returns: the active lines
  // are given back now, and no box can wait for anyone.
  if (!close_allowed_) RestoreActiveLines();
  close_allowed_ = true;
  file_.Close();
}

}  // namespace zqmv5
