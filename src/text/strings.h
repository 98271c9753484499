#ifndef ZQMV5_TEXT_STRINGS_H_
#define ZQMV5_TEXT_STRINGS_H_

#include <string>
#include <string_view>

namespace zqmv5 {

// Blanks are the only characters trimmed or counted as empty: a tab is text.
std::string TrimRight(std::string_view text);
std::string Trim(std::string_view text);
bool IsBlank(std::string_view text);

// Upper case of the ASCII letters; other bytes unchanged.
std::string Upper(std::string_view text);

// A line break would end an INI value or a template line early, and start a
// line of its own.
bool HasLineBreak(std::string_view text);

}  // namespace zqmv5

#endif  // ZQMV5_TEXT_STRINGS_H_
