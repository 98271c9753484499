#include "text/version_record.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "text/strings.h"

namespace zqmv5 {
namespace {

std::string Padded(std::string_view text, size_t width) {
  std::string result(text.substr(0, width));
  result.resize(width, ' ');
  return result;
}

// A number's text, as a field holds it: blanks around an optionally signed
// decimal number. Gives its value in hundredths, rounded half away from zero,
// and the number of decimals typed; false for any other text.
bool ReadNumber(std::string_view text, int64_t* hundredths, int* decimals) {
  const std::string number = Trim(text);
  size_t i = 0;
  const bool negative = !number.empty() && number[0] == '-';
  if (!number.empty() && (number[0] == '-' || number[0] == '+')) ++i;
  int64_t value = 0;  // in thousandths, so that the third decimal can round
  int digits = 0, fraction = 0;
  bool point = false;
  for (; i < number.size(); ++i) {
    const char c = number[i];
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      ++digits;
      if (point) ++fraction;
      if (point && fraction > 3) continue;
      if (value < int64_t{1} << 50) value = value * 10 + (c - '0');
    } else {
      return false;
    }
  }
  if (digits == 0) return false;
  for (int f = std::min(fraction, 3); f < 3; ++f) value *= 10;
  *hundredths = (value + 5) / 10 * (negative ? -1 : 1);
  *decimals = fraction;
  return true;
}

int NumberIn(std::string_view line, size_t column, size_t width) {
  return static_cast<int>(HundredthsOf(column < line.size() ? line.substr(column, width) : ""));
}

// "Version" or "!Version" in the label, "EQUATE('" and "')" at their columns.
bool InOwnLayout(std::string_view line) {
  if (line.size() < kBuildColumn + kBuildWidth + kEquateClose.size()) return false;
  const std::string_view label = line.substr(0, kLabelWidth);
  return (label == Padded("Version", kLabelWidth) || label == Padded("!Version", kLabelWidth)) &&
         line.substr(kLabelWidth, kEquateOpen.size()) == kEquateOpen &&
         line.substr(kBuildColumn + kBuildWidth, kEquateClose.size()) == kEquateClose;
}

// The label of a line of source text is its first word: this line defines
// Version (in any case).
bool DefinesVersion(std::string_view line) {
  return Upper(line.substr(0, 7)) == "VERSION" && line.find_first_of(" \t", 7) == 7;
}

// "Version EQUATE('1.20  0042')" with any blanks and tabs between its parts,
// a version that fits its five columns and a build of at most four digits.
std::optional<VersionRecord> HandWritten(std::string_view line) {
  std::string text = Upper(line.substr(!line.empty() && line[0] == '!' ? 1 : 0));
  std::replace(text.begin(), text.end(), '\t', ' ');
  const size_t open = text.find_first_not_of(' ', 7), close = text.find(kEquateClose);
  const size_t at = open + kEquateOpen.size();
  const bool equate = DefinesVersion(text) && open != text.npos && close != text.npos &&
                      text.compare(open, kEquateOpen.size(), kEquateOpen) == 0 && close > at;
  const std::string inner = equate ? Trim(text.substr(at, close - at)) : "";
  const size_t gap = inner.find(' ');
  const std::optional<int> build = TypedBuild(gap == inner.npos ? "" : inner.substr(gap));
  int64_t version = 0;
  int decimals = 0;
  if (!build || !ReadNumber(inner.substr(0, gap), &version, &decimals) || decimals > 2 ||
      version < 0 || version > 9999) {
    return std::nullopt;
  }
  return VersionRecord{static_cast<int>(version), *build};
}

}  // namespace

int64_t HundredthsOf(std::string_view text) {
  int64_t hundredths = 0;
  int decimals = 0;
  return ReadNumber(text, &hundredths, &decimals) ? hundredths : 0;
}

std::string WithLabel(std::string_view line, std::string_view label) {
  std::string record = Padded(line, kVersionRecordSize);
  record.replace(0, kLabelWidth, Padded(label, kLabelWidth));
  if (line.size() > kVersionRecordSize) {
    return record + std::string(line.substr(kVersionRecordSize));
  }
  std::string result = TrimRight(record);
  result.resize(std::max(result.size(), line.size()), ' ');
  return result;
}

std::string CommentedOut(std::string_view line) {
  if (!line.empty() && line[0] == '!') return std::string(line);
  if (InOwnLayout(line)) return WithLabel(line, "!Version");
  return (DefinesVersion(line) ? "!" : "") + std::string(line);
}

std::optional<VersionRecord> ReadVersionRecord(std::string_view line) {
  if (InOwnLayout(line)) return VersionRecord{VersionOf(line), BuildOf(line)};
  return HandWritten(line);
}

int VersionOf(std::string_view line) { return NumberIn(line, kVerColumn, kVerWidth); }
int BuildOf(std::string_view line) { return NumberIn(line, kBuildColumn, kBuildWidth) / 100; }

std::string VersionFieldOf(std::string_view line) {
  return Padded(kVerColumn < line.size() ? line.substr(kVerColumn) : "", kVerWidth);
}

std::string AddedText(const DateTime& now) {
  const int hours = now.time / (60 * 60 * 100);
  const int minutes = now.time / (60 * 100) % 60;
  const Date& date = now.date;
  return " ! " + TwoDigits(date.month) + "/" + TwoDigits(date.day) + "/" + TwoDigits(date.year) +
         " " + TwoDigits(hours) + TwoDigits(minutes) + " -- ";
}

std::string VersionField(int hundredths, std::string_view fallback) {
  const std::string text = VersionText(hundredths);
  if (text.size() <= 4) return Fitted(text, 4, ' ') + " ";
  return text.size() == kVerWidth ? text : Padded(fallback, kVerWidth);
}

std::string NewVersionLine(std::string_view version_field, int build, std::string_view added,
                           std::string_view note) {
  return TrimRight(Padded("Version", kLabelWidth) + std::string(kEquateOpen) +
                   Padded(version_field, kVerWidth) + " " + BuildText(build) +
                   std::string(kEquateClose) + " " + Padded(added, kAddedWidth) +
                   Padded(note, kNoteWidth));
}

std::string VersionText(int hundredths) {
  const int magnitude = hundredths < 0 ? -hundredths : hundredths;
  return (hundredths < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." +
         TwoDigits(magnitude % 100);
}

std::string BuildText(int build) { return Fitted(std::to_string(build), kBuildWidth, '0'); }

std::string Fitted(const std::string& text, size_t width, char fill) {
  if (text.size() > width) return std::string(width, '#');
  const size_t sign = fill == '0' && !text.empty() && text[0] == '-' ? 1 : 0;
  std::string result = text;
  result.insert(sign, width - text.size(), fill);
  return result;
}

int Stepped(int value, int delta, int highest) {
  return std::clamp(value + delta, std::min(0, value), std::max(highest, value));
}

std::optional<int> TypedVersion(std::string_view text) {
  int64_t hundredths = 0;
  int decimals = 0;
  if (!ReadNumber(text, &hundredths, &decimals) || decimals > 2) return std::nullopt;
  if (hundredths < 0 || hundredths > kHighestVersion) return std::nullopt;
  return static_cast<int>(hundredths);
}

std::optional<int> TypedBuild(std::string_view text) {
  int64_t hundredths = 0;
  int decimals = 0;
  if (!ReadNumber(text, &hundredths, &decimals) || decimals > 0) return std::nullopt;
  if (hundredths < 0 || hundredths > int64_t{kHighestBuild} * 100) return std::nullopt;
  return static_cast<int>(hundredths / 100);
}

NextLine PrepareNextLine(LineFile& file, bool auto_increment) {
  struct Found {
    VersionRecord record;
    std::string field;
  };
  std::optional<Found> last, last_active;
  NextLine next;
  const std::vector<std::string>& lines = file.lines();
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string commented = CommentedOut(lines[i]);
    const bool active = commented != lines[i];
    if (const std::optional<VersionRecord> record = ReadVersionRecord(lines[i])) {
      last = Found{*record, VersionFieldOf(lines[i])};
      if (active) last_active = last;
    }
    if (active) {
      next.active.emplace_back(i, lines[i]);
      file.Put(i, std::move(commented));
    }
  }
  const std::optional<Found>& found = last_active ? last_active : last;
  if (!found) return next;
  next.version = found->record.version;
  next.version_field = found->field;
  next.build = found->record.build;
  if (auto_increment && next.build < INT_MAX) ++next.build;
  next.build = std::min(next.build, kHighestBuild);
  return next;
}

Status OpenVersionFile(LineFile& file, const std::string& name) {
  return file.Open(name, Share::kDenyWrite, IfMissing::kCreate, kHeldWait);
}

bool HasControlCharacter(const std::string& text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

std::string CannotOpenText(const std::string& name, const Status& status, const std::string& then) {
  return "The version file " + name + " cannot be opened: " + status.message() + "|" + then;
}

std::string CannotChangeText(const std::string& name, const Status& status,
                             const std::string& then) {
  return "The version file " + name + " cannot be changed: " + status.message() + "|" + then;
}

}  // namespace zqmv5
