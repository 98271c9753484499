#ifndef ZQMV5_TEXT_VERSION_RECORD_H_
#define ZQMV5_TEXT_VERSION_RECORD_H_

// The version file: its lines, fixed columns that a project's source reads as
//   Version             EQUATE('1.01  0006')  ! 12/07/26 0905 -- note
// with "!Version" in the label of the lines that are commented out, and the
// rules by which the window and VERSION add the next line (at the end).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "env/env.h"
#include "text/line_file.h"

namespace zqmv5 {

// Widths of the record's fields, side by side; together 241 columns.
constexpr size_t kLabelWidth = 20;  // "Version" or "!Version"
constexpr size_t kVerWidth = 5;     // from column 29: the version with two decimals
constexpr size_t kBuildWidth = 4;   // from column 35: the build in four digits
constexpr size_t kAddedWidth = 20;  // from column 42: " ! mm/dd/yy hhmm -- "
constexpr size_t kNoteWidth = 180;  // from column 62
// The text around the version and build, and the columns (0-based) it leaves.
inline constexpr std::string_view kEquateOpen = "EQUATE('", kEquateClose = "')";
constexpr size_t kVerColumn = kLabelWidth + kEquateOpen.size();
constexpr size_t kBuildColumn = kVerColumn + kVerWidth + 1;
constexpr size_t kVersionRecordSize =
    kBuildColumn + kBuildWidth + kEquateClose.size() + 1 + kAddedWidth + kNoteWidth;

constexpr int kHighestVersion = 999;  // 9.99, in hundredths
constexpr int kHighestBuild = 9999;

// `line` with its label set to `label`. Every other column, and what the line
// holds beyond the record's 241 columns, stays; trailing blanks are kept only
// as far as the line had characters.
std::string WithLabel(std::string_view line, std::string_view label);
// The line commented out without losing a character: "!Version" in the label
// of a line in the program's own layout, a "!" in front of another line that
// defines Version (typed by hand); any other line stays as it is.
std::string CommentedOut(std::string_view line);

// The version (in hundredths) and build of a line, active or commented out,
// that holds a version record the program can read: one in its own layout,
// or "Version EQUATE('1.20  0042')" typed with other blanks or tabs.
struct VersionRecord {
  int version = 0;
  int build = 0;
};
std::optional<VersionRecord> ReadVersionRecord(std::string_view line);

// The value of a number's text in hundredths, rounded half away from zero:
// blanks around an optionally signed decimal number; any other text gives 0.
int64_t HundredthsOf(std::string_view text);

// The version (in hundredths) and the build that a line holds in its columns;
// text there that is not a number gives 0.
int VersionOf(std::string_view line);
int BuildOf(std::string_view line);
// The version field exactly as the line holds it, blank-padded.
std::string VersionFieldOf(std::string_view line);

// " ! ", the date as mm/dd/yy, a blank, the time of day as hhmm and " -- ":
// exactly the 20 characters of the added field.
std::string AddedText(const DateTime& now);

// The version field that Ok writes: two decimals in the first four columns,
// or in all five for 10.00 and more; `fallback` when it fits neither.
std::string VersionField(int hundredths, std::string_view fallback);

// A new active line, without trailing blanks.
std::string NewVersionLine(std::string_view version_field, int build, std::string_view added,
                           std::string_view note);

// A version with two decimals ("1.01", "-0.50") and a build in four digits
// ("0006", "-001").
std::string VersionText(int hundredths);
std::string BuildText(int build);
// `text` right-aligned in `width` columns, filled with blanks or (after the
// sign) zeros; `width` "#" characters when it does not fit.
std::string Fitted(const std::string& text, size_t width, char fill);

// One step of the arrows: `value` + `delta` within 0 to `highest`, or to a
// value beyond them (from a hand-edited file), so that a step never jumps.
int Stepped(int value, int delta, int highest);

// What typed text stands for, when it fits: a version from 0.00 to 9.99 with
// at most two decimals, or a build from 0 to 9999. Blank text is no number.
std::optional<int> TypedVersion(std::string_view text);
std::optional<int> TypedBuild(std::string_view text);

// The version file as a run adds its next line. The file, and the settings,
// are waited for while another program holds them, as another VERSION run or
// a settings writer does for a moment.
inline constexpr int32_t kHeldWait = 200;  // hundredths of a second

// What the next line carries: the version and build of the last active line
// that holds a version record the program can read, or of the last line that
// holds one when none of the active lines does (the last line, for short).
struct NextLine {
  int version = 100;          // hundredths; 1.00 for a file without a record
  std::string version_field;  // the last line's version field, as the file holds it
  int build = 1;              // the last line's build, one more with auto increment
  // The lines that were active, by index (0-based), as they were: what
  // closing without Ok gives back.
  std::vector<std::pair<size_t, std::string>> active;
};

// Comments out the active lines of `file` in memory, without losing a
// character of any line, and returns what the next line carries. The build
// stops at 9999, so that the line keeps its columns.
NextLine PrepareNextLine(LineFile& file, bool auto_increment);

// Opens the version file, creating it when no file of that name exists; a
// file that another program holds is waited for, kHeldWait at most.
Status OpenVersionFile(LineFile& file, const std::string& name);

// A note is one line of source text: a line break, or any other control
// character, would put text of its own into the project.
inline constexpr char kNoteControlText[] =
    "The note cannot hold a line break or another control character.";
bool HasControlCharacter(const std::string& text);

// The box texts for a version file that exists but cannot be opened, and for
// one whose lines could not be written, which then keeps every byte. `then`,
// what became of a line, takes the place of what they say of the file.
std::string CannotOpenText(
    const std::string& name, const Status& status,
    const std::string& then =
        "It may be in use by another program. Nothing in it has been changed.");
std::string CannotChangeText(const std::string& name, const Status& status,
                             const std::string& then = "Nothing in it has been changed.");

}  // namespace zqmv5

#endif  // ZQMV5_TEXT_VERSION_RECORD_H_
