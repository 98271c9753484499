#ifndef ZQMV5_TESTING_FAKE_TEXT_FILES_H_
#define ZQMV5_TESTING_FAKE_TEXT_FILES_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "runtime/error_state.h"
#include "runtime/text_file.h"

namespace zqmv5 {

// Text files in memory, with the real line logic: `contents` maps a file name
// (exactly as the program names it) to its bytes. Sharing is enforced as the
// platform would: a file held with writes denied cannot be opened again, and
// names in `locked` cannot be opened at all (another program holds them).
class FakeTextFiles : public TextFiles, public ByteStoreOpener {
 public:
  explicit FakeTextFiles(ErrorState& error) : error_(error) {}

  std::unique_ptr<TextFile> NewTextFile() override {
    return std::make_unique<TextFile>(*this, error_);
  }

  std::unique_ptr<ByteStore> OpenStore(const std::string& name, FileAccess access,
                                       Status* error) override;
  bool CreateEmpty(const std::string& name, Status* error) override;

  std::map<std::string, std::string> contents;
  std::map<std::string, bool> locked;  // name -> held by another program

  // Failure switches.
  int fail_writes_with = 0;   // non-zero: every write fails with this error
  int64_t disk_free = -1;     // bytes the files may still grow by; -1: no limit
  int64_t fail_reads_at = -1; // a read that reaches this byte fails; -1: never

  int opens = 0;    // successful opens, for tests
  int creates = 0;  // successful creates

 private:
  friend class FakeStore;
  ErrorState& error_;
  std::map<std::string, int> open_deny_write_;  // name -> stores open with writes denied
};

}  // namespace zqmv5

#endif  // ZQMV5_TESTING_FAKE_TEXT_FILES_H_
