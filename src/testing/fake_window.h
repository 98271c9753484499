#ifndef ZQMV5_TESTING_FAKE_WINDOW_H_
#define ZQMV5_TESTING_FAKE_WINDOW_H_

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runtime/error_state.h"
#include "runtime/window.h"

namespace zqmv5 {

// The state of a window opened on the fake window system, and a user who acts
// on it the way the real window lets one act: disabled controls and controls
// on a page that is not showing ignore the user. It outlives the window, so
// that a test can look at it after the window has closed.
class FakeWindow {
 public:
  using Step = std::function<void(FakeWindow&)>;

  explicit FakeWindow(const WindowDescription& description);

  // The user's actions. Each queues the event the real window would yield and
  // returns false when the control did not respond.
  bool Click(int field);  // a button or a check box
  bool Type(int field,
            const std::string& text);  // typed text, then the field is left
  bool Spin(int field, int steps);     // a spin box's arrows
  void CloseFrame();                   // the frame's close button or Esc
  bool Tick();                         // one tick, when the timer runs
  void EndSession() {                  // log-off or shut-down
    if (end_session_) end_session_();
  }

  // Queues steps that run, one at a time, whenever the window waits for an
  // event and none is queued. With no step left, a running timer ticks, and
  // otherwise the user closes the frame.
  void Then(Step step) { script_.push_back(std::move(step)); }

  bool IsEnabled(int field) const;
  bool IsShowing(int field) const;  // on the selected page, or on none

  // What the window shows.
  std::string Text(int field) const;   // as SetText left it, else ""
  std::string Shown(int field) const;  // a data field as last displayed
  std::string Status(int zone) const;
  int timer() const { return timer_; }
  int selected_tab() const { return selected_tab_; }
  int display_count() const { return display_count_; }
  bool closed() const { return closed_; }
  bool released() const { return released_; }
  bool ran_away() const { return ran_away_; }

  const WindowDescription& description() const { return description_; }
  const std::vector<WindowEvent>& events() const { return events_; }  // as taken
  const std::vector<int>& timer_settings() const { return timer_settings_; }

 private:
  friend class FakeWindowHandle;

  WindowEvent TakeEvent();
  void Select(int field);
  void Display();
  void SetEnabled(int first, int last, bool enabled);

  WindowDescription description_;
  std::deque<WindowEvent> queue_;
  std::deque<Step> script_;
  std::function<void()> end_session_;
  std::vector<WindowEvent> events_;
  std::map<int, bool> disabled_;
  std::map<int, std::string> texts_;
  std::map<int, std::string> shown_;
  std::map<int, std::string> status_;
  std::vector<int> timer_settings_;
  int timer_ = 0;
  int selected_tab_ = 0;
  int focus_ = 0;
  int display_count_ = 0;
  bool closed_ = false;
  bool released_ = false;
  bool ran_away_ = false;
};

// Opens FakeWindows. `opened` keeps every window opened, newest last;
// `on_open` lets a test script the user before the window runs.
class FakeWindowSystem : public WindowSystem {
 public:
  std::unique_ptr<Window> OpenWindow(const WindowDescription& description) override;

  std::vector<std::shared_ptr<FakeWindow>> opened;
  std::function<void(FakeWindow&)> on_open;
  bool fail_open = false;       // every open fails
  ErrorState* error = nullptr;  // set by a failed open when given

  FakeWindow& last() { return *opened.back(); }
};

}  // namespace zqmv5

#endif  // ZQMV5_TESTING_FAKE_WINDOW_H_
