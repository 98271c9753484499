#ifndef ZQMV5_DDE_DDE_CONNECTION_H_
#define ZQMV5_DDE_DDE_CONNECTION_H_

#include <cstdint>
#include <string>

#include "dde/connection_log.h"
#include "env/env.h"

namespace zqmv5 {

// How long Connect keeps trying after the IDE was started, measured from
// before the first attempt, and the rest between two attempts, in hundredths
// of a second.
constexpr int32_t kConnectBound = 3000;
constexpr int32_t kConnectRetryPause = 6;

// A DDE client conversation with the IDE: opens it, starting the IDE once when
// it does not answer and waiting a bounded time for it, sends commands, and
// keeps the last error as a number and a text. The Env and the log must
// outlive the object.
class DdeConnection {
 public:
  // The settings of the conversation.
  struct Settings {
    std::string app;      // the service to connect to, at most 119 characters
    std::string exe;      // the command that starts the server, at most 119
    int32_t timeout = 0;  // of DDE transactions, in hundredths of a second
  };

  DdeConnection(Env& env, ConnectionLog& log) : env_(env), log_(log) {}
  DdeConnection(const DdeConnection&) = delete;
  DdeConnection& operator=(const DdeConnection&) = delete;

  // Sets the IDE's service "ClarionWin", `exe` as the program to start and a
  // time-out of two minutes.
  void Init(const std::string& exe);
  // Opens the conversation, starting settings.exe once when the first attempt
  // finds no server and trying again for up to kConnectBound. Returns the low
  // 8 bits of error_code when that is not 0 at the end, otherwise of the
  // start's result (0 when nothing was started or the start succeeded).
  uint8_t Connect();
  // Opens a conversation with settings.app (closing an open one first);
  // channel is 0 when no server answered.
  void Open();
  // Starts settings.exe without waiting (when it is not blank), then calls
  // Open. Returns the low 8 bits of the start's result.
  uint8_t StartServer();
  // Sends "[command]" when a conversation is open; refreshes the error in any
  // case. True when the server took the command.
  bool Execute(const std::string& command);
  // Executes RegisterTemplateChain(file,flag).
  bool RegisterTemplate(const std::string& file, uint8_t flag);
  // Takes the outcome of the last operation into error_code and error_text. A
  // DDE-level error (above 600) is replaced by what the server's items
  // "GetErrorNum" and "GetErrorMsg" hold, where the server answers; a server
  // that did not answer in time is not asked.
  void RefreshError();
  // Ends an open conversation (then refreshes the error); channel is 0
  // afterwards.
  void Close();
  // Close when a conversation is open; otherwise nothing at all.
  void Disconnect();

  Settings settings;
  int32_t channel = 0;     // the open conversation; 0 = none
  int32_t error_code = 0;  // the last error; 0 = none
  std::string error_text;  // its text, at most 124 characters

 private:
  Env& env_;
  ConnectionLog& log_;
  Status last_;  // the outcome of the last operation on the platform
};

}  // namespace zqmv5

#endif  // ZQMV5_DDE_DDE_CONNECTION_H_
