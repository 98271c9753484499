#ifndef ZQMV5_RUNTIME_TEXT_FILE_H_
#define ZQMV5_RUNTIME_TEXT_FILE_H_

#include <cstdint>
#include <memory>
#include <string>

namespace zqmv5 {

// How a text file is shared with other programs while it is open.
enum class FileAccess {
  kReadWriteDenyNone,   // read/write; others may read and write
  kReadWriteDenyWrite,  // read/write; others may read but not write
};

// A line-record text file: one record is one line. Lines are handed over whole,
// without their line end; record.h cuts and pads them to a record's width.
// Every operation sets the error state: 0 after success, a runtime error
// number otherwise. A failed read leaves the caller's buffer unchanged.
//
// The file keeps its own line ends (CRLF or LF, as its first line end shows;
// CRLF for a file without one), and a rewrite in place never changes another
// line, whatever the lengths involved.
class TextFile {
 public:
  virtual ~TextFile() = default;

  // Opens an existing file. Fails (kFileNotFound, kAccessDenied,
  // kFileIsLocked, ...) without creating anything.
  virtual bool Open(const std::string& name, FileAccess access) = 0;

  // Creates an empty file under `name`, replacing none that exists when the
  // replacement would lose lines: an existing file makes Create fail with
  // kAccessDenied unless it is empty. The file is left closed.
  virtual bool Create(const std::string& name) = 0;

  // Sets the file before its first line, so that Next reads line 1.
  virtual bool SetToFirst() = 0;

  // Reads the next line into `*line`. At the end of the file, or on any error,
  // returns false with the error state set (kRecordNotAvailable at the end)
  // and leaves `*line` as it was.
  virtual bool Next(std::string* line) = 0;

  // A non-zero value that names the line last read; 0 when none was read.
  virtual uint32_t Position() const = 0;

  // Reads the line named by `position` again and makes it the line last read.
  virtual bool Reget(uint32_t position, std::string* line) = 0;

  // Replaces the line last read by `line`, in place.
  virtual bool Put(const std::string& line) = 0;

  // Adds `line` as a new line at the end of the file.
  virtual bool Add(const std::string& line) = 0;

  // Closes the file; closing a file that is not open does nothing.
  virtual void Close() = 0;
};

// Makes text file objects; each one stands for one file declaration.
class TextFiles {
 public:
  virtual ~TextFiles() = default;
  virtual std::unique_ptr<TextFile> NewTextFile() = 0;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_TEXT_FILE_H_
