#ifndef ZQMV5_TESTS_SUPPORT_FILES_H_
#define ZQMV5_TESTS_SUPPORT_FILES_H_

#include <string>

namespace zqmv5::testing {

// Whole-file access for tests; ReadWholeFile returns "" for a missing file.
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
void RemoveFileIfAny(const std::string& path);

// The Windows directory, where bare INI names and WIN.INI lie.
std::string WindowsDirectory();

// A new empty directory under the temporary directory, named after `tag`.
std::string MakeScratchDirectory(const std::string& tag);

// An INI value read through the profile API ("" file = WIN.INI), and a whole
// section as "key=value" lines.
std::string IniValue(const std::string& file, const std::string& section, const std::string& entry,
                     const std::string& default_value = "");
std::string IniSection(const std::string& file, const std::string& section);

// A new folder of this process's, "S:\\zqmv5-<what>-<process id>", on the
// small drive that tools/test maps as S: for full-disk tests; "" when there is
// no such drive (a test then skips with kNoSmallDrive).
std::string SmallDriveFolder(const std::string& what);
inline constexpr char kNoSmallDrive[] = "no small drive S: (tools/test maps one when run as root)";

// Makes `path` a file of `size` zero bytes that the host's file system keeps
// sparse, so that it takes no room.
bool MakeSparseFile(const std::string& path, long long size);

// Writes a filler file at `path` until the drive is full; the drive then has
// no free block left.
bool FillDrive(const std::string& path);

// Keeps a file's bytes and puts them back (or removes the file) when it goes.
class FileGuard {
 public:
  explicit FileGuard(std::string path);
  ~FileGuard();
  FileGuard(const FileGuard&) = delete;
  FileGuard& operator=(const FileGuard&) = delete;

 private:
  std::string path_;
  bool existed_;
  std::string bytes_;
};

}  // namespace zqmv5::testing

#endif  // ZQMV5_TESTS_SUPPORT_FILES_H_
