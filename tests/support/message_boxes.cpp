#include "support/message_boxes.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "support/screenshot.h"

namespace zqmv5::testing {
namespace {

std::string WindowText(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(length + 1, '\0');
  length = GetWindowTextA(window, text.data(), length + 1);
  text.resize(std::max(length, 0));
  return text;
}

std::string ClassName(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

std::string WithoutCarriageReturns(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

// A w by h 32-bit BGRA bitmap selected into a memory DC compatible with the
// screen; its pixels lie in bits() for as long as the canvas lives.
class Canvas {
 public:
  Canvas(int w, int h) : screen_(GetDC(nullptr)), memory_(CreateCompatibleDC(screen_)) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ = CreateDIBSection(memory_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    old_ = SelectObject(memory_, bitmap_);
  }
  ~Canvas() {
    SelectObject(memory_, old_);
    DeleteObject(bitmap_);
    DeleteDC(memory_);
    ReleaseDC(nullptr, screen_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC screen() const { return screen_; }
  HDC dc() const { return memory_; }
  DWORD* bits() const { return static_cast<DWORD*>(bits_); }

 private:
  HDC screen_;
  HDC memory_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

// The pixels of a screen rectangle, as 32-bit BGRA.
std::vector<DWORD> CaptureScreen(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<DWORD> pixels(static_cast<size_t>(w) * h);
  Canvas canvas(w, h);
  BitBlt(canvas.dc(), 0, 0, w, h, canvas.screen(), r.left, r.top, SRCCOPY);
  GdiFlush();
  std::copy_n(canvas.bits(), pixels.size(), pixels.begin());
  return pixels;
}

// A system icon drawn as a static control draws it: on `background`, at its
// natural size, in the top-left corner of a w by h area.
std::vector<DWORD> RenderIcon(LPCSTR id, int w, int h, DWORD background) {
  std::vector<DWORD> pixels(static_cast<size_t>(w) * h, background);
  HICON icon = LoadIconA(nullptr, id);
  if (!icon) return pixels;
  Canvas canvas(w, h);
  std::copy(pixels.begin(), pixels.end(), canvas.bits());
  DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
  GdiFlush();
  std::copy_n(canvas.bits(), pixels.size(), pixels.begin());
  return pixels;
}

long Difference(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
  long total = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      total += std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                        static_cast<int>((b[i] >> shift) & 0xFF));
    }
  }
  return total;
}

// Which standard icon the box's icon control shows, told by its pixels: icon
// handles of another process cannot be read, but what is on the screen can.
std::string IdentifyIcon(HWND icon_control) {
  if (!icon_control || !IsWindowVisible(icon_control)) return "none";
  RECT r;
  GetWindowRect(icon_control, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return "none";
  std::vector<DWORD> shown = CaptureScreen(r);
  const DWORD background = shown.back();
  struct Candidate {
    const char* name;
    LPCSTR id;
  };
  const Candidate candidates[] = {
      {"information", IDI_ASTERISK}, {"winlogo", IDI_WINLOGO}, {"application", IDI_APPLICATION},
      {"warning", IDI_EXCLAMATION},  {"error", IDI_HAND},      {"question", IDI_QUESTION},
  };
  const char* best = "unknown";
  long best_difference = -1;
  long runner_up = -1;
  for (const Candidate& c : candidates) {
    long d = Difference(shown, RenderIcon(c.id, w, h, background));
    if (best_difference < 0 || d < best_difference) {
      runner_up = best_difference;
      best_difference = d;
      best = c.name;
    } else if (runner_up < 0 || d < runner_up) {
      runner_up = d;
    }
  }
  // A blank control matches nothing well; identical icons cannot be told apart.
  if (best_difference == runner_up) return "unknown";
  if (best_difference > static_cast<long>(w) * h * 3 * 8) return "unknown";
  return best;
}

struct Search {
  DWORD process_id;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectBoxes(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (search->process_id != 0 && owner != search->process_id) return TRUE;
  if (owner == GetCurrentProcessId()) return TRUE;
  if (ClassName(window) == "#32770" && IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

struct Parts {
  HWND icon = nullptr;
  std::string text;
  std::vector<std::pair<std::string, HWND>> buttons;
};

BOOL CALLBACK CollectParts(HWND child, LPARAM param) {
  auto* parts = reinterpret_cast<Parts*>(param);
  const std::string kind = ClassName(child);
  if (_stricmp(kind.c_str(), "Static") == 0) {
    LONG style = GetWindowLongA(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON) {
      parts->icon = child;
    } else if (IsWindowVisible(child)) {
      std::string text = WindowText(child);
      if (!text.empty() || parts->text.empty()) parts->text = WithoutCarriageReturns(text);
    }
  } else if (_stricmp(kind.c_str(), "Button") == 0 && IsWindowVisible(child)) {
    parts->buttons.push_back({WindowText(child), child});
  }
  return TRUE;
}

}  // namespace

MessageBoxCatcher::MessageBoxCatcher(unsigned long process_id) : process_id_(process_id) {}

int MessageBoxCatcher::Poll() {
  Search search{process_id_, {}};
  EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&search));
  int closed = 0;
  const DWORD now = GetTickCount();
  for (HWND window : search.found) {
    auto seen =
        std::find_if(seen_.begin(), seen_.end(), [&](const auto& s) { return s.first == window; });
    if (seen == seen_.end()) {
      seen_.push_back({window, now});
      continue;
    }
    // Give the box time to paint itself before its icon is read off the screen.
    if (now - seen->second < 250) continue;

    Parts parts;
    EnumChildWindows(window, CollectParts, reinterpret_cast<LPARAM>(&parts));
    CaughtBox box;
    box.caption = WindowText(window);
    box.text = parts.text;
    box.icon = parts.icon ? IdentifyIcon(parts.icon) : "none";
    HWND ok = nullptr;
    for (const auto& [text, button] : parts.buttons) {
      box.buttons.push_back(text);
      if (GetDlgCtrlID(button) == IDOK || parts.buttons.size() == 1) ok = button;
    }
    if (!screenshot_prefix_.empty()) {
      SaveWindowScreenshot(window, screenshot_prefix_ + std::to_string(boxes.size() + 1) + ".png");
    }
    boxes.push_back(box);
    const int id = ok ? GetDlgCtrlID(ok) : IDOK;
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
    seen_.erase(seen);
    ++closed;
  }
  return closed;
}

std::string Describe(const CaughtBox& box) {
  std::string buttons;
  for (const std::string& b : box.buttons) buttons += (buttons.empty() ? "" : ",") + b;
  return "[" + box.caption + "] icon=" + box.icon + " buttons=" + buttons + "\n" + box.text;
}

std::string Describe(const std::vector<CaughtBox>& boxes) {
  std::string out;
  for (const CaughtBox& box : boxes) out += Describe(box) + "\n---\n";
  return out.empty() ? "(no message box)" : out;
}

}  // namespace zqmv5::testing
