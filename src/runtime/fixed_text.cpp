#include "runtime/fixed_text.h"

namespace zqmv5 {

std::string FitCString(std::string_view text, size_t size) {
  if (size == 0) return "";
  return std::string(text.substr(0, size - 1));
}

std::string FitString(std::string_view text, size_t size) {
  std::string result(text.substr(0, size));
  result.resize(size, ' ');
  return result;
}

std::string TrimRight(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? "" : std::string(text.substr(0, end + 1));
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

bool SameText(std::string_view a, std::string_view b) { return TrimRight(a) == TrimRight(b); }

std::string Upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

std::string LeftJustify(std::string_view text) {
  size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return std::string(text);
  std::string result(text.substr(start));
  result.append(start, ' ');
  return result;
}

}  // namespace zqmv5
