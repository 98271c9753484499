#ifndef ZQMV5_DDE_CONNECTION_LOG_H_
#define ZQMV5_DDE_CONNECTION_LOG_H_

#include <cstdint>
#include <string>

#include "env/env.h"

namespace zqmv5 {

// Records how the last attempt to reach the IDE went, one INI entry per step
// in ".\ZQDE.LOG" (the current directory at the time of the write), so that
// whoever looks afterwards sees the latest value of each step.
class ConnectionLog {
 public:
  explicit ConnectionLog(Env& env) : env_(env) {}

  // Sets `entry` of `section`: a text unchanged, a number in decimal digits.
  // The outcome of the write is not looked at.
  void Write(const std::string& section, const std::string& entry, const std::string& value) {
    env_.WriteIniValue(section, entry, value, ".\\ZQDE.LOG");
  }
  void Write(const std::string& section, const std::string& entry, int64_t value) {
    Write(section, entry, std::to_string(value));
  }

 private:
  Env& env_;
};

}  // namespace zqmv5

#endif  // ZQMV5_DDE_CONNECTION_LOG_H_
