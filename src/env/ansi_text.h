#ifndef ZQMV5_ENV_ANSI_TEXT_H_
#define ZQMV5_ENV_ANSI_TEXT_H_

#include <string>
#include <string_view>

#include "env/env.h"

namespace zqmv5 {

// Text in the ANSI code page, read a character at a time as the platform
// tells them (Env::IsLeadByte): in a double-byte code page such as 932
// (Japanese) the second byte of a character may be a backslash or an ASCII
// letter, and is never taken for one.

// `text` with the ASCII letters that stand as characters of their own in
// upper case, and every other byte as it is: a letter such as 1252's e-acute
// keeps its case, as the IDE's files have always held it.
std::string UpperCase(Env& env, std::string_view text);

// True when the last character of `text` is `c`, and not a double-byte
// character whose second byte is `c`.
bool EndsWithCharacter(Env& env, std::string_view text, char c);

}  // namespace zqmv5

#endif  // ZQMV5_ENV_ANSI_TEXT_H_
