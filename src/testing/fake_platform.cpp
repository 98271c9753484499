#include "testing/fake_platform.h"

#include <algorithm>
#include <cctype>

namespace zqmv5 {
namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool SameName(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

// WIN.INI is reached by the empty name and by its own name.
std::string FileKey(const std::string& file) {
  std::string key = Lower(file);
  if (key.empty() || key == "win.ini") return "win.ini";
  return key;
}

}  // namespace

const FakeProfile::Entries* FakeProfile::FindSection(const std::string& file,
                                                     const std::string& section) const {
  auto f = files_.find(FileKey(file));
  if (f == files_.end()) return nullptr;
  for (const auto& [name, entries] : f->second) {
    if (SameName(name, section)) return &entries;
  }
  return nullptr;
}

std::string FakeProfile::ReadIniValue(const std::string& section, const std::string& entry,
                                      const std::string& default_value,
                                      const std::string& file) {
  std::string value = default_value;
  if (const Entries* entries = FindSection(file, section)) {
    for (const auto& [key, v] : *entries) {
      if (SameName(key, entry)) value = v;
    }
  }
  log.push_back({section, entry, value, file, false});
  return value;
}

void FakeProfile::WriteIniValue(const std::string& section, const std::string& entry,
                                const std::string& value, const std::string& file) {
  log.push_back({section, entry, value, file, true});
  Set(file, section, entry, value);
}

void FakeProfile::Set(const std::string& file, const std::string& section,
                      const std::string& entry, const std::string& value) {
  Sections& sections = files_[FileKey(file)];
  auto s = std::find_if(sections.begin(), sections.end(),
                        [&](const auto& p) { return SameName(p.first, section); });
  if (s == sections.end()) {
    sections.push_back({section, {}});
    s = sections.end() - 1;
  }
  for (auto& [key, v] : s->second) {
    if (SameName(key, entry)) {
      v = value;
      return;
    }
  }
  s->second.push_back({entry, value});
}

bool FakeProfile::Has(const std::string& file, const std::string& section,
                      const std::string& entry) const {
  const Entries* entries = FindSection(file, section);
  if (!entries) return false;
  return std::any_of(entries->begin(), entries->end(),
                     [&](const auto& p) { return SameName(p.first, entry); });
}

std::string FakeProfile::Get(const std::string& file, const std::string& section,
                             const std::string& entry) const {
  if (const Entries* entries = FindSection(file, section)) {
    for (const auto& [key, v] : *entries) {
      if (SameName(key, entry)) return v;
    }
  }
  return "";
}

std::vector<std::pair<std::string, std::string>> FakeProfile::Section(
    const std::string& file, const std::string& section) const {
  const Entries* entries = FindSection(file, section);
  return entries ? *entries : Entries{};
}

bool FakeProfile::FileExists(const std::string& file) const {
  return files_.count(FileKey(file)) != 0;
}

std::vector<FakeProfile::Access> FakeProfile::writes() const {
  std::vector<Access> result;
  for (const Access& a : log) {
    if (a.write) result.push_back(a);
  }
  return result;
}

namespace {

class FakeLock : public ProcessLock {
 public:
  FakeLock(std::set<std::string>& held, std::string name) : held_(held), name_(std::move(name)) {}
  ~FakeLock() override { held_.erase(name_); }

 private:
  std::set<std::string>& held_;
  std::string name_;
};

}  // namespace

std::unique_ptr<ProcessLock> FakePrograms::LockAcrossProcesses(const std::string& name,
                                                               int32_t) {
  if (!held.insert(name).second) return nullptr;
  locked.push_back(name);
  return std::make_unique<FakeLock>(held, name);
}

int FakePrograms::StartProgram(const std::string& command_line) {
  started.push_back(command_line);
  if (next_result != 0) {
    error_.Set(next_result, "Program could not be started");
  } else {
    error_.Clear();
  }
  return next_result;
}

}  // namespace zqmv5
