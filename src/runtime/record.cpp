#include "runtime/record.h"

#include <algorithm>

#include "runtime/fixed_text.h"

namespace zqmv5 {

std::string RecordFromLine(std::string_view line, size_t width) { return FitString(line, width); }

std::string LineForPut(std::string_view record, std::string_view old_line, size_t width) {
  const std::string fitted = FitString(record, width);
  if (old_line.size() > width) return fitted + std::string(old_line.substr(width));
  std::string line = TrimRight(fitted);
  line.resize(std::max(line.size(), old_line.size()), ' ');
  return line;
}

std::string LineForAdd(std::string_view record) { return TrimRight(record); }

}  // namespace zqmv5
