#include "runtime/line_file.h"

#include <algorithm>

namespace zqmv5 {
namespace {

constexpr size_t kChunk = 64 * 1024;

}  // namespace

bool LineFile::Fail(int code) {
  error_.SetRuntime(code);
  return false;
}

bool LineFile::StoreFailed() {
  cache_offset_ = -1;
  return Fail(store_ ? store_->LastError() : kFileNotOpen);
}

bool LineFile::Open(const std::string& name, FileAccess access) {
  if (store_) return Fail(kFileAlreadyOpen);
  int code = kNoError;
  store_ = opener_.OpenStore(name, access, &code);
  if (!store_) return Fail(code == kNoError ? kFileSystemError : code);
  starts_.clear();
  next_start_ = 0;
  sequence_ = 0;
  current_ = 0;
  cache_offset_ = -1;
  DetectLineEnd();
  error_.Clear();
  return true;
}

bool LineFile::Create(const std::string& name) {
  if (store_) return Fail(kFileAlreadyOpen);
  int code = kNoError;
  if (!opener_.CreateEmpty(name, &code)) return Fail(code == kNoError ? kAccessDenied : code);
  error_.Clear();
  return true;
}

void LineFile::Close() {
  store_.reset();
  starts_.clear();
  cache_.clear();
  cache_offset_ = -1;
  current_ = 0;
  sequence_ = 0;
  next_start_ = 0;
}

// The file's own line end is the first one in it; a file without one gets CRLF.
void LineFile::DetectLineEnd() {
  line_end_ = "\r\n";
  int64_t offset = 0;
  for (;;) {
    if (!Fill(offset)) return;
    const size_t in_cache = static_cast<size_t>(offset - cache_offset_);
    if (in_cache >= cache_.size()) return;
    const size_t lf = cache_.find('\n', in_cache);
    if (lf != std::string::npos) {
      const int64_t at = cache_offset_ + static_cast<int64_t>(lf);
      char before = 0;
      if (at > 0) {
        if (at - 1 >= cache_offset_) {
          before = cache_[lf - 1];
        } else if (Fill(at - 1)) {
          before = cache_[0];
        }
      }
      line_end_ = before == '\r' ? "\r\n" : "\n";
      return;
    }
    offset = cache_offset_ + static_cast<int64_t>(cache_.size());
  }
}

// Makes the cache hold the bytes from `offset` on (empty at the end of the file).
bool LineFile::Fill(int64_t offset) {
  if (cache_offset_ >= 0 && offset >= cache_offset_ &&
      offset < cache_offset_ + static_cast<int64_t>(cache_.size())) {
    return true;
  }
  cache_.resize(kChunk);
  size_t read = 0;
  if (!store_->ReadAt(offset, cache_.data(), kChunk, &read)) {
    cache_offset_ = -1;
    cache_.clear();
    return false;
  }
  cache_.resize(read);
  cache_offset_ = offset;
  return true;
}

bool LineFile::ReadLine(int64_t start, std::string* content, Span* span) {
  content->clear();
  int64_t offset = start;
  for (;;) {
    if (!Fill(offset)) return StoreFailed();
    const size_t from = static_cast<size_t>(offset - cache_offset_);
    if (from >= cache_.size()) {
      // The end of the file: a last line without a line end, or no line at all.
      if (offset == start) return Fail(kRecordNotAvailable);
      span->start = start;
      span->content_end = offset;
      span->next = offset;
      return true;
    }
    const size_t lf = cache_.find('\n', from);
    if (lf == std::string::npos) {
      content->append(cache_, from, std::string::npos);
      offset = cache_offset_ + static_cast<int64_t>(cache_.size());
      continue;
    }
    content->append(cache_, from, lf - from);
    span->start = start;
    span->next = cache_offset_ + static_cast<int64_t>(lf) + 1;
    span->content_end = span->next - 1;
    if (!content->empty() && content->back() == '\r') {
      content->pop_back();
      --span->content_end;
    }
    return true;
  }
}

bool LineFile::Write(int64_t offset, const std::string& data) {
  if (!store_->WriteAt(offset, data.data(), data.size())) return StoreFailed();
  // Keep the cache true to the file: patch what it holds of the written range.
  if (cache_offset_ >= 0) {
    const int64_t cache_end = cache_offset_ + static_cast<int64_t>(cache_.size());
    const int64_t end = offset + static_cast<int64_t>(data.size());
    if (offset >= cache_offset_ && end <= cache_end) {
      std::copy(data.begin(), data.end(), cache_.begin() + (offset - cache_offset_));
    } else if (end > cache_offset_ && offset < cache_end + 1) {
      cache_offset_ = -1;
    }
  }
  return true;
}

bool LineFile::SetToFirst() {
  if (!store_) return Fail(kFileNotOpen);
  next_start_ = 0;
  sequence_ = 0;
  error_.Clear();
  return true;
}

bool LineFile::Next(std::string* line) {
  if (!store_) return Fail(kFileNotOpen);
  std::string content;
  Span span;
  if (!ReadLine(next_start_, &content, &span)) return false;
  ++sequence_;
  if (starts_.size() < sequence_) starts_.resize(sequence_);
  starts_[sequence_ - 1] = span.start;
  next_start_ = span.next;
  current_ = sequence_;
  *line = std::move(content);
  error_.Clear();
  return true;
}

bool LineFile::Reget(uint32_t position, std::string* line) {
  if (!store_) return Fail(kFileNotOpen);
  if (position == 0) return Fail(kRecordNotAvailable);
  // Find the line: known ones directly, later ones by reading on.
  std::string content;
  Span span;
  while (starts_.size() < position) {
    int64_t from = 0;
    if (!starts_.empty()) {
      if (!ReadLine(starts_.back(), &content, &span)) return false;
      from = span.next;
    }
    if (!ReadLine(from, &content, &span)) return false;
    starts_.push_back(span.start);
  }
  if (!ReadLine(starts_[position - 1], &content, &span)) return false;
  current_ = position;
  sequence_ = position;
  next_start_ = span.next;
  *line = std::move(content);
  error_.Clear();
  return true;
}

bool LineFile::Put(const std::string& line) {
  if (!store_) return Fail(kFileNotOpen);
  if (current_ == 0 || current_ > starts_.size()) return Fail(kRecordNotAvailable);
  std::string old;
  Span span;
  if (!ReadLine(starts_[current_ - 1], &old, &span)) return false;
  const int64_t old_length = span.content_end - span.start;
  const int64_t delta = static_cast<int64_t>(line.size()) - old_length;
  if (delta == 0) {
    if (!Write(span.start, line)) return false;
    error_.Clear();
    return true;
  }
  // A different length: the rest of the file moves. Read it whole first so
  // that no byte of a later line is overwritten before it has been read.
  int64_t size = 0;
  if (!store_->Size(&size)) return StoreFailed();
  std::string rest(static_cast<size_t>(size - span.content_end), '\0');
  size_t read = 0;
  if (!rest.empty() &&
      (!store_->ReadAt(span.content_end, rest.data(), rest.size(), &read) || read != rest.size())) {
    return StoreFailed();
  }
  cache_offset_ = -1;
  if (!Write(span.start, line + rest)) return false;
  if (delta < 0 && !store_->Truncate(size + delta)) return StoreFailed();
  for (size_t i = current_; i < starts_.size(); ++i) starts_[i] += delta;
  if (next_start_ > span.start) next_start_ += delta;
  error_.Clear();
  return true;
}

bool LineFile::Add(const std::string& line) {
  if (!store_) return Fail(kFileNotOpen);
  int64_t size = 0;
  if (!store_->Size(&size)) return StoreFailed();
  std::string data;
  if (size > 0) {
    char last = 0;
    size_t read = 0;
    if (!store_->ReadAt(size - 1, &last, 1, &read) || read != 1) return StoreFailed();
    // An unterminated last line is ended first, so the new line stands apart.
    if (last != '\n') {
      data = line_end_;
      if (next_start_ == size) next_start_ += static_cast<int64_t>(line_end_.size());
    }
  }
  data += line;
  data += line_end_;
  if (!Write(size, data)) return false;
  error_.Clear();
  return true;
}

}  // namespace zqmv5
