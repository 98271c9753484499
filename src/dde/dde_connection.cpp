#include "dde/dde_connection.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "env/program.h"
#include "text/strings.h"

namespace zqmv5 {
namespace {

constexpr char kLogSection[] = "Connect";
constexpr char kService[] = "ClarionWin";

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
  return static_cast<int32_t>(std::clamp<long long>(std::strtoll(text.c_str(), nullptr, 10),
                                                    std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

Status DdeConnection::Connect() {
  log_.Write(kLogSection, "App", kService);
  env_.dde().SetTimeOut(kTransactionTimeOut);
  log_.Write(kLogSection, "Before Open Channel", kService);
  int32_t last_reading = env_.Now().time;
  Close();
  const auto open = [&] { return env_.dde().Open(kService, &channel_); };
  Status opened = open();
  if (!opened.ok()) {
    log_.Write(kLogSection, "Before Run", kService);
    const Status started = IsBlank(exe_) ? Status{} : RunProgram(env_, exe_);
    // The log keeps the start's Windows error number in its low 8 bits.
    log_.Write(kLogSection, "Run Error", started.number() & 0xFF);
    // A program that did not start brings no IDE to wait for.
    start_failed_ = !started.ok();
    if (start_failed_) return started;
    // The bound is checked after each rest, so that every attempt is made
    // within it. A clock that stands still or keeps going back cannot hold
    // the program here: the rests alone end the wait at twice the bound.
    int32_t elapsed = 0;
    Rests rests{env_, 2 * kConnectBound, kConnectRetryPause};
    opened = Retry(open, [&](const Status&) {
      if (!rests.Take()) return false;
      const int32_t now = env_.Now().time;
      elapsed += Forward(last_reading, now);
      last_reading = now;
      return elapsed <= kConnectBound;
    });
  }
  if (!opened.ok()) return opened;
  log_.Write(kLogSection, "Channel", channel_);
  return {};
}

Status DdeConnection::Execute(const std::string& command) {
  if (channel_ == 0) return DdeFailure(kDdeChannelNotOpen);
  const Status sent = env_.dde().Send(channel_, "[" + TrimRight(command) + "]");
  return sent.ok() ? sent : Explained(sent);
}

Status DdeConnection::RegisterTemplate(const std::string& file) {
  return Execute("RegisterTemplateChain(" + TrimRight(file) + ",0)");
}

Status DdeConnection::Explained(const Status& failure) {
  // A server that did not answer in time is not asked: each question could
  // cost another time-out, with AutoPick off all the while.
  if (failure.IsTimedOut()) return failure;
  std::string number, message;
  if (!env_.dde().Request(channel_, "GetErrorNum", &number).ok()) return failure;
  std::string said = "the IDE's error " + std::to_string(NumberFromText(number));
  if (env_.dde().Request(channel_, "GetErrorMsg", &message).ok() && !message.empty()) {
    said += ": " + message;
  }
  return failure.With(said);
}

Status DdeConnection::Close() {
  if (channel_ == 0) return {};
  const Status closed = env_.dde().Close(channel_);
  channel_ = 0;
  return closed;
}

}  // namespace zqmv5
