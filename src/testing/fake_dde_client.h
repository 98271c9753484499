#ifndef ZQMV5_TESTING_FAKE_DDE_CLIENT_H_
#define ZQMV5_TESTING_FAKE_DDE_CLIENT_H_

#include "runtime/dde_client.h"
#include "runtime/error_state.h"

namespace zqmv5 {

// A DDE client with no server anywhere.
class FakeDdeClient : public DdeClient {
 public:
  explicit FakeDdeClient(ErrorState& error) : error_(error) {}
  int32_t ConnectChannel(const std::string&, const std::string&) override { return 0; }
  void ExecuteCommand(int32_t, const std::string&) override {}
  void RequestNumber(int32_t, const std::string&, int32_t*) override {}
  void RequestText(int32_t, const std::string&, std::string*) override {}
  void CloseChannel(int32_t) override {}
  void Acknowledge(uint8_t) override {}
  void SetTimeout(int32_t) override {}

 private:
  ErrorState& error_;
};

}  // namespace zqmv5

#endif  // ZQMV5_TESTING_FAKE_DDE_CLIENT_H_
