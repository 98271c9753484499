#include "dde/dde_connection.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "text/strings.h"

namespace zqmv5 {
namespace {

constexpr char kLogSection[] = "Connect";
constexpr size_t kMaxSetting = 119;
constexpr size_t kMaxErrorText = 124;
// The first 80 characters of the service name make the application text.
constexpr size_t kApplicationLength = 80;
// The most attempts that follow a rest, whatever the clock says.
constexpr int32_t kConnectMaxRetries = 2 * kConnectBound / kConnectRetryPause;

// The time of day starts again at midnight, and the system clock may be set
// back a little at any time (time synchronisation). The time between two
// readings is therefore counted modulo one day, so that midnight costs
// nothing, and a step back (which shows as nearly a whole day) counts as no
// time at all rather than ending the wait at once.
int32_t Forward(int32_t from, int32_t to) {
  int64_t step = (static_cast<int64_t>(to) - from) % kHundredthsPerDay;
  if (step < 0) step += kHundredthsPerDay;
  return step > kHundredthsPerDay / 2 ? 0 : static_cast<int32_t>(step);
}

// The numeric value of a DDE item's text: optional blanks, an optional sign,
// then digits, which end at the first other character; anything else gives 0.
// Values beyond the range of a LONG are held at its limits.
int32_t NumberFromText(const std::string& text) {
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return 0;
  const bool negative = text[i] == '-';
  if (text[i] == '+' || text[i] == '-') ++i;
  int64_t value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{1} << 32);
  }
  if (negative) value = -value;
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

void DdeConnection::Init(const std::string& exe) {
  settings.app = "ClarionWin";
  settings.exe = exe.substr(0, kMaxSetting);
  settings.timeout = 12000;
}

uint8_t DdeConnection::Connect() {
  int32_t result = 0;
  bool started = false;
  log_.Write(kLogSection, "App", settings.app);
  env_.dde().SetTimeOut(settings.timeout != 0 ? settings.timeout : 100);
  log_.Write(kLogSection, "Before Open Channel", settings.app);
  int32_t last_reading = env_.TimeOfDay();
  int32_t elapsed = 0;
  for (int32_t retries = 0;;) {
    Open();
    if (channel != 0) break;
    if (!started) {
      log_.Write(kLogSection, "Before Run", settings.app);
      result = StartServer();
      started = true;
      log_.Write(kLogSection, "Run Error", result);
      continue;
    }
    // A short rest between attempts: a loop of DDE broadcasts without one
    // would take a whole processor from the IDE that is starting meanwhile.
    // The bound is checked after the rest, so that every attempt is made
    // within it. A clock that stands still or keeps going back cannot hold
    // the program here: the rests alone add up to twice the bound by then.
    env_.Pause(kConnectRetryPause);
    const int32_t now = env_.TimeOfDay();
    elapsed += Forward(last_reading, now);
    last_reading = now;
    if (elapsed > kConnectBound || ++retries > kConnectMaxRetries) break;
  }
  if (channel != 0) log_.Write(kLogSection, "Channel", channel);
  RefreshError();
  if (error_code != 0) result = error_code;
  return static_cast<uint8_t>(result & 0xFF);
}

void DdeConnection::Open() {
  if (channel != 0) Close();
  last_ = env_.dde().Open(TrimRight(settings.app.substr(0, kApplicationLength)), "", &channel);
  RefreshError();
}

uint8_t DdeConnection::StartServer() {
  int16_t result = 0;
  if (!IsBlank(settings.exe)) {
    last_ = env_.StartProgram(settings.exe);
    result = static_cast<int16_t>(last_.code);
    if (result != 0) {
      error_text = last_.text.substr(0, kMaxErrorText);
      error_code = result;
    }
  }
  Open();
  return static_cast<uint8_t>(result & 0xFF);
}

bool DdeConnection::Execute(const std::string& command) {
  const bool sent = channel != 0;
  if (sent) last_ = env_.dde().Send(channel, "[" + TrimRight(command) + "]");
  const bool taken = sent && last_.ok();
  RefreshError();
  return taken;
}

bool DdeConnection::RegisterTemplate(const std::string& file, uint8_t flag) {
  return Execute("RegisterTemplateChain(" + TrimRight(file) + "," + std::to_string(flag) + ")");
}

void DdeConnection::RefreshError() {
  // The outcome's own number and text stand first also for a DDE-level error:
  // when the server cannot be asked (no conversation, or it does not answer),
  // they tell what went wrong instead of an older outcome.
  error_code = last_.code;
  error_text = last_.text.substr(0, kMaxErrorText);
  // A server that did not answer in time is not asked again: each question
  // could cost another time-out, with AutoPick off all the while.
  if (last_.code <= kLastRuntimeError || last_.code == kDdeTimeOut) return;
  std::string answer;
  const Status number = env_.dde().Request(channel, "GetErrorNum", &answer);
  if (number.ok()) error_code = NumberFromText(answer);
  if (number.code == kDdeTimeOut || !env_.dde().Request(channel, "GetErrorMsg", &answer).ok()) {
    return;
  }
  error_text = answer.substr(0, kMaxErrorText);
}

void DdeConnection::Close() {
  if (channel != 0) {
    last_ = env_.dde().Close(channel);
    RefreshError();
  }
  channel = 0;
}

void DdeConnection::Disconnect() {
  if (channel != 0) Close();
}

}  // namespace zqmv5
