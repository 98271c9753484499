#ifndef ZQMV5_TESTING_FAKE_DDE_CLIENT_H_
#define ZQMV5_TESTING_FAKE_DDE_CLIENT_H_

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "runtime/dde_client.h"
#include "runtime/error_state.h"

namespace zqmv5 {

// DDE conversations with scripted servers. A connect succeeds when its
// application text is in `services`; items answer from `items`; everything the
// client was asked to do is recorded in order. Channels are numbered from
// `next_channel` upwards. Errors follow the real client: an operation on a
// channel that is not open fails with kDdeChannelNotOpen.
class FakeDdeClient : public DdeClient {
 public:
  struct Sent {
    int32_t channel = 0;
    std::string text;  // the command, or the item requested
  };

  explicit FakeDdeClient(ErrorState& error) : error_(error) {}

  int32_t ConnectChannel(const std::string& application, const std::string& topic) override;
  void ExecuteCommand(int32_t channel, const std::string& command) override;
  void RequestNumber(int32_t channel, const std::string& item, int32_t* value) override;
  void RequestText(int32_t channel, const std::string& item, std::string* value) override;
  void CloseChannel(int32_t channel) override;
  void Acknowledge(uint8_t response) override;
  void SetTimeout(int32_t hundredths) override;

  // The servers.
  std::set<std::string> services;            // application texts that answer a connect
  std::map<std::string, std::string> items;  // item values; other items are refused
  int execute_error = 0;                     // non-zero: executes fail with this number
  std::function<void(const std::string&)> before_connect;  // runs before each connect
  std::function<void(const std::string&)> on_execute;      // runs as a command arrives

  // What the client was asked.
  std::vector<std::string> connects;  // application texts, in order
  std::vector<std::string> topics;    // the topic of each connect
  std::vector<Sent> executes;         // commands that reached a server
  std::vector<Sent> requests;         // every request, also failed ones
  std::vector<int32_t> closed;        // channels closed
  std::vector<uint8_t> acknowledgements;
  std::vector<int32_t> timeouts;  // every SetTimeout
  std::set<int32_t> open;         // channels open now
  int32_t next_channel = 1;

 private:
  bool IsOpen(int32_t channel);
  bool Answer(int32_t channel, const std::string& item, std::string* text);
  ErrorState& error_;
};

}  // namespace zqmv5

#endif  // ZQMV5_TESTING_FAKE_DDE_CLIENT_H_
