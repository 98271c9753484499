#include "support/process.h"

#include <windows.h>

namespace zqmv5::testing {
namespace {

std::wstring Wide(const std::string& text, UINT code_page = CP_UTF8) {
  std::wstring wide(text.size() + 1, L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(code_page, 0, text.c_str(), -1, wide.data(),
                                                      static_cast<int>(wide.size()))));
  if (!wide.empty()) wide.pop_back();
  return wide;
}

// Starts the program, with `output` (when given) as its standard output. A
// UTF-8 command line goes as wide text, as Explorer or a Unicode installer
// hands it over, with characters that no ANSI code page holds.
HANDLE Start(const std::string& command_line, const std::string& directory, HANDLE output = nullptr,
             bool utf8 = false) {
  std::string line = command_line;
  std::wstring wide_line = Wide(command_line);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  if (output) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
  }
  PROCESS_INFORMATION process = {};
  const BOOL started =
      utf8 ? CreateProcessW(nullptr, wide_line.data(), nullptr, nullptr, output != nullptr, 0,
                            nullptr, directory.empty() ? nullptr : Wide(directory, CP_ACP).c_str(),
                            &startup, &process)
           : CreateProcessA(nullptr, line.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
                            directory.empty() ? nullptr : directory.c_str(),
                            reinterpret_cast<STARTUPINFOA*>(&startup), &process);
  if (!started) return nullptr;
  CloseHandle(process.hThread);
  return process.hProcess;
}

// The standard output to hand the program, inheritable; null for none.
HANDLE OutputFor(const RunOptions& options) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  if (!options.output_file.empty()) {
    HANDLE file = CreateFileA(options.output_file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
  }
  HANDLE copy = nullptr;
  if (options.pass_output) {
    DuplicateHandle(GetCurrentProcess(), GetStdHandle(STD_OUTPUT_HANDLE), GetCurrentProcess(),
                    &copy, 0, TRUE, DUPLICATE_SAME_ACCESS);
  }
  return copy;
}

struct WindowSearch {
  unsigned long process_id;
  const std::string& class_name;
  bool visible_only;
  std::vector<void*> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  if (name == search->class_name && (search->process_id == 0 || owner == search->process_id) &&
      (!search->visible_only || IsWindowVisible(window))) {
    search->found.push_back(window);
  }
  return TRUE;
}

}  // namespace

RunResult RunAndCatch(const std::string& command_line, const RunOptions& options) {
  RunResult result;
  LARGE_INTEGER frequency, begin, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&begin);
  HANDLE output = OutputFor(options);
  HANDLE process = Start(command_line, options.directory, output, options.utf8);
  if (output) CloseHandle(output);
  if (!process) return result;
  result.started = true;
  const DWORD process_id = GetProcessId(process);
  MessageBoxCatcher catcher(process_id);
  if (!options.screenshot_prefix.empty()) catcher.SaveScreenshotsAs(options.screenshot_prefix);
  const DWORD deadline = GetTickCount() + options.timeout_ms;
  for (;;) {
    if (WaitForSingleObject(process, 20) == WAIT_OBJECT_0) break;
    if (options.press_ok) catcher.Poll();
    if (options.while_running) options.while_running(process_id);
    if (static_cast<LONG>(GetTickCount() - deadline) > 0) {
      result.timed_out = true;
      TerminateProcess(process, 255);
      WaitForSingleObject(process, 5000);
      break;
    }
  }
  QueryPerformanceCounter(&end);
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  result.exit_code = code;
  result.seconds = double(end.QuadPart - begin.QuadPart) / double(frequency.QuadPart);
  result.boxes = catcher.boxes;
  return result;
}

std::vector<void*> FindWindowsOf(unsigned long process_id, const std::string& class_name,
                                 bool visible_only) {
  WindowSearch search{process_id, class_name, visible_only, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void* StartDetached(const std::string& command_line, const std::string& directory) {
  return Start(command_line, directory);
}

std::string ProgramDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir = path;
  return dir.substr(0, dir.find_last_of("\\/"));
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string Utf8FromAnsi(const std::string& ansi) {
  const std::wstring wide = Wide(ansi, CP_ACP);
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size > 0 ? size : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), size, nullptr, nullptr);
  utf8.pop_back();
  return utf8;
}

}  // namespace zqmv5::testing
