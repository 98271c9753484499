#ifndef ZQMV5_TESTING_FAKE_VERSION_VIEW_H_
#define ZQMV5_TESTING_FAKE_VERSION_VIEW_H_

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "version/version_view.h"

namespace zqmv5 {

// The Log/Version dialog in memory: it records what the program showed, and
// lets a test act as a user on it, as the real dialog lets a user act (with
// entry disabled only "Enable Updates" responds). It outlives the view handed
// to the program, so that a test can look at it after the dialog has closed.
class FakeVersionView {
 public:
  using Step = std::function<void(FakeVersionView&)>;

  // The user's actions. Each queues the event the real dialog would hand out,
  // and returns false when the dialog does not let the user do it.
  bool Ok() { return Press(ViewEvent::kOk); }
  bool Cancel() { return Press(ViewEvent::kCancel); }
  bool ShowInfo() { return Press(ViewEvent::kInfoPage); }
  bool ToggleUpdates();
  bool ToggleAutoIncrement();
  // Types `text` into `field`, as much of it as the field's limit takes, and
  // leaves the field.
  bool Type(Field field, const std::string& text);
  // Sets the text of `field` as a tool does: whole, without the focus.
  void SetByTool(Field field, const std::string& text) { texts_[field] = text; }
  // Presses the up arrow of the version or build field `steps` times, or the
  // down arrow for a negative count.
  bool Spin(Field field, int steps);
  void CloseFrame() { queue_.push_back(ViewEvent::kCloseRequest); }
  bool Tick();  // one tick, when the timer runs
  void EndSession() {
    if (session_end_) session_end_();
  }

  // Steps that run, one at a time, whenever the program waits for an event
  // and none is queued. With none left, a running timer ticks, and otherwise
  // the user closes the frame.
  void Then(Step step) { script_.push_back(std::move(step)); }

  // What the dialog shows.
  std::string text(Field field) const;
  bool checked(Check check) const { return checks_.count(check) && checks_.at(check); }
  std::string status(int zone) const;
  bool entry_enabled() const { return entry_enabled_; }
  Page page() const { return page_; }
  std::optional<Field> selected() const { return selected_; }  // the field given the focus
  int timer() const { return timer_; }
  const std::vector<int>& timer_settings() const { return timer_settings_; }
  const std::vector<ViewEvent>& events() const { return events_; }  // as handed out
  bool closed() const { return closed_; }
  bool released() const { return released_; }
  bool ran_away() const { return ran_away_; }

 private:
  friend class FakeViewHandle;

  bool Press(ViewEvent event);
  ViewEvent NextEvent();

  std::map<Field, std::string> texts_;
  std::map<Field, size_t> limits_;
  std::map<Check, bool> checks_;
  std::map<int, std::string> status_;
  bool entry_enabled_ = true;
  Page page_ = Page::kMain;
  std::optional<Field> selected_;
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
  VersionViewOpener opener() {
    return [this](std::unique_ptr<VersionView>* view) { return Open(view); };
  }
  FakeVersionView& last() { return *opened.back(); }

  std::vector<std::shared_ptr<FakeVersionView>> opened;
  std::function<void(FakeVersionView&)> on_open;
  bool fail_open = false;
};

}  // namespace zqmv5

#endif  // ZQMV5_TESTING_FAKE_VERSION_VIEW_H_
