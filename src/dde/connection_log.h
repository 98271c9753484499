#ifndef ZQMV5_DDE_CONNECTION_LOG_H_
#define ZQMV5_DDE_CONNECTION_LOG_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/profile.h"

namespace zqmv5 {

// Size of the log's blank-padded file name field.
constexpr size_t kLogFileFieldSize = 155;

// The default log file: INI format, in the current directory at the time of
// the write.
inline constexpr char kDefaultLogFile[] = ".\\ZQDE.LOG";

// Records how the last attempt to reach the IDE went, one INI entry per step,
// so that whoever looks afterwards sees the latest value of each step.
class ConnectionLog {
 public:
  explicit ConnectionLog(Profile& profile) : profile_(profile) {}

  // Sets `entry` of `section` in the log file: a text unchanged, a number in
  // decimal digits. The first write of a blank FILE sets it to the default
  // name. The outcome of the write is not looked at.
  void Write(const std::string& section, const std::string& entry, const std::string& value);
  void Write(const std::string& section, const std::string& entry, int64_t value);

  std::string FILE = std::string(kLogFileFieldSize, ' ');  // blank-padded

 private:
  Profile& profile_;
};

}  // namespace zqmv5

#endif  // ZQMV5_DDE_CONNECTION_LOG_H_
