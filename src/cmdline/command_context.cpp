#include "cmdline/command_context.h"

#include "text/strings.h"

namespace zqmv5 {

void CommandContext::Tokenize(const std::string& command_text) {
  text = command_text.substr(0, kMaxText);
  tokens.clear();
  // A token runs from its first character to the character before the blank
  // or quote that closes it; a quote opens no token of its own.
  const size_t length = TrimRight(text).size();
  size_t start = std::string::npos;
  bool in_quotes = false;
  const auto close_token = [&](size_t end) {
    if (start != std::string::npos) tokens.push_back(text.substr(start, end - start));
    start = std::string::npos;
  };
  for (size_t i = 0; i < length; ++i) {
    const char c = text[i];
    if (c == ' ') {
      if (!in_quotes) close_token(i);
    } else if (c == '"') {
      if (in_quotes) close_token(i);
      in_quotes = !in_quotes;
    } else if (start == std::string::npos) {
      start = i;
    }
  }
  close_token(length);
}

std::string CommandTextAfterProgram(const std::string& command_line) {
  size_t i = 0;
  const size_t size = command_line.size();
  if (i < size && command_line[i] == '"') {
    ++i;
    while (i < size && command_line[i] != '"') ++i;
    if (i < size) ++i;
  } else {
    while (i < size && command_line[i] != ' ' && command_line[i] != '\t') ++i;
  }
  while (i < size && (command_line[i] == ' ' || command_line[i] == '\t')) ++i;
  return command_line.substr(i);
}

std::string CommandParameter(const std::string& command_text, int n) {
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
