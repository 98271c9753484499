#include "testing/fake_version_view.h"

#include <cstdlib>

namespace zqmv5 {

// The view the program holds: every call reaches the shared state.
class FakeViewHandle : public VersionView {
 public:
  explicit FakeViewHandle(std::shared_ptr<FakeVersionView> view) : v_(std::move(view)) {}
  ~FakeViewHandle() override { v_->released_ = true; }

  ViewEvent NextEvent() override { return v_->NextEvent(); }
  void Post(ViewEvent event) override { v_->queue_.push_back(event); }
  void Close() override { v_->closed_ = true; }
  void SetText(Field field, const std::string& text) override { v_->texts_[field] = text; }
  std::string Text(Field field) override { return v_->text(field); }
  void LimitText(Field field, size_t length) override { v_->limits_[field] = length; }
  void SetChecked(Check check, bool checked) override { v_->checks_[check] = checked; }
  bool Checked(Check check) override { return v_->checked(check); }
  void ShowStatus(int zone, const std::string& text) override { v_->status_[zone] = text; }
  void EnableEntry(bool enabled) override { v_->entry_enabled_ = enabled; }
  void ShowPage(Page page) override { v_->page_ = page; }
  void SelectField(Field field) override { v_->selected_ = field; }
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
  checks_[Check::kUpdates] = !checked(Check::kUpdates);
  queue_.push_back(ViewEvent::kUpdatesToggled);
  return true;
}

bool FakeVersionView::ToggleAutoIncrement() {
  if (closed_ || !entry_enabled_) return false;
  checks_[Check::kAutoIncrement] = !checked(Check::kAutoIncrement);
  return true;
}

bool FakeVersionView::Type(Field field, const std::string& text) {
  if (closed_ || !entry_enabled_) return false;
  const auto limit = limits_.find(field);
  texts_[field] = limit == limits_.end() ? text : text.substr(0, limit->second);
  selected_.reset();
  if (field == Field::kVersion) queue_.push_back(ViewEvent::kVersionLeft);
  if (field == Field::kBuild) queue_.push_back(ViewEvent::kBuildLeft);
  return true;
}

bool FakeVersionView::Spin(Field field, int steps) {
  if (closed_ || !entry_enabled_) return false;
  const bool version = field == Field::kVersion;
  const ViewEvent up = version ? ViewEvent::kVersionUp : ViewEvent::kBuildUp;
  const ViewEvent down = version ? ViewEvent::kVersionDown : ViewEvent::kBuildDown;
  for (int i = 0; i < std::abs(steps); ++i) queue_.push_back(steps > 0 ? up : down);
  return true;
}

std::string FakeVersionView::text(Field field) const {
  auto it = texts_.find(field);
  return it == texts_.end() ? "" : it->second;
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
