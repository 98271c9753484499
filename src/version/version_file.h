#ifndef ZQMV5_VERSION_VERSION_FILE_H_
#define ZQMV5_VERSION_VERSION_FILE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "env/env.h"
#include "text/line_file.h"

namespace zqmv5 {

// How long a run waits for the version file, and for the settings, while
// another program holds them: another VERSION run holds the file, and a
// program that writes the settings holds them, only for a moment.
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

// Opens the version file, creating it when no file of that name exists. A
// file that another program holds is waited for, two seconds at most: another
// VERSION run holds it only for a moment.
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

#endif  // ZQMV5_VERSION_VERSION_FILE_H_
