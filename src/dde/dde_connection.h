#ifndef ZQMV5_DDE_DDE_CONNECTION_H_
#define ZQMV5_DDE_DDE_CONNECTION_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "dde/connection_log.h"
#include "runtime/runtime.h"

namespace zqmv5 {

// Sizes of the connection's NUL-terminated and blank-padded text fields.
constexpr size_t kDdeErrorFieldSize = 125;
constexpr size_t kDdeNameFieldSize = 120;

// The IDE's DDE service, and the time-out that Init gives (two minutes).
inline constexpr char kIdeService[] = "ClarionWin";
constexpr int32_t kIdeTimeOut = 12000;

// How long Connect keeps trying after the IDE was started, measured from
// before the first attempt, and the rest between two attempts, in hundredths
// of a second.
constexpr int32_t kConnectBound = 3000;
constexpr int32_t kConnectRetryPause = 6;
// The most attempts that follow a rest, whatever the clock says.
constexpr int32_t kConnectMaxRetries = 2 * kConnectBound / kConnectRetryPause;

// The settings of a conversation; also the shape of Configure's argument.
struct DdeSettings {
  std::string APP;                     // service to connect to, at most 119 characters
  std::string EXE;                     // command that starts the server, at most 119
  uint8_t MODE = 0;                    // kept, not used
  const std::string* TOPIC = nullptr;  // the caller's topic, not copied; none when null
  int32_t TIMEOUT = 0;                 // hundredths of a second
};

// A DDE client conversation with the IDE: opens it, starting the IDE once when
// it does not answer and waiting a bounded time for it, sends commands, and
// keeps the last error as a number and a text. Connect reaches Open and
// StartServer through virtual dispatch, so that a derived class changes what
// Connect does. The runtime and the log must outlive the object.
class DdeConnection {
 public:
  DdeConnection(Runtime& runtime, ConnectionLog& log) : runtime_(runtime), log_(log) {}
  DdeConnection(const DdeConnection&) = delete;
  DdeConnection& operator=(const DdeConnection&) = delete;

  // Does nothing; a point for derived classes to hook into.
  virtual void Hook();
  // DDEERRORCODE and DDEERROR.
  virtual int32_t ErrorCode();
  virtual std::string ErrorText();
  // Passes the response to the DDE client's acknowledgement.
  virtual void Acknowledge(uint8_t response);
  // Opens the conversation, starting DDE.EXE once when the first attempt finds
  // no server and trying again for up to kConnectBound. Returns the low 8 bits
  // of DDEERRORCODE when that is not 0 at the end, otherwise of the start's
  // result (0 when nothing was started or the start succeeded).
  virtual uint8_t Connect();
  // Opens a conversation with DDE.APP (closing an open one first); CHANNEL is
  // 0 when no server answered.
  virtual void Open();
  // Starts DDE.EXE without waiting (when it is not blank), then calls Open.
  // Returns the low 8 bits of the start's result.
  virtual uint8_t StartServer();

  // Sets the IDE's service, `exe` as the program to start (first 119
  // characters) and the time-out kIdeTimeOut.
  void Init(const std::string& exe);
  // Copies the settings into DDE; a time-out of 0 becomes 100. The topic is
  // taken over only when the settings have one, and must outlive the object.
  void Configure(const DdeSettings& settings);
  // Sends "[command]" when a conversation is open; refreshes the error fields
  // in any case.
  void Execute(const std::string& command);
  // Executes RegisterTemplateChain(file,flag).
  void RegisterTemplate(const std::string& file, uint8_t flag);
  // Takes the runtime's current error into DDEERRORCODE and DDEERROR; a
  // DDE-level error (above 600) is replaced by what the server's items
  // "GetErrorNum" and "GetErrorMsg" hold, where the server answers.
  void RefreshError();
  // Ends an open conversation (then refreshes the error fields); CHANNEL is 0
  // afterwards.
  void Close();
  // Close when a conversation is open; otherwise nothing at all.
  void Disconnect();

  int32_t CHANNEL = 0;       // the open conversation; 0 = none
  std::string DDEERROR;      // text of the last error, at most 124 characters
  int32_t DDEERRORCODE = 0;  // number of the last error; 0 = none
  int32_t SAVTIMEOUT = 0;    // kept, not used
  DdeSettings DDE;
  std::string TOPIC = std::string(kDdeNameFieldSize, ' ');  // kept, not used
  std::string ITEM = std::string(kDdeNameFieldSize, ' ');   // kept, not used
  std::string VAL = std::string(kDdeNameFieldSize, ' ');    // kept, not used

 private:
  Runtime& runtime_;
  ConnectionLog& log_;
};

}  // namespace zqmv5

#endif  // ZQMV5_DDE_DDE_CONNECTION_H_
