#ifndef ZQMV5_RUNTIME_RECORD_H_
#define ZQMV5_RUNTIME_RECORD_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace zqmv5 {

// Fixed-width records over the whole lines of a text file. A record is a
// line's first `width` characters, blank-padded; what a line holds beyond the
// width is kept whenever the line is rewritten, so no byte is ever lost.

// The record of a line read.
std::string RecordFromLine(std::string_view line, size_t width);

// The line to put back in place of `old_line` for `record`: the record's
// text, as long as the old line was within the width (trailing blanks beyond
// the text are kept only as far as the old line had characters), followed by
// the old line's characters beyond the width.
std::string LineForPut(std::string_view record, std::string_view old_line, size_t width);

// The line to add for a new record: its text without trailing blanks.
std::string LineForAdd(std::string_view record);

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_RECORD_H_
