#include "runtime/command_line.h"

namespace zqmv5 {

std::string CommandParameter(const std::string& command_text, int n) {
  if (n < 1) return "";
  int index = 0;
  size_t i = 0;
  const size_t size = command_text.size();
  while (i < size) {
    while (i < size && command_text[i] == ' ') ++i;
    if (i >= size) break;
    std::string word;
    bool quoted = false;
    for (; i < size && (quoted || command_text[i] != ' '); ++i) {
      if (command_text[i] == '"') {
        quoted = !quoted;
      } else {
        word += command_text[i];
      }
    }
    if (++index == n) return word;
  }
  return "";
}

}  // namespace zqmv5
