#include "testing/fake_text_files.h"

#include <algorithm>

namespace zqmv5 {

class FakeStore : public ByteStore {
 public:
  FakeStore(FakeTextFiles& files, std::string name, bool deny_write)
      : files_(files), name_(std::move(name)), deny_write_(deny_write) {
    if (deny_write_) ++files_.open_deny_write_[name_];
  }
  ~FakeStore() override {
    if (deny_write_) --files_.open_deny_write_[name_];
  }

  bool Size(int64_t* size) override {
    *size = static_cast<int64_t>(bytes().size());
    return true;
  }
  bool ReadAt(int64_t offset, char* buffer, size_t count, size_t* read) override {
    const std::string& b = bytes();
    const size_t from = std::min(static_cast<size_t>(offset), b.size());
    *read = std::min(count, b.size() - from);
    std::copy_n(b.data() + from, *read, buffer);
    return true;
  }
  bool WriteAt(int64_t offset, const char* data, size_t count) override {
    if (files_.fail_writes_with != 0) {
      error_ = files_.fail_writes_with;
      return false;
    }
    std::string& b = bytes();
    const size_t at = static_cast<size_t>(offset);
    if (b.size() < at + count) b.resize(at + count, '\0');
    std::copy_n(data, count, b.begin() + at);
    return true;
  }
  bool Truncate(int64_t size) override {
    if (files_.fail_writes_with != 0) {
      error_ = files_.fail_writes_with;
      return false;
    }
    bytes().resize(static_cast<size_t>(size));
    return true;
  }
  int LastError() override { return error_; }

 private:
  std::string& bytes() { return files_.contents[name_]; }
  FakeTextFiles& files_;
  std::string name_;
  bool deny_write_;
  int error_ = kNoError;
};

std::unique_ptr<ByteStore> FakeTextFiles::OpenStore(const std::string& name, FileAccess access,
                                                    int* error) {
  if (contents.count(name) == 0) {
    *error = kFileNotFound;
    return nullptr;
  }
  if (locked[name] || open_deny_write_[name] > 0) {
    *error = kFileIsLocked;
    return nullptr;
  }
  ++opens;
  return std::make_unique<FakeStore>(*this, name, access == FileAccess::kReadWriteDenyWrite);
}

bool FakeTextFiles::CreateEmpty(const std::string& name, int* error) {
  auto it = contents.find(name);
  if (it != contents.end() && !it->second.empty()) {
    *error = kAccessDenied;
    return false;
  }
  if (locked[name]) {
    *error = kFileIsLocked;
    return false;
  }
  contents[name];
  ++creates;
  return true;
}

}  // namespace zqmv5
