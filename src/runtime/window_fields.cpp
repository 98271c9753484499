#include "runtime/window_fields.h"

#include <algorithm>
#include <cmath>

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
  // Read by hand rather than with strtod, whose static form alone would add a
  // fifth to the program's size. The first 19 significant digits are gathered
  // exactly; a number of up to 15 digits comes out as the nearest double.
  size_t i = 0;
  const bool negative = number[0] == '-';
  if (number[0] == '+' || number[0] == '-') ++i;
  uint64_t mantissa = 0;
  int significant = 0;
  int exponent = 0;
  bool fraction = false;
  for (; i < number.size(); ++i) {
    const char c = number[i];
    if (c == '.') {
      fraction = true;
    } else if (significant < 19) {
      mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
      if (mantissa != 0) ++significant;
      if (fraction) --exponent;
    } else if (!fraction) {
      ++exponent;
    }
  }
  const double value = exponent < 0 ? static_cast<double>(mantissa) / Power10(-exponent)
                                    : static_cast<double>(mantissa) * Power10(exponent);
  return negative ? -value : value;
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
  // Written by hand, like NumberFromText, to keep printf's floating-point
  // machinery out of the program.
  if (value != value) return "nan";
  const std::string sign = value < 0 ? "-" : "";
  const double magnitude = std::fabs(value);
  if (std::isinf(magnitude)) return sign + "inf";
  if (magnitude >= 1e15) {
    // Fifteen significant digits in exponent form, as "%.15g" gives them.
    int exponent = 14;
    while (magnitude >= Power10(exponent + 1)) ++exponent;
    uint64_t digits = static_cast<uint64_t>(std::llround(magnitude / Power10(exponent - 14)));
    if (digits >= 1000000000000000ULL) {
      digits /= 10;
      ++exponent;
    }
    while (digits % 10 == 0) digits /= 10;
    std::string text = std::to_string(digits);
    if (text.size() > 1) text.insert(1, ".");
    return sign + text + "e+" + std::to_string(exponent);
  }
  // Nine decimals at most, rounded, without trailing zeros.
  uint64_t whole = static_cast<uint64_t>(std::floor(magnitude));
  uint64_t fraction =
      static_cast<uint64_t>(std::llround((magnitude - static_cast<double>(whole)) * 1e9));
  if (fraction >= 1000000000ULL) {
    fraction -= 1000000000ULL;
    ++whole;
  }
  std::string text = std::to_string(whole);
  if (fraction != 0) {
    std::string decimals = std::to_string(fraction);
    decimals.insert(0, 9 - decimals.size(), '0');
    while (decimals.back() == '0') decimals.pop_back();
    text += "." + decimals;
  }
  if (text == "0") return text;
  return sign + text;
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
