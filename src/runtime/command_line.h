#ifndef ZQMV5_RUNTIME_COMMAND_LINE_H_
#define ZQMV5_RUNTIME_COMMAND_LINE_H_

#include <string>

namespace zqmv5 {

// The process's command line.
class CommandLine {
 public:
  virtual ~CommandLine() = default;

  // The whole text after the program name (and the blanks that follow the
  // name), as the process received it.
  virtual std::string CommandText() = 0;
};

// Parameter n (1-based) of `command_text`: blank-separated words, where a pair
// of double quotes groups blanks into one word and is not part of it. Returns
// "" when there is no such parameter.
std::string CommandParameter(const std::string& command_text, int n);

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_COMMAND_LINE_H_
