#ifndef ZQMV5_RUNTIME_DDE_CLIENT_H_
#define ZQMV5_RUNTIME_DDE_CLIENT_H_

#include <cstdint>
#include <string>

namespace zqmv5 {

// The client side of DDE conversations. Every call sets the error state: 0
// after success, a number above 600 for a DDE-level failure.
class DdeClient {
 public:
  virtual ~DdeClient() = default;

  // Opens a conversation with a server of `application` (topic "" = any).
  // Returns its channel, or 0 when no server answers.
  virtual int32_t ConnectChannel(const std::string& application, const std::string& topic) = 0;

  // Sends `command` as an execute transaction.
  virtual void ExecuteCommand(int32_t channel, const std::string& command) = 0;

  // Requests the current value of `item` as a number or as text. On failure
  // the value is left as it was.
  virtual void RequestNumber(int32_t channel, const std::string& item, int32_t* value) = 0;
  virtual void RequestText(int32_t channel, const std::string& item, std::string* value) = 0;

  // Ends the conversation.
  virtual void CloseChannel(int32_t channel) = 0;

  // Sends an acknowledgement carrying `response`.
  virtual void Acknowledge(uint8_t response) = 0;

  // The time-out of later transactions, in hundredths of a second.
  virtual void SetTimeout(int32_t hundredths) = 0;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_DDE_CLIENT_H_
