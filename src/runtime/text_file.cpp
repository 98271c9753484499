#include "runtime/text_file.h"

#include <algorithm>
#include <limits>

namespace zqmv5 {
namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

bool StartsWith(const std::string& bytes, const char* prefix, size_t length) {
  return bytes.size() >= length && bytes.compare(0, length, prefix, length) == 0;
}

Status RuntimeError(int code) { return {code, RuntimeErrorText(code)}; }

}  // namespace

bool TextFile::Fail(Status status) {
  error_.Set(status);
  return false;
}

bool TextFile::Open(const std::string& name, FileAccess access) {
  if (store_) return Fail(RuntimeError(kFileAlreadyOpen));
  Status status;
  std::unique_ptr<ByteStore> store = opener_.OpenStore(name, access, &status);
  if (!store) return Fail(status.ok() ? RuntimeError(kFileSystemError) : status);
  int64_t size = 0;
  if (!store->Size(&size)) return Fail(store->LastError());
  if (static_cast<uint64_t>(size) > std::numeric_limits<size_t>::max() / 2) {
    return Fail(RuntimeError(kFileSystemError));
  }
  std::string bytes(static_cast<size_t>(size), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    size_t read = 0;
    if (!store->ReadAt(static_cast<int64_t>(done), bytes.data() + done, bytes.size() - done,
                       &read)) {
      return Fail(store->LastError());
    }
    if (read == 0) break;  // the file became shorter meanwhile
    done += read;
  }
  bytes.resize(done);
  if (StartsWith(bytes, "\xFF\xFE", 2) || StartsWith(bytes, "\xFE\xFF", 2)) {
    return Fail(RuntimeError(kUtf16File));
  }
  store_ = std::move(store);
  bytes_ = std::move(bytes);
  Parse();
  error_.Clear();
  return true;
}

bool TextFile::Create(const std::string& name) {
  if (store_) return Fail(RuntimeError(kFileAlreadyOpen));
  Status status;
  if (!opener_.CreateEmpty(name, &status)) {
    return Fail(status.ok() ? RuntimeError(kAccessDenied) : status);
  }
  error_.Clear();
  return true;
}

void TextFile::Close() {
  store_.reset();
  bytes_.clear();
  Parse();
}

// Splits `bytes_` into lines, which drops every change not yet committed.
void TextFile::Parse() {
  starts_.clear();
  lines_.clear();
  ends_.clear();
  first_changed_ = kNothingChanged;
  bom_ = StartsWith(bytes_, kUtf8Bom, 3) ? kUtf8Bom : "";
  line_end_.clear();
  size_t start = bom_.size();
  while (start < bytes_.size()) {
    const size_t end = bytes_.find_first_of("\r\n", start);
    starts_.push_back(start);
    if (end == std::string::npos) {
      lines_.push_back(bytes_.substr(start));
      ends_.emplace_back();
      break;
    }
    const size_t end_length = bytes_.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    lines_.push_back(bytes_.substr(start, end - start));
    ends_.push_back(bytes_.substr(end, end_length));
    if (line_end_.empty()) line_end_ = ends_.back();
    start = end + end_length;
  }
  if (line_end_.empty()) line_end_ = "\r\n";
}

void TextFile::Put(size_t index, std::string line) {
  if (index >= lines_.size() || lines_[index] == line) return;
  lines_[index] = std::move(line);
  first_changed_ = std::min(first_changed_, index);
}

void TextFile::Add(std::string line) {
  if (!lines_.empty() && ends_.back().empty()) {
    ends_.back() = line_end_;
    first_changed_ = std::min(first_changed_, lines_.size() - 1);
  }
  first_changed_ = std::min(first_changed_, lines_.size());
  lines_.push_back(std::move(line));
  ends_.push_back(line_end_);
}

// The bytes of the lines from `first_line` on.
std::string TextFile::Tail(size_t first_line) const {
  std::string tail;
  for (size_t i = first_line; i < lines_.size(); ++i) tail += lines_[i] + ends_[i];
  return tail;
}

bool TextFile::Commit() {
  if (!store_) return Fail(RuntimeError(kFileNotOpen));
  if (first_changed_ == kNothingChanged) {
    error_.Clear();
    return true;
  }
  // Everything before the first changed line stays; the rest is written anew.
  const size_t offset =
      first_changed_ < starts_.size() ? starts_[first_changed_] : bytes_.size();
  const std::string tail = Tail(first_changed_);
  const int64_t old_size = static_cast<int64_t>(bytes_.size());
  const int64_t new_size = static_cast<int64_t>(offset + tail.size());
  const int64_t at = static_cast<int64_t>(offset);

  // The room is claimed before any byte changes, so that a full disk fails
  // here with the file untouched. Should a later write fail all the same, the
  // old bytes go back.
  bool written = (new_size <= old_size || store_->Resize(new_size)) &&
                 store_->WriteAt(at, tail.data(), tail.size()) &&
                 (new_size >= old_size || store_->Resize(new_size));
  if (!written) {
    const Status failure = store_->LastError();
    store_->WriteAt(at, bytes_.data() + offset, bytes_.size() - offset);
    store_->Resize(old_size);
    Parse();
    return Fail(failure);
  }
  bytes_.resize(offset);
  bytes_ += tail;
  Parse();
  error_.Clear();
  return true;
}

}  // namespace zqmv5
