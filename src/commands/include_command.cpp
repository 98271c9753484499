#include "commands/include_command.h"

#include <string>
#include <vector>

#include "text/line_file.h"
#include "text/strings.h"

namespace zqmv5 {
namespace {

// The longest line that a template holds.
constexpr size_t kMaxTemplateLine = 255;

// INCLUDE and UNINCLUDE runs take turns at templates across processes, from
// their read to their last write: UNINCLUDE puts its new copy in after it has
// closed the file, and a line that another run added in between would be
// lost. A run takes a moment even for a large file, and waits this long
// (hundredths of a second) for its turn, and as long for a template that
// another program holds.
constexpr char kTemplateTurn[] = "ZQMV5 template file";
constexpr int32_t kTemplateWait = 500;

// Adds the include line at the end of `template_file`, first an empty line
// when `last_line` (the file's last line) holds text.
void AppendIncludeLine(LineFile& template_file, const std::string& last_line,
                       const std::string& include_name) {
  if (!IsBlank(last_line)) template_file.Add("");
  template_file.Add(IncludeLine(include_name));
}

}  // namespace

std::string IncludeLine(const std::string& include_name) {
  // The template language reads '' in a string as one quote: a quote of the
  // name can neither end the string early nor add a statement after it.
  std::string quoted;
  for (char c : include_name) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return "#INCLUDE('" + quoted + "')";
}

bool OpenTemplate(CommandContext& context, Env& env, LineFile* template_file,
                  std::unique_ptr<ProcessLock>* turn) {
  const std::string template_name = context.Token(2);
  const std::string include_name = context.Token(3);
  if (IsBlank(include_name) || IsBlank(template_name)) {
    context.Fail(env,
                 {Status::Kind::kBadInput, "A template file and a file to include are needed."});
    return false;
  }
  // A longer include line would not fit a template line, and a line break
  // would split it: rather nothing than a broken line.
  if (IncludeLine(include_name).size() > kMaxTemplateLine || HasLineBreak(include_name)) {
    context.Fail(env, {Status::Kind::kBadInput, "The include line would not fit a template line."});
    return false;
  }
  *turn = context.TakeTurn(env, kTemplateTurn, kTemplateWait, "the template file " + template_name);
  if (!*turn) return false;
  const Status opened =
      template_file->Open(template_name, Share::kDenyWrite, IfMissing::kFail, kTemplateWait);
  if (!opened.ok()) context.Fail(env, opened.About(template_name));
  return opened.ok();
}

void IncludeCommand(CommandContext& context, Env& env) {
  LineFile template_file(env);
  std::unique_ptr<ProcessLock> turn;
  if (!OpenTemplate(context, env, &template_file, &turn)) return;
  const std::string include_name = context.Token(3);
  // Whole lines are searched, however long, so that an include line beyond
  // the 255th character of a line is found too.
  const std::string include_line = IncludeLine(include_name);
  const std::vector<std::string>& lines = template_file.lines();
  for (const std::string& line : lines) {
    if (line.find(include_line) != std::string::npos) return;
  }
  AppendIncludeLine(template_file, lines.empty() ? "" : lines.back(), include_name);
  const Status written = template_file.Commit();
  if (!written.ok()) context.Fail(env, written.About(context.Token(2)));
}

}  // namespace zqmv5
