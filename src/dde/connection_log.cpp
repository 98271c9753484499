#include "dde/connection_log.h"

#include "runtime/fixed_text.h"

namespace zqmv5 {

void ConnectionLog::Write(const std::string& section, const std::string& entry,
                          const std::string& value) {
  if (IsBlank(FILE)) FILE = FitString(kDefaultLogFile, kLogFileFieldSize);
  profile_.WriteIniValue(section, entry, value, TrimRight(FILE));
}

void ConnectionLog::Write(const std::string& section, const std::string& entry, int64_t value) {
  Write(section, entry, std::to_string(value));
}

}  // namespace zqmv5
