#ifndef ZQMV5_RUNTIME_PROGRAMS_H_
#define ZQMV5_RUNTIME_PROGRAMS_H_

#include <cstdint>
#include <memory>
#include <string>

namespace zqmv5 {

// A lock that one program at a time holds, across all programs of the
// session; it is released when the object goes.
class ProcessLock {
 public:
  virtual ~ProcessLock() = default;
};

// Other programs: starting one, and taking turns with the others.
class Programs {
 public:
  virtual ~Programs() = default;

  // Starts `command_line` (program and arguments in one text) and returns at
  // once, without waiting for it. Returns 0 when the program started, otherwise
  // a non-zero result code; the error state then holds the code and the text
  // that tells why.
  // When the whole text names an existing file, that file is started, even
  // when its path holds blanks and no quotes (as INI files hold paths).
  virtual int StartProgram(const std::string& command_line) = 0;

  // Waits up to `hundredths` hundredths of a second for the lock `name`, and
  // returns it; null when another program still holds it then. A lock whose
  // holder ended without releasing it is free.
  virtual std::unique_ptr<ProcessLock> LockAcrossProcesses(const std::string& name,
                                                          int32_t hundredths) = 0;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_PROGRAMS_H_
