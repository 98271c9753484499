#ifndef ZQMV5_RUNTIME_TEXT_FILE_H_
#define ZQMV5_RUNTIME_TEXT_FILE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/error_state.h"

namespace zqmv5 {

// How a text file is shared with other programs while it is open.
enum class FileAccess {
  kReadWriteDenyNone,   // read/write; others may read and write
  kReadWriteDenyWrite,  // read/write; others may read but not write
};

// The bytes of one open file: what a text file needs of a platform. Each call
// returns false on failure and leaves the reason in LastError().
class ByteStore {
 public:
  virtual ~ByteStore() = default;
  virtual bool Size(int64_t* size) = 0;
  // Reads up to `count` bytes at `offset`; `*read` is less at the end.
  virtual bool ReadAt(int64_t offset, char* buffer, size_t count, size_t* read) = 0;
  virtual bool WriteAt(int64_t offset, const char* data, size_t count) = 0;
  // Makes the file `size` bytes long. Growing claims the room on the disk, so
  // that a full disk makes this call fail rather than a later write.
  virtual bool Resize(int64_t size) = 0;
  virtual Status LastError() = 0;
};

// Opens byte stores by name; the platform's part of a text file.
class ByteStoreOpener {
 public:
  virtual ~ByteStoreOpener() = default;
  // Opens an existing file for reading and writing with the given sharing.
  // On failure returns null and sets `*error`.
  virtual std::unique_ptr<ByteStore> OpenStore(const std::string& name, FileAccess access,
                                               Status* error) = 0;
  // Makes a new empty file; an existing file that holds bytes is left alone
  // and makes it fail (kAccessDenied), so that no stored line is ever lost.
  virtual bool CreateEmpty(const std::string& name, Status* error) = 0;
};

// A line-record text file: one record is one line. Open reads the whole file;
// the lines are then changed in memory, and Commit writes the changes in one
// step that either succeeds or leaves every byte of the file as it was.
//
// Lines are handed over without their line ends. A line ends at "\r\n", "\n"
// or a lone "\r"; each line keeps its own line end, and new lines get the
// file's first one (CRLF for a file without one). A UTF-8 byte order mark is
// kept and is not part of the first line. Every failing operation sets the
// error state; a successful one clears it.
class TextFile {
 public:
  TextFile(ByteStoreOpener& opener, ErrorState& error) : opener_(opener), error_(error) {}

  // Opens an existing file and reads it whole. Fails without creating
  // anything when the file is missing or held by another program, when it
  // cannot be read to its end, or when it starts with a UTF-16 byte order mark
  // (its lines cannot be handled as single bytes).
  bool Open(const std::string& name, FileAccess access);

  // Creates an empty file under `name` and leaves it closed. An existing file
  // makes Create fail (kAccessDenied) unless it is empty.
  bool Create(const std::string& name);

  bool is_open() const { return store_ != nullptr; }
  const std::vector<std::string>& lines() const { return lines_; }

  // Replaces line `index` (0-based) in memory.
  void Put(size_t index, std::string line);

  // Adds a line at the end in memory; a last line without a line end is ended
  // first, so that the new line stands apart.
  void Add(std::string line);

  // Writes what Put and Add changed. On failure the file keeps every byte it
  // had, the lines are as the file holds them, and the error tells why.
  bool Commit();

  // Closes the file, dropping changes not committed; closing a file that is
  // not open does nothing.
  void Close();

 private:
  bool Fail(Status status);
  void Parse();
  std::string Tail(size_t first_line) const;

  ByteStoreOpener& opener_;
  ErrorState& error_;
  std::unique_ptr<ByteStore> store_;
  std::string bytes_;               // the file as it stands on disk
  std::vector<size_t> starts_;      // where each line of `bytes_` starts
  std::string bom_;                 // a UTF-8 byte order mark, or ""
  std::vector<std::string> lines_;  // the lines, with changes not yet committed
  std::vector<std::string> ends_;   // each line's own line end; "" for a last one without
  std::string line_end_ = "\r\n";   // the line end of new lines
  size_t first_changed_ = kNothingChanged;

  static constexpr size_t kNothingChanged = static_cast<size_t>(-1);
};

// Makes text file objects; each one stands for one file declaration.
class TextFiles {
 public:
  virtual ~TextFiles() = default;
  virtual std::unique_ptr<TextFile> NewTextFile() = 0;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_TEXT_FILE_H_
