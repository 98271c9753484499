// The real platform services: each one a thin layer over the Win32 API.

#include <windows.h>

#include <string>
#include <vector>

#include "runtime/platform.h"
#include "runtime/win32_backends.h"

namespace zqmv5 {
namespace {

class Win32CommandLine : public CommandLine {
 public:
  std::string CommandText() override { return CommandTextAfterProgram(GetCommandLineA()); }
};

class Win32Profile : public Profile {
 public:
  explicit Win32Profile(ErrorState& error) : error_(error) {}

  std::string ReadIniValue(const std::string& section, const std::string& entry,
                           const std::string& default_value, const std::string& file) override {
    // The profile API cuts a value to the buffer and says so only by the length
    // it returns; grow the buffer until the whole value fits.
    std::vector<char> buffer(512);
    for (;;) {
      DWORD size = static_cast<DWORD>(buffer.size());
      DWORD length =
          file.empty()
              ? GetProfileStringA(section.c_str(), entry.c_str(), default_value.c_str(),
                                  buffer.data(), size)
              : GetPrivateProfileStringA(section.c_str(), entry.c_str(), default_value.c_str(),
                                         buffer.data(), size, file.c_str());
      if (length + 1 < size || buffer.size() >= (1u << 20)) {
        error_.Clear();
        return std::string(buffer.data(), length);
      }
      buffer.resize(buffer.size() * 4);
    }
  }

  void WriteIniValue(const std::string& section, const std::string& entry,
                     const std::string& value, const std::string& file) override {
    BOOL ok = file.empty()
                  ? WriteProfileStringA(section.c_str(), entry.c_str(), value.c_str())
                  : WritePrivateProfileStringA(section.c_str(), entry.c_str(), value.c_str(),
                                               file.c_str());
    if (ok) {
      error_.Clear();
    } else {
      error_.Set(StatusFromWin32(GetLastError()));
    }
  }

 private:
  ErrorState& error_;
};

class Win32Messages : public Messages {
 public:
  void ShowMessage(const std::string& text, const std::string& caption,
                   MessageIcon icon) override {
    std::string shown = text;
    for (char& c : shown) {
      if (c == '|') c = '\n';
    }
    MSGBOXPARAMSA params = {};
    params.cbSize = sizeof(params);
    params.lpszText = shown.c_str();
    params.lpszCaption = caption.c_str();
    params.dwStyle = MB_OK | MB_SETFOREGROUND | MB_TASKMODAL;
    switch (icon) {
      case MessageIcon::kInformation:
        params.dwStyle |= MB_ICONINFORMATION;
        break;
      case MessageIcon::kWindowsLogo:
        // A user icon with no module loads the system's own icon of that id.
        params.dwStyle |= MB_USERICON;
        params.lpszIcon = IDI_WINLOGO;
        break;
      case MessageIcon::kNone:
        break;
    }
    MessageBoxIndirectA(&params);
  }
};

class Win32Programs : public Programs {
 public:
  explicit Win32Programs(ErrorState& error) : error_(error) {}

  int StartProgram(const std::string& command_line) override {
    // Windows splits an unquoted command line at its blanks and tries each
    // part: "C:\Program Files\C5\C5EE.EXE" would start a "C:\Program.exe"
    // first. A text that names a file is therefore given as the program too;
    // the program still receives the text unchanged as its command line.
    const DWORD attributes = GetFileAttributesA(command_line.c_str());
    const bool names_a_file =
        attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    std::vector<char> line(command_line.begin(), command_line.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(names_a_file ? command_line.c_str() : nullptr, line.data(), nullptr,
                        nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      DWORD code = GetLastError();
      error_.Set(static_cast<int>(code), Win32ErrorText(code));
      return code == 0 ? -1 : static_cast<int>(code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    error_.Clear();
    return 0;
  }

  std::unique_ptr<ProcessLock> LockAcrossProcesses(const std::string& name,
                                                   int32_t hundredths) override {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
    if (mutex == nullptr) return nullptr;
    const DWORD waited = WaitForSingleObject(mutex, static_cast<DWORD>(hundredths) * 10);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
      CloseHandle(mutex);
      return nullptr;
    }
    return std::make_unique<MutexLock>(mutex);
  }

 private:
  class MutexLock : public ProcessLock {
   public:
    explicit MutexLock(HANDLE mutex) : mutex_(mutex) {}
    ~MutexLock() override {
      ReleaseMutex(mutex_);
      CloseHandle(mutex_);
    }

   private:
    HANDLE mutex_;
  };

  ErrorState& error_;
};

class Win32FileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& name) override {
    if (name.empty()) return false;
    DWORD attributes = GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  std::string ShortPath(const std::string& path) override {
    std::string long_path = path;
    if (long_path.empty()) {
      DWORD size = GetCurrentDirectoryA(0, nullptr);
      std::vector<char> buffer(size + 1);
      DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
      long_path.assign(buffer.data(), length);
    }
    DWORD size = GetShortPathNameA(long_path.c_str(), nullptr, 0);
    if (size == 0) return long_path;
    std::vector<char> buffer(size + 1);
    DWORD length =
        GetShortPathNameA(long_path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return long_path;
    return std::string(buffer.data(), length);
  }
};

class Win32Clock : public Clock {
 public:
  Date Today() override {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return Date{now.wYear, now.wMonth, now.wDay};
  }

  int32_t TimeOfDay() override {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return ((now.wHour * 60 + now.wMinute) * 60 + now.wSecond) * 100 + now.wMilliseconds / 10;
  }

  void Pause(int32_t hundredths) override {
    // Waits on the message queue rather than sleeping, so that messages sent to
    // this thread's windows (DDE among them) are still dispatched meanwhile.
    const DWORD end = GetTickCount() + static_cast<DWORD>(hundredths) * 10;
    for (;;) {
      const DWORD now = GetTickCount();
      if (static_cast<LONG>(end - now) <= 0) return;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
  }
};

class Win32Platform : public Platform {
 public:
  Win32Platform()
      : command_line_(NewWin32CommandLine()),
        profile_(NewWin32Profile(error_)),
        messages_(NewWin32Messages()),
        programs_(NewWin32Programs(error_)),
        files_(NewWin32FileSystem()),
        clock_(NewWin32Clock()),
        text_files_(NewWin32TextFiles(error_)),
        dde_(NewWin32DdeClient(error_)),
        windows_(NewWin32WindowSystem(error_)),
        runtime_{error_,  *command_line_, *profile_,    *messages_, *programs_,
                 *files_, *clock_,        *text_files_, *dde_,      *windows_} {}

  Runtime& runtime() override { return runtime_; }

 private:
  ErrorState error_;
  std::unique_ptr<CommandLine> command_line_;
  std::unique_ptr<Profile> profile_;
  std::unique_ptr<Messages> messages_;
  std::unique_ptr<Programs> programs_;
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<TextFiles> text_files_;
  std::unique_ptr<DdeClient> dde_;
  std::unique_ptr<WindowSystem> windows_;
  Runtime runtime_;
};

}  // namespace

std::unique_ptr<CommandLine> NewWin32CommandLine() { return std::make_unique<Win32CommandLine>(); }
std::unique_ptr<Profile> NewWin32Profile(ErrorState& error) {
  return std::make_unique<Win32Profile>(error);
}
std::unique_ptr<Messages> NewWin32Messages() { return std::make_unique<Win32Messages>(); }
std::unique_ptr<Programs> NewWin32Programs(ErrorState& error) {
  return std::make_unique<Win32Programs>(error);
}
std::unique_ptr<FileSystem> NewWin32FileSystem() { return std::make_unique<Win32FileSystem>(); }
std::unique_ptr<Clock> NewWin32Clock() { return std::make_unique<Win32Clock>(); }

std::string CommandTextAfterProgram(const std::string& command_line) {
  size_t i = 0;
  const size_t size = command_line.size();
  if (i < size && command_line[i] == '"') {
    ++i;
    while (i < size && command_line[i] != '"') ++i;
    if (i < size) ++i;
  } else {
    while (i < size && command_line[i] != ' ' && command_line[i] != '\t') ++i;
  }
  while (i < size && (command_line[i] == ' ' || command_line[i] == '\t')) ++i;
  return command_line.substr(i);
}

int RuntimeErrorFromWin32(unsigned long win32_error) {
  switch (win32_error) {
    case ERROR_SUCCESS: return kNoError;
    case ERROR_FILE_NOT_FOUND: return kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE: return kPathNotFound;
    case ERROR_TOO_MANY_OPEN_FILES: return kTooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return kAccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return kFileIsLocked;
    default: return kFileSystemError;
  }
}

std::string Win32ErrorText(unsigned long win32_error) {
  char* buffer = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, win32_error, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
  std::string text = length ? std::string(buffer, length) : "";
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                           text.back() == '.')) {
    text.pop_back();
  }
  if (text.empty()) text = "Windows error " + std::to_string(win32_error);
  return text;
}

Status StatusFromWin32(unsigned long win32_error) {
  const int code = RuntimeErrorFromWin32(win32_error);
  return {code, code == kFileSystemError ? Win32ErrorText(win32_error) : RuntimeErrorText(code)};
}

std::unique_ptr<Platform> CreatePlatform() { return std::make_unique<Win32Platform>(); }

}  // namespace zqmv5
