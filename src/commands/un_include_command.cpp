#include "commands/un_include_command.h"

#include <string>
#include <vector>

#include "commands/include_command.h"
#include "text/line_file.h"
#include "text/strings.h"

namespace zqmv5 {
namespace {

// Whether `line` is an include line alone, of any file: the include line of
// no name with a name between its quotes.
bool IsIncludeLine(const std::string& line) {
  const std::string text = Trim(line);
  const std::string bare = IncludeLine("");
  const size_t name_at = bare.find('\'') + 1;
  return text.size() > bare.size() && text.compare(0, name_at, bare, 0, name_at) == 0 &&
         text.compare(text.size() - (bare.size() - name_at), std::string::npos, bare, name_at) == 0;
}

}  // namespace

void UnIncludeCommand(CommandContext& context, Env& env) {
  // Writes are denied to others while the file is read, and other runs wait
  // for the turn until the new copy is in, so that what is put back is what
  // was read.
  LineFile template_file(env);
  std::unique_ptr<ProcessLock> turn;
  if (!OpenTemplate(context, env, &template_file, &turn)) return;
  const std::string include_line = IncludeLine(context.Token(3));
  const std::vector<std::string>& lines = template_file.lines();
  bool removed = false;
  for (size_t i = lines.size(); i-- > 0;) {
    if (Trim(lines[i]) != include_line) continue;
    // INCLUDE puts an empty line before its line when the file's last line
    // held text, so the includes it added stand one empty line apart. The
    // last one takes its empty line with it; one among them takes the empty
    // line after it, so that the others stand as INCLUDE would have added
    // them, and no empty lines build up, in whatever order they go.
    const bool last = i + 1 == lines.size();
    const bool among_includes = !last && (i == 0 || IsBlank(lines[i - 1])) &&
                                i + 2 < lines.size() && lines[i + 1].empty() &&
                                IsIncludeLine(lines[i + 2]);
    if (among_includes) template_file.Remove(i + 1);
    if (last && i >= 2 && lines[i - 1].empty() && !IsBlank(lines[i - 2])) {
      template_file.Remove(i--);
    }
    template_file.Remove(i);
    removed = true;
  }
  if (!removed) return;
  const std::string bytes = template_file.Contents();
  template_file.Close();
  const Status replaced = env.ReplaceContents(context.Token(2), bytes);
  if (!replaced.ok()) context.Fail(env, replaced.About(context.Token(2)));
}

}  // namespace zqmv5
