// The window side of the Log/Version window: its settings, states, status bar,
// timer and events.

#include "version/version_window.h"

#include "text/strings.h"
#include "text/version_record.h"

namespace zqmv5 {
namespace {

// The timer's period while entry is disabled: one tick a second.
constexpr int kTickHundredths = 100;

}  // namespace

void VersionWindow(Env& env) { VersionWindowProcedure(env).Run(); }

void VersionWindowProcedure::Run() {
  const VersionSettings settings = ReadVersionSettings(env_);
  const bool updates_enabled = settings.updates_enabled;
  updates_at_open_ = updates_enabled;
  auto_at_open_ = settings.auto_increment;
  file_name_ = settings.file_name;
  if (file_name_.empty()) {
    file_name_ = kDefaultVersionFile;
    env_.WriteIniValue("FileName", "Name", file_name_, kSettingsIni);
  }

  const Status status = env_.OpenVersionView(&view_);
  if (!status.ok()) {
    // Without its window the utility can do nothing; it says so rather than
    // end without a sign. The version file has not been touched yet.
    Tell("The Log/Version window cannot be opened: " + status.message());
    return;
  }
  view_->ShowDirectory(env_.ShortPath(""));
  view_->Show({std::nullopt, std::nullopt, "", file_name_, updates_enabled, auto_at_open_});
  view_->OnSessionEnd([this] { SessionEnd(); });
  if (updates_enabled) {
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

void VersionWindowProcedure::ShowStatus() {
  const VersionEntry entry = view_->entry();
  view_->ShowStatus(1, TrimRight(VersionField(entry.version.value_or(0), next_.version_field)) +
                           " " + BuildText(entry.build.value_or(0)));
  view_->ShowStatus(2, entry.file_name);
  view_->ShowStatus(3, auto_at_open_ ? "Auto" : "Manual");
}

void VersionWindowProcedure::ShowNote(const std::string& note) {
  VersionEntry entry = view_->entry();
  entry.note = note;
  view_->Show(entry);
}

void VersionWindowProcedure::EnableEntry() {
  view_->EnableEntry(true);
  ShowNote("");
  view_->SetTimer(0);
}

void VersionWindowProcedure::DisableEntry() {
  view_->EnableEntry(false);
  ShowNote(kUpdatesOffNote);
  view_->SetTimer(kTickHundredths);
}

void VersionWindowProcedure::TakeTimer() {
  if (view_->entry().updates_enabled) return;
  ++tick_count_;
  // Closing by the timer undoes the comment-out made at open, as Cancel
  // does: a file left without an active line no longer defines Version.
  if (tick_count_ > 2 && !close_allowed_) CancelEntry();
}

void VersionWindowProcedure::TakeEvent(ViewEvent event) {
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
      SaveEntry();
      break;
    case ViewEvent::kCancel:
      CancelEntry();
      break;
    case ViewEvent::kVersionChanged:
    case ViewEvent::kBuildChanged:
      ShowStatus();
      break;
    case ViewEvent::kVersionRejected:
    case ViewEvent::kBuildRejected:
      // The field gets its previous value back: text that is no value, a
      // blank too, must never be saved as 0.
      view_->Show(view_->entry());
      break;
    case ViewEvent::kUpdatesToggled:
      if (updates_at_open_) break;
      if (view_->entry().updates_enabled) {
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
