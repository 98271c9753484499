#ifndef ZQMV5_ENV_STATUS_H_
#define ZQMV5_ENV_STATUS_H_

#include <string>

namespace zqmv5 {

// Error numbers. Those up to 600 are the program's own runtime errors; those
// above 600 are DDE-level failures, which the IDE may explain itself.
constexpr int kNoError = 0;
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kAccessDenied = 5;
constexpr int kFileIsLocked = 32;
constexpr int kFileNotOpen = 37;
constexpr int kFileAlreadyOpen = 52;
constexpr int kFileSystemError = 90;  // any other file failure; the text says which
constexpr int kUtf16File = 91;
constexpr int kLastRuntimeError = 600;
constexpr int kDdeServerNotFound = 601;     // no server of that application answered
constexpr int kDdeChannelNotOpen = 602;     // channel 0, never opened, or already closed
constexpr int kDdeTimeOut = 603;            // the server did not answer within the time-out
constexpr int kDdeServerBusy = 604;         // the server answered that it is busy
constexpr int kDdeRefused = 605;            // the server refused the command or has no such item
constexpr int kDdeConversationEnded = 606;  // the server ended the conversation or went away
constexpr int kDdeNotAvailable = 607;       // DDE could not be started in this program
constexpr int kDdeFailed = 608;             // any other DDE failure

// The outcome of one operation: kNoError and no text when it succeeded.
struct Status {
  int code = kNoError;
  std::string text;
  bool ok() const { return code == kNoError; }
};

// The standard text of an error number.
inline std::string ErrorText(int code) {
  switch (code) {
    case kNoError:
      return "";
    case kFileNotFound:
      return "File Not Found";
    case kPathNotFound:
      return "Path Not Found";
    case kAccessDenied:
      return "Access Denied";
    case kFileIsLocked:
      return "File Is Locked";
    case kFileNotOpen:
      return "File Not Open";
    case kFileAlreadyOpen:
      return "File Already Open";
    case kFileSystemError:
      return "File System Error";
    case kUtf16File:
      return "File Is UTF-16 Text";
    case kDdeServerNotFound:
      return "DDE Server Not Found";
    case kDdeChannelNotOpen:
      return "DDE Channel Not Open";
    case kDdeTimeOut:
      return "DDE Time-Out";
    case kDdeServerBusy:
      return "DDE Server Busy";
    case kDdeRefused:
      return "DDE Request Refused";
    case kDdeConversationEnded:
      return "DDE Conversation Ended";
    case kDdeNotAvailable:
      return "DDE Not Available";
    case kDdeFailed:
      return "DDE Error";
    default:
      return "Error " + std::to_string(code);
  }
}

// A failure with its standard text.
inline Status Error(int code) { return {code, ErrorText(code)}; }

}  // namespace zqmv5

#endif  // ZQMV5_ENV_STATUS_H_
