#include "text/line_file.h"

#include <algorithm>

namespace zqmv5 {
namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

bool StartsWith(const std::string& bytes, std::string_view prefix) {
  return bytes.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

Status LineFile::Open(const std::string& name, Share share, IfMissing missing, int32_t wait) {
  // Another program holds the file only while it works on it.
  return RetryWhileHeld(env_, wait, [&] { return OpenOnce(name, share, missing); });
}

Status LineFile::OpenOnce(const std::string& name, Share share, IfMissing missing) {
  if (file_) return FileAlreadyOpen();
  std::unique_ptr<File> file;
  Status status = env_.OpenFile(name, share, missing, &file);
  std::string bytes;
  if (status.ok()) status = ReadWhole(*file, &bytes);
  if (!status.ok()) return status;
  if (LooksLikeUtf16(bytes)) return Utf16File();
  file_ = std::move(file);
  bytes_ = std::move(bytes);
  Parse();
  return {};
}

void LineFile::Close() {
  file_.reset();
  bytes_.clear();
  Parse();
}

// Splits `bytes_` into lines, which drops every change not yet committed.
void LineFile::Parse() {
  starts_.clear();
  lines_.clear();
  ends_.clear();
  line_end_.clear();
  first_changed_ = kNothingChanged;
  size_t start = StartsWith(bytes_, kUtf8Bom) ? 3 : 0;
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

void LineFile::Put(size_t index, std::string line) {
  if (index >= lines_.size() || lines_[index] == line) return;
  lines_[index] = std::move(line);
  first_changed_ = std::min(first_changed_, index);
}

void LineFile::Add(std::string line) {
  if (!lines_.empty() && ends_.back().empty()) {
    ends_.back() = line_end_;
    first_changed_ = std::min(first_changed_, lines_.size() - 1);
  }
  first_changed_ = std::min(first_changed_, lines_.size());
  lines_.push_back(std::move(line));
  ends_.push_back(line_end_);
}

void LineFile::Remove(size_t index) {
  if (index >= lines_.size()) return;
  // The line before a removed last line keeps its own line end.
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
  ends_.erase(ends_.begin() + static_cast<std::ptrdiff_t>(index));
  first_changed_ = std::min(first_changed_, index);
}

std::string LineFile::Contents() const {
  std::string bytes = StartsWith(bytes_, kUtf8Bom) ? kUtf8Bom : "";
  for (size_t i = 0; i < lines_.size(); ++i) bytes += lines_[i] + ends_[i];
  return bytes;
}

Status LineFile::Commit() {
  if (!file_) return FileNotOpen();
  if (first_changed_ == kNothingChanged) return {};
  // Everything before the first changed line stays; the rest is written anew.
  const size_t offset = first_changed_ < starts_.size() ? starts_[first_changed_] : bytes_.size();
  std::string tail;
  for (size_t i = first_changed_; i < lines_.size(); ++i) tail += lines_[i] + ends_[i];
  const Status status = Overwrite(*file_, static_cast<int64_t>(offset),
                                  std::string_view(bytes_).substr(offset), tail);
  if (!status.ok()) {
    Parse();
    return status;
  }
  bytes_.resize(offset);
  bytes_ += tail;
  Parse();
  return {};
}

}  // namespace zqmv5
