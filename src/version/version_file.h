#ifndef ZQMV5_VERSION_VERSION_FILE_H_
#define ZQMV5_VERSION_VERSION_FILE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/clock.h"
#include "runtime/text_file.h"

namespace zqmv5 {

// Widths of the version record's fields; together 241 characters.
constexpr size_t kLabelWidth = 20;
constexpr size_t kLpWidth = 8;
constexpr size_t kVerWidth = 5;
constexpr size_t kSpWidth = 1;
constexpr size_t kBuildWidth = 4;
constexpr size_t kRpWidth = 3;
constexpr size_t kAddedWidth = 20;
constexpr size_t kNoteWidth = 180;
constexpr size_t kVersionRecordSize = kLabelWidth + kLpWidth + kVerWidth + kSpWidth + kBuildWidth +
                                      kRpWidth + kAddedWidth + kNoteWidth;

// `VersionFileName` is a NUL-terminated field of this size; "Version.zqi" is
// its default, relative to the current directory.
constexpr size_t kVersionFileNameSize = 120;
constexpr char kDefaultVersionFileName[] = "Version.zqi";

// One line of the version file (prefix VER): blank-padded fields side by side.
// An active line reads, as source, Version EQUATE('1.01  0006') followed by a
// comment with the date, the time and a note; earlier lines carry "!Version".
struct VersionRecord {
  std::string LABEL;  // columns 1-20: "Version", or "!Version" when commented out
  std::string LP;     // 21-28: "EQUATE('"
  std::string VER;    // 29-33: the version with two decimals and a blank
  std::string SP;     // 34: a blank
  std::string BUILD;  // 35-38: the build in four digits
  std::string RP;     // 39-41: "')" and a blank
  std::string ADDED;  // 42-61 (start of the comment): " ! mm/dd/yy hhmm -- "
  std::string NOTE;   // 62-241: the note

  VersionRecord() { Clear(); }

  // Sets every field to blanks.
  void Clear();

  // The comment group: ADDED followed by NOTE.
  std::string COMMENT() const {
    return Text().substr(kVersionRecordSize - kAddedWidth - kNoteWidth);
  }

  // The record's 241 characters, and the fields taken from a record's text
  // (cut or blank-padded to 241 first).
  std::string Text() const;
  void SetText(std::string_view text);
};

// " ! ", the date as "d1" shows it (mm/dd/yy), a blank, the time of day as
// "t2" shows it (hhmm) and " -- ": exactly the 20 characters of VER:ADDED.
// Months, days, hours and minutes below ten are filled with a zero.
std::string AddedText(const Date& date, int32_t time_of_day);

// Comments out line `index` of `file`, in memory until the file's next
// commit: unless its first character is "!", its label becomes "!Version";
// every other column, and what lies beyond the record's width, stay as they
// were.
void CommentOutLine(TextFile& file, size_t index);

// Sets the label of line `index` of `file` to "Version", in memory, keeping
// every other column.
void MakeLineActive(TextFile& file, size_t index);

}  // namespace zqmv5

#endif  // ZQMV5_VERSION_VERSION_FILE_H_
