#include "support/screenshot.h"

#include <windows.h>

namespace zqmv5::testing {

std::string UnixPath(const std::string& windows_path) {
  using ToUnix = char* (*)(const WCHAR*);
  static ToUnix to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!to_unix) return "";
  WCHAR wide[MAX_PATH * 2] = {};
  MultiByteToWideChar(CP_ACP, 0, windows_path.c_str(), -1, wide, MAX_PATH * 2);
  char* unix_path = to_unix(wide);
  if (!unix_path) return "";
  std::string result = unix_path;
  HeapFree(GetProcessHeap(), 0, unix_path);
  return result;
}

bool SaveWindowScreenshot(void* window, const std::string& png_path) {
  HWND hwnd = static_cast<HWND>(window);
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return false;
  const std::string target = UnixPath(png_path);
  if (target.empty()) return false;
  DeleteFileA(png_path.c_str());
  // A Unix program started from Wine cannot be waited for; it writes to a
  // temporary name and renames it when done, and we wait for the name.
  const std::string crop = std::to_string(r.right - r.left) + "x" +
                           std::to_string(r.bottom - r.top) + "+" + std::to_string(r.left) + "+" +
                           std::to_string(r.top);
  // The Unix path is UTF-8 whatever the ANSI code page: the command goes as
  // wide text, so that a path in any characters reaches the shell whole.
  const std::string command = "Z:\\bin\\sh -c \"xwd -root -silent | convert xwd:- -crop " + crop +
                              " +repage png:'" + target + ".part' && mv '" + target + ".part' '" +
                              target + "'\"";
  std::wstring wide(command.size() + 1, L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, command.c_str(), -1, wide.data(),
                                                      static_cast<int>(wide.size()))));
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (wide.empty() || !CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int i = 0; i < 200; ++i) {
    if (GetFileAttributesA(png_path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    Sleep(50);
  }
  return false;
}

}  // namespace zqmv5::testing
