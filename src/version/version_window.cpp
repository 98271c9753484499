#include "version/version_window.h"

#include <optional>

#include "text/strings.h"
#include "text/version_record.h"

namespace zqmv5 {
namespace {

// The timer's period while entry is disabled: one tick a second.
constexpr int kTickHundredths = 100;

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
    env_.WriteIniValue("FileName", "Name", file_name_, kSettingsIni);
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
  if (tick_count_ > 2 && !close_allowed_) CancelEntry();
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

}  // namespace zqmv5
