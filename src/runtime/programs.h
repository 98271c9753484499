#ifndef ZQMV5_RUNTIME_PROGRAMS_H_
#define ZQMV5_RUNTIME_PROGRAMS_H_

#include <string>

namespace zqmv5 {

// Starting another program.
class Programs {
 public:
  virtual ~Programs() = default;

  // Starts `command_line` (program and arguments in one text) and returns at
  // once, without waiting for it. Returns 0 when the program started, otherwise
  // a non-zero result code; the error state then holds the code and the text
  // that tells why.
  virtual int StartProgram(const std::string& command_line) = 0;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_PROGRAMS_H_
