#include "env/ansi_text.h"

namespace zqmv5 {
namespace {

// The length of the character that starts at `at`: two bytes after a lead
// byte, unless the text ends first.
size_t CharacterLength(Env& env, std::string_view text, size_t at) {
  return at + 1 < text.size() && env.IsLeadByte(text[at]) ? 2 : 1;
}

}  // namespace

std::string UpperCase(Env& env, std::string_view text) {
  std::string result(text);
  for (size_t at = 0; at < result.size(); at += CharacterLength(env, result, at)) {
    char& c = result[at];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

bool EndsWithCharacter(Env& env, std::string_view text, char c) {
  size_t last = 0;
  for (size_t at = 0; at < text.size(); at += CharacterLength(env, text, at)) last = at;
  return !text.empty() && last == text.size() - 1 && text[last] == c;
}

}  // namespace zqmv5
