#include "cmdline/command_context.h"

#include <algorithm>

#include "text/strings.h"

namespace zqmv5 {
namespace {

// One line for a message: its caption, then its text with the box's line
// breaks shown as " | ".
void WriteQuietLine(Env& env, const std::string& caption, const std::string& text) {
  std::string line = caption.empty() ? "" : caption + ": ";
  for (char c : text) line += c == '|' ? " | " : std::string(1, c == '\r' || c == '\n' ? ' ' : c);
  env.WriteStandardOutput(line);
  const auto [date, hundredths] = env.Now();
  const int32_t time = hundredths / 100;
  const std::string entry = std::to_string(date.year) + "-" + TwoDigits(date.month) + "-" +
                            TwoDigits(date.day) + " " + TwoDigits(time / 3600) + ":" +
                            TwoDigits(time / 60 % 60) + ":" + TwoDigits(time % 60) + " " + line +
                            "\r\n";
  // The line is appended without reading the log, which a build server may
  // let grow for ever. Another program may hold the log a moment; one that
  // holds it for a second costs the log its line, never the run its outcome.
  Rests rests{env, 100, 2};
  Retry([&] { return env.AppendToFile(kQuietLog, entry); },
        [&](const Status&) { return rests.Take(); });
}

// The token (1-based) that each character of `text` belongs to, as far as
// `length`; 0 for the blanks between tokens and the quotes they drop. Only a
// blank outside quotes ends a token, and a quote never opens one: a quote
// inside a token opens quotes and stays in it, a closing quote ends it.
std::vector<size_t> TokenOfEachCharacter(const std::string& text, size_t length) {
  std::vector<size_t> owner(length, 0);
  size_t tokens = 0;
  bool open = false;
  bool in_quotes = false;
  for (size_t i = 0; i < length; ++i) {
    const char c = text[i];
    if (c == '"') {
      if (!in_quotes && open) owner[i] = tokens;
      if (in_quotes) open = false;
      in_quotes = !in_quotes;
    } else if (c == ' ') {
      if (!in_quotes) open = false;
      if (open) owner[i] = tokens;
    } else {
      if (!open) ++tokens;
      open = true;
      owner[i] = tokens;
    }
  }
  return owner;
}

}  // namespace

void CommandContext::Tell(Env& env, const std::string& text, const std::string& caption,
                          MessageIcon icon) {
  quiet ? WriteQuietLine(env, caption, text) : env.ShowMessage(text, caption, icon);
}

void CommandContext::Tell(Env& env, const Status& failure, const std::string& caption,
                          MessageIcon icon) {
  Record(failure);
  Tell(env, failure.message(), caption, icon);
}

void CommandContext::Fail(Env& env, const Status& failure) {
  Record(failure);
  if (quiet) WriteQuietLine(env, verb, failure.message());
}

void CommandContext::Note(Env& env, const std::string& text) {
  if (quiet) WriteQuietLine(env, verb, text);
}

std::unique_ptr<ProcessLock> CommandContext::TakeTurn(Env& env, const std::string& name,
                                                      int32_t wait, const std::string& what) {
  std::unique_ptr<ProcessLock> turn;
  const Status taken = env.LockAcrossProcesses(name, wait, &turn);
  if (!taken.ok()) {
    Fail(env, taken.Reworded("Another program kept its turn at " + what +
                             " for too long; nothing was changed."));
  }
  return turn;
}

Status OperandsKeepTheirPlaces(const std::string& text) {
  const std::string used = TrimRight(text);
  const std::vector<size_t> owner = TokenOfEachCharacter(used, used.size());
  const auto is_token = [](size_t token) { return token != 0; };
  bool in_quotes = false;
  size_t opened = 0;
  for (size_t i = 0; i < used.size(); ++i) {
    if (used[i] != '"') continue;
    in_quotes = !in_quotes;
    if (in_quotes) {
      opened = i;
      continue;
    }
    const auto after = owner.begin() + static_cast<std::ptrdiff_t>(i) + 1;
    const size_t next =
        static_cast<size_t>(std::find_if(after, owner.end(), is_token) - owner.begin());
    // Quotes that hold no token before another token: it takes their place.
    if (next < used.size() &&
        std::none_of(owner.begin() + static_cast<std::ptrdiff_t>(opened), after, is_token)) {
      return {Status::Kind::kBadInput,
              "Parameter " + std::to_string(owner[next]) +
                  " is an empty \"\", which holds no place: the parameters after it would each "
                  "be read one place earlier."};
    }
    // Text right after a closing quote, before any blank, is a token of its own.
    const size_t blank = used.find(' ', i + 1);
    if (next < used.size() && next < blank) {
      return {Status::Kind::kBadInput,
              "Parameter " + std::to_string(owner[next]) + ", " +
                  used.substr(next, blank == std::string::npos ? blank : blank - next) +
                  ", stands right after a closing quote: it would be read as a parameter of its "
                  "own."};
    }
  }
  return {};
}

bool TakeQuietSwitch(std::string* command_text) {
  // The switch may stand in quotes, as installers quote every argument, and
  // a tab ends it as a blank does.
  const size_t start = command_text->find_first_not_of(" \t");
  if (start == std::string::npos) return false;
  const std::string_view rest = std::string_view(*command_text).substr(start);
  size_t after = 0;
  for (std::string_view form : {"/Q", "\"/Q\""}) {
    if (Upper(rest.substr(0, form.size())) == form) after = form.size();
  }
  if (after == 0 || (after < rest.size() && rest[after] != ' ' && rest[after] != '\t')) {
    return false;
  }
  const size_t next = command_text->find_first_not_of(" \t", start + after);
  command_text->erase(0, next);
  return true;
}

void CommandContext::Tokenize(const std::string& command_text) {
  text = command_text.substr(0, kMaxText);
  tokens.clear();
  const std::vector<size_t> owner = TokenOfEachCharacter(text, TrimRight(text).size());
  for (size_t i = 0; i < owner.size(); ++i) {
    if (owner[i] > tokens.size()) tokens.emplace_back();
    if (owner[i] != 0) tokens[owner[i] - 1] += text[i];
  }
}

std::string CommandContext::TextFrom(size_t n) const {
  const std::vector<size_t> owner = TokenOfEachCharacter(text, TrimRight(text).size());
  // From the first character after token n - 1 and the blanks after it.
  size_t start = n > 1 ? owner.size() : 0;
  for (size_t i = 0; i < owner.size(); ++i) {
    if (n > 1 && owner[i] == n - 1) start = i + 1;
  }
  while (start < owner.size() && text[start] == ' ') ++start;
  std::string rest;
  for (size_t i = start; i < owner.size(); ++i) {
    if (text[i] != '"' || owner[i] != 0) rest += text[i];
  }
  return TrimRight(rest);
}

std::string CommandParameter(const std::string& command_text, int n) {
  int index = 0;
  size_t i = 0;
  const size_t size = command_text.size();
  while (i < size) {
    while (i < size && command_text[i] == ' ') ++i;
    if (i >= size) break;
    std::string word;
    bool quoted = false;
    for (; i < size && (quoted || command_text[i] != ' '); ++i) {
      if (command_text[i] == '"') {
        quoted = !quoted;
      } else {
        word += command_text[i];
      }
    }
    if (++index == n) return word;
  }
  return "";
}

}  // namespace zqmv5
