#include "testing/fake_dde_client.h"

namespace zqmv5 {

int32_t FakeDdeClient::ConnectChannel(const std::string& application, const std::string& topic) {
  if (before_connect) before_connect(application);
  connects.push_back(application);
  topics.push_back(topic);
  if (services.count(application) == 0) {
    SetDdeError(error_, kDdeServerNotFound);
    return 0;
  }
  const int32_t channel = next_channel++;
  open.insert(channel);
  error_.Clear();
  return channel;
}

bool FakeDdeClient::IsOpen(int32_t channel) {
  if (open.count(channel) != 0) return true;
  SetDdeError(error_, kDdeChannelNotOpen);
  return false;
}

void FakeDdeClient::ExecuteCommand(int32_t channel, const std::string& command) {
  if (!IsOpen(channel)) return;
  executes.push_back({channel, command});
  if (on_execute) on_execute(command);
  if (execute_error != 0) {
    SetDdeError(error_, execute_error);
  } else {
    error_.Clear();
  }
}

bool FakeDdeClient::Answer(int32_t channel, const std::string& item, std::string* text) {
  requests.push_back({channel, item});
  if (!IsOpen(channel)) return false;
  auto found = items.find(item);
  if (found == items.end()) {
    SetDdeError(error_, kDdeRefused);
    return false;
  }
  *text = found->second;
  error_.Clear();
  return true;
}

void FakeDdeClient::RequestNumber(int32_t channel, const std::string& item, int32_t* value) {
  std::string text;
  if (Answer(channel, item, &text)) *value = DdeNumberFromText(text);
}

void FakeDdeClient::RequestText(int32_t channel, const std::string& item, std::string* value) {
  std::string text;
  if (Answer(channel, item, &text)) *value = text;
}

void FakeDdeClient::CloseChannel(int32_t channel) {
  if (!IsOpen(channel)) return;
  open.erase(channel);
  closed.push_back(channel);
  error_.Clear();
}

void FakeDdeClient::Acknowledge(uint8_t response) {
  acknowledgements.push_back(response);
  error_.Clear();
}

void FakeDdeClient::SetTimeout(int32_t hundredths) {
  timeouts.push_back(hundredths);
  error_.Clear();
}

}  // namespace zqmv5
