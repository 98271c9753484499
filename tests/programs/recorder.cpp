// Stands in for a program that another one starts: records that it was
// started, appending its command line and its current directory as one line
// to "<its own path>.log", and ends at once. Copied under another name (the
// IDE's executable, say), it keeps its log beside that copy.

#include <windows.h>

#include <string>

int main() {
  char module[MAX_PATH * 2] = {};
  DWORD length = GetModuleFileNameA(nullptr, module, sizeof(module));
  if (length == 0 || length >= sizeof(module)) return 1;
  char directory[MAX_PATH * 2] = {};
  GetCurrentDirectoryA(sizeof(directory), directory);

  const std::string line = std::string(GetCommandLineA()) + "\t" + directory + "\r\n";
  const std::string log = std::string(module) + ".log";
  // Several starts may append at once; a shared open and an append write keep
  // each line whole.
  for (int attempt = 0; attempt < 100; ++attempt) {
    HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
      return 0;
    }
    Sleep(20);
  }
  return 1;
}
