#include "text/ini_text.h"

#include <algorithm>

namespace zqmv5 {
namespace {

constexpr std::string_view kSpace = " \t";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Where the lines start, after a UTF-8 byte order mark.
size_t TextStart(std::string_view text) { return text.substr(0, 3) == kUtf8Bom ? 3 : 0; }

std::string_view Stripped(std::string_view text) {
  const size_t start = text.find_first_not_of(kSpace);
  if (start == std::string_view::npos) return {};
  return text.substr(start, text.find_last_not_of(kSpace) - start + 1);
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  a = Stripped(a);
  b = Stripped(b);
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// One line: its text runs from `start` to `end`, its line end to `next`.
struct Line {
  size_t start = 0, end = 0, next = 0;
};

Line LineAt(std::string_view text, size_t start) {
  const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
  const size_t end_length = end == text.size() ? 0 : text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
  return {start, end, end + end_length};
}

// Where `entry` of `section` stands, found in one pass.
struct Place {
  bool section = false;  // the section is there
  size_t after = 0;      // the end of its last line that is not blank (its header at least)
  bool entry = false;    // the entry is there, on `line`
  Line line;
};

Place Find(std::string_view text, std::string_view section, std::string_view entry) {
  Place place;
  bool inside = false;
  for (size_t start = TextStart(text); start < text.size();) {
    const Line line = LineAt(text, start);
    start = line.next;
    const std::string_view content = text.substr(line.start, line.end - line.start);
    const std::string_view stripped = Stripped(content);
    if (stripped.empty()) continue;
    if (stripped[0] == '[') {
      if (inside) break;  // only the first section of that name counts
      inside = SameName(stripped.substr(1, stripped.rfind(']') - 1), section);
    } else if (!inside) {
      continue;
    } else if (const size_t equals = content.find('=');
               !place.entry && equals != std::string_view::npos &&
               SameName(content.substr(0, equals), entry)) {
      place.entry = true;
      place.line = line;
    }
    place.section = place.section || inside;
    if (inside) place.after = line.next;
  }
  return place;
}

std::string FirstLineEnd(std::string_view text) {
  const Line first = LineAt(text, TextStart(text));
  return first.next > first.end ? std::string(text.substr(first.end, first.next - first.end))
                                : "\r\n";
}

}  // namespace

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view entry) {
  const Place place = Find(text, section, entry);
  if (!place.entry) return std::nullopt;
  const std::string_view line = text.substr(place.line.start, place.line.end - place.line.start);
  std::string_view value = Stripped(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

std::string ChangeIniValue(std::string_view text, std::string_view section, std::string_view entry,
                           const std::string* value) {
  const Place place = Find(text, section, entry);
  std::string result(text);
  if (place.entry) {
    const Line& line = place.line;
    if (!value) return result.erase(line.start, line.next - line.start);
    // The entry keeps its indent and its name as the file spells them.
    const std::string_view content = text.substr(line.start, line.end - line.start);
    const size_t name_start = content.find_first_not_of(kSpace);
    const std::string_view name = Stripped(content.substr(0, content.find('=')));
    return result.replace(line.start + name_start, line.end - line.start - name_start,
                          std::string(name) + "=" + *value);
  }
  if (!value) return result;
  const std::string line_end = FirstLineEnd(text);
  std::string lines = place.section ? "" : "[" + std::string(section) + "]" + line_end;
  lines += std::string(Stripped(entry)) + "=" + *value + line_end;
  const size_t at = place.section ? place.after : text.size();
  if (at > TextStart(text) && text[at - 1] != '\n' && text[at - 1] != '\r')
    lines = line_end + lines;
  return result.insert(at, lines);
}

}  // namespace zqmv5
