#ifndef ZQMV5_TESTING_FAKE_VERSION_VIEW_H_
#define ZQMV5_TESTING_FAKE_VERSION_VIEW_H_

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "env/env.h"

namespace zqmv5 {

// The Log/Version dialog in memory, and a user who acts on it as the real one
// lets a user act: with entry disabled only "Enable Updates" responds. It
// outlives the view handed to the program, so that a test can look at it
// after the dialog has closed.
class FakeVersionView {
 public:
  using Step = std::function<void(FakeVersionView&)>;

  // The user's actions. Each queues the event the real dialog would hand out,
  // and returns false when the dialog does not let the user do it.
  bool Ok() { return Press(ViewEvent::kOk); }
  bool Cancel() { return Press(ViewEvent::kCancel); }
  bool ToggleUpdates();
  bool ToggleAutoIncrement();
  bool TypeVersion(const std::string& text) { return TypeNumber(true, text); }
  bool TypeBuild(const std::string& text) { return TypeNumber(false, text); }
  bool TypeNote(const std::string& text);
  bool TypeFileName(const std::string& text);
  bool SpinVersion(int steps) { return Spin(true, steps); }
  bool SpinBuild(int steps) { return Spin(false, steps); }
  void CloseFrame() { queue_.push_back(ViewEvent::kCloseRequest); }
  bool Tick();  // one tick, when the timer runs
  void EndSession() {
    if (session_end_) session_end_();
  }

  // Steps that run, one at a time, whenever the program waits for an event
  // and none is queued. With none left, a running timer ticks, and otherwise
  // the user closes the frame.
  void Then(Step step) { script_.push_back(std::move(step)); }

  // What the dialog shows, as its fields show it.
  std::string version_text() const;
  std::string build_text() const;
  const std::string& note() const { return entry_.note; }
  const std::string& file_name() const { return entry_.file_name; }
  bool updates_enabled() const { return entry_.updates_enabled; }
  bool auto_increment() const { return entry_.auto_increment; }
  const std::string& directory() const { return directory_; }
  std::string status(int zone) const;
  bool entry_enabled() const { return entry_enabled_; }
  bool file_name_selected() const { return file_name_selected_; }
  int timer() const { return timer_; }
  const std::vector<int>& timer_settings() const { return timer_settings_; }
  const std::vector<ViewEvent>& events() const { return events_; }  // as handed out
  bool closed() const { return closed_; }
  bool released() const { return released_; }
  bool ran_away() const { return ran_away_; }

 private:
  friend class FakeViewHandle;

  bool Press(ViewEvent event);
  bool TypeNumber(bool version, const std::string& text);
  bool Spin(bool version, int steps);
  ViewEvent NextEvent();

  VersionEntry entry_;
  std::string rejected_text_[2];  // what a rejected field shows, until it is set again
  std::string directory_;
  std::map<int, std::string> status_;
  bool entry_enabled_ = true;
  bool file_name_selected_ = false;
  int timer_ = 0;
  std::vector<int> timer_settings_;
  std::function<void()> session_end_;
  std::deque<ViewEvent> queue_;
  std::deque<Step> script_;
  std::vector<ViewEvent> events_;
  bool closed_ = false, released_ = false, ran_away_ = false;
};

// Opens FakeVersionViews: `opened` keeps each, newest last; `on_open` lets a
// test script the user before the program runs the dialog.
struct FakeVersionViews {
  Status Open(std::unique_ptr<VersionView>* view);
  FakeVersionView& last() { return *opened.back(); }

  std::vector<std::shared_ptr<FakeVersionView>> opened;
  std::function<void(FakeVersionView&)> on_open;
  bool fail_open = false;
};

}  // namespace zqmv5

#endif  // ZQMV5_TESTING_FAKE_VERSION_VIEW_H_
