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

namespace zqmv5 {
namespace {

constexpr UINT_PTR kTimerId = 1;

// The control of each Field and each Check, in their order.
constexpr int kFields[] = {ZQ_VERSION, ZQ_BUILD, ZQ_NOTE, ZQ_FILE_NAME, ZQ_DIRECTORY};
constexpr int kChecks[] = {ZQ_ENABLE_UPDATES, ZQ_AUTO_INCREMENT};
int IdOf(Field field) { return kFields[static_cast<int>(field)]; }
int IdOf(Check check) { return kChecks[static_cast<int>(check)]; }

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

  void SetText(Field field, const std::string& text) override {
    // Setting the text it has already would only move the caret.
    if (dialog_ && Text(field) != text)
      SetDlgItemTextA(dialog_, ZQ_CONTROL_ID(IdOf(field)), text.c_str());
  }
  std::string Text(Field field) override {
    HWND control = Control(IdOf(field));
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<size_t>(
        std::max(GetWindowTextA(control, text.data(), static_cast<int>(text.size())), 0)));
    return text;
  }
  void LimitText(Field field, size_t length) override {
    SendMessageA(Control(IdOf(field)), EM_LIMITTEXT, length, 0);
  }
  void SetChecked(Check check, bool checked) override {
    CheckDlgButton(dialog_, ZQ_CONTROL_ID(IdOf(check)), checked ? BST_CHECKED : BST_UNCHECKED);
  }
  bool Checked(Check check) override {
    return IsDlgButtonChecked(dialog_, ZQ_CONTROL_ID(IdOf(check))) == BST_CHECKED;
  }
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

  void ShowPage(Page page) override { ShowPage(page == Page::kInfo ? kInfoPage : kMainPage); }
  void SelectField(Field field) override { Focus(Control(IdOf(field))); }

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
  // A message that another program sends is handled inside GetMessageA,
  // which returns only for a posted one: the posted WM_NULL makes it return,
  // so that the logic takes the event at once.
  void Queue(ViewEvent event) {
    queue_.push_back(event);
    if (dialog_) PostMessageA(dialog_, WM_NULL, 0, 0);
  }

  void Initialise() {
    SetFont(ZQ_HEADER, 16);
    SetFont(ZQ_CREDIT, 10);
    SetIcon(ZQ_INFO_BUTTON, IDI_INFORMATION);
    SetIcon(ZQ_MAIN_BUTTON, IDI_APPLICATION);
    for (int field : {ZQ_VERSION, ZQ_BUILD}) {
      // The arrows only report which way they were pressed; the logic decides
      // the value.
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

  bool UserCanUse(int field) {
    HWND control = Control(field);
    return control && IsWindowEnabled(control) && IsWindowVisible(control);
  }

  void Command(int id, int code) {
    if (id == IDCANCEL) {
      Queue(ViewEvent::kCloseRequest);
      return;
    }
    const int field = id - ZQ_CONTROL_ID(0);
    if (code == EN_KILLFOCUS && (field == ZQ_VERSION || field == ZQ_BUILD)) {
      Queue(field == ZQ_VERSION ? ViewEvent::kVersionLeft : ViewEvent::kBuildLeft);
    }
    if (code != BN_CLICKED || !UserCanUse(field)) return;
    if (field == ZQ_ENABLE_UPDATES) Queue(ViewEvent::kUpdatesToggled);
    if (field == ZQ_INFO_BUTTON) Queue(ViewEvent::kInfoPage);
    if (field == ZQ_MAIN_BUTTON) Queue(ViewEvent::kMainPage);
    if (field == ZQ_OK) Queue(ViewEvent::kOk);
    if (field == ZQ_CANCEL) Queue(ViewEvent::kCancel);
  }

  INT_PTR Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_COMMAND:
        Command(LOWORD(wparam), HIWORD(wparam));
        return TRUE;
      case WM_NOTIFY: {
        const auto* change = reinterpret_cast<NMUPDOWN*>(lparam);
        const int field = static_cast<int>(change->hdr.idFrom) - ZQ_SPIN_ARROWS_ID(0);
        if (change->hdr.code != UDN_DELTAPOS || (field != ZQ_VERSION && field != ZQ_BUILD)) {
          return FALSE;
        }
        if (change->iDelta != 0 && UserCanUse(field)) {
          const bool up = change->iDelta > 0;
          Queue(field == ZQ_VERSION ? (up ? ViewEvent::kVersionUp : ViewEvent::kVersionDown)
                                    : (up ? ViewEvent::kBuildUp : ViewEvent::kBuildDown));
        }
        // The arrows never change the text themselves.
        SetWindowLongPtrA(dialog_, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      case WM_TIMER:
        if (wparam == kTimerId) Queue(ViewEvent::kTimer);
        return TRUE;
      case WM_CLOSE:
        Queue(ViewEvent::kCloseRequest);
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
  std::function<void()> session_end_;
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
