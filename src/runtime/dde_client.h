#ifndef ZQMV5_RUNTIME_DDE_CLIENT_H_
#define ZQMV5_RUNTIME_DDE_CLIENT_H_

#include <cstdint>
#include <string>

#include "runtime/error_state.h"

namespace zqmv5 {

// DDE-level failures, numbered above the runtime's own errors (which end at
// 600) so that callers can tell them apart.
constexpr int kDdeServerNotFound = 601;     // no server of that application answered
constexpr int kDdeChannelNotOpen = 602;     // channel 0, never opened, or already closed
constexpr int kDdeTimeOut = 603;            // the server did not answer within the time-out
constexpr int kDdeServerBusy = 604;         // the server answered that it is busy
constexpr int kDdeRefused = 605;            // the server refused the command or has no such item
constexpr int kDdeConversationEnded = 606;  // the server ended the conversation or went away
constexpr int kDdeNotAvailable = 607;       // DDE could not be started in this program
constexpr int kDdeFailed = 608;             // any other DDE failure

// The standard text of a DDE error number (601 to 608); "" for any other
// number.
std::string DdeErrorText(int code);

// Sets `error` to a DDE error number and its standard text.
void SetDdeError(ErrorState& error, int code);

// The default time-out of DDE transactions until one is set, in hundredths of
// a second.
constexpr int32_t kDefaultDdeTimeOut = 12000;

// The client side of DDE conversations. Every call sets the error state: 0
// after success, one of the numbers above for a DDE-level failure. An
// operation on channel 0 or on a channel that is not open fails at once with
// kDdeChannelNotOpen, without waiting for the time-out.
class DdeClient {
 public:
  virtual ~DdeClient() = default;

  // Opens a conversation with a server of `application` on `topic`. An empty
  // topic asks for any topic; an empty application asks any server. When the
  // topic is empty and the application text holds a comma, the text before the
  // comma is the application and the text after it the topic. Returns the
  // channel (never 0 on success), or 0 when no server answers.
  virtual int32_t ConnectChannel(const std::string& application, const std::string& topic) = 0;

  // Sends `command` as an execute transaction and waits for the server's
  // answer, at most the time-out.
  virtual void ExecuteCommand(int32_t channel, const std::string& command) = 0;

  // Requests the current value of `item` as text. A number is read from the
  // text as the INI service reads numbers: a text that is not a number gives 0.
  // On failure the value is left as it was.
  virtual void RequestNumber(int32_t channel, const std::string& item, int32_t* value) = 0;
  virtual void RequestText(int32_t channel, const std::string& item, std::string* value) = 0;

  // Ends the conversation; the channel is no longer open afterwards, even when
  // the server had already gone.
  virtual void CloseChannel(int32_t channel) = 0;

  // The response (non-zero: positive) with which this client acknowledges data
  // that a server sends it unasked from now on.
  virtual void Acknowledge(uint8_t response) = 0;

  // The time-out of later transactions, in hundredths of a second; a value
  // below 1 is taken as 100 (one second).
  virtual void SetTimeout(int32_t hundredths) = 0;
};

// The numeric value of a DDE item's text: optional blanks, an optional sign,
// then digits, which end at the first other character; anything else gives 0.
// Values beyond the range of a LONG are held at its limits.
int32_t DdeNumberFromText(const std::string& text);

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_DDE_CLIENT_H_
