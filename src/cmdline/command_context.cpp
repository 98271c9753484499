#include "cmdline/command_context.h"

#include "runtime/fixed_text.h"

namespace zqmv5 {

void CommandContext::Tokenize(const std::string& command_text) {
  TEXT = FitCString(command_text, kTextFieldSize);
  TOKENS = 0;
  if (!TOKENQ) return;

  // Positions are 1-based, as the token records hold them. TEXT is at most 254
  // characters, so every position fits the records' 16-bit fields.
  int16_t start = 0;  // 0: no token open
  bool in_quotes = false;
  const auto close_token = [&](int16_t position) {
    if (start == 0) return;
    ++TOKENS;
    TOKENQ->push_back({start, static_cast<int16_t>(position - 1)});
    start = 0;
  };

  const int16_t length = static_cast<int16_t>(TrimRight(TEXT).size());
  int16_t i = 1;
  for (; i <= length; ++i) {
    const char c = TEXT[i - 1];
    if (c == ' ') {
      if (!in_quotes) close_token(i);
    } else if (c == '"') {
      if (in_quotes) close_token(i);
      in_quotes = !in_quotes;
    } else if (start == 0) {
      start = i;
    }
  }
  close_token(i);
}

std::string CommandContext::Token(uint8_t n) const {
  if (n > TOKENS || n == 0 || !TOKENQ || n > TOKENQ->size()) return "";
  const TokenRecord& record = (*TOKENQ)[n - 1];
  return TEXT.substr(record.LEFT - 1, record.RIGHT - record.LEFT + 1);
}

void CommandContext::FreeTokens() {
  if (TOKENQ) TOKENQ->clear();
  TOKENQ.reset();
}

}  // namespace zqmv5
