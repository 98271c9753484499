#include "env/program.h"

#include <string_view>

namespace zqmv5 {
namespace {

// Windows' number for a missing file, the number of a start that found no
// program, which the connection log shows as the platform's own.
constexpr int kFileNotFoundNumber = 2;
constexpr char kBlanks[] = " \t";

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

std::string Stripped(std::string_view text) {
  const size_t begin = text.find_first_not_of(kBlanks);
  if (begin == std::string_view::npos) return "";
  return std::string(text.substr(begin, text.find_last_not_of(kBlanks) + 1 - begin));
}

// Sets the program that `text` names and its arguments; false when no part
// names an existing file.
bool FindProgram(Env& env, const std::string& text, std::string* program, std::string* arguments) {
  if (!text.empty() && text[0] == '"') {
    const size_t close = text.find('"', 1);
    *program = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    *arguments =
        close == std::string::npos ? "" : Stripped(std::string_view(text).substr(close + 1));
    return env.FileExists(*program);
  }
  if (env.FileExists(text)) {
    *program = text;
    arguments->clear();
    return true;
  }
  // The longest part first. Windows drops the blanks at the end of a name, so
  // a part ends just before a blank that follows a word.
  for (size_t end = text.find_last_of(kBlanks); end != std::string::npos && end > 0;
       end = text.find_last_of(kBlanks, end - 1)) {
    if (IsBlankOrTab(text[end - 1]) || !env.FileExists(text.substr(0, end))) continue;
    *program = text.substr(0, end);
    *arguments = Stripped(std::string_view(text).substr(end));
    return true;
  }
  return false;
}

}  // namespace

Status RunProgram(Env& env, const std::string& command_line) {
  std::string program, arguments;
  const Status started =
      FindProgram(env, Stripped(command_line), &program, &arguments)
          ? env.StartProgram(program, arguments)
          : Status(Status::Kind::kNotFound, FileNotFound().message(), kFileNotFoundNumber);
  return started.About(command_line + " could not be started");
}

}  // namespace zqmv5
