// What the Win32 files share among themselves and with their tests.
#ifndef ZQMV5_WIN32_WIN32_H_
#define ZQMV5_WIN32_WIN32_H_

#include <windows.h>
// windows.h leaves DDEML out when WIN32_LEAN_AND_MEAN is defined.
#include <ddeml.h>

#include <map>
#include <memory>
#include <set>
#include <string>

#include "env/env.h"

namespace zqmv5 {

// A Win32 error code as an error number and its text: the standard text of
// the number, or the system's own text where the number is the general
// kFileSystemError (a full disk, say).
Status StatusFromWin32(DWORD win32_error);

// The text after the program name in a Windows command line: the name ends at
// its closing quote when it starts with one, otherwise at the first blank or
// tab; the blanks and tabs after it are skipped.
std::string CommandTextAfterProgram(const std::string& command_line);

// The Log/Version dialog, made from its dialog resource.
Status OpenWin32VersionView(std::unique_ptr<VersionView>* view);

// DDE client conversations over the DDE Management Library, with the Env's
// DDE operations.
class DdeClient {
 public:
  ~DdeClient();
  Status Open(const std::string& application, const std::string& topic, int32_t* channel);
  Status Send(int32_t channel, const std::string& command);
  Status Request(int32_t channel, const std::string& item, std::string* value);
  Status Close(int32_t channel);
  void SetTimeOut(int32_t hundredths);

 private:
  Status Start();
  Status LastError(int32_t channel);

  DWORD instance_ = 0;
  std::map<int32_t, HCONV> channels_;
  std::set<int32_t> hung_;  // channels whose server did not answer in time
  bool gave_up_ = false;    // some conversation was given up
  int32_t next_channel_ = 1;
  DWORD timeout_ms_ = 120000;
};

}  // namespace zqmv5

#endif  // ZQMV5_WIN32_WIN32_H_
