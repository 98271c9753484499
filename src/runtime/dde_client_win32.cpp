#include <windows.h>

#include "runtime/win32_backends.h"

namespace zqmv5 {
namespace {

class Win32DdeClient : public DdeClient {
 public:
  int32_t ConnectChannel(const std::string&, const std::string&) override { return 0; }
  void ExecuteCommand(int32_t, const std::string&) override {}
  void RequestNumber(int32_t, const std::string&, int32_t*) override {}
  void RequestText(int32_t, const std::string&, std::string*) override {}
  void CloseChannel(int32_t) override {}
  void Acknowledge(uint8_t) override {}
  void SetTimeout(int32_t) override {}
};

}  // namespace

std::unique_ptr<DdeClient> NewWin32DdeClient(ErrorState&) {
  return std::make_unique<Win32DdeClient>();
}

}  // namespace zqmv5
