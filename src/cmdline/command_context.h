#ifndef ZQMV5_CMDLINE_COMMAND_CONTEXT_H_
#define ZQMV5_CMDLINE_COMMAND_CONTEXT_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zqmv5 {

// One token of the command text: 1-based positions in TEXT of its first and
// last characters.
struct TokenRecord {
  int16_t LEFT = 0;
  int16_t RIGHT = 0;
};

using TokenQueue = std::vector<TokenRecord>;

// Size of the context's NUL-terminated text fields, in bytes.
constexpr size_t kTextFieldSize = 255;
constexpr size_t kVerbFieldSize = 20;
constexpr size_t kAutoPickFieldSize = 20;

// The state of one command run: the verb, where the IDE lives, and the tokens
// of the command line. Text fields hold what their sizes allow (kTextFieldSize
// and kVerbFieldSize include the terminating NUL).
class CommandContext {
 public:
  std::string PROGRAMPATH;  // short form of the current directory at discovery
  std::string COMMANDLINE;  // operand scratch of LIBSRC and USERMENU
  std::string TEXT;         // the command text after the program name, at most 254
  std::string CMD;          // the verb: parameter 1 upper-cased, left-justified, at most 19
  int32_t TOKENS = 0;
  std::string SAVAUTOPIC;  // "AutoPick" kept while REG runs
  std::string ROOT;        // the IDE's root directory, one trailing backslash removed
  std::string EXENAME;     // the IDE's executable
  std::string INIFILE;     // the IDE's INI file
  std::unique_ptr<TokenQueue> TOKENQ;

  // Splits `command_text` (cut to 254 characters and kept in TEXT) into tokens.
  // TOKENQ must refer to an empty queue.
  void Tokenize(const std::string& command_text);

  // Token n as a string: "" when there is no such token (n = 0 or n > TOKENS).
  std::string Token(uint8_t n) const;

  // Empties and releases the token queue; TOKENQ then refers to no queue.
  void FreeTokens();
};

}  // namespace zqmv5

#endif  // ZQMV5_CMDLINE_COMMAND_CONTEXT_H_
