#ifndef ZQMV5_RUNTIME_WINDOW_FIELDS_H_
#define ZQMV5_RUNTIME_WINDOW_FIELDS_H_

// Numbers as the runtime converts and shows them, and the work a window does
// on its data fields: written once here for every window backend.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/window.h"

namespace zqmv5 {

// The numeric value of a text field: blanks around an optionally signed
// decimal number ("12", " 1.01 ", "-.5") are ignored; any other text, and
// blank text, gives 0.
double NumberFromText(std::string_view text);

// The low eight bits of a number's whole part, as a BYTE variable keeps it
// (256 gives 0, -1 gives 255).
uint8_t LowByte(double value);

// `value` through a numeric picture "n[0]W[.D]": D decimals, right-aligned in
// W characters, filled with leading zeros when the picture starts "n0". A
// value that does not fit shows as W "#" characters. An unknown picture gives
// the plain text.
std::string FormatNumber(double value, std::string_view picture);

// True when the picture can show `value` without overflow.
bool FitsPicture(double value, std::string_view picture);

// `value` as plain decimal text, as a number assigned to a text field holds it:
// no padding and no trailing zeros ("1.1", "7", "-0.5").
std::string PlainNumberText(double value);

// `value` rounded half away from zero to `decimals` places.
double RoundTo(double value, int decimals);

// The text that a data field shows for its variable. A blank number shows
// blank; a check box shows "1" or "0".
std::string FieldDisplayText(const DataField& field);

// Takes text typed into a data field. A text field keeps it, cut to its size.
// A number field keeps it when it reads as a number with no more decimals than
// the picture has, within the range (blank text blanks the variable); returns
// false and leaves the variable unchanged otherwise.
bool StoreFieldText(const DataField& field, std::string_view typed);

// Moves a number field by `steps` times its step, kept within its range.
// Returns false when the value stays as it was (already at the limit).
bool StepField(const DataField& field, int steps);

// The controls first to last, with the controls of every group among them, in
// ascending order.
std::vector<int> ControlsIn(const WindowDescription& description, int first, int last);

// The tab whose page holds `field`, or 0 when it lies on no page.
int PageOf(const WindowDescription& description, int field);

// The data field bound to control `field`, or null.
const DataField* FindField(const WindowDescription& description, int field);

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_WINDOW_FIELDS_H_
