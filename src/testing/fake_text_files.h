#ifndef ZQMV5_TESTING_FAKE_TEXT_FILES_H_
#define ZQMV5_TESTING_FAKE_TEXT_FILES_H_

#include <map>
#include <memory>
#include <string>

#include "runtime/error_state.h"
#include "runtime/text_file.h"

namespace zqmv5 {

// Text files in memory: `contents` maps a file name to its bytes.
class FakeTextFiles : public TextFiles {
 public:
  explicit FakeTextFiles(ErrorState& error) : error_(error) {}
  std::unique_ptr<TextFile> NewTextFile() override { return nullptr; }
  std::map<std::string, std::string> contents;

 private:
  ErrorState& error_;
};

}  // namespace zqmv5

#endif  // ZQMV5_TESTING_FAKE_TEXT_FILES_H_
