#include "commands/include_command.h"

#include "runtime/fixed_text.h"

namespace zqmv5 {

std::string IncludeLine(const std::string& include_name) {
  return "#INCLUDE('" + include_name + "')";
}

void AppendIncludeLine(TextFile& template_file, const std::string& last_line,
                       const std::string& include_name) {
  if (!IsBlank(last_line)) template_file.Add("");
  template_file.Add(IncludeLine(include_name));
}

void IncludeCommand(CommandContext& context, Runtime& runtime) {
  const std::string TemplateFileName = FitCString(context.Token(2), kTextFieldSize);
  const std::string include_name = FitCString(context.Token(3), kTextFieldSize);
  if (IsBlank(include_name) || IsBlank(TemplateFileName)) return;
  // A longer include line would not fit a template line of 255 characters,
  // and a line break would split it: rather nothing than a broken line.
  if (include_name.size() > kMaxIncludeName) return;
  if (include_name.find_first_of("\r\n") != std::string::npos) return;

  // A file that cannot be read to its end is not opened: the rest of it is
  // unknown, and a second include line could follow.
  std::unique_ptr<TextFile> template_file = runtime.text_files.NewTextFile();
  if (!template_file->Open(TemplateFileName, FileAccess::kReadWriteDenyNone)) return;

  // Whole lines are searched, however long, so that an include line beyond
  // the 255th character of a line is found too.
  const std::string include_line = IncludeLine(include_name);
  const std::vector<std::string>& lines = template_file->lines();
  for (const std::string& line : lines) {
    if (line.find(include_line) != std::string::npos) return;
  }
  AppendIncludeLine(*template_file, lines.empty() ? "" : lines.back(), include_name);
  // A failed write leaves the file as it was; INCLUDE tells nobody.
  template_file->Commit();
}

}  // namespace zqmv5
