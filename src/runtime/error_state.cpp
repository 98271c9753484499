#include "runtime/error_state.h"

namespace zqmv5 {

std::string RuntimeErrorText(int code) {
  switch (code) {
    case kNoError: return "";
    case kFileNotFound: return "File Not Found";
    case kPathNotFound: return "Path Not Found";
    case kTooManyOpenFiles: return "Too Many Open Files";
    case kAccessDenied: return "Access Denied";
    case kFileIsLocked: return "File Is Locked";
    case kRecordNotAvailable: return "Record Not Available";
    case kFileNotOpen: return "File Not Open";
    case kInvalidRecord: return "Invalid Record Declaration";
    case kFileAlreadyOpen: return "File Already Open";
    case kFileSystemError: return "File System Error";
    case kUtf16File: return "File Is UTF-16 Text";
    default: return "Error " + std::to_string(code);
  }
}

}  // namespace zqmv5
