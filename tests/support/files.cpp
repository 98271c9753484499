#include "support/files.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace zqmv5::testing {

std::string ReadWholeFile(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return "";
  std::string bytes;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0) bytes.append(buffer, n);
  std::fclose(f);
  return bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

bool PathExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFileIfAny(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
}

std::string WindowsDirectory() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return path;
}

std::string MakeScratchDirectory(const std::string& tag) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  static unsigned counter = 0;
  for (;;) {
    std::string dir = std::string(temp) + "zqmv5-" + tag + "-" +
                      std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    if (CreateDirectoryA(dir.c_str(), nullptr)) return dir;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
  }
}

std::string IniValue(const std::string& file, const std::string& section, const std::string& entry,
                     const std::string& default_value) {
  std::vector<char> buffer(65536);
  DWORD n = file.empty() ? GetProfileStringA(section.c_str(), entry.c_str(), default_value.c_str(),
                                             buffer.data(), static_cast<DWORD>(buffer.size()))
                         : GetPrivateProfileStringA(
                               section.c_str(), entry.c_str(), default_value.c_str(), buffer.data(),
                               static_cast<DWORD>(buffer.size()), file.c_str());
  return std::string(buffer.data(), n);
}

std::string IniSection(const std::string& file, const std::string& section) {
  std::vector<char> buffer(1 << 20);
  DWORD n =
      file.empty()
          ? GetProfileSectionA(section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()))
          : GetPrivateProfileSectionA(section.c_str(), buffer.data(),
                                      static_cast<DWORD>(buffer.size()), file.c_str());
  std::string lines;
  for (const char* p = buffer.data(); p < buffer.data() + n && *p; p += std::strlen(p) + 1) {
    lines += p;
    lines += '\n';
  }
  return lines;
}

std::string SmallDriveFolder(const std::string& what) {
  ULARGE_INTEGER total = {};
  if (!GetDiskFreeSpaceExA("S:\\", nullptr, &total, nullptr)) return "";
  if (total.QuadPart == 0 || total.QuadPart > (1u << 20)) return "";
  const std::string folder = "S:\\zqmv5-" + what + "-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

bool MakeSparseFile(const std::string& path, long long size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER end;
  end.QuadPart = size;
  const bool made = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  return made;
}

bool FillDrive(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::string block(512, 'f');
  DWORD written = 0;
  while (WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
         written == block.size()) {
  }
  CloseHandle(file);
  return true;
}

FileGuard::FileGuard(std::string path) : path_(std::move(path)), existed_(PathExists(path_)) {
  if (existed_) bytes_ = ReadWholeFile(path_);
}

FileGuard::~FileGuard() {
  // Wine caches profile files; flush so that later reads see what is restored.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
  if (existed_) {
    WriteWholeFile(path_, bytes_);
  } else {
    RemoveFileIfAny(path_);
  }
}

}  // namespace zqmv5::testing
