#include "testing/fake_version_view.h"

#include <algorithm>

#include "text/version_record.h"

namespace zqmv5 {

// The view the program holds: every call reaches the shared state.
class FakeViewHandle : public VersionView {
 public:
  explicit FakeViewHandle(std::shared_ptr<FakeVersionView> view) : v_(std::move(view)) {}
  ~FakeViewHandle() override { v_->released_ = true; }

  ViewEvent NextEvent() override { return v_->NextEvent(); }
  void Post(ViewEvent event) override { v_->queue_.push_back(event); }
  void Close() override { v_->closed_ = true; }
  void Show(const VersionEntry& entry) override {
    v_->entry_ = entry;
    v_->rejected_text_[0].clear();
    v_->rejected_text_[1].clear();
  }
  VersionEntry entry() override { return v_->entry_; }
  void ShowDirectory(const std::string& directory) override { v_->directory_ = directory; }
  void ShowStatus(int zone, const std::string& text) override { v_->status_[zone] = text; }
  void EnableEntry(bool enabled) override { v_->entry_enabled_ = enabled; }
  void SelectFileName() override { v_->file_name_selected_ = true; }
  void SetTimer(int hundredths) override {
    v_->timer_ = hundredths;
    v_->timer_settings_.push_back(hundredths);
  }
  void OnSessionEnd(std::function<void()> handler) override {
    v_->session_end_ = std::move(handler);
  }

 private:
  std::shared_ptr<FakeVersionView> v_;
};

bool FakeVersionView::Press(ViewEvent event) {
  if (closed_ || !entry_enabled_) return false;
  queue_.push_back(event);
  return true;
}

bool FakeVersionView::Tick() {
  if (closed_ || timer_ <= 0) return false;
  queue_.push_back(ViewEvent::kTimer);
  return true;
}

bool FakeVersionView::ToggleUpdates() {
  if (closed_) return false;
  entry_.updates_enabled = !entry_.updates_enabled;
  queue_.push_back(ViewEvent::kUpdatesToggled);
  return true;
}

bool FakeVersionView::ToggleAutoIncrement() {
  if (closed_ || !entry_enabled_) return false;
  entry_.auto_increment = !entry_.auto_increment;
  return true;
}

bool FakeVersionView::TypeNote(const std::string& text) {
  if (closed_ || !entry_enabled_) return false;
  entry_.note = text.substr(0, kNoteWidth);
  return true;
}

bool FakeVersionView::TypeFileName(const std::string& text) {
  if (closed_ || !entry_enabled_) return false;
  entry_.file_name = text;
  file_name_selected_ = false;
  return true;
}

bool FakeVersionView::TypeNumber(bool version, const std::string& text) {
  if (closed_ || !entry_enabled_) return false;
  const std::optional<int> value = version ? TypedVersion(text) : TypedBuild(text);
  if (!value) {
    rejected_text_[version ? 0 : 1] = text;
    queue_.push_back(version ? ViewEvent::kVersionRejected : ViewEvent::kBuildRejected);
    return true;
  }
  (version ? entry_.version : entry_.build) = value;
  rejected_text_[version ? 0 : 1].clear();
  queue_.push_back(version ? ViewEvent::kVersionChanged : ViewEvent::kBuildChanged);
  return true;
}

bool FakeVersionView::Spin(bool version, int steps) {
  if (closed_ || !entry_enabled_) return false;
  std::optional<int>& current = version ? entry_.version : entry_.build;
  const int next = Stepped(current.value_or(0), steps, version ? kHighestVersion : kHighestBuild);
  if (current && next == *current) return false;
  current = next;
  queue_.push_back(version ? ViewEvent::kVersionChanged : ViewEvent::kBuildChanged);
  return true;
}

std::string FakeVersionView::version_text() const {
  if (!rejected_text_[0].empty()) return rejected_text_[0];
  return entry_.version ? Fitted(VersionText(*entry_.version), kVerWidth, ' ') : "";
}

std::string FakeVersionView::build_text() const {
  if (!rejected_text_[1].empty()) return rejected_text_[1];
  return entry_.build ? BuildText(*entry_.build) : "";
}

std::string FakeVersionView::status(int zone) const {
  auto it = status_.find(zone);
  return it == status_.end() ? "" : it->second;
}

ViewEvent FakeVersionView::NextEvent() {
  // More events than any real session hands out means a loop that never ends.
  constexpr size_t kMostEvents = 1000;
  while (!closed_ && queue_.empty()) {
    if (events_.size() >= kMostEvents) {
      ran_away_ = closed_ = true;
    } else if (!script_.empty()) {
      Step step = std::move(script_.front());
      script_.pop_front();
      step(*this);
    } else {
      queue_.push_back(timer_ > 0 ? ViewEvent::kTimer : ViewEvent::kCloseRequest);
    }
  }
  if (closed_) return ViewEvent::kClosed;
  const ViewEvent event = queue_.front();
  queue_.pop_front();
  events_.push_back(event);
  return event;
}

Status FakeVersionViews::Open(std::unique_ptr<VersionView>* view) {
  if (fail_open) return {Status::Kind::kNotAvailable, "The window cannot be opened"};
  opened.push_back(std::make_shared<FakeVersionView>());
  if (on_open) on_open(*opened.back());
  *view = std::make_unique<FakeViewHandle>(opened.back());
  return {};
}

}  // namespace zqmv5
