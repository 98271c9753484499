// The Log/Version dialog: a modeless dialog made from its resource, whose
// notifications become events in a queue that the version logic takes one at
// a time.

#include "win32/win32.h"
// After windows.h, whose types it uses.
#include <commctrl.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "text/version_record.h"

namespace zqmv5 {
namespace {

constexpr UINT_PTR kTimerId = 1;

// The controls of each page; only the selected page shows.
constexpr int kMainPage[] = {ZQ_DIRECTORY, ZQ_CANCEL};
constexpr int kInfoPage[] = {ZQ_PROGRAM_VERSION, ZQ_HIDDEN_PROMPT};

// The entry part that EnableEntry switches: the version group with its
// controls, "Auto Increment Build" with the file name, and the two buttons.
constexpr int kEntryRanges[][2] = {
    {ZQ_VERSION_GROUP, ZQ_BUILD}, {ZQ_AUTO_INCREMENT, ZQ_FILE_NAME}, {ZQ_OK, ZQ_CANCEL}};

bool RegisterWindowClass() {
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof(window_class);
  // A dialog of its own class must leave DLGWINDOWEXTRA bytes for the dialog
  // manager and use its window procedure.
  window_class.cbWndExtra = DLGWINDOWEXTRA;
  window_class.lpfnWndProc = DefDlgProcA;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = ZQ_VERSION_WINDOW_CLASS;
  window_class.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ZQMV));
  return RegisterClassExA(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

class Win32VersionView : public VersionView {
 public:
  ~Win32VersionView() override {
    Close();
    for (HFONT font : fonts_) DeleteObject(font);
  }

  Status Create() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                     ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterWindowClass();
    SetLastError(0);
    CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ZQ_VERSION_DIALOG), nullptr,
                       DialogProc, reinterpret_cast<LPARAM>(this));
    if (dialog_) return {};
    const DWORD code = GetLastError();
    return StatusFromWin32(code == 0 ? ERROR_RESOURCE_NAME_NOT_FOUND : code);
  }

  ViewEvent NextEvent() override {
    if (dialog_ && !shown_) {
      // The dialog shows once the logic first waits for the user, with every
      // opening step done, rather than flash its design texts.
      shown_ = true;
      ShowWindow(dialog_, SW_SHOW);
      SetForegroundWindow(dialog_);
      HWND focus = GetFocus();
      if (!focus || !IsChild(dialog_, focus) || !IsWindowEnabled(focus) ||
          !IsWindowVisible(focus)) {
        Focus(GetNextDlgTabItem(dialog_, nullptr, FALSE));
      }
    }
    while (queue_.empty() && dialog_) {
      MSG message;
      if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
        // Someone asked the thread to quit: the dialog is asked to close.
        queue_.push_back(ViewEvent::kCloseRequest);
        break;
      }
      if (!IsDialogMessageA(dialog_, &message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
    if (!dialog_) return ViewEvent::kClosed;
    const ViewEvent event = queue_.front();
    queue_.pop_front();
    return event;
  }

  void Post(ViewEvent event) override { queue_.push_back(event); }

  void Close() override {
    if (!dialog_) return;
    HWND dialog = dialog_;
    dialog_ = nullptr;
    KillTimer(dialog, kTimerId);
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
    DestroyWindow(dialog);
  }

  void Show(const VersionEntry& entry) override {
    Show(version_, entry.version);
    Show(build_, entry.build);
    SetText(ZQ_NOTE, entry.note);
    SetText(ZQ_FILE_NAME, entry.file_name);
    CheckDlgButton(dialog_, ZQ_CONTROL_ID(ZQ_ENABLE_UPDATES), entry.updates_enabled);
    CheckDlgButton(dialog_, ZQ_CONTROL_ID(ZQ_AUTO_INCREMENT), entry.auto_increment);
  }

  VersionEntry entry() override {
    return {version_.value,
            build_.value,
            Text(ZQ_NOTE),
            Text(ZQ_FILE_NAME),
            Checked(ZQ_ENABLE_UPDATES),
            Checked(ZQ_AUTO_INCREMENT)};
  }

  void ShowDirectory(const std::string& directory) override { SetText(ZQ_DIRECTORY, directory); }
  void ShowStatus(int zone, const std::string& text) override {
    if (status_bar_) {
      SendMessageA(status_bar_, SB_SETTEXTA, static_cast<WPARAM>(zone - 1),
                   reinterpret_cast<LPARAM>(text.c_str()));
    }
  }

  void EnableEntry(bool enabled) override {
    if (!dialog_) return;
    for (const auto& range : kEntryRanges) {
      for (int field = range[0]; field <= range[1]; ++field) {
        for (int id : {ZQ_CONTROL_ID(field), ZQ_SPIN_ARROWS_ID(field)}) {
          if (HWND control = GetDlgItem(dialog_, id)) EnableWindow(control, enabled);
        }
      }
    }
    // A disabled control keeps the focus it had, and the keyboard would be
    // dead: the focus moves on to the next control that takes it.
    HWND focus = GetFocus();
    if (focus && IsChild(dialog_, focus) && !IsWindowEnabled(focus)) {
      SendMessageA(dialog_, WM_NEXTDLGCTL, 0, FALSE);
    }
  }

  void SelectFileName() override { Focus(Control(ZQ_FILE_NAME)); }

  void SetTimer(int hundredths) override {
    if (!dialog_) return;
    if (hundredths > 0) {
      ::SetTimer(dialog_, kTimerId, static_cast<UINT>(hundredths) * 10, nullptr);
    } else {
      KillTimer(dialog_, kTimerId);
    }
  }

  void OnSessionEnd(std::function<void()> handler) override { session_end_ = std::move(handler); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrA(dialog, DWLP_USER, lparam);
      auto* self = reinterpret_cast<Win32VersionView*>(lparam);
      self->dialog_ = dialog;
      self->Initialise();
      return TRUE;
    }
    auto* self = reinterpret_cast<Win32VersionView*>(GetWindowLongPtrA(dialog, DWLP_USER));
    return self ? self->Handle(message, wparam, lparam) : FALSE;
  }

  HWND Control(int field) { return GetDlgItem(dialog_, ZQ_CONTROL_ID(field)); }
  void Focus(HWND control) {
    if (control) SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  }
  bool Checked(int field) {
    return IsDlgButtonChecked(dialog_, ZQ_CONTROL_ID(field)) == BST_CHECKED;
  }
  std::string Text(int field) {
    HWND control = Control(field);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(
        std::max(GetWindowTextA(control, text.data(), static_cast<int>(text.size())), 0)));
    return text;
  }
  // Sets a control's text as the program, not the user, changes it.
  void SetText(int field, const std::string& text) {
    if (!dialog_ || Text(field) == text) return;
    displaying_ = true;
    SetDlgItemTextA(dialog_, ZQ_CONTROL_ID(field), text.c_str());
    displaying_ = false;
  }

  void Initialise() {
    SetFont(ZQ_HEADER, 16);
    SetFont(ZQ_CREDIT, 10);
    SetIcon(ZQ_INFO_BUTTON, IDI_INFORMATION);
    SetIcon(ZQ_MAIN_BUTTON, IDI_APPLICATION);
    SendMessageA(Control(ZQ_NOTE), EM_LIMITTEXT, kNoteWidth, 0);
    SendMessageA(Control(ZQ_VERSION), EM_LIMITTEXT, 5, 0);
    SendMessageA(Control(ZQ_BUILD), EM_LIMITTEXT, kBuildWidth, 0);
    for (int field : {ZQ_VERSION, ZQ_BUILD}) {
      // The arrows only report which way they were pressed; the field's own
      // range and step decide the value.
      HWND arrows = GetDlgItem(dialog_, ZQ_SPIN_ARROWS_ID(field));
      SendMessageA(arrows, UDM_SETRANGE32, 0, 100);
      SendMessageA(arrows, UDM_SETPOS32, 0, 50);
    }
    MakeStatusBar();
    ShowPage(kMainPage);
  }

  // An italic Arial of `points` for a text of its own.
  void SetFont(int field, int points) {
    HDC screen = GetDC(dialog_);
    const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(dialog_, screen);
    HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, TRUE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, "Arial");
    if (!font) return;
    fonts_.push_back(font);
    SendMessageA(Control(field), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }

  void SetIcon(int field, LPCSTR standard_icon) {
    HANDLE icon = LoadImageA(nullptr, standard_icon, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                             GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    SendMessageA(Control(field), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  }

  void MakeStatusBar() {
    status_bar_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                  dialog_, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!status_bar_) return;
    SendMessageA(status_bar_, WM_SETFONT, SendMessageA(dialog_, WM_GETFONT, 0, 0), FALSE);
    // The layout's height is the window's without the bar: the window grows by
    // the bar's height so that nothing of the layout lies under it.
    RECT bar, frame, client;
    GetWindowRect(status_bar_, &bar);
    GetWindowRect(dialog_, &frame);
    SetWindowPos(dialog_, nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top + bar.bottom - bar.top, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageA(status_bar_, WM_SIZE, 0, 0);
    GetClientRect(dialog_, &client);
    // Zones of 56 and 36 dialog units at the ends; the middle takes the rest.
    RECT widths = {56, 0, 36, 0};
    MapDialogRect(dialog_, &widths);
    int edges[] = {widths.left, std::max<int>(0, client.right - widths.right), -1};
    SendMessageA(status_bar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  }

  // Shows one page and hides the other. The focus moves to the button that
  // leads to the other page, the page's first stop, before the old page goes,
  // so that it never rests on a hidden control.
  void ShowPage(const int (&page)[2]) {
    const bool main = page[0] == kMainPage[0];
    ShowControls(page, true);
    Focus(Control(main ? ZQ_INFO_BUTTON : ZQ_MAIN_BUTTON));
    ShowControls(main ? kInfoPage : kMainPage, false);
  }

  void ShowControls(const int (&page)[2], bool show) {
    for (int field = page[0]; field <= page[1]; ++field) {
      for (int id : {ZQ_CONTROL_ID(field), ZQ_SPIN_ARROWS_ID(field)}) {
        HWND control = GetDlgItem(dialog_, id);
        // The prompt that the layout hides is never shown.
        const bool shown = show && field != ZQ_HIDDEN_PROMPT;
        if (control) ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
      }
    }
  }

  // A number field: the version in hundredths or the build.
  struct Number {
    int field;
    int highest;
    ViewEvent changed, rejected;
    std::optional<int> value;
    bool typed = false;  // text typed into it has yet to be taken
  };

  Number* NumberIn(int field) {
    return field == ZQ_VERSION ? &version_ : field == ZQ_BUILD ? &build_ : nullptr;
  }

  void Show(Number& number, std::optional<int> value) {
    number.value = value;
    const bool version = &number == &version_;
    SetText(number.field, !value    ? ""
                          : version ? Fitted(VersionText(*value), 5, ' ')
                                    : BuildText(*value));
  }

  // Takes what was typed into a number field: accepted and shown again as the
  // field shows numbers, or rejected, a blank too (the field keeps the focus,
  // so that the user sees what went wrong). Returns false on a rejection.
  bool TakeTyped(Number& number) {
    if (!number.typed) return true;
    number.typed = false;
    const std::string text = Text(number.field);
    const std::optional<int> value = &number == &version_ ? TypedVersion(text) : TypedBuild(text);
    if (!value) {
      queue_.push_back(number.rejected);
      PostMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(number.field)), TRUE);
      return false;
    }
    Show(number, value);
    queue_.push_back(number.changed);
    return true;
  }

  // Before a button acts, the text that each number field shows is taken, as
  // leaving the field would: typed with the focus, or set by a tool without
  // it. A rejection stops the button.
  bool TakeTypedFields() { return TakeTyped(version_) && TakeTyped(build_); }

  bool UserCanUse(int field) {
    HWND control = Control(field);
    return control && IsWindowEnabled(control) && IsWindowVisible(control);
  }

  void Command(int id, int code) {
    if (id == IDCANCEL) {
      queue_.push_back(ViewEvent::kCloseRequest);
      return;
    }
    const int field = id - ZQ_CONTROL_ID(0);
    if (Number* number = NumberIn(field)) {
      if (code == EN_CHANGE && !displaying_) number->typed = true;
      if (code == EN_KILLFOCUS) TakeTyped(*number);
      return;
    }
    if (code != BN_CLICKED || !UserCanUse(field)) return;
    if (field == ZQ_ENABLE_UPDATES) {
      queue_.push_back(ViewEvent::kUpdatesToggled);
      return;
    }
    if (field == ZQ_AUTO_INCREMENT || !TakeTypedFields()) return;
    if (field == ZQ_INFO_BUTTON) ShowPage(kInfoPage);
    if (field == ZQ_MAIN_BUTTON) ShowPage(kMainPage);
    if (field == ZQ_OK) queue_.push_back(ViewEvent::kOk);
    if (field == ZQ_CANCEL) queue_.push_back(ViewEvent::kCancel);
  }

  // The arrows step the version by 0.01 and the build by 1, within range.
  void Arrows(Number& number, int delta) {
    if (delta == 0 || !UserCanUse(number.field) || !TakeTyped(number)) return;
    const int next = Stepped(number.value.value_or(0), delta > 0 ? 1 : -1, number.highest);
    if (number.value == next) return;
    Show(number, next);
    queue_.push_back(number.changed);
  }

  INT_PTR Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_COMMAND:
        Command(LOWORD(wparam), HIWORD(wparam));
        return TRUE;
      case WM_NOTIFY: {
        const auto* change = reinterpret_cast<NMUPDOWN*>(lparam);
        Number* number = NumberIn(static_cast<int>(change->hdr.idFrom) - ZQ_SPIN_ARROWS_ID(0));
        if (change->hdr.code != UDN_DELTAPOS || !number) return FALSE;
        Arrows(*number, change->iDelta);
        SetWindowLongPtrA(dialog_, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      case WM_TIMER:
        if (wparam == kTimerId) queue_.push_back(ViewEvent::kTimer);
        return TRUE;
      case WM_CLOSE:
        queue_.push_back(ViewEvent::kCloseRequest);
        return TRUE;
      case WM_ENDSESSION:
        if (wparam && session_end_) session_end_();
        return TRUE;
      default:
        return FALSE;
    }
  }

  HWND dialog_ = nullptr;
  HWND status_bar_ = nullptr;
  std::deque<ViewEvent> queue_;
  std::vector<HFONT> fonts_;
  Number version_{ZQ_VERSION,
                  kHighestVersion,
                  ViewEvent::kVersionChanged,
                  ViewEvent::kVersionRejected,
                  std::nullopt,
                  false};
  Number build_{ZQ_BUILD,     kHighestBuild, ViewEvent::kBuildChanged, ViewEvent::kBuildRejected,
                std::nullopt, false};
  std::function<void()> session_end_;
  bool displaying_ = false;  // set while the program itself changes a control's text
  bool shown_ = false;
};

}  // namespace

Status OpenWin32VersionView(std::unique_ptr<VersionView>* view) {
  auto dialog = std::make_unique<Win32VersionView>();
  Status status = dialog->Create();
  if (status.ok()) *view = std::move(dialog);
  return status;
}

}  // namespace zqmv5
