#ifndef ZQMV5_TEXT_INI_TEXT_H_
#define ZQMV5_TEXT_INI_TEXT_H_

#include <optional>
#include <string>
#include <string_view>

namespace zqmv5 {

// The text of an INI file as the profile API reads it, so that a change can
// be written through a call that claims its room first and tells a failure.
//
// A line ends at "\r\n", "\n" or a lone "\r". A section starts at a line whose
// first character besides blanks and tabs is "[", and is named by the text up
// to its last "]"; an entry is a line of a section that holds "=", named by
// the text before the first "=". Names match regardless of the case of ASCII
// letters and of the blanks and tabs around them, and the first section and
// the first entry of a name count. Every other line (comments, lines before
// the first section) stays as it stands.

// The value of `entry` in `section`: the text after "=" without the blanks
// and tabs around it, and without one pair of equal quotes (' or ") around
// it; nothing when there is no such entry.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view entry);

// `text` with `entry` of `section` set to `value`, or removed when `value` is
// null; every other byte stays. A value is changed in its own line; a new
// entry goes after the last line of its section that is not blank, and a new
// section at the end. New lines take the text's first line end (CRLF when it
// has none), and a last line without one is ended first.
std::string ChangeIniValue(std::string_view text, std::string_view section, std::string_view entry,
                           const std::string* value);

}  // namespace zqmv5

#endif  // ZQMV5_TEXT_INI_TEXT_H_
