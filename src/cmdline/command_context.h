#ifndef ZQMV5_CMDLINE_COMMAND_CONTEXT_H_
#define ZQMV5_CMDLINE_COMMAND_CONTEXT_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "env/env.h"

namespace zqmv5 {

// The most characters of command text that a run reads: a longer text (its
// trailing blanks aside) is refused whole, as a cut value would name
// something else.
constexpr size_t kMaxText = 254;

// Every run that changes the IDE's INI file holds this turn, across
// processes, over its reads and writes of it: the profile API rewrites the
// whole file, and two installers at once would otherwise lose each other's
// entries or take the same free menu slot. A run's changes take far less
// than the wait.
inline constexpr char kIdeIniTurn[] = "ZQMV5 IDE INI file";
constexpr int32_t kIdeIniTurnWait = 2000;  // hundredths of a second

// Under /Q every message is a line of this file (in the current directory)
// and of the standard output.
inline constexpr char kQuietLog[] = ".\\ZQMV5.LOG";

// The state of one command run: the verb, where the IDE lives, the tokens of
// the command line, and how the run is going.
class CommandContext {
 public:
  std::string verb;      // parameter 1 upper-cased, without blanks around, at most 19
  std::string root;      // the IDE's root directory, one trailing backslash removed
  std::string exe_name;  // the IDE's executable, as its INI entry gives it
  std::string ini_file;  // the IDE's INI file
  std::string text;      // the command text, cut to kMaxText characters
  std::vector<std::string> tokens;
  bool quiet = false;  // /Q: no box and no window; lines and an exit status

  // The run's first failure (ok when none), set by Fail and the Tell of one.
  const Status& outcome() const { return outcome_; }

  // Tells the user, and is no failure: a message box, or under /Q a line.
  void Tell(Env& env, const std::string& text, const std::string& caption,
            MessageIcon icon = MessageIcon::kInformation);
  // Tells a failure, its message as the text, and keeps it as the run's
  // outcome unless an earlier failure was kept.
  void Tell(Env& env, const Status& failure, const std::string& caption,
            MessageIcon icon = MessageIcon::kInformation);
  // Keeps a failure that shows no box; under /Q its message is told as a
  // line under the verb.
  void Fail(Env& env, const Status& failure);
  // Under /Q, a line under the verb that tells no failure.
  void Note(Env& env, const std::string& text);
  // The turn at `what` (the cross-process lock `name`), held while the result
  // lives; null, with the failure told, when another run kept it longer than
  // `wait` hundredths of a second.
  std::unique_ptr<ProcessLock> TakeTurn(Env& env, const std::string& name, int32_t wait,
                                        const std::string& what);
  std::unique_ptr<ProcessLock> TakeIdeIniTurn(Env& env) {
    return TakeTurn(env, kIdeIniTurn, kIdeIniTurnWait, "the IDE's INI file " + ini_file);
  }

  // Splits `command_text` into the operands' tokens at blanks; double quotes
  // group blanks, to the end when unclosed (the verb's rule: CommandParameter).
  void Tokenize(const std::string& command_text);

  // The text from token n (1-based) on, as typed: the blanks between tokens
  // kept, the quotes that tokens drop left out; "" when there is no token n.
  std::string TextFrom(size_t n) const;

  // Token n (1-based); "" when there is no such token.
  std::string Token(size_t n) const { return n >= 1 && n <= tokens.size() ? tokens[n - 1] : ""; }

 private:
  // The one recorder: the first failure stays, as it is the cause of any
  // that follow, so a command records its primary failure before a clean-up's.
  void Record(const Status& failure) {
    if (outcome_.ok()) outcome_ = failure;
  }

  Status outcome_;
};

// Under /Q no one sees the operands of `text` shift: a pair of quotes that
// holds nothing (or blanks) with another token after it, and text right after
// a closing quote, give a kBadInput failure that names the parameter. An
// empty pair at the end shifts nothing and passes.
Status OperandsKeepTheirPlaces(const std::string& text);

// True when `command_text` starts with the switch /Q (any case), which is
// then taken off it together with the blanks after it.
bool TakeQuietSwitch(std::string* command_text);

// Parameter n (1-based) of `command_text` as the process sees its parameters:
// blank-separated words, where a double quote anywhere groups blanks and is
// dropped; "" when there is none. Only the verb is read so. The operands'
// tokens differ on quotes inside a word ("a"b is the parameter ab but the
// tokens a and b), and each rule is what existing command lines have meant.
std::string CommandParameter(const std::string& command_text, int n);

}  // namespace zqmv5

#endif  // ZQMV5_CMDLINE_COMMAND_CONTEXT_H_
