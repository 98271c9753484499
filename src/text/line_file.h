#ifndef ZQMV5_TEXT_LINE_FILE_H_
#define ZQMV5_TEXT_LINE_FILE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "env/env.h"

namespace zqmv5 {

// A text file as lines. Open reads the whole file; the lines are then changed
// in memory, and Commit writes the changes in one step that either succeeds
// or leaves every byte of the file as it was.
//
// Lines are handed over without their line ends. A line ends at "\r\n", "\n"
// or a lone "\r"; each line keeps its own line end, and new lines get the
// file's first one (CRLF for a file without one). A UTF-8 byte order mark is
// kept and is not part of the first line.
class LineFile {
 public:
  explicit LineFile(Env& env) : env_(env) {}

  // Opens the file, made empty first where `missing` asks for that, and reads
  // it whole. A file that another program holds is tried again, after rests,
  // until `wait` hundredths of a second have passed. Fails when the file is
  // missing or still held, when it cannot be read to its end, or when it
  // is in UTF-16 (its lines are not single bytes): it starts with a byte
  // order mark, or it holds a NUL byte, which no ANSI text does.
  Status Open(const std::string& name, Share share, IfMissing missing = IfMissing::kFail,
              int32_t wait = 0);

  const std::vector<std::string>& lines() const { return lines_; }

  // Replaces line `index` (0-based), in memory.
  void Put(size_t index, std::string line);
  // Adds a line at the end, in memory; a last line without a line end is
  // ended first, so that the new line stands apart.
  void Add(std::string line);

  // Removes line `index`, in memory.
  void Remove(size_t index);
  // The bytes that the lines make, with their line ends and the byte order mark.
  std::string Contents() const;

  // Writes what Put, Add and Remove changed. On failure the file keeps every byte it
  // had and the lines are again as the file holds them.
  Status Commit();

  // Closes the file, dropping changes not committed; closing a file that is
  // not open does nothing.
  void Close();

 private:
  Status OpenOnce(const std::string& name, Share share, IfMissing missing);
  void Parse();

  static constexpr size_t kNothingChanged = static_cast<size_t>(-1);

  Env& env_;
  std::unique_ptr<File> file_;
  std::string bytes_;               // the file as it stands on disk
  std::vector<size_t> starts_;      // where each line of `bytes_` starts
  std::vector<std::string> lines_;  // the lines, with changes not yet committed
  std::vector<std::string> ends_;   // each line's own end; "" for a last one without
  std::string line_end_;            // the line end of new lines
  size_t first_changed_ = kNothingChanged;
};

}  // namespace zqmv5

#endif  // ZQMV5_TEXT_LINE_FILE_H_
