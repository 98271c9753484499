#ifndef ZQMV5_RUNTIME_FILE_SYSTEM_H_
#define ZQMV5_RUNTIME_FILE_SYSTEM_H_

#include <string>

namespace zqmv5 {

// Questions about files and paths.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when a file (not a directory) of that name exists; a relative name is
  // taken from the current directory.
  virtual bool FileExists(const std::string& name) = 0;

  // The short (8.3) form of `path`; an empty path means the current directory.
  // When no short form can be had, the path as the platform knows it.
  virtual std::string ShortPath(const std::string& path) = 0;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_FILE_SYSTEM_H_
