#include "runtime/window_fields.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "runtime/fixed_text.h"

namespace zqmv5 {
namespace {

struct NumericPicture {
  bool valid = false;
  int width = 0;
  int decimals = 0;
  bool zero_fill = false;
};

NumericPicture ParsePicture(std::string_view picture) {
  NumericPicture result;
  size_t i = 0;
  if (i >= picture.size() || (picture[i] != 'n' && picture[i] != 'N')) return result;
  ++i;
  if (i + 1 < picture.size() && picture[i] == '0' && picture[i + 1] >= '0' &&
      picture[i + 1] <= '9') {
    result.zero_fill = true;
    ++i;
  }
  size_t digits = 0;
  while (i < picture.size() && picture[i] >= '0' && picture[i] <= '9' && digits < 3) {
    result.width = result.width * 10 + (picture[i] - '0');
    ++i;
    ++digits;
  }
  if (digits == 0 || result.width == 0) return result;
  if (i < picture.size() && picture[i] == '.') {
    ++i;
    if (i >= picture.size() || picture[i] < '0' || picture[i] > '9') return result;
    result.decimals = picture[i] - '0';
    ++i;
  }
  result.valid = i == picture.size();
  return result;
}

// Only blanks surround a number in a fixed field; tabs and line ends are text.
std::string_view Trimmed(std::string_view text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(' ');
  return text.substr(begin, end - begin + 1);
}

// True when `text` is an optionally signed decimal number; counts its
// decimals.
bool IsDecimalNumber(std::string_view text, int* decimals) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  int whole_digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    ++i;
    ++whole_digits;
  }
  int fraction_digits = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      ++i;
      ++fraction_digits;
    }
  }
  if (decimals) *decimals = fraction_digits;
  return i == text.size() && whole_digits + fraction_digits > 0;
}

double Power10(int exponent) {
  double result = 1;
  for (int i = 0; i < exponent; ++i) result *= 10;
  return result;
}

// Range limits compare with a margin far below any picture's last decimal, so
// that 9.99 typed stays within a range that ends at 9.99.
constexpr double kMargin = 1e-9;

void StoreText(const DataField& field, std::string_view text) {
  *field.text =
      field.blank_padded ? FitString(text, field.size) : std::string(text.substr(0, field.size));
}

}  // namespace

double NumberFromText(std::string_view text) {
  std::string_view number = Trimmed(text);
  if (!IsDecimalNumber(number, nullptr)) return 0;
  std::string copy(number);
  return std::strtod(copy.c_str(), nullptr);
}

uint8_t LowByte(double value) {
  double whole = std::fmod(std::trunc(value), 256.0);
  if (!(whole == whole)) return 0;
  if (whole < 0) whole += 256;
  return static_cast<uint8_t>(static_cast<int>(whole) & 0xFF);
}

double RoundTo(double value, int decimals) {
  const double scale = Power10(decimals);
  const double scaled = std::fabs(value) * scale;
  if (scaled >= 1e17) return value;
  // The nudge keeps decimal text such as 1.005 from rounding down because its
  // binary form lies just below it.
  const double rounded = std::floor(scaled + 0.5 + scaled * 1e-12) / scale;
  return value < 0 ? -rounded : rounded;
}

std::string FormatNumber(double value, std::string_view picture) {
  NumericPicture p = ParsePicture(picture);
  if (!p.valid) return PlainNumberText(value);
  const double scale = Power10(p.decimals);
  const double magnitude = std::fabs(RoundTo(value, p.decimals)) * scale;
  if (!(magnitude < 1e17)) return std::string(p.width, '#');
  const long long scaled = std::llround(magnitude);
  const long long units = static_cast<long long>(scale);
  std::string digits = std::to_string(scaled / units);
  if (p.decimals > 0) {
    std::string fraction = std::to_string(scaled % units);
    digits += "." + std::string(p.decimals - fraction.size(), '0') + fraction;
  }
  const std::string sign = value < 0 && scaled != 0 ? "-" : "";
  const int length = static_cast<int>(sign.size() + digits.size());
  if (length > p.width) return std::string(p.width, '#');
  if (p.zero_fill) return sign + std::string(p.width - length, '0') + digits;
  return std::string(p.width - length, ' ') + sign + digits;
}

bool FitsPicture(double value, std::string_view picture) {
  NumericPicture p = ParsePicture(picture);
  if (!p.valid) return true;
  std::string shown = FormatNumber(value, picture);
  return shown != std::string(p.width, '#');
}

std::string PlainNumberText(double value) {
  if (!(std::fabs(value) < 1e15)) {
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%.15g", value);
    return buffer;
  }
  char buffer[64];
  std::snprintf(buffer, sizeof(buffer), "%.9f", RoundTo(value, 9));
  std::string text = buffer;
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  if (text == "-0") text = "0";
  return text;
}

std::string FieldDisplayText(const DataField& field) {
  switch (field.kind) {
    case FieldKind::kText:
      return field.text ? TrimRight(*field.text) : "";
    case FieldKind::kNumber:
      if (!field.text || IsBlank(*field.text)) return "";
      return FormatNumber(NumberFromText(*field.text), field.picture);
    case FieldKind::kCheck:
      return field.flag && *field.flag ? "1" : "0";
  }
  return "";
}

bool StoreFieldText(const DataField& field, std::string_view typed) {
  switch (field.kind) {
    case FieldKind::kText:
      if (field.text) StoreText(field, typed);
      return true;
    case FieldKind::kNumber: {
      if (!field.text) return false;
      std::string_view number = Trimmed(typed);
      if (number.empty()) {
        StoreText(field, "");
        return true;
      }
      int decimals = 0;
      if (!IsDecimalNumber(number, &decimals)) return false;
      NumericPicture p = ParsePicture(field.picture);
      if (p.valid && decimals > p.decimals) return false;
      double value = NumberFromText(number);
      if (value < field.low - kMargin || value > field.high + kMargin) return false;
      StoreText(field, PlainNumberText(value));
      return true;
    }
    case FieldKind::kCheck:
      if (!field.flag) return false;
      *field.flag = NumberFromText(typed) != 0 ? 1 : 0;
      return true;
  }
  return false;
}

bool StepField(const DataField& field, int steps) {
  if (field.kind != FieldKind::kNumber || !field.text) return false;
  NumericPicture p = ParsePicture(field.picture);
  const int decimals = p.valid ? p.decimals : 9;
  const double current = NumberFromText(*field.text);
  double next = RoundTo(current + steps * field.step, decimals);
  next = std::clamp(next, field.low, field.high);
  if (std::fabs(next - current) < kMargin && !IsBlank(*field.text)) return false;
  StoreText(field, PlainNumberText(next));
  return true;
}

std::vector<int> ControlsIn(const WindowDescription& description, int first, int last) {
  std::vector<int> controls;
  for (int n = first; n <= last; ++n) {
    controls.push_back(n);
    for (const ControlGroup& group : description.groups) {
      if (group.group != n) continue;
      for (int member = group.first; member <= group.last; ++member) controls.push_back(member);
    }
  }
  std::sort(controls.begin(), controls.end());
  controls.erase(std::unique(controls.begin(), controls.end()), controls.end());
  return controls;
}

int PageOf(const WindowDescription& description, int field) {
  for (const SheetPage& page : description.pages) {
    if (field == page.tab || (field >= page.first && field <= page.last)) return page.tab;
  }
  return 0;
}

const DataField* FindField(const WindowDescription& description, int field) {
  for (const DataField& f : description.fields) {
    if (f.field == field) return &f;
  }
  return nullptr;
}

}  // namespace zqmv5
