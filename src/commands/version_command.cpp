#include "commands/version_command.h"

#include <string>

#include "text/line_file.h"
#include "text/version_record.h"
#include "version/version_file.h"

namespace zqmv5 {

void VersionCommand(CommandContext& context, Env& env) {
  const std::string note = context.TextFrom(2);
  if (HasControlCharacter(note)) {
    context.Tell(
        env, {Status::Kind::kBadInput, std::string(kNoteControlText) + "|Nothing has been added."},
        "", MessageIcon::kNone);
    return;
  }
  VersionSettings settings;
  const Status read = ReadVersionSettings(env, &settings);
  if (!read.ok()) {
    context.Tell(env, read.Reworded(CannotReadSettingsText(read)), "", MessageIcon::kNone);
    return;
  }
  if (!settings.updates_enabled) {
    context.Note(env, "Updates are turned off; nothing was added.");
    return;
  }
  const std::string name = settings.file_name.empty() ? kDefaultVersionFile : settings.file_name;
  LineFile file(env);
  const Status opened = OpenVersionFile(file, name);
  if (!opened.ok()) {
    context.Tell(env, opened.Reworded(CannotOpenText(name, opened)), "", MessageIcon::kNone);
    return;
  }
  const NextLine next = PrepareNextLine(file, settings.auto_increment);
  file.Add(NewVersionLine(VersionField(next.version, next.version_field), next.build,
                          AddedText(env.Now()), note.substr(0, kNoteWidth)));
  const Status written = file.Commit();
  if (!written.ok()) {
    context.Tell(env, written.Reworded(CannotChangeText(name, written)), "", MessageIcon::kNone);
  }
}

}  // namespace zqmv5
