#ifndef ZQMV5_DDE_DDE_CONNECTION_H_
#define ZQMV5_DDE_DDE_CONNECTION_H_

#include <cstdint>
#include <string>
#include <utility>

#include "dde/connection_log.h"
#include "env/env.h"

namespace zqmv5 {

// How long Connect keeps trying after the IDE was started, measured from
// before the first attempt, and the rest between two attempts, in hundredths
// of a second. The IDE takes many seconds to start; the rest keeps a loop of
// DDE broadcasts from taking a whole processor from it meanwhile, while the
// command still arrives within a tenth of a second of its answering.
constexpr int32_t kConnectBound = 3000;
constexpr int32_t kConnectRetryPause = 6;
// The time-out of every transaction, likewise: a command may make the IDE
// read a whole template chain before it answers.
constexpr int32_t kTransactionTimeOut = 12000;

// A DDE client conversation with the IDE's service "ClarionWin": opens it,
// starting the IDE once when it does not answer and waiting a bounded time
// for it, sends commands, and closes it. Each step's failure says what went
// wrong, with the IDE's own error number and message where the IDE could be
// asked. The Env and the log must outlive the object.
class DdeConnection {
 public:
  // `exe` names the IDE's program and its arguments, as RunProgram takes
  // them; blank starts nothing.
  DdeConnection(Env& env, ConnectionLog& log, std::string exe)
      : env_(env), log_(log), exe_(std::move(exe)) {}
  DdeConnection(const DdeConnection&) = delete;
  DdeConnection& operator=(const DdeConnection&) = delete;
  // A conversation that does not close well has still carried its commands.
  ~DdeConnection() { Close(); }

  // Opens the conversation, starting the IDE once when the first attempt
  // finds no server and trying again for up to kConnectBound. A start that
  // fails ends it at once, with that failure. Each step goes to the
  // connection log.
  Status Connect();
  // True when Connect started the IDE and the start failed.
  bool start_failed() const { return start_failed_; }
  // Sends "[command]" on the open conversation; fails when none is open or
  // the IDE did not take it.
  Status Execute(const std::string& command);
  // Asks the IDE to register `file` as a template chain.
  Status RegisterTemplate(const std::string& file);
  // Ends the open conversation; with none open it does nothing.
  Status Close();

 private:
  // `failure` with what the IDE's items "GetErrorNum" and "GetErrorMsg" say
  // of it, where the IDE can be asked.
  Status Explained(const Status& failure);

  Env& env_;
  ConnectionLog& log_;
  const std::string exe_;
  int32_t channel_ = 0;  // the open conversation; 0 = none
  bool start_failed_ = false;
};

}  // namespace zqmv5

#endif  // ZQMV5_DDE_DDE_CONNECTION_H_
