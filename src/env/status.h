#ifndef ZQMV5_ENV_STATUS_H_
#define ZQMV5_ENV_STATUS_H_

#include <string>
#include <utility>

namespace zqmv5 {

// The outcome of one operation: ok, or a failure whose kind says what went
// wrong and whose message says it to people. What a lower layer knows (the
// platform's error number, a DDE failure's number, the IDE's own error) is
// detail in the message or the number, and never changes the kind: a
// failure cannot turn into success on its way up.
class Status {
 public:
  enum class Kind {
    kOk,
    kNotFound,        // no such file, folder, server or item
    kHeld,            // another program holds it, or is busy with it
    kNoRoom,          // the disk is full, or the file too large for memory
    kDenied,          // not allowed, or it would replace what must stay
    kRefused,         // the IDE did not take the command
    kTimedOut,        // no answer within the time allowed
    kNotAvailable,    // the service or the open file is not there to use
    kBadInput,        // the command line cannot be used as given
    kIoError,         // any other failure; the message says which
    kNoInstallation,  // the IDE's installation was found nowhere
  };

  Status() = default;  // ok
  Status(Kind kind, std::string message, int number = 0)
      : kind_(kind), message_(std::move(message)), number_(number) {}

  bool ok() const { return kind_ == Kind::kOk; }
  bool IsNotFound() const { return kind_ == Kind::kNotFound; }
  bool IsHeld() const { return kind_ == Kind::kHeld; }
  bool IsTimedOut() const { return kind_ == Kind::kTimedOut; }
  Kind kind() const { return kind_; }
  // For people; "" when ok.
  const std::string& message() const { return message_; }
  // The platform's error number, or a DDE failure's number; 0 when none.
  int number() const { return number_; }

  // The same failure, kind and number kept, in the words `message`; its
  // message after `what` and ": "; or "; " + `more` after it. Ok stays ok.
  Status Reworded(std::string message) const {
    return ok() ? *this : Status(kind_, std::move(message), number_);
  }
  Status About(const std::string& what) const { return Reworded(what + ": " + message_); }
  Status With(const std::string& more) const { return Reworded(message_ + "; " + more); }

 private:
  Kind kind_ = Kind::kOk;
  std::string message_;
  int number_ = 0;
};

// The failures that the file services and their fake share, with the
// standard texts that messages show and the platform's error number n, if any.
inline Status FileNotFound(int n = 0) { return {Status::Kind::kNotFound, "File Not Found", n}; }
inline Status PathNotFound(int n = 0) { return {Status::Kind::kNotFound, "Path Not Found", n}; }
inline Status AccessDenied(int n = 0) { return {Status::Kind::kDenied, "Access Denied", n}; }
inline Status FileIsLocked(int n = 0) { return {Status::Kind::kHeld, "File Is Locked", n}; }
inline Status FileNotOpen() { return {Status::Kind::kNotAvailable, "File Not Open"}; }
inline Status FileAlreadyOpen() { return {Status::Kind::kNotAvailable, "File Already Open"}; }
inline Status Utf16File() { return {Status::Kind::kIoError, "File Is UTF-16 Text"}; }

// DDE failures carry their numbers, above 600, which the README documents.
constexpr int kDdeServerNotFound = 601;     // no server of that service answered
constexpr int kDdeChannelNotOpen = 602;     // channel 0, never opened, or already closed
constexpr int kDdeTimeOut = 603;            // the server did not answer within the time-out
constexpr int kDdeServerBusy = 604;         // the server answered that it is busy
constexpr int kDdeRefused = 605;            // the server refused the command or has no such item
constexpr int kDdeConversationEnded = 606;  // the server ended the conversation or went away
constexpr int kDdeNotAvailable = 607;       // DDE could not be started in this program
constexpr int kDdeFailed = 608;             // any other DDE failure

// The DDE failure of that number, with its kind and standard text.
inline Status DdeFailure(int number) {
  using Kind = Status::Kind;
  static constexpr struct {
    int number;
    Kind kind;
    const char* text;
  } kFailures[] = {{kDdeServerNotFound, Kind::kNotFound, "DDE Server Not Found"},
                   {kDdeChannelNotOpen, Kind::kNotAvailable, "DDE Channel Not Open"},
                   {kDdeTimeOut, Kind::kTimedOut, "DDE Time-Out"},
                   {kDdeServerBusy, Kind::kHeld, "DDE Server Busy"},
                   {kDdeRefused, Kind::kRefused, "DDE Request Refused"},
                   {kDdeConversationEnded, Kind::kNotAvailable, "DDE Conversation Ended"},
                   {kDdeNotAvailable, Kind::kNotAvailable, "DDE Not Available"}};
  for (const auto& failure : kFailures) {
    if (failure.number == number) return {failure.kind, failure.text, number};
  }
  return {Kind::kIoError, "DDE Error", kDdeFailed};
}

}  // namespace zqmv5

#endif  // ZQMV5_ENV_STATUS_H_
