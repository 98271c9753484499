// Fuzz target: any command text, tokenized and read back, must keep every
// token within the kept text and never crash.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cmdline/command_context.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  zqmv5::CommandContext context;
  context.Tokenize(text);
  if (context.text.size() > zqmv5::kMaxText) std::abort();
  size_t total = 0;
  for (const std::string& token : context.tokens) {
    // A token is never empty, never starts with a blank or a quote, and lies
    // within the kept text.
    if (token.empty() || token[0] == ' ' || token[0] == '"') std::abort();
    if (context.text.find(token) == std::string::npos) std::abort();
    total += token.size();
  }
  if (total > context.text.size()) std::abort();
  if (!context.Token(0).empty() || !context.Token(context.tokens.size() + 1).empty()) std::abort();
  (void)zqmv5::CommandParameter(text, 1);
  return 0;
}
