#include "testing/fake_env.h"

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
  const std::string key = Lower(file);
  return key.empty() ? "win.ini" : key;
}

class FakeFile : public File {
 public:
  FakeFile(FakeFiles& files, std::string name, bool deny_write)
      : files_(files), name_(std::move(name)), deny_write_(deny_write) {
    if (deny_write_) ++files_.held_deny_write[name_];
  }
  ~FakeFile() override {
    if (deny_write_) --files_.held_deny_write[name_];
  }

  Status Size(int64_t* size) override {
    *size = static_cast<int64_t>(bytes().size());
    return {};
  }
  Status ReadAt(int64_t offset, char* buffer, size_t count, size_t* read) override {
    const std::string& b = bytes();
    const size_t from = std::min(static_cast<size_t>(offset), b.size());
    *read = std::min(count, b.size() - from);
    if (files_.fail_reads_at >= 0 && offset + static_cast<int64_t>(*read) > files_.fail_reads_at) {
      // The bytes before the failing one arrive in this call; the next fails.
      *read = static_cast<size_t>(std::max<int64_t>(files_.fail_reads_at - offset, 0));
      if (*read == 0) return Status(Status::Kind::kIoError, "File System Error");
    }
    std::copy_n(b.data() + from, *read, buffer);
    return {};
  }
  Status WriteAt(int64_t offset, const char* data, size_t count) override {
    if (files_.fail_writes) return AccessDenied();
    const size_t at = static_cast<size_t>(offset);
    size_t fits = count;
    if (at + count > bytes().size() && files_.disk_free >= 0) {
      // A full disk takes what still fits, as a real one does.
      const size_t room = bytes().size() + static_cast<size_t>(files_.disk_free);
      fits = room > at ? std::min(count, room - at) : 0;
    }
    if (bytes().size() < at + fits) Grow(at + fits);
    std::copy_n(data, fits, bytes().begin() + at);
    return fits == count ? Status{} : Status(Status::Kind::kNoRoom, "File System Error");
  }
  Status Resize(int64_t size) override {
    if (files_.fail_writes) return AccessDenied();
    const size_t wanted = static_cast<size_t>(size);
    const size_t now = bytes().size();
    if (wanted > now && files_.disk_free >= 0 &&
        wanted - now > static_cast<size_t>(files_.disk_free)) {
      return Status(Status::Kind::kNoRoom, "File System Error");
    }
    if (wanted > now) {
      Grow(wanted);
    } else {
      if (files_.disk_free >= 0) files_.disk_free += static_cast<int64_t>(now - wanted);
      bytes().resize(wanted);
    }
    return {};
  }

 private:
  std::string& bytes() { return files_.contents[name_]; }
  void Grow(size_t size) {
    if (files_.disk_free >= 0) files_.disk_free -= static_cast<int64_t>(size - bytes().size());
    bytes().resize(size, '\0');
  }

  FakeFiles& files_;
  std::string name_;
  bool deny_write_;
};

class FakeLock : public ProcessLock {
 public:
  FakeLock(std::set<std::string>& held, std::string name) : held_(held), name_(std::move(name)) {}
  ~FakeLock() override { held_.erase(name_); }

 private:
  std::set<std::string>& held_;
  std::string name_;
};

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

std::string FakeProfile::Read(const std::string& section, const std::string& entry,
                              const std::string& default_value, const std::string& file) {
  std::string value = default_value;
  if (const Entries* entries = FindSection(file, section)) {
    for (const auto& [key, v] : *entries) {
      if (SameName(key, entry)) value = v;
    }
  }
  log.push_back({section, entry, value, file, false});
  return value;
}

void FakeProfile::Write(const std::string& section, const std::string& entry,
                        const std::string& value, const std::string& file) {
  log.push_back({section, entry, value, file, true});
  Set(file, section, entry, value);
}

void FakeProfile::Remove(const std::string& section, const std::string& entry,
                         const std::string& file) {
  log.push_back({section, entry, "", file, true});
  for (auto& [name, entries] : files_[FileKey(file)]) {
    if (!SameName(name, section)) continue;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const auto& p) { return SameName(p.first, entry); }),
                  entries.end());
  }
}

void FakeProfile::Set(const std::string& file, const std::string& section, const std::string& entry,
                      const std::string& value) {
  auto& sections = files_[FileKey(file)];
  auto s = std::find_if(sections.begin(), sections.end(),
                        [&](const auto& p) { return SameName(p.first, section); });
  if (s == sections.end()) s = sections.insert(sections.end(), {section, {}});
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
  return entries && std::any_of(entries->begin(), entries->end(),
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

FakeProfile::Entries FakeProfile::Section(const std::string& file,
                                          const std::string& section) const {
  const Entries* entries = FindSection(file, section);
  return entries ? *entries : Entries{};
}

std::vector<FakeProfile::Access> FakeProfile::writes() const {
  std::vector<Access> result;
  std::copy_if(log.begin(), log.end(), std::back_inserter(result),
               [](const Access& a) { return a.write; });
  return result;
}

bool FakeProfile::FailsReads(const std::string& file) const {
  return std::any_of(fail_reads.begin(), fail_reads.end(),
                     [&](const std::string& name) { return FileKey(name) == FileKey(file); });
}

Status FakeEnv::OpenFile(const std::string& name, Share share, IfMissing missing,
                         std::unique_ptr<File>* file) {
  const bool exists = files.contents.count(name) != 0;
  if (!exists && missing == IfMissing::kFail) return FileNotFound();
  if (files.locked.count(name) || files.held_deny_write[name] > 0) return FileIsLocked();
  if (!exists) {
    files.contents[name];
    ++files.creates;
  }
  ++files.opens;
  *file = std::make_unique<FakeFile>(files, name, share == Share::kDenyWrite);
  return {};
}

bool FakeEnv::SameFile(const std::string& a, const std::string& b) {
  return SameName(a, b) && std::any_of(files.contents.begin(), files.contents.end(),
                                       [&](const auto& file) { return SameName(file.first, a); });
}

Status FakeEnv::ReplaceContents(const std::string& name, const std::string& bytes) {
  if (files.contents.count(name) == 0) return FileNotFound();
  if (files.locked.count(name) || files.held_deny_write[name] > 0) return FileIsLocked();
  if (files.fail_writes) return AccessDenied();
  // The new bytes are written beside the old ones before they take their place.
  if (files.disk_free >= 0 && static_cast<int64_t>(bytes.size()) > files.disk_free) {
    return Status(Status::Kind::kNoRoom, "File System Error");
  }
  if (files.disk_free >= 0) {
    files.disk_free +=
        static_cast<int64_t>(files.contents[name].size()) - static_cast<int64_t>(bytes.size());
  }
  files.contents[name] = bytes;
  return {};
}

Status FakeEnv::AppendToFile(const std::string& name, const std::string& bytes) {
  if (files.locked.count(name) || files.held_deny_write[name] > 0) return FileIsLocked();
  if (files.fail_writes) return AccessDenied();
  if (files.disk_free >= 0 && static_cast<int64_t>(bytes.size()) > files.disk_free) {
    return Status(Status::Kind::kNoRoom, "File System Error");
  }
  if (files.disk_free >= 0) files.disk_free -= static_cast<int64_t>(bytes.size());
  files.contents[name] += bytes;
  return {};
}

std::string FakeEnv::ShortPath(const std::string& path) {
  if (path.empty()) return files.current_directory_short;
  auto found = files.short_names.find(path);
  return found == files.short_names.end() ? path : found->second;
}

Status FakeEnv::StartProgram(const std::string& program, const std::string& arguments) {
  if (!FileExists(program)) return {Status::Kind::kNotFound, "File Not Found", 2};
  programs.started.push_back({program, arguments});
  if (programs.start_fails_with == 0) return {};
  return {Status::Kind::kNotFound, "Program could not be started", programs.start_fails_with};
}

Status FakeEnv::LockAcrossProcesses(const std::string& name, int32_t,
                                    std::unique_ptr<ProcessLock>* lock) {
  if (!programs.held.insert(name).second) return {Status::Kind::kHeld, "Held by another program"};
  programs.locked.push_back(name);
  *lock = std::make_unique<FakeLock>(programs.held, name);
  return {};
}

DateTime FakeEnv::Now() {
  const DateTime now{clock.today, clock.time};
  clock.time = (clock.time + clock.step) % kHundredthsPerDay;
  return now;
}

void FakeEnv::Pause(int32_t hundredths) {
  clock.paused += hundredths;
  clock.time = (clock.time + hundredths) % kHundredthsPerDay;
}

Status FakeDdeClient::Open(const std::string& application, int32_t* channel) {
  *channel = 0;
  if (before_connect) before_connect(application);
  connects.push_back(application);
  if (services.count(application) == 0) return DdeFailure(kDdeServerNotFound);
  *channel = next_channel++;
  open.insert(*channel);
  return {};
}

Status FakeDdeClient::Send(int32_t channel, const std::string& command) {
  if (open.count(channel) == 0) return DdeFailure(kDdeChannelNotOpen);
  executes.push_back({channel, command});
  if (on_execute) on_execute(command);
  return execute_error != 0 ? DdeFailure(execute_error) : Status{};
}

Status FakeDdeClient::Request(int32_t channel, const std::string& item, std::string* value) {
  requests.push_back({channel, item});
  if (open.count(channel) == 0) return DdeFailure(kDdeChannelNotOpen);
  if (request_error != 0) return DdeFailure(request_error);
  auto found = items.find(item);
  if (found == items.end()) return DdeFailure(kDdeRefused);
  *value = found->second;
  return {};
}

Status FakeDdeClient::Close(int32_t channel) {
  if (open.erase(channel) == 0) return DdeFailure(kDdeChannelNotOpen);
  closed.push_back(channel);
  return {};
}

}  // namespace zqmv5
