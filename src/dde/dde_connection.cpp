#include "dde/dde_connection.h"

#include "runtime/fixed_text.h"

namespace zqmv5 {
namespace {

constexpr char kLogSection[] = "Connect";

// The first 80 characters of the service name go into the application text
// when there is no topic.
constexpr size_t kApplicationLength = 80;

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

}  // namespace

void DdeConnection::Hook() {}

int32_t DdeConnection::ErrorCode() { return DDEERRORCODE; }

std::string DdeConnection::ErrorText() { return DDEERROR; }

void DdeConnection::Acknowledge(uint8_t response) { runtime_.dde.Acknowledge(response); }

uint8_t DdeConnection::Connect() {
  int32_t result = 0;
  bool started = false;
  log_.Write(kLogSection, "App", DDE.APP);
  runtime_.dde.SetTimeout(DDE.TIMEOUT != 0 ? DDE.TIMEOUT : 100);
  log_.Write(kLogSection, "Before Open Channel", DDE.APP);
  int32_t last_reading = runtime_.clock.TimeOfDay();
  int32_t elapsed = 0;
  int32_t retries = 0;
  for (;;) {
    Open();
    if (CHANNEL != 0) break;
    if (!started) {
      log_.Write(kLogSection, "Before Run", DDE.APP);
      result = StartServer();
      started = true;
      log_.Write(kLogSection, "Run Error", result);
      continue;
    }
    // A short rest between attempts: a loop of DDE broadcasts without one
    // would take a whole processor from the IDE that is starting meanwhile.
    // The bound is checked after the rest, so that every attempt is made
    // within it.
    runtime_.clock.Pause(kConnectRetryPause);
    const int32_t now = runtime_.clock.TimeOfDay();
    elapsed += Forward(last_reading, now);
    last_reading = now;
    if (elapsed > kConnectBound) break;
    // A clock that stands still or keeps going back must not hold the program
    // here: the rests alone add up to twice the bound by then.
    if (++retries > kConnectMaxRetries) break;
  }
  if (CHANNEL != 0) log_.Write(kLogSection, "Channel", CHANNEL);
  RefreshError();
  if (DDEERRORCODE != 0) result = DDEERRORCODE;
  return static_cast<uint8_t>(result & 0xFF);
}

void DdeConnection::Open() {
  if (CHANNEL != 0) Close();
  std::string application;
  if (DDE.TOPIC != nullptr) {
    application = TrimRight(DDE.APP) + "," + TrimRight(*DDE.TOPIC);
  } else {
    application = TrimRight(DDE.APP.substr(0, kApplicationLength));
  }
  CHANNEL = runtime_.dde.ConnectChannel(application, "");
  RefreshError();
}

uint8_t DdeConnection::StartServer() {
  int16_t result = 0;
  if (!IsBlank(DDE.EXE)) {
    result = static_cast<int16_t>(runtime_.programs.StartProgram(DDE.EXE));
    if (result != 0) {
      DDEERROR = FitCString(runtime_.error.text(), kDdeErrorFieldSize);
      DDEERRORCODE = result;
    }
  }
  Open();
  return static_cast<uint8_t>(result & 0xFF);
}

void DdeConnection::Init(const std::string& exe) {
  DDE.APP = kIdeService;
  DDE.EXE = FitCString(exe, kDdeNameFieldSize);
  DDE.TIMEOUT = kIdeTimeOut;
  Configure(DDE);
}

void DdeConnection::Configure(const DdeSettings& settings) {
  DDE.APP = FitCString(settings.APP, kDdeNameFieldSize);
  DDE.EXE = FitCString(settings.EXE, kDdeNameFieldSize);
  DDE.MODE = settings.MODE;
  DDE.TIMEOUT = settings.TIMEOUT;
  if (settings.TOPIC != nullptr) DDE.TOPIC = settings.TOPIC;
  if (DDE.TIMEOUT == 0) DDE.TIMEOUT = 100;
}

void DdeConnection::Execute(const std::string& command) {
  if (CHANNEL != 0) runtime_.dde.ExecuteCommand(CHANNEL, "[" + TrimRight(command) + "]");
  RefreshError();
}

void DdeConnection::RegisterTemplate(const std::string& file, uint8_t flag) {
  Execute("RegisterTemplateChain(" + TrimRight(file) + "," + std::to_string(flag) + ")");
}

void DdeConnection::RefreshError() {
  const int code = runtime_.error.code();
  const std::string text = runtime_.error.text();
  // The runtime's own number and text stand first also for a DDE-level error:
  // when the server cannot be asked (no conversation, or it does not answer),
  // the fields then tell what went wrong instead of keeping an older outcome,
  // which could be "no error".
  DDEERRORCODE = code;
  DDEERROR = FitCString(text, kDdeErrorFieldSize);
  // A server that did not answer in time is not asked again: each question
  // could cost another time-out, with AutoPick off all the while.
  if (code <= kLastRuntimeError || code == kDdeTimeOut) return;
  runtime_.dde.RequestNumber(CHANNEL, "GetErrorNum", &DDEERRORCODE);
  if (runtime_.error.code() != kDdeTimeOut) {
    std::string message = DDEERROR;
    runtime_.dde.RequestText(CHANNEL, "GetErrorMsg", &message);
    DDEERROR = FitCString(message, kDdeErrorFieldSize);
  }
  // Asking the server is not an operation of the caller's: the error being
  // explained stays the runtime's error, so that a later refresh (at the end
  // of Connect, or after an Execute that sent nothing) explains the same one
  // rather than the failure of a request on a closed channel.
  runtime_.error.Set(code, text);
}

void DdeConnection::Close() {
  if (CHANNEL != 0) {
    runtime_.dde.CloseChannel(CHANNEL);
    RefreshError();
  }
  CHANNEL = 0;
}

void DdeConnection::Disconnect() {
  if (CHANNEL != 0) Close();
}

}  // namespace zqmv5
