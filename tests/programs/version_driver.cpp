// Drives the Log/Version window of a running ZQMV5.exe the way a user would,
// through its controls by their numbers (res/resource_ids.h), and reports
// what the window showed. Message boxes are recorded and answered with OK.
//
//   version_driver [--report FILE] [--timeout MS] PROGRAM [STEP...]
//
// Steps, run in order once the window has appeared:
//   show LABEL     records every control and status zone under LABEL
//   shot PATH      saves a PNG screenshot of the window
//   click N        presses button or check box N
//   type N TEXT    gives field N the focus, replaces its text and tabs away
//   settext N TEXT sets field N's text as a tool would, without the focus
//   up N, down N   presses the arrow key in spin box N
//   enter, esc     presses Enter or Esc in the window
//   close          the frame's close button
//   endsession     the session ends (log-off or shut-down): the window is
//                  asked and told, and the program is then ended
//   wait MS        lets MS milliseconds pass
// Then the driver waits for the program to end. The report ("key=value"
// lines, "|" for a line break in a value) goes to FILE, or to the terminal
// when FILE is "-" or missing.

#include <windows.h>
// After windows.h, whose types it uses.
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "support/process.h"
#include "support/screenshot.h"

using namespace zqmv5::testing;

namespace {

constexpr DWORD kSettleMs = 200;  // time the program gets to act on a step

std::string OneLine(std::string text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') continue;
    out += c == '\n' ? '|' : c;
  }
  return out;
}

class Driver {
 public:
  Driver(std::vector<std::string> steps) : steps_(std::move(steps)) {}

  // Called about every 20 ms while the program runs.
  void Poll(DWORD process_id) {
    process_id_ = process_id;
    if (!window_) {
      const std::vector<void*> found = FindWindowsOf(process_id, ZQ_VERSION_WINDOW_CLASS, true);
      if (found.empty()) return;
      window_ = static_cast<HWND>(found.front());
      found_at_ = GetTickCount();
      Report("window", "found");
      next_at_ = found_at_ + kSettleMs;
    }
    if (next_ >= steps_.size() || static_cast<LONG>(GetTickCount() - next_at_) < 0) return;
    DWORD settle = kSettleMs;
    RunStep(&settle);
    next_at_ = GetTickCount() + settle;
  }

  void Finish(const RunResult& result) {
    if (!window_) Report("window", "missing");
    if (next_ < steps_.size()) Report("steps_left", std::to_string(steps_.size() - next_));
    Report("exit", std::to_string(result.exit_code));
    Report("timed_out", result.timed_out ? "1" : "0");
    if (window_) {
      Report("window_seconds", std::to_string((ended_at_ - found_at_) / 1000.0));
    }
    Report("boxes", std::to_string(result.boxes.size()));
    for (size_t i = 0; i < result.boxes.size(); ++i) {
      const std::string key = "box." + std::to_string(i + 1);
      Report(key + ".caption", result.boxes[i].caption);
      Report(key + ".text", result.boxes[i].text);
      Report(key + ".icon", result.boxes[i].icon);
    }
  }

  void Ended() { ended_at_ = GetTickCount(); }

  const std::string& report() const { return report_; }

 private:
  std::string Next() { return next_ < steps_.size() ? steps_[next_++] : ""; }

  HWND Control(int field) { return GetDlgItem(window_, ZQ_CONTROL_ID(field)); }

  LRESULT Send(HWND to, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(to, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
  }

  void Report(const std::string& key, const std::string& value) {
    report_ += key + "=" + OneLine(value) + "\n";
  }

  void RunStep(DWORD* settle) {
    const std::string step = Next();
    if (!IsWindow(window_)) {
      Report("step." + step, "window gone");
      return;
    }
    if (step == "show") {
      Show(Next());
      *settle = 0;
    } else if (step == "shot") {
      const std::string path = Next();
      Report("shot", SaveWindowScreenshot(window_, path) ? path : "failed: " + path);
      *settle = 0;
    } else if (step == "click") {
      HWND control = Control(std::stoi(Next()));
      PostMessageA(control, BM_CLICK, 0, 0);
    } else if (step == "type") {
      HWND control = Control(std::stoi(Next()));
      const std::string text = Next();
      Send(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
      Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
      Send(window_, WM_NEXTDLGCTL, 0, FALSE);
    } else if (step == "settext") {
      HWND control = Control(std::stoi(Next()));
      const std::string text = Next();
      Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    } else if (step == "endsession") {
      Report("endsession.agreed", Send(window_, WM_QUERYENDSESSION, 0, 0) ? "1" : "0");
      Send(window_, WM_ENDSESSION, TRUE, 0);
      // Windows ends the program once every window has answered.
      if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, process_id_)) {
        TerminateProcess(process, 0);
        CloseHandle(process);
      }
    } else if (step == "up" || step == "down") {
      HWND control = Control(std::stoi(Next()));
      Send(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
      const WPARAM key = step == "up" ? VK_UP : VK_DOWN;
      PostMessageA(control, WM_KEYDOWN, key, 1);
      PostMessageA(control, WM_KEYUP, key, 0xC0000001);
    } else if (step == "enter" || step == "esc") {
      const WPARAM key = step == "enter" ? VK_RETURN : VK_ESCAPE;
      HWND focus = Focus();
      PostMessageA(focus ? focus : window_, WM_KEYDOWN, key, 1);
      PostMessageA(focus ? focus : window_, WM_KEYUP, key, 0xC0000001);
    } else if (step == "close") {
      PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (step == "wait") {
      *settle = static_cast<DWORD>(std::stoul(Next()));
    } else {
      Report("step." + step, "unknown");
    }
  }

  HWND Focus() {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info)) return nullptr;
    return info.hwndFocus;
  }

  std::string Text(HWND control) {
    char text[1024] = {};
    Send(control, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
  }

  void Show(const std::string& label) {
    for (int field = 1; field <= ZQ_LAST_CONTROL; ++field) {
      HWND control = Control(field);
      if (!control) continue;
      const std::string key = label + "." + std::to_string(field);
      Report(key + ".enabled", IsWindowEnabled(control) ? "1" : "0");
      Report(key + ".visible", IsWindowVisible(control) ? "1" : "0");
      Report(key + ".text", Text(control));
      char kind[32] = {};
      GetClassNameA(control, kind, sizeof(kind));
      const LONG style = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
      if (lstrcmpiA(kind, "Button") == 0 && style == BS_AUTOCHECKBOX) {
        Report(key + ".checked", Send(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0");
      }
      RECT r;
      GetWindowRect(control, &r);
      Report(key + ".size",
             std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top));
    }
    HWND focus = Focus();
    Report(label + ".focus", focus && GetParent(focus) == window_
                                 ? std::to_string(GetDlgCtrlID(focus) - ZQ_CONTROL_ID(0))
                                 : "");
    RECT frame;
    GetWindowRect(window_, &frame);
    Report(label + ".frame", std::to_string(frame.right - frame.left) + "x" +
                                 std::to_string(frame.bottom - frame.top));
    ShowStatusBar(label);
  }

  // The status bar's texts live in the other process: its answer is written
  // into memory reserved there and read back.
  void ShowStatusBar(const std::string& label) {
    HWND bar = FindWindowExA(window_, nullptr, STATUSCLASSNAMEA, nullptr);
    if (!bar) {
      Report(label + ".status", "missing");
      return;
    }
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id_);
    if (!process) return;
    constexpr size_t kSize = 1024;
    void* remote = VirtualAllocEx(process, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE);
    const int parts = static_cast<int>(Send(bar, SB_GETPARTS, 0, 0));
    Report(label + ".status.zones", std::to_string(parts));
    for (int i = 0; remote && i < parts; ++i) {
      char text[kSize] = {};
      WriteProcessMemory(process, remote, text, kSize, nullptr);
      Send(bar, SB_GETTEXTA, i, reinterpret_cast<LPARAM>(remote));
      ReadProcessMemory(process, remote, text, kSize - 1, nullptr);
      Report(label + ".status." + std::to_string(i + 1), text);
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
  }

  std::vector<std::string> steps_;
  size_t next_ = 0;
  DWORD next_at_ = 0;
  DWORD process_id_ = 0;
  HWND window_ = nullptr;
  DWORD found_at_ = 0;
  DWORD ended_at_ = 0;
  std::string report_;
};

}  // namespace

int main(int argc, char** argv) {
  std::string report_path = "-";
  unsigned long timeout = 60000;
  int i = 1;
  for (; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--report") {
      report_path = argv[i + 1];
    } else if (option == "--timeout") {
      timeout = std::stoul(argv[i + 1]);
    } else {
      break;
    }
  }
  if (i >= argc) {
    std::fprintf(stderr,
                 "usage: version_driver [--report FILE] [--timeout MS] PROGRAM [STEP...]\n");
    return 2;
  }
  const std::string program = argv[i++];
  std::vector<std::string> steps(argv + i, argv + argc);

  Driver driver(steps);
  RunOptions options;
  options.timeout_ms = timeout;
  options.while_running = [&](unsigned long process_id) { driver.Poll(process_id); };
  RunResult result = RunAndCatch(Quoted(program), options);
  driver.Ended();
  if (!result.started) {
    std::fprintf(stderr, "could not start %s\n", program.c_str());
    return 2;
  }
  driver.Finish(result);

  if (report_path == "-") {
    std::fputs(driver.report().c_str(), stdout);
    std::fflush(stdout);
  } else {
    FILE* file = std::fopen(report_path.c_str(), "wb");
    if (!file) return 2;
    std::fputs(driver.report().c_str(), file);
    std::fclose(file);
  }
  return 0;
}
