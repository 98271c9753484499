#ifndef ZQMV5_TEXT_STRINGS_H_
#define ZQMV5_TEXT_STRINGS_H_

#include <string>
#include <string_view>

namespace zqmv5 {

// Blanks are the only characters trimmed or counted as empty: a tab is text.
inline std::string TrimRight(std::string_view text) {
  return std::string(text.substr(0, text.find_last_not_of(' ') + 1));
}
inline std::string Trim(std::string_view text) {
  const size_t start = text.find_first_not_of(' ');
  return start == std::string_view::npos ? "" : TrimRight(text.substr(start));
}
inline bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

// Upper case of the ASCII letters; other bytes unchanged. For text that is
// only compared with ASCII words (a verb, a switch, a label); text that names
// files or values is upper-cased a character at a time (env/ansi_text.h).
inline std::string Upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

// A line break would end an INI value or a template line early, and start a
// line of its own.
inline bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != text.npos; }

// Whether an INI file can hold `name` as an entry's name. An INI line is
// "name=value": a name with "=" in it would be read back as a shorter name,
// and one that begins with "[" as a section header that captures the entries
// after it. The INI file drops every kind of white space before a name (tabs
// too, and the end-of-file mark ^Z), so "[" after any of it starts a header.
inline bool IsIniEntryName(std::string_view name) {
  const size_t first = name.find_first_not_of(" \t\v\f\x1A");
  return name.find('=') == name.npos && (first == name.npos || name[first] != '[') &&
         !HasLineBreak(name);
}

// The last two decimal digits of `value`, as dates and times show them ("07").
inline std::string TwoDigits(int value) {
  value = (value % 100 + 100) % 100;
  return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

}  // namespace zqmv5

#endif  // ZQMV5_TEXT_STRINGS_H_
