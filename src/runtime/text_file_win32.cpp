// Text files on Win32: the shared line logic over a file handle.

#include <windows.h>

#include "runtime/text_file.h"
#include "runtime/win32_backends.h"

namespace zqmv5 {
namespace {

class HandleStore : public ByteStore {
 public:
  explicit HandleStore(HANDLE handle) : handle_(handle) {}
  ~HandleStore() override { CloseHandle(handle_); }

  bool Size(int64_t* size) override {
    LARGE_INTEGER value;
    if (!GetFileSizeEx(handle_, &value)) return Failed();
    *size = value.QuadPart;
    return true;
  }

  bool ReadAt(int64_t offset, char* buffer, size_t count, size_t* read) override {
    *read = 0;
    if (!Seek(offset)) return false;
    DWORD got = 0;
    if (!ReadFile(handle_, buffer, static_cast<DWORD>(count), &got, nullptr)) return Failed();
    *read = got;
    return true;
  }

  bool WriteAt(int64_t offset, const char* data, size_t count) override {
    if (!Seek(offset)) return false;
    while (count > 0) {
      DWORD written = 0;
      if (!WriteFile(handle_, data, static_cast<DWORD>(count), &written, nullptr) ||
          written == 0) {
        return Failed();
      }
      data += written;
      count -= written;
    }
    return true;
  }

  bool Resize(int64_t size) override {
    return (Seek(size) && SetEndOfFile(handle_)) || Failed();
  }

  Status LastError() override { return error_; }

 private:
  bool Seek(int64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) || Failed();
  }
  bool Failed() {
    error_ = StatusFromWin32(GetLastError());
    return false;
  }

  HANDLE handle_;
  Status error_;
};

class Win32StoreOpener : public ByteStoreOpener {
 public:
  std::unique_ptr<ByteStore> OpenStore(const std::string& name, FileAccess access,
                                       Status* error) override {
    const DWORD share = access == FileAccess::kReadWriteDenyWrite
                            ? FILE_SHARE_READ
                            : FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      *error = StatusFromWin32(GetLastError());
      return nullptr;
    }
    return std::make_unique<HandleStore>(handle);
  }

  bool CreateEmpty(const std::string& name, Status* error) override {
    HANDLE handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      CloseHandle(handle);
      return true;
    }
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) {
      // An existing empty file is as good as a new one; one with lines is never
      // replaced.
      WIN32_FILE_ATTRIBUTE_DATA data;
      if (GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data) &&
          !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.nFileSizeLow == 0 &&
          data.nFileSizeHigh == 0) {
        return true;
      }
      *error = {kAccessDenied, RuntimeErrorText(kAccessDenied)};
      return false;
    }
    *error = StatusFromWin32(code);
    return false;
  }
};

class Win32TextFiles : public TextFiles {
 public:
  explicit Win32TextFiles(ErrorState& error) : error_(error) {}
  std::unique_ptr<TextFile> NewTextFile() override {
    return std::make_unique<TextFile>(opener_, error_);
  }

 private:
  ErrorState& error_;
  Win32StoreOpener opener_;
};

}  // namespace

std::unique_ptr<TextFiles> NewWin32TextFiles(ErrorState& error) {
  return std::make_unique<Win32TextFiles>(error);
}

}  // namespace zqmv5
