#include "version/version_window.h"

#include <optional>

#include "text/strings.h"
#include "text/version_record.h"
#include "version/version_settings.h"

namespace zqmv5 {
namespace {

// The timer's period while entry is disabled: one tick a second.
constexpr int kTickHundredths = 100;
// With updates off there is no line to add: the window shows why for three
// ticks, and then closes by itself, so that a build step never waits on it.
constexpr int kTicksBeforeClose = 3;

}  // namespace

void VersionWindow::Run() {
  VersionSettings settings;
  const Status read = ReadVersionSettings(env_, &settings);
  if (!read.ok()) {
    // The window has nothing to offer on settings it cannot read; nothing has
    // been touched yet.
    Tell(CannotReadSettingsText(read));
    return;
  }
  updates_at_open_ = settings.updates_enabled;
  auto_at_open_ = settings.auto_increment;
  file_name_ = settings.file_name;
  if (file_name_.empty()) {
    file_name_ = kDefaultVersionFile;
    StoreFileName(env_, file_name_);
  }

  const Status status = open_view_(&view_);
  if (!status.ok()) {
    // Without its window the utility can do nothing; it says so rather than
    // end without a sign. The version file has not been touched yet.
    Tell("The Log/Version window cannot be opened: " + status.message());
    return;
  }
  view_->SetText(Field::kDirectory, env_.ShortPath(""));
  view_->SetText(Field::kFileName, file_name_);
  view_->SetChecked(Check::kUpdates, updates_at_open_);
  view_->SetChecked(Check::kAutoIncrement, auto_at_open_);
  // The fields take what the line's columns hold; the note is checked again
  // at Ok, as a tool may set a longer text.
  view_->LimitText(Field::kVersion, kVerWidth);
  view_->LimitText(Field::kBuild, kBuildWidth);
  view_->LimitText(Field::kNote, kNoteWidth);
  view_->OnSessionEnd([this] { SessionEnd(); });
  if (updates_at_open_) {
    view_->SetTimer(0);
  } else {
    DisableEntry();
  }
  LoadVersionFile();

  for (ViewEvent event = view_->NextEvent(); event != ViewEvent::kClosed;
       event = view_->NextEvent()) {
    TakeEvent(event);
  }
  file_.Close();
  view_.reset();
}

void VersionWindow::ShowStatus() {
  view_->ShowStatus(
      1, TrimRight(VersionField(version_, next_.version_field)) + " " + BuildText(build_));
  view_->ShowStatus(2, view_->Text(Field::kFileName));
  view_->ShowStatus(3, auto_at_open_ ? "Auto" : "Manual");
}

void VersionWindow::EnableEntry() {
  view_->EnableEntry(true);
  view_->SetText(Field::kNote, "");
  view_->SetTimer(0);
}

void VersionWindow::DisableEntry() {
  view_->EnableEntry(false);
  view_->SetText(Field::kNote, kUpdatesOffNote);
  view_->SetTimer(kTickHundredths);
}

std::string VersionWindow::NumberText(Field field) const {
  return field == Field::kVersion ? Fitted(VersionText(version_), kVerWidth, ' ')
                                  : BuildText(build_);
}

bool VersionWindow::TakeNumber(Field field) {
  const std::string text = view_->Text(field);
  if (text == NumberText(field)) return true;
  const bool version = field == Field::kVersion;
  const std::optional<int> value = version ? TypedVersion(text) : TypedBuild(text);
  if (value) (version ? version_ : build_) = *value;
  ShowNumber(field);
  if (!value) {
    // Text that is no value, a blank too, must never be saved as 0; the field
    // keeps the focus, so that the user sees what went wrong.
    view_->SelectField(field);
    return false;
  }
  ShowStatus();
  return true;
}

void VersionWindow::Step(Field field, int delta) {
  if (!TakeNumber(field)) return;
  int& value = field == Field::kVersion ? version_ : build_;
  const int next =
      Stepped(value, delta, field == Field::kVersion ? kHighestVersion : kHighestBuild);
  if (next == value) return;
  value = next;
  ShowNumber(field);
  ShowStatus();
}

void VersionWindow::TakeTimer() {
  if (view_->Checked(Check::kUpdates)) return;
  ++tick_count_;
  // Closing by the timer undoes the comment-out made at open, as Cancel
  // does: a file left without an active line no longer defines Version.
  if (tick_count_ >= kTicksBeforeClose && !close_allowed_) CancelEntry();
}

void VersionWindow::TakeEvent(ViewEvent event) {
  // Before Ok and the page buttons act, what the number fields show is taken,
  // typed with the focus or set by a tool without it; a rejection stops them.
  switch (event) {
    case ViewEvent::kCloseRequest:
      if (close_allowed_) {
        file_.Close();
        view_->Close();
      } else {
        // A close before Ok or Cancel is a Cancel: the comment-out made at
        // open must not stay behind.
        view_->Post(ViewEvent::kCancel);
      }
      break;
    case ViewEvent::kTimer:
      TakeTimer();
      break;
    case ViewEvent::kOk:
      if (TakeNumbers()) SaveEntry();
      break;
    case ViewEvent::kCancel:
      CancelEntry();
      break;
    case ViewEvent::kVersionLeft:
      TakeNumber(Field::kVersion);
      break;
    case ViewEvent::kBuildLeft:
      TakeNumber(Field::kBuild);
      break;
    case ViewEvent::kVersionUp:
    case ViewEvent::kVersionDown:
      Step(Field::kVersion, event == ViewEvent::kVersionUp ? 1 : -1);
      break;
    case ViewEvent::kBuildUp:
    case ViewEvent::kBuildDown:
      Step(Field::kBuild, event == ViewEvent::kBuildUp ? 1 : -1);
      break;
    case ViewEvent::kInfoPage:
    case ViewEvent::kMainPage:
      if (TakeNumbers()) view_->ShowPage(event == ViewEvent::kInfoPage ? Page::kInfo : Page::kMain);
      break;
    case ViewEvent::kUpdatesToggled:
      if (updates_at_open_) break;
      if (view_->Checked(Check::kUpdates)) {
        EnableEntry();
      } else {
        DisableEntry();
      }
      break;
    case ViewEvent::kClosed:
      break;
  }
}

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
  Status status = new_name ? StoreFileName(env_, name) : Status{};
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
    if (new_name) StoreFileName(env_, file_name_);
    Tell((opened ? CannotChangeText : CannotOpenText)(
        other_file ? name : file_name_, status,
        "The line has not been added. Correct the file name, or cancel."));
    view_->SelectField(Field::kFileName);
    return;
  }
  // The old file gets its active lines back, as after Cancel.
  if (other_file) TellIfNotRestored(RestoreActiveLines());

  close_allowed_ = true;
  status =
      StoreChecks(env_, view_->Checked(Check::kUpdates), view_->Checked(Check::kAutoIncrement));
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
