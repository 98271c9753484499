#include "runtime/dde_client.h"

#include <cctype>
#include <cstdint>
#include <limits>

namespace zqmv5 {

std::string DdeErrorText(int code) {
  switch (code) {
    case kDdeServerNotFound:
      return "DDE Server Not Found";
    case kDdeChannelNotOpen:
      return "DDE Channel Not Open";
    case kDdeTimeOut:
      return "DDE Time-Out";
    case kDdeServerBusy:
      return "DDE Server Busy";
    case kDdeRefused:
      return "DDE Request Refused";
    case kDdeConversationEnded:
      return "DDE Conversation Ended";
    case kDdeNotAvailable:
      return "DDE Not Available";
    case kDdeFailed:
      return "DDE Error";
    default:
      return "";
  }
}

void SetDdeError(ErrorState& error, int code) { error.Set(code, DdeErrorText(code)); }

int32_t DdeNumberFromText(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulated as a negative number so that the lowest LONG fits too.
  constexpr int64_t kLowest = std::numeric_limits<int32_t>::min();
  int64_t value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 - (text[i] - '0');
    if (value < kLowest) value = kLowest - 1;
  }
  if (negative)
    return value < kLowest ? static_cast<int32_t>(kLowest) : static_cast<int32_t>(value);
  if (-value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(-value);
}

}  // namespace zqmv5
