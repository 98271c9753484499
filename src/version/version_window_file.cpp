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
  // the next run counts on in the file that this one counted from. Blanks
  // around it are dropped, as the profile API drops them from what it stores.
  const std::string name = Trim(view_->Text(Field::kFileName));
  const bool new_name = !name.empty() && name != file_name_;
  Status status = new_name ? env_.WriteIniValue("FileName", "Name", name, kSettingsIni) : Status{};
  if (!status.ok()) {
    Tell(CannotStoreText(status) +
         "|The line has not been added, so that the next run counts on "
         "in the same file.");
    return;
  }
  // The old file stays the window's until the new one has taken the line, so
  // that its active lines can always be given back. A name that leads to the
  // file the window holds (in other letter case, say) is that file.
  const bool other_file = new_name && !env_.SameFile(name, file_name_);
  LineFile other(env_);
  LineFile& target = other_file ? other : file_;
  if (other_file) {
    status = other.Open(name, Share::kDenyWrite, IfMissing::kCreate);
    // Its own active lines are commented out, as at open, so that it ends
    // with one; the numbers stay those that the window offered.
    if (status.ok()) PrepareNextLine(other, false);
  }
  const bool opened = status.ok();
  if (opened) {
    target.Add(line);
    status = target.Commit();
  }
  if (!status.ok()) {
    // Nothing of the line is in either file; the window stays, so that Ok can
    // be tried again or Cancel give back the active lines.
    if (new_name) env_.WriteIniValue("FileName", "Name", file_name_, kSettingsIni);
    Tell("The version file " + (other_file ? name : file_name_) + " cannot be " +
         (opened ? "changed: " : "opened: ") + status.message() +
         "|The line has not been added. Correct the file name, or cancel.");
    view_->SelectField(Field::kFileName);
    return;
  }
  // The old file gets its active lines back, as after Cancel.
  if (other_file) TellIfNotRestored(RestoreActiveLines());

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

void VersionWindow::TellIfNotRestored(const Status& status) {
  if (status.ok()) return;
  Tell("Error restoring last record: " + status.message() + "|The lines that were active in " +
       file_name_ + " stay commented out.");
}

void VersionWindow::CancelEntry() {
  close_allowed_ = true;
  TellIfNotRestored(RestoreActiveLines());
  view_->Post(ViewEvent::kCloseRequest);
}

void VersionWindow::SessionEnd() {
  // Windows may end the program as soon as this returns: the active lines
  // are given back now. A box that says they could not be holds the log-off
  // up, but a project left without its Version line must not go unnoticed.
  if (!close_allowed_) TellIfNotRestored(RestoreActiveLines());
  close_allowed_ = true;
  file_.Close();
}

}  // namespace zqmv5
