#ifndef ZQMV5_RUNTIME_LINE_FILE_H_
#define ZQMV5_RUNTIME_LINE_FILE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/error_state.h"
#include "runtime/text_file.h"

namespace zqmv5 {

// Random access to the bytes of one open file: what a text file needs of a
// platform. Each call returns false on failure, with `*win_error`-style detail
// left to the implementation's error mapping.
class ByteStore {
 public:
  virtual ~ByteStore() = default;
  virtual bool Size(int64_t* size) = 0;
  // Reads up to `count` bytes at `offset`; `*read` is less at the end.
  virtual bool ReadAt(int64_t offset, char* buffer, size_t count, size_t* read) = 0;
  virtual bool WriteAt(int64_t offset, const char* data, size_t count) = 0;
  virtual bool Truncate(int64_t size) = 0;
  // The runtime error number of the last failed call.
  virtual int LastError() = 0;
};

// Opens byte stores by name for a TextFile; the platform's part of a text file.
class ByteStoreOpener {
 public:
  virtual ~ByteStoreOpener() = default;
  // Opens an existing file for reading and writing with the given sharing.
  // On failure returns null and sets `*error` to a runtime error number.
  virtual std::unique_ptr<ByteStore> OpenStore(const std::string& name, FileAccess access,
                                               int* error) = 0;
  // Makes a new empty file; an existing file that holds bytes is left alone
  // and makes it fail (kAccessDenied), so that no stored line is ever lost.
  virtual bool CreateEmpty(const std::string& name, int* error) = 0;
};

// The one implementation of TextFile's line logic, over any byte store: lines
// split at "\n" (a "\r" before it belongs to the line end), positions are
// 1-based line numbers, a rewrite keeps the line's own line end and shifts
// the rest of the file when the length changes, and an add first ends an
// unterminated last line with the file's line end.
class LineFile : public TextFile {
 public:
  LineFile(ByteStoreOpener& opener, ErrorState& error) : opener_(opener), error_(error) {}

  bool Open(const std::string& name, FileAccess access) override;
  bool Create(const std::string& name) override;
  bool SetToFirst() override;
  bool Next(std::string* line) override;
  uint32_t Position() const override { return current_; }
  bool Reget(uint32_t position, std::string* line) override;
  bool Put(const std::string& line) override;
  bool Add(const std::string& line) override;
  void Close() override;

 private:
  struct Span {
    int64_t start = 0;
    int64_t content_end = 0;  // where the line end begins
    int64_t next = 0;         // where the next line begins
  };

  bool Fail(int code);
  bool StoreFailed();
  // Reads the line that starts at `start`; false at the end of the file.
  bool ReadLine(int64_t start, std::string* content, Span* span);
  bool Fill(int64_t offset);
  bool Write(int64_t offset, const std::string& data);
  void DetectLineEnd();

  ByteStoreOpener& opener_;
  ErrorState& error_;
  std::unique_ptr<ByteStore> store_;
  std::string line_end_ = "\r\n";
  std::vector<int64_t> starts_;  // start of each line met so far, by line number - 1
  int64_t next_start_ = 0;       // where Next reads
  uint32_t sequence_ = 0;        // line number that Next read last
  uint32_t current_ = 0;         // line number last read by Next or Reget

  // A read cache of the store's bytes; writes go through it.
  std::string cache_;
  int64_t cache_offset_ = -1;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_LINE_FILE_H_
