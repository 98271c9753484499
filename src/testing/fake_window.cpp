#include "testing/fake_window.h"

#include "runtime/window_fields.h"

namespace zqmv5 {
namespace {

// A window that runs away (keeps refusing to close) ends after this many
// events, so that a faulty loop fails its test instead of hanging it.
constexpr size_t kMostEvents = 10000;

}  // namespace

// The Window handed to the logic; the state stays with the system.
class FakeWindowHandle : public Window {
 public:
  explicit FakeWindowHandle(std::shared_ptr<FakeWindow> window) : window_(std::move(window)) {}
  ~FakeWindowHandle() override { window_->released_ = true; }

  WindowEvent TakeEvent() override { return window_->TakeEvent(); }
  void PostEvent(WindowEvent event) override { window_->queue_.push_back(event); }
  void Close() override { window_->closed_ = true; }
  void Select(int field) override { window_->Select(field); }
  void Display() override { window_->Display(); }
  void Enable(int first, int last) override { window_->SetEnabled(first, last, true); }
  void Disable(int first, int last) override { window_->SetEnabled(first, last, false); }
  void SetText(int field, const std::string& text) override { window_->texts_[field] = text; }
  void SetStatusText(int zone, const std::string& text) override { window_->status_[zone] = text; }
  void SetTimer(int hundredths) override {
    window_->timer_ = hundredths;
    window_->timer_settings_.push_back(hundredths);
  }
  void SetEndSessionHandler(std::function<void()> handler) override {
    window_->end_session_ = std::move(handler);
  }

 private:
  std::shared_ptr<FakeWindow> window_;
};

FakeWindow::FakeWindow(const WindowDescription& description) : description_(description) {
  if (!description_.pages.empty()) selected_tab_ = description_.pages.front().tab;
  for (const DataField& field : description_.fields) shown_[field.field] = FieldDisplayText(field);
}

bool FakeWindow::Click(int field) {
  if (closed_ || !IsEnabled(field) || !IsShowing(field)) return false;
  const DataField* data = FindField(description_, field);
  if (data && data->kind == FieldKind::kCheck) {
    *data->flag = *data->flag ? 0 : 1;
    shown_[field] = FieldDisplayText(*data);
  }
  queue_.push_back({WindowEventKind::kAccepted, field});
  return true;
}

bool FakeWindow::Type(int field, const std::string& text) {
  const DataField* data = FindField(description_, field);
  if (closed_ || !data || data->kind == FieldKind::kCheck || !IsEnabled(field) ||
      !IsShowing(field)) {
    return false;
  }
  if (StoreFieldText(*data, text)) {
    shown_[field] = FieldDisplayText(*data);
    queue_.push_back({WindowEventKind::kAccepted, field});
  } else {
    shown_[field] = text;
    queue_.push_back({WindowEventKind::kRejected, field});
  }
  return true;
}

bool FakeWindow::Spin(int field, int steps) {
  const DataField* data = FindField(description_, field);
  if (closed_ || !data || data->kind != FieldKind::kNumber || !IsEnabled(field) ||
      !IsShowing(field)) {
    return false;
  }
  if (!StepField(*data, steps)) return false;
  shown_[field] = FieldDisplayText(*data);
  queue_.push_back({WindowEventKind::kNewSelection, field});
  return true;
}

void FakeWindow::CloseFrame() {
  if (!closed_) queue_.push_back({WindowEventKind::kCloseRequest, 0});
}

bool FakeWindow::Tick() {
  if (closed_ || timer_ <= 0) return false;
  queue_.push_back({WindowEventKind::kTimer, 0});
  return true;
}

bool FakeWindow::IsEnabled(int field) const {
  auto it = disabled_.find(field);
  return it == disabled_.end() || !it->second;
}

bool FakeWindow::IsShowing(int field) const {
  const int page = PageOf(description_, field);
  return page == 0 || page == selected_tab_;
}

std::string FakeWindow::Text(int field) const {
  auto it = texts_.find(field);
  return it == texts_.end() ? "" : it->second;
}

std::string FakeWindow::Shown(int field) const {
  auto it = shown_.find(field);
  return it == shown_.end() ? "" : it->second;
}

std::string FakeWindow::Status(int zone) const {
  auto it = status_.find(zone);
  return it == status_.end() ? "" : it->second;
}

WindowEvent FakeWindow::TakeEvent() {
  while (!closed_ && queue_.empty()) {
    if (events_.size() >= kMostEvents) {
      ran_away_ = true;
      closed_ = true;
      break;
    }
    if (!script_.empty()) {
      Step step = std::move(script_.front());
      script_.pop_front();
      step(*this);
    } else if (timer_ > 0) {
      queue_.push_back({WindowEventKind::kTimer, 0});
    } else {
      queue_.push_back({WindowEventKind::kCloseRequest, 0});
    }
  }
  if (closed_) return {WindowEventKind::kClosed, 0};
  WindowEvent event = queue_.front();
  queue_.pop_front();
  events_.push_back(event);
  return event;
}

void FakeWindow::Select(int field) {
  for (const SheetPage& page : description_.pages) {
    if (page.tab == field) {
      selected_tab_ = field;
      return;
    }
  }
  focus_ = field;
}

void FakeWindow::Display() {
  ++display_count_;
  for (const DataField& field : description_.fields) shown_[field.field] = FieldDisplayText(field);
}

void FakeWindow::SetEnabled(int first, int last, bool enabled) {
  for (int field : ControlsIn(description_, first, last)) disabled_[field] = !enabled;
}

std::unique_ptr<Window> FakeWindowSystem::OpenWindow(const WindowDescription& description) {
  if (fail_open) {
    if (error) error->Set(kFileSystemError, "The window cannot be opened");
    return nullptr;
  }
  if (error) error->Clear();
  opened.push_back(std::make_shared<FakeWindow>(description));
  if (on_open) on_open(*opened.back());
  return std::make_unique<FakeWindowHandle>(opened.back());
}

}  // namespace zqmv5
