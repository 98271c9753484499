#include "version/version_file.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

#include "text/version_record.h"

namespace zqmv5 {

NextLine PrepareNextLine(LineFile& file, bool auto_increment) {
  struct Found {
    VersionRecord record;
    std::string field;
  };
  std::optional<Found> last, last_active;
  NextLine next;
  const std::vector<std::string>& lines = file.lines();
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string commented = CommentedOut(lines[i]);
    const bool active = commented != lines[i];
    if (const std::optional<VersionRecord> record = ReadVersionRecord(lines[i])) {
      last = Found{*record, VersionFieldOf(lines[i])};
      if (active) last_active = last;
    }
    if (active) {
      next.active.emplace_back(i, lines[i]);
      file.Put(i, std::move(commented));
    }
  }
  const std::optional<Found>& found = last_active ? last_active : last;
  if (!found) return next;
  next.version = found->record.version;
  next.version_field = found->field;
  next.build = found->record.build;
  if (auto_increment && next.build < INT_MAX) ++next.build;
  next.build = std::min(next.build, kHighestBuild);
  return next;
}

Status OpenVersionFile(LineFile& file, const std::string& name) {
  return file.Open(name, Share::kDenyWrite, IfMissing::kCreate, kHeldWait);
}

bool HasControlCharacter(const std::string& text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

std::string CannotOpenText(const std::string& name, const Status& status, const std::string& then) {
  return "The version file " + name + " cannot be opened: " + status.message() + "|" + then;
}

std::string CannotChangeText(const std::string& name, const Status& status,
                             const std::string& then) {
  return "The version file " + name + " cannot be changed: " + status.message() + "|" + then;
}

}  // namespace zqmv5
