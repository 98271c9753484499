#include "commands/un_include_command.h"

#include <string>
#include <vector>

#include "commands/include_command.h"
#include "text/line_file.h"
#include "text/strings.h"

namespace zqmv5 {
namespace {

// Writes `bytes` as a new file beside `name` and puts it in the place of
// `name`, so that no reader ever finds half a file there.
Status ReplaceFile(Env& env, const std::string& name, const std::string& bytes) {
  std::string temporary;
  for (int n = 1; temporary.empty() || env.FileExists(temporary); ++n) {
    if (n > 100) return Error(kAccessDenied);
    temporary = name + ".zq" + std::to_string(n) + "~";
  }
  Status status = env.CreateEmptyFile(temporary);
  std::unique_ptr<File> file;
  if (status.ok()) status = env.OpenFile(temporary, Share::kDenyWrite, &file);
  if (status.ok()) status = file->Resize(static_cast<int64_t>(bytes.size()));
  if (status.ok()) status = file->WriteAt(0, bytes.data(), bytes.size());
  file.reset();
  if (status.ok()) status = env.MoveFileOver(temporary, name);
  if (!status.ok()) env.RemoveFile(temporary);
  return status;
}

}  // namespace

void UnIncludeCommand(CommandContext& context, Env& env) {
  // Writes are denied to others while the file is read, so that what is put
  // back is what was read.
  LineFile template_file(env);
  if (!OpenTemplate(context, env, Share::kDenyWrite, &template_file)) return;
  const std::string include_line = IncludeLine(context.Token(3));
  const std::vector<std::string>& lines = template_file.lines();
  bool removed = false;
  for (size_t i = lines.size(); i-- > 0;) {
    if (Trim(lines[i]) != include_line) continue;
    // INCLUDE puts an empty line before its line when the file's last line
    // held text.
    const bool last = i + 1 == lines.size();
    if (last && i >= 2 && lines[i - 1].empty() && !IsBlank(lines[i - 2])) {
      template_file.Remove(i--);
    }
    template_file.Remove(i);
    removed = true;
  }
  if (!removed) return;
  const std::string bytes = template_file.Contents();
  template_file.Close();
  const Status replaced = ReplaceFile(env, context.Token(2), bytes);
  if (!replaced.ok()) context.Fail(env, kFailed, context.Token(2) + ": " + replaced.text);
}

}  // namespace zqmv5
