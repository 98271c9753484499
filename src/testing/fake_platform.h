#ifndef ZQMV5_TESTING_FAKE_PLATFORM_H_
#define ZQMV5_TESTING_FAKE_PLATFORM_H_

#include <map>
#include <set>
#include <string>
#include <vector>

#include "runtime/clock.h"
#include "runtime/command_line.h"
#include "runtime/error_state.h"
#include "runtime/file_system.h"
#include "runtime/messages.h"
#include "runtime/profile.h"
#include "runtime/programs.h"

namespace zqmv5 {

// INI files in memory. File names are compared as the platform would compare
// them (without regard to case); "" is WIN.INI. Sections and entries match
// regardless of case and keep the case of their first write.
class FakeProfile : public Profile {
 public:
  struct Access {
    std::string section, entry, value, file;
    bool write = false;
  };

  std::string ReadIniValue(const std::string& section, const std::string& entry,
                           const std::string& default_value, const std::string& file) override;
  void WriteIniValue(const std::string& section, const std::string& entry,
                     const std::string& value, const std::string& file) override;

  // Test access: set or look at an entry directly, without logging.
  void Set(const std::string& file, const std::string& section, const std::string& entry,
           const std::string& value);
  bool Has(const std::string& file, const std::string& section, const std::string& entry) const;
  std::string Get(const std::string& file, const std::string& section,
                  const std::string& entry) const;
  // The entries of one section in the order written, or an empty list.
  std::vector<std::pair<std::string, std::string>> Section(const std::string& file,
                                                           const std::string& section) const;
  bool FileExists(const std::string& file) const;

  std::vector<Access> log;  // every read and write, in order
  std::vector<Access> writes() const;

 private:
  using Entries = std::vector<std::pair<std::string, std::string>>;
  using Sections = std::vector<std::pair<std::string, Entries>>;
  const Entries* FindSection(const std::string& file, const std::string& section) const;
  std::map<std::string, Sections> files_;  // by lower-cased file name
};

struct ShownMessage {
  std::string text, caption;
  MessageIcon icon = MessageIcon::kInformation;
};

class FakeMessages : public Messages {
 public:
  void ShowMessage(const std::string& text, const std::string& caption,
                   MessageIcon icon) override {
    shown.push_back({text, caption, icon});
  }
  std::vector<ShownMessage> shown;
};

class FakePrograms : public Programs {
 public:
  explicit FakePrograms(ErrorState& error) : error_(error) {}
  int StartProgram(const std::string& command_line) override;
  std::unique_ptr<ProcessLock> LockAcrossProcesses(const std::string& name,
                                                   int32_t hundredths) override;

  std::vector<std::string> started;  // command lines, in order
  int next_result = 0;               // a non-zero value makes every start fail with it
  std::set<std::string> held;        // locks held now, by this program or another one
  std::vector<std::string> locked;   // every lock taken, in order
 private:
  ErrorState& error_;
};

class FakeFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& name) override { return existing.count(name) != 0; }
  std::string ShortPath(const std::string& path) override {
    if (path.empty()) return current_directory_short;
    auto found = short_names.find(path);
    return found == short_names.end() ? path : found->second;
  }
  std::set<std::string> existing;
  std::map<std::string, std::string> short_names;  // the others have none of their own
  std::string current_directory_short = "C:\\WORK";
};

// A clock that moves only when told to, or by `Pause`.
class FakeClock : public Clock {
 public:
  Date Today() override { return today; }
  int32_t TimeOfDay() override {
    int32_t now = time;
    time = (time + step) % kHundredthsPerDay;
    return now;
  }
  void Pause(int32_t hundredths) override {
    paused += hundredths;
    time = (time + hundredths) % kHundredthsPerDay;
  }

  Date today{2026, 12, 7};
  int32_t time = 12 * 360000;  // noon
  int32_t step = 0;            // added after every TimeOfDay reading
  int64_t paused = 0;          // hundredths spent in Pause
};

class FakeCommandLine : public CommandLine {
 public:
  std::string CommandText() override { return text; }
  std::string text;
};

}  // namespace zqmv5

#endif  // ZQMV5_TESTING_FAKE_PLATFORM_H_
