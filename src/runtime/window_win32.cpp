// Windows on Win32: a modeless dialog made from a dialog resource, whose
// notifications become events in a queue that the logic takes one at a time.

#include <windows.h>
// After windows.h, whose types it uses.
#include <commctrl.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "runtime/fixed_text.h"
#include "runtime/win32_backends.h"
#include "runtime/window_fields.h"

namespace zqmv5 {
namespace {

// The dialog's own window class: scripts and tests find the window by it, and
// it keeps the window apart from the system's message boxes (#32770).
constexpr char kWindowClass[] = "ZQMV5VersionWindow";

// A spin box is an edit (id 1000 + n) with its arrows (id 1100 + n) beside it.
constexpr int kSpinArrowsIdBase = 1100;

constexpr UINT_PTR kTimerId = 1;

int IdOf(int field) { return kControlIdBase + field; }

bool RegisterWindowClass() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof(window_class);
  // A dialog of its own class must leave DLGWINDOWEXTRA bytes for the dialog
  // manager and use its window procedure.
  window_class.cbWndExtra = DLGWINDOWEXTRA;
  window_class.lpfnWndProc = DefDlgProcA;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  window_class.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  registered = RegisterClassExA(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

std::string ControlText(HWND control) {
  const int length = GetWindowTextLengthA(control);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int got = GetWindowTextA(control, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

class Win32Window : public Window {
 public:
  Win32Window(const WindowDescription& description, ErrorState& error)
      : description_(description), error_(error) {}

  ~Win32Window() override {
    Destroy();
    for (auto& [field, font] : fonts_) DeleteObject(font);
  }

  bool Create() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                     ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterWindowClass();
    SetLastError(0);
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), description_.layout.c_str(), nullptr,
                                 DialogProc, reinterpret_cast<LPARAM>(this));
    if (!dialog_) {
      const DWORD code = GetLastError();
      error_.Set(RuntimeErrorFromWin32(code),
                 "The window \"" + description_.layout + "\" cannot be made: " +
                     Win32ErrorText(code == 0 ? ERROR_RESOURCE_NAME_NOT_FOUND : code));
      return false;
    }
    Display();
    error_.Clear();
    return true;
  }

  WindowEvent TakeEvent() override {
    if (dialog_ && !shown_) {
      // The window shows once the logic first waits for the user, with every
      // opening step done, rather than flash its design texts.
      shown_ = true;
      ShowWindow(dialog_, SW_SHOW);
      SetForegroundWindow(dialog_);
      HWND focus = GetFocus();
      if (!focus || !IsChild(dialog_, focus) || !IsWindowEnabled(focus) ||
          !IsWindowVisible(focus)) {
        if (HWND first = GetNextDlgTabItem(dialog_, nullptr, FALSE)) {
          SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
        }
      }
    }
    while (queue_.empty() && dialog_) {
      MSG message;
      const BOOL got = GetMessageA(&message, nullptr, 0, 0);
      if (got <= 0) {
        // Someone asked the thread to quit: treat it as a close request, and
        // pass the quit on once the window is gone.
        quit_ = got == 0;
        queue_.push_back({WindowEventKind::kCloseRequest, 0});
        break;
      }
      if (!IsDialogMessageA(dialog_, &message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
    if (!dialog_) return {WindowEventKind::kClosed, 0};
    WindowEvent event = queue_.front();
    queue_.pop_front();
    return event;
  }

  void PostEvent(WindowEvent event) override { queue_.push_back(event); }

  void Close() override { Destroy(); }

  void Select(int field) override {
    if (!dialog_) return;
    for (const SheetPage& page : description_.pages) {
      if (page.tab == field) {
        ShowPage(field);
        return;
      }
    }
    if (HWND control = GetDlgItem(dialog_, IdOf(field))) {
      SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }
  }

  void Display() override {
    if (!dialog_) return;
    displaying_ = true;
    for (const DataField& field : description_.fields) {
      HWND control = GetDlgItem(dialog_, IdOf(field.field));
      if (!control) continue;
      if (field.kind == FieldKind::kCheck) {
        SendMessageA(control, BM_SETCHECK, field.flag && *field.flag ? BST_CHECKED : BST_UNCHECKED,
                     0);
      } else {
        const std::string text = FieldDisplayText(field);
        if (ControlText(control) != text) SetWindowTextA(control, text.c_str());
      }
      typed_.erase(field.field);
    }
    displaying_ = false;
  }

  void Enable(int first, int last) override { SetEnabled(first, last, TRUE); }
  void Disable(int first, int last) override { SetEnabled(first, last, FALSE); }

  void SetText(int field, const std::string& text) override {
    if (!dialog_) return;
    displaying_ = true;
    SetDlgItemTextA(dialog_, IdOf(field), text.c_str());
    displaying_ = false;
  }

  void SetStatusText(int zone, const std::string& text) override {
    if (status_bar_ && zone >= 1) {
      SendMessageA(status_bar_, SB_SETTEXTA, static_cast<WPARAM>(zone - 1),
                   reinterpret_cast<LPARAM>(text.c_str()));
    }
  }

  void SetEndSessionHandler(std::function<void()> handler) override {
    end_session_ = std::move(handler);
  }

  void SetTimer(int hundredths) override {
    if (!dialog_) return;
    if (hundredths > 0) {
      ::SetTimer(dialog_, kTimerId, static_cast<UINT>(hundredths) * 10, nullptr);
    } else {
      KillTimer(dialog_, kTimerId);
    }
  }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrA(dialog, DWLP_USER, lparam);
      auto* self = reinterpret_cast<Win32Window*>(lparam);
      self->dialog_ = dialog;
      self->Initialise();
      return TRUE;
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self) return FALSE;
    return self->Handle(message, wparam, lparam);
  }

  void Initialise() {
    for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)
        shown_in_layout_.insert(GetDlgCtrlID(child));
    }
    for (const ControlFont& f : description_.fonts) {
      HDC screen = GetDC(dialog_);
      const int height = -MulDiv(f.points, GetDeviceCaps(screen, LOGPIXELSY), 72);
      ReleaseDC(dialog_, screen);
      HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, f.italic, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                               DEFAULT_PITCH | FF_SWISS, f.face.c_str());
      if (!font) continue;
      fonts_[f.field] = font;
      SendDlgItemMessageA(dialog_, IdOf(f.field), WM_SETFONT, reinterpret_cast<WPARAM>(font),
                          FALSE);
    }
    for (const ButtonIcon& b : description_.icons) {
      LPCSTR id = b.icon == StandardIcon::kInformation ? IDI_INFORMATION : IDI_APPLICATION;
      HANDLE icon = LoadImageA(nullptr, id, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                               GetSystemMetrics(SM_CYSMICON), LR_SHARED);
      SendDlgItemMessageA(dialog_, IdOf(b.field), BM_SETIMAGE, IMAGE_ICON,
                          reinterpret_cast<LPARAM>(icon));
    }
    for (const DataField& field : description_.fields) {
      HWND control = GetDlgItem(dialog_, IdOf(field.field));
      if (!control) continue;
      if (field.kind != FieldKind::kCheck && field.size > 0) {
        // The edit takes no more than the variable holds, or for a number
        // than its picture shows.
        size_t limit = field.size;
        if (field.kind == FieldKind::kNumber) {
          limit = std::max(FormatNumber(field.high, field.picture).size(),
                           FormatNumber(field.low, field.picture).size());
        }
        SendMessageA(control, EM_LIMITTEXT, limit, 0);
      }
      if (HWND arrows = GetDlgItem(dialog_, kSpinArrowsIdBase + field.field)) {
        // The arrows only report which way they were pressed; the field's
        // own range and step decide the value.
        SendMessageA(arrows, UDM_SETRANGE32, 0, 100);
        SendMessageA(arrows, UDM_SETPOS32, 0, 50);
      }
    }
    MakeStatusBar();
    if (!description_.pages.empty()) ShowPage(description_.pages.front().tab);
  }

  void MakeStatusBar() {
    if (description_.status_zones.empty()) return;
    status_bar_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                  dialog_, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!status_bar_) return;
    SendMessageA(status_bar_, WM_SETFONT, SendMessageA(dialog_, WM_GETFONT, 0, 0), FALSE);
    // The layout's height is the window's without the bar: the window grows by
    // the bar's height so that nothing of the layout lies under it.
    RECT bar;
    GetWindowRect(status_bar_, &bar);
    RECT frame;
    GetWindowRect(dialog_, &frame);
    const int bar_height = bar.bottom - bar.top;
    SetWindowPos(dialog_, nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top + bar_height, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageA(status_bar_, WM_SIZE, 0, 0);

    RECT client;
    GetClientRect(dialog_, &client);
    std::vector<int> widths;
    int rest = -1;
    for (size_t i = 0; i < description_.status_zones.size(); ++i) {
      RECT units = {0, 0, description_.status_zones[i], 0};
      MapDialogRect(dialog_, &units);
      widths.push_back(description_.status_zones[i] < 0 ? 0 : units.right);
      if (description_.status_zones[i] < 0) rest = static_cast<int>(i);
    }
    int fixed = 0;
    for (int w : widths) fixed += w;
    if (rest >= 0) widths[rest] = std::max(0, static_cast<int>(client.right) - fixed);
    std::vector<int> edges;
    int edge = 0;
    for (int w : widths) edges.push_back(edge += w);
    edges.back() = -1;
    SendMessageA(status_bar_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  }

  // Shows the page of `tab` and hides the others. The focus moves to the
  // page's first control that takes it before the old page goes, so that it
  // never rests on a hidden control.
  void ShowPage(int tab) {
    for (int pass = 0; pass < 2; ++pass) {
      for (const SheetPage& page : description_.pages) {
        const bool showing = page.tab == tab;
        if (showing != (pass == 0)) continue;
        for (int field = page.first; field <= page.last; ++field) {
          for (int id : {IdOf(field), kSpinArrowsIdBase + field}) {
            HWND control = GetDlgItem(dialog_, id);
            if (!control) continue;
            ShowWindow(control, showing && shown_in_layout_.count(id) ? SW_SHOWNA : SW_HIDE);
          }
        }
        if (showing) FocusFirstOf(page);
      }
    }
  }

  void FocusFirstOf(const SheetPage& page) {
    for (int field = page.first; field <= page.last; ++field) {
      HWND control = GetDlgItem(dialog_, IdOf(field));
      if (control && IsWindowVisible(control) && IsWindowEnabled(control) &&
          (GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP)) {
        SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        return;
      }
    }
  }

  void SetEnabled(int first, int last, BOOL enabled) {
    if (!dialog_) return;
    for (int field : ControlsIn(description_, first, last)) {
      for (int id : {IdOf(field), kSpinArrowsIdBase + field}) {
        if (HWND control = GetDlgItem(dialog_, id)) EnableWindow(control, enabled);
      }
    }
    // A disabled control keeps the focus it had, and the keyboard would be
    // dead: the focus moves on to the next control that takes it.
    HWND focus = GetFocus();
    if (focus && IsChild(dialog_, focus) && !IsWindowEnabled(focus)) {
      SendMessageA(dialog_, WM_NEXTDLGCTL, 0, FALSE);
    }
  }

  // Takes what was typed into a number field: accepted, or rejected (the
  // field keeps the focus so that the user sees what went wrong). Returns
  // false on a rejection.
  bool TakeTyped(int field) {
    if (!typed_.count(field)) return true;
    typed_.erase(field);
    const DataField* data = FindField(description_, field);
    HWND control = GetDlgItem(dialog_, IdOf(field));
    if (!data || !control) return true;
    if (StoreFieldText(*data, ControlText(control))) {
      // What was taken shows again through the field's picture.
      displaying_ = true;
      SetWindowTextA(control, FieldDisplayText(*data).c_str());
      displaying_ = false;
      queue_.push_back({WindowEventKind::kAccepted, field});
      return true;
    }
    queue_.push_back({WindowEventKind::kRejected, field});
    PostMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    return false;
  }

  // Before a button acts, the text that every number field shows is taken,
  // as leaving the field would: typed with the focus, or set by a tool
  // without it. A rejection stops the button.
  bool TakeTypedFields() {
    const std::set<int> fields = typed_;
    for (int field : fields) {
      if (!TakeTyped(field)) return false;
    }
    return true;
  }

  bool UserCanUse(int field) {
    HWND control = GetDlgItem(dialog_, IdOf(field));
    return control && IsWindowEnabled(control) && IsWindowVisible(control);
  }

  void Command(int id, int code) {
    if (id == IDCANCEL) {
      queue_.push_back({WindowEventKind::kCloseRequest, 0});
      return;
    }
    if (id == IDOK) {
      // Enter where Windows found no default button to press for it: the
      // layout's default button stands in, if it has one.
      const LRESULT default_id = SendMessageA(dialog_, DM_GETDEFID, 0, 0);
      if (HIWORD(default_id) != DC_HASDEFID || LOWORD(default_id) == IDOK) return;
      id = LOWORD(default_id);
    }
    const int field = id - kControlIdBase;
    const DataField* data = FindField(description_, field);
    if (data && data->kind != FieldKind::kCheck) {
      HWND control = GetDlgItem(dialog_, id);
      if (code == EN_CHANGE && !displaying_) {
        if (data->kind == FieldKind::kText) {
          StoreFieldText(*data, ControlText(control));
          edited_.insert(field);
        } else {
          typed_.insert(field);
        }
      } else if (code == EN_KILLFOCUS) {
        if (data->kind == FieldKind::kNumber) {
          TakeTyped(field);
        } else if (edited_.erase(field)) {
          queue_.push_back({WindowEventKind::kAccepted, field});
        }
      }
      return;
    }
    if (code != BN_CLICKED || !UserCanUse(field)) return;
    if (data) {
      *data->flag = IsDlgButtonChecked(dialog_, id) == BST_CHECKED ? 1 : 0;
      queue_.push_back({WindowEventKind::kAccepted, field});
      return;
    }
    if (!TakeTypedFields()) return;
    queue_.push_back({WindowEventKind::kAccepted, field});
  }

  void Arrows(int field, int delta) {
    const DataField* data = FindField(description_, field);
    if (!data || delta == 0 || !UserCanUse(field)) return;
    if (!TakeTyped(field)) return;
    if (!StepField(*data, delta > 0 ? 1 : -1)) return;
    displaying_ = true;
    SetDlgItemTextA(dialog_, IdOf(field), FieldDisplayText(*data).c_str());
    displaying_ = false;
    queue_.push_back({WindowEventKind::kNewSelection, field});
  }

  INT_PTR Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_COMMAND:
        Command(LOWORD(wparam), HIWORD(wparam));
        return TRUE;
      case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lparam);
        if (header->code == UDN_DELTAPOS && static_cast<int>(header->idFrom) > kSpinArrowsIdBase) {
          auto* change = reinterpret_cast<NMUPDOWN*>(lparam);
          Arrows(static_cast<int>(header->idFrom) - kSpinArrowsIdBase, change->iDelta);
          SetWindowLongPtrA(dialog_, DWLP_MSGRESULT, TRUE);
          return TRUE;
        }
        return FALSE;
      }
      case WM_TIMER:
        if (wparam == kTimerId) queue_.push_back({WindowEventKind::kTimer, 0});
        return TRUE;
      case WM_CLOSE:
        queue_.push_back({WindowEventKind::kCloseRequest, 0});
        return TRUE;
      case WM_ENDSESSION:
        if (wparam && end_session_) end_session_();
        return TRUE;
      default:
        return FALSE;
    }
  }

  void Destroy() {
    if (!dialog_) return;
    HWND dialog = dialog_;
    dialog_ = nullptr;
    status_bar_ = nullptr;
    KillTimer(dialog, kTimerId);
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
    DestroyWindow(dialog);
    if (quit_) PostQuitMessage(0);
  }

  WindowDescription description_;
  ErrorState& error_;
  HWND dialog_ = nullptr;
  HWND status_bar_ = nullptr;
  std::deque<WindowEvent> queue_;
  std::function<void()> end_session_;
  std::map<int, HFONT> fonts_;
  std::set<int> shown_in_layout_;  // ids of the controls the layout shows
  std::set<int> typed_;            // number fields with typed text not yet taken
  std::set<int> edited_;           // text fields changed since they had the focus
  bool displaying_ = false;        // set while the program itself changes a control's text
  bool shown_ = false;
  bool quit_ = false;
};

class Win32WindowSystem : public WindowSystem {
 public:
  explicit Win32WindowSystem(ErrorState& error) : error_(error) {}

  std::unique_ptr<Window> OpenWindow(const WindowDescription& description) override {
    auto window = std::make_unique<Win32Window>(description, error_);
    if (!window->Create()) return nullptr;
    return window;
  }

 private:
  ErrorState& error_;
};

}  // namespace

std::unique_ptr<WindowSystem> NewWin32WindowSystem(ErrorState& error) {
  return std::make_unique<Win32WindowSystem>(error);
}

}  // namespace zqmv5
