#ifndef ZQMV5_RUNTIME_FIXED_TEXT_H_
#define ZQMV5_RUNTIME_FIXED_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace zqmv5 {

// The system's text fields have fixed sizes. A NUL-terminated field of size n
// holds at most n - 1 characters; a blank-padded field of size n holds exactly
// n. Comparisons ignore trailing blanks, so "blank" means empty or blanks only.

// `text` cut to what a NUL-terminated field of `size` bytes holds.
std::string FitCString(std::string_view text, size_t size);

// `text` cut or blank-padded to exactly `size` characters.
std::string FitString(std::string_view text, size_t size);

std::string TrimRight(std::string_view text);
bool IsBlank(std::string_view text);

// Equal when they are equal once trailing blanks are removed (case counts).
bool SameText(std::string_view a, std::string_view b);

// Upper case of the ASCII letters; other bytes unchanged.
std::string Upper(std::string_view text);

// Leading blanks moved behind the text, as a left-justified field holds it.
std::string LeftJustify(std::string_view text);

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_FIXED_TEXT_H_
