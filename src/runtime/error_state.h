#ifndef ZQMV5_RUNTIME_ERROR_STATE_H_
#define ZQMV5_RUNTIME_ERROR_STATE_H_

#include <string>

namespace zqmv5 {

// Runtime error numbers. Runtime errors are at most 600; numbers above 600 are
// DDE-level failures (see dde_client.h).
constexpr int kNoError = 0;
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kTooManyOpenFiles = 4;
constexpr int kAccessDenied = 5;
constexpr int kFileIsLocked = 32;
constexpr int kRecordNotAvailable = 33;
constexpr int kFileNotOpen = 37;
constexpr int kInvalidRecord = 38;
constexpr int kFileAlreadyOpen = 52;
constexpr int kFileSystemError = 90;
constexpr int kUtf16File = 91;
constexpr int kLastRuntimeError = 600;

// The standard text of a runtime error number; "" for 0.
std::string RuntimeErrorText(int code);

// The outcome of one operation: kNoError and no text when it succeeded.
struct Status {
  int code = kNoError;
  std::string text;
  bool ok() const { return code == kNoError; }
};

// The error number and text that every runtime operation leaves behind.
// Nothing in the system raises: callers look here where the behaviour says so.
class ErrorState {
 public:
  int code() const { return code_; }
  const std::string& text() const { return text_; }

  void Clear() { Set(kNoError, ""); }
  void Set(int code, std::string text) {
    code_ = code;
    text_ = std::move(text);
  }
  void Set(const Status& status) { Set(status.code, status.text); }
  // Sets a runtime error with its standard text.
  void SetRuntime(int code) { Set(code, RuntimeErrorText(code)); }

 private:
  int code_ = kNoError;
  std::string text_;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_ERROR_STATE_H_
