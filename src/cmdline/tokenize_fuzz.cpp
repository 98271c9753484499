// Fuzz target: any command text, tokenized and read back, must keep every
// token within the kept text and never crash.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cmdline/command_context.h"
#include "runtime/command_line.h"
#include "runtime/fixed_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  zqmv5::CommandContext context;
  context.TOKENQ = std::make_unique<zqmv5::TokenQueue>();
  context.Tokenize(text);
  if (context.TEXT.size() > 254) std::abort();
  if (static_cast<size_t>(context.TOKENS) != context.TOKENQ->size()) std::abort();
  const size_t length = zqmv5::TrimRight(context.TEXT).size();
  for (const zqmv5::TokenRecord& r : *context.TOKENQ) {
    if (r.LEFT < 1 || r.LEFT > r.RIGHT || static_cast<size_t>(r.RIGHT) > length) std::abort();
  }
  for (int n = 0; n <= 255; ++n) {
    const std::string token = context.Token(static_cast<uint8_t>(n));
    if (n == 0 && !token.empty()) std::abort();
    // A token never starts with a blank or a quote.
    if (!token.empty() && (token[0] == ' ' || token[0] == '"')) std::abort();
  }
  (void)zqmv5::CommandParameter(text, 1);
  context.FreeTokens();
  return 0;
}
