// The real platform: each operation a thin layer over the Win32 API.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/ini_text.h"
#include "win32/win32.h"

namespace zqmv5 {
namespace {

std::string Win32ErrorText(DWORD win32_error) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, win32_error, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
  std::string text = length ? std::string(buffer, length) : "";
  if (buffer) LocalFree(buffer);
  while (!text.empty() && std::string_view("\r\n .").find(text.back()) != std::string_view::npos) {
    text.pop_back();
  }
  return text.empty() ? "Windows error " + std::to_string(win32_error) : text;
}

// The failure of the last call, which a call that set no error number still
// is.
Status LastWin32Error() {
  const DWORD error = GetLastError();
  return StatusFromWin32(error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE);
}

// The name of the file that `handle` is open on, past every link, or `name`
// where Windows cannot tell it (Windows XP has no links to follow).
std::string FinalName(HANDLE handle, const std::string& name) {
  using Query = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
  const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
  char buffer[32768];
  const DWORD length = query ? query(handle, buffer, sizeof(buffer), 0) : 0;
  if (length == 0 || length >= sizeof(buffer)) return name;
  const std::string final_name(buffer, length);
  if (final_name.rfind("\\\\?\\UNC\\", 0) == 0) return "\\" + final_name.substr(7);
  return final_name.rfind("\\\\?\\", 0) == 0 ? final_name.substr(4) : final_name;
}

// The name of the n-th working copy beside `target`: "<target>.zqN~", or,
// where that would pass the characters that the file functions take, the
// target's own name with its end replaced by "~N", which is no longer and so
// works wherever the target's name does.
std::string WorkingCopyName(const std::string& target, int n) {
  const std::string beside = target + ".zq" + std::to_string(n) + "~";
  const std::string mark = "~" + std::to_string(n);
  const size_t name_length = target.size() - (target.find_last_of("\\/:") + 1);
  if (beside.size() < MAX_PATH || name_length < mark.size()) return beside;
  return target.substr(0, target.size() - mark.size()) + mark;
}

// The file that the profile API takes a profile name for: "" is WIN.INI, and a
// bare name lies in the Windows directory.
std::string ProfilePath(const std::string& file) {
  const std::string name = file.empty() ? "win.ini" : file;
  if (name.find_first_of("\\/:") != std::string::npos) return name;
  char directory[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(directory, MAX_PATH);
  return std::string(directory, length < MAX_PATH ? length : 0) + "\\" + name;
}

// A missing file, or one in a missing folder, holds no entries.
bool IsMissing(DWORD win32_error) {
  return win32_error == ERROR_FILE_NOT_FOUND || win32_error == ERROR_PATH_NOT_FOUND;
}

// `name` with its folder in short form, where the folder has one: the same
// file under a name that fits where the long one does not. Wine's ReplaceFile
// makes a file of its own in the target's folder under a name that it cuts at
// MAX_PATH characters, and so fails in a folder that long.
std::string WithShortFolder(const std::string& name) {
  const size_t slash = name.find_last_of('\\');
  if (slash == std::string::npos) return name;
  char folder[MAX_PATH];
  const DWORD length = GetShortPathNameA(name.substr(0, slash).c_str(), folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return name;
  return std::string(folder, length) + name.substr(slash);
}

class Win32File : public File {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  ~Win32File() override { CloseHandle(handle_); }

  Status Size(int64_t* size) override {
    LARGE_INTEGER value;
    if (!GetFileSizeEx(handle_, &value)) return LastWin32Error();
    *size = value.QuadPart;
    return {};
  }

  Status ReadAt(int64_t offset, char* buffer, size_t count, size_t* read) override {
    *read = 0;
    DWORD got = 0;
    if (!Seek(offset) || !ReadFile(handle_, buffer, static_cast<DWORD>(count), &got, nullptr)) {
      return LastWin32Error();
    }
    *read = got;
    return {};
  }

  Status WriteAt(int64_t offset, const char* data, size_t count) override {
    if (!Seek(offset)) return LastWin32Error();
    // A full disk may take part of a write before it fails.
    while (count > 0) {
      DWORD written = 0;
      if (!WriteFile(handle_, data, static_cast<DWORD>(count), &written, nullptr)) {
        return LastWin32Error();
      }
      if (written == 0) return StatusFromWin32(ERROR_DISK_FULL);
      data += written;
      count -= written;
    }
    return {};
  }

  Status Resize(int64_t size) override {
    if (!Seek(size) || !SetEndOfFile(handle_)) return LastWin32Error();
    return {};
  }

 private:
  bool Seek(int64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN);
  }

  HANDLE handle_;
};

struct MutexLock : ProcessLock {
  explicit MutexLock(HANDLE held) : mutex(held) {}
  ~MutexLock() override {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
  }
  HANDLE mutex;
};

class Win32Env : public Env {
 public:
  Status CommandText(std::string* text) override {
    // The ANSI command line that Windows makes holds best-fit look-alikes of
    // what the code page lacks ("x" for a fullwidth "x", a real quote for a
    // fullwidth one): the wide one is converted here without them.
    const std::wstring_view rest = ParametersOf(GetCommandLineW());
    std::string ansi(rest.size() * 2 + 1, '\0');
    BOOL inexact = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, rest.data(),
                                           static_cast<int>(rest.size()), ansi.data(),
                                           static_cast<int>(ansi.size()), nullptr, &inexact);
    ansi.resize(static_cast<size_t>(std::max(length, 0)));
    *text = ansi;
    if (!inexact && (length > 0 || rest.empty())) return {};
    return {Status::Kind::kBadInput, "The command line holds characters that the ANSI code page " +
                                         std::to_string(GetACP()) + " does not have."};
  }

  // The profile API reads a file that it cannot open as an empty one, and on
  // a full disk rewrites the file whole, cuts it and reports success: the
  // program reads and changes INI text itself, and writes a change through
  // Overwrite, which claims the room first and puts the old bytes back.
  Status ReadIniValue(const std::string& section, const std::string& entry,
                      const std::string& default_value, const std::string& file,
                      std::string* value) override {
    value->clear();
    HANDLE handle =
        CreateFileA(ProfilePath(file).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (IsMissing(error)) *value = default_value;
      return IsMissing(error) ? Status{} : StatusFromWin32(error);
    }
    Win32File ini(handle);
    std::string text;
    Status status = ReadWhole(ini, &text);
    if (status.ok() && LooksLikeUtf16(text)) status = Utf16File();
    if (status.ok()) *value = FindIniValue(text, section, entry).value_or(default_value);
    return status;
  }

  Status WriteIniValue(const std::string& section, const std::string& entry,
                       const std::string& value, const std::string& file) override {
    return ChangeIniFile(section, entry, &value, file);
  }

  Status RemoveIniValue(const std::string& section, const std::string& entry,
                        const std::string& file) override {
    return ChangeIniFile(section, entry, nullptr, file);
  }

  Status ChangeIniFile(const std::string& section, const std::string& entry,
                       const std::string* value, const std::string& file) {
    // Other writers wait from the read to the write, so that the change lands
    // on the bytes it was made from; readers such as the IDE do not.
    const std::string path = ProfilePath(file);
    HANDLE handle =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                    value ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      return !value && IsMissing(error) ? Status{} : StatusFromWin32(error);
    }
    const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
    Status status;
    {
      Win32File ini(handle);
      std::string old;
      status = ReadWhole(ini, &old);
      if (status.ok() && LooksLikeUtf16(old)) status = Utf16File();
      if (status.ok()) {
        const std::string changed = ChangeIniValue(old, section, entry, value);
        const size_t same = static_cast<size_t>(
            std::mismatch(old.begin(), old.end(), changed.begin(), changed.end()).first -
            old.begin());
        status = Overwrite(ini, static_cast<int64_t>(same), std::string_view(old).substr(same),
                           std::string_view(changed).substr(same));
      }
    }
    // A file made for a value that could not go in is not left behind.
    if (!status.ok() && value && created) DeleteFileA(path.c_str());
    return status;
  }

  Status OpenFile(const std::string& name, Share share, IfMissing missing,
                  std::unique_ptr<File>* file) override {
    const DWORD sharing =
        share == Share::kDenyWrite ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, sharing, nullptr,
                                missing == IfMissing::kCreate ? OPEN_ALWAYS : OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastWin32Error();
    *file = std::make_unique<Win32File>(handle);
    return {};
  }

  Status ReplaceContents(const std::string& name, const std::string& bytes) override {
    // The bytes go to the file that the name leads to, so that a link stays a
    // link; the new copy is made beside that file, on its volume.
    HANDLE handle = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastWin32Error();
    BY_HANDLE_FILE_INFORMATION info = {};
    const Status known = GetFileInformationByHandle(handle, &info) ? Status{} : LastWin32Error();
    std::string target = FinalName(handle, name);
    CloseHandle(handle);
    if (!known.ok()) return known;
    // Wine's own file in the folder has a name such as "\rf72a0.tmp".
    constexpr size_t kReplaceFileOwnName = 11;
    const size_t folder = target.find_last_of('\\');
    if (folder != std::string::npos && folder + kReplaceFileOwnName >= MAX_PATH) {
      target = WithShortFolder(target);
    }
    // A file with several names (hard links) stays one file only when its
    // bytes are written in place.
    if (info.nNumberOfLinks > 1) return WriteInPlace(target, bytes);
    std::string temporary;
    for (int n = 1;
         temporary.empty() || GetFileAttributesA(temporary.c_str()) != INVALID_FILE_ATTRIBUTES;
         ++n) {
      if (n > 100) return AccessDenied();
      temporary = WorkingCopyName(target, n);
    }
    HANDLE copy = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (copy == INVALID_HANDLE_VALUE) return LastWin32Error();
    Status status = Win32File(copy).WriteAt(0, bytes.data(), bytes.size());
    // ReplaceFile keeps the old file's security, short name and streams;
    // Wine's keeps no attributes, so they are set again afterwards.
    if (status.ok() && !ReplaceFileA(target.c_str(), temporary.c_str(), nullptr,
                                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
      status = LastWin32Error();
    }
    if (!status.ok()) {
      DeleteFileA(temporary.c_str());
      return status;
    }
    SetFileAttributesA(target.c_str(), info.dwFileAttributes);
    return {};
  }

  Status WriteInPlace(const std::string& name, const std::string& bytes) {
    std::unique_ptr<File> file;
    Status status = OpenFile(name, Share::kDenyWrite, IfMissing::kFail, &file);
    std::string old;
    if (status.ok()) status = ReadWhole(*file, &old);
    return status.ok() ? Overwrite(*file, 0, old, bytes) : status;
  }

  Status AppendToFile(const std::string& name, const std::string& bytes) override {
    // Appending data only makes each write land whole at the end, also with
    // other programs appending at once, which the sharing allows. A full disk
    // may take the first part of the bytes and no more: that part is cut back
    // again, so that the next append never follows half of them.
    HANDLE handle = CreateFileA(name.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastWin32Error();
    DWORD written = 0;
    const bool wrote =
        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    const Status status = !wrote                   ? LastWin32Error()
                          : written < bytes.size() ? StatusFromWin32(ERROR_DISK_FULL)
                                                   : Status{};
    CloseHandle(handle);
    if (!status.ok() && written > 0) CutBack(name, std::string_view(bytes).substr(0, written));
    return status;
  }

  // Removes `part` from the end of file `name` when the file ends in it;
  // bytes that another program appended since stay.
  void CutBack(const std::string& name, std::string_view part) {
    std::unique_ptr<File> file;
    int64_t size = 0;
    const int64_t length = static_cast<int64_t>(part.size());
    if (!OpenFile(name, Share::kDenyNone, IfMissing::kFail, &file).ok() ||
        !file->Size(&size).ok() || size < length) {
      return;
    }
    std::string end(part.size(), '\0');
    size_t read = 0;
    if (file->ReadAt(size - length, end.data(), end.size(), &read).ok() && end == part) {
      file->Resize(size - length);
    }
  }

  bool FileExists(const std::string& name) override {
    const DWORD attributes =
        name.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool SameFile(const std::string& a, const std::string& b) override {
    // A file opened for no access at all is open to this call also while
    // another program, or this one, denies others its reading and writing.
    BY_HANDLE_FILE_INFORMATION info[2] = {};
    const std::string* names[] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
      HANDLE handle =
          CreateFileA(names[i]->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle == INVALID_HANDLE_VALUE) return false;
      const BOOL known = GetFileInformationByHandle(handle, &info[i]);
      CloseHandle(handle);
      if (!known) return false;
    }
    // Some file systems give every file the index 0, which tells nothing.
    const auto index = [](const BY_HANDLE_FILE_INFORMATION& i) {
      return (uint64_t{i.nFileIndexHigh} << 32) | i.nFileIndexLow;
    };
    return index(info[0]) != 0 && index(info[0]) == index(info[1]) &&
           info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber;
  }

  std::string ShortPath(const std::string& path) override {
    std::vector<char> buffer(32768);  // the longest path Windows knows
    const DWORD size = static_cast<DWORD>(buffer.size());
    std::string long_path = path;
    if (long_path.empty())
      long_path.assign(buffer.data(), GetCurrentDirectoryA(size, buffer.data()));
    const DWORD length = GetShortPathNameA(long_path.c_str(), buffer.data(), size);
    return length == 0 || length >= size ? long_path : std::string(buffer.data(), length);
  }

  Status StartProgram(const std::string& program, const std::string& arguments) override {
    // Without the program given by name, Windows would split the command line
    // at its blanks and try each part: "C:\Program Files\C5\C5EE.EXE" would
    // start a "C:\Program.exe" first. The command line begins with the name,
    // as programs expect to find their own, in quotes when it holds a blank.
    std::string text =
        program.find_first_of(" \t") == std::string::npos ? program : "\"" + program + "\"";
    if (!arguments.empty()) text += " " + arguments;
    std::vector<char> line(text.begin(), text.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
      return LastWin32Error();
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {};
  }

  Status LockAcrossProcesses(const std::string& name, int32_t hundredths,
                             std::unique_ptr<ProcessLock>* lock) override {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
    if (mutex == nullptr) return LastWin32Error();
    const DWORD waited = WaitForSingleObject(mutex, static_cast<DWORD>(hundredths) * 10);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
      *lock = std::make_unique<MutexLock>(mutex);
      return {};
    }
    CloseHandle(mutex);
    return {Status::Kind::kHeld, "Held by another program"};
  }

  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
    std::string shown = text;
    for (char& c : shown) {
      if (c == '|') c = '\n';
    }
    MSGBOXPARAMSA params = {};
    params.cbSize = sizeof(params);
    params.lpszText = shown.c_str();
    params.lpszCaption = caption.c_str();
    params.dwStyle = MB_OK | MB_SETFOREGROUND | MB_TASKMODAL;
    if (icon == MessageIcon::kInformation) params.dwStyle |= MB_ICONINFORMATION;
    if (icon == MessageIcon::kWindowsLogo) {
      // A user icon with no module loads the system's own icon of that id.
      params.dwStyle |= MB_USERICON;
      params.lpszIcon = IDI_WINLOGO;
    }
    MessageBoxIndirectA(&params);
  }

  void WriteStandardOutput(const std::string& line) override {
    // A program of the GUI subsystem has a standard output only when its
    // caller handed it one (a pipe or a file); asking for it opens no console.
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }

  bool IsLeadByte(char byte) override { return IsDBCSLeadByte(static_cast<BYTE>(byte)) != FALSE; }

  DateTime Now() override {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {{now.wYear, now.wMonth, now.wDay},
            ((now.wHour * 60 + now.wMinute) * 60 + now.wSecond) * 100 + now.wMilliseconds / 10};
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

  DdeClient& dde() override { return *dde_; }

 private:
  std::unique_ptr<DdeClient> dde_ = NewWin32DdeClient();
};

}  // namespace

std::wstring_view ParametersOf(std::wstring_view line) {
  // The program's own name may hold anything; only what follows it counts. The
  // name ends at its closing quote when it starts with one, otherwise at the
  // first blank or tab.
  size_t start = std::min(line.find_first_of(L" \t"), line.size());
  if (!line.empty() && line[0] == L'"') start = std::min(line.find(L'"', 1), line.size() - 1) + 1;
  return line.substr(std::min(line.find_first_not_of(L" \t", start), line.size()));
}

Status StatusFromWin32(DWORD win32_error) {
  using Kind = Status::Kind;
  static constexpr struct {
    DWORD win32;
    Status (*failure)(int number);
  } kStandard[] = {{ERROR_FILE_NOT_FOUND, FileNotFound}, {ERROR_PATH_NOT_FOUND, PathNotFound},
                   {ERROR_INVALID_NAME, PathNotFound},   {ERROR_BAD_PATHNAME, PathNotFound},
                   {ERROR_INVALID_DRIVE, PathNotFound},  {ERROR_ACCESS_DENIED, AccessDenied},
                   {ERROR_WRITE_PROTECT, AccessDenied},  {ERROR_SHARING_VIOLATION, FileIsLocked},
                   {ERROR_LOCK_VIOLATION, FileIsLocked}};
  if (win32_error == ERROR_SUCCESS) return {};
  for (const auto& entry : kStandard) {
    if (entry.win32 == win32_error) return entry.failure(static_cast<int>(win32_error));
  }
  const bool full = win32_error == ERROR_DISK_FULL || win32_error == ERROR_HANDLE_DISK_FULL;
  return {full ? Kind::kNoRoom : Kind::kIoError, Win32ErrorText(win32_error),
          static_cast<int>(win32_error)};
}

std::unique_ptr<Env> NewWin32Env() { return std::make_unique<Win32Env>(); }

}  // namespace zqmv5
