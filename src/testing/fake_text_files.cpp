#include "testing/fake_text_files.h"

#include <algorithm>

namespace zqmv5 {
namespace {

Status Error(int code) { return {code, RuntimeErrorText(code)}; }

constexpr int kDiskFull = kFileSystemError;

}  // namespace

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
    if (files_.fail_reads_at >= 0 && offset + static_cast<int64_t>(*read) > files_.fail_reads_at) {
      // The bytes before the failing one arrive in this call.
      *read = static_cast<size_t>(std::max<int64_t>(files_.fail_reads_at - offset, 0));
      if (*read == 0) return Failed(Error(kFileSystemError));
    }
    std::copy_n(b.data() + from, *read, buffer);
    return true;
  }
  bool WriteAt(int64_t offset, const char* data, size_t count) override {
    if (files_.fail_writes_with != 0) return Failed(Error(files_.fail_writes_with));
    std::string& b = bytes();
    const size_t at = static_cast<size_t>(offset);
    size_t fits = count;
    if (at + count > b.size() && files_.disk_free >= 0) {
      // A full disk takes what still fits, as a real one does.
      const size_t room = b.size() + static_cast<size_t>(files_.disk_free);
      fits = room > at ? std::min(count, room - at) : 0;
    }
    if (b.size() < at + fits) Grow(at + fits);
    std::copy_n(data, fits, b.begin() + at);
    return fits == count || Failed(Error(kDiskFull));
  }
  bool Resize(int64_t size) override {
    if (files_.fail_writes_with != 0) return Failed(Error(files_.fail_writes_with));
    const size_t wanted = static_cast<size_t>(size);
    if (wanted > bytes().size() && files_.disk_free >= 0 &&
        wanted - bytes().size() > static_cast<size_t>(files_.disk_free)) {
      return Failed(Error(kDiskFull));
    }
    if (wanted > bytes().size()) {
      Grow(wanted);
    } else {
      if (files_.disk_free >= 0) files_.disk_free += static_cast<int64_t>(bytes().size() - wanted);
      bytes().resize(wanted);
    }
    return true;
  }
  Status LastError() override { return error_; }

 private:
  std::string& bytes() { return files_.contents[name_]; }
  void Grow(size_t size) {
    if (files_.disk_free >= 0) files_.disk_free -= static_cast<int64_t>(size - bytes().size());
    bytes().resize(size, '\0');
  }
  bool Failed(Status status) {
    error_ = std::move(status);
    return false;
  }

  FakeTextFiles& files_;
  std::string name_;
  bool deny_write_;
  Status error_;
};

std::unique_ptr<ByteStore> FakeTextFiles::OpenStore(const std::string& name, FileAccess access,
                                                    Status* error) {
  if (contents.count(name) == 0) {
    *error = Error(kFileNotFound);
    return nullptr;
  }
  if (locked[name] || open_deny_write_[name] > 0) {
    *error = Error(kFileIsLocked);
    return nullptr;
  }
  ++opens;
  return std::make_unique<FakeStore>(*this, name, access == FileAccess::kReadWriteDenyWrite);
}

bool FakeTextFiles::CreateEmpty(const std::string& name, Status* error) {
  auto it = contents.find(name);
  if (it != contents.end() && !it->second.empty()) {
    *error = Error(kAccessDenied);
    return false;
  }
  if (locked[name]) {
    *error = Error(kFileIsLocked);
    return false;
  }
  contents[name];
  ++creates;
  return true;
}

}  // namespace zqmv5
