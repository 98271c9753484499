#include "commands/version_command.h"

#include <string>

#include "text/line_file.h"
#include "text/version_record.h"
#include "version/version_settings.h"

namespace zqmv5 {

void VersionCommand(CommandContext& context, Env& env) {
  // The failures' boxes have no caption and no icon.
  const auto fail = [&](const Status& failure) {
    context.Tell(env, failure, "", MessageIcon::kNone);
  };
  const std::string note = context.TextFrom(2);
  if (HasControlCharacter(note)) {
    return fail(
        {Status::Kind::kBadInput, std::string(kNoteControlText) + "|Nothing has been added."});
  }
  VersionSettings settings;
  const Status read = ReadVersionSettings(env, &settings);
  if (!read.ok()) return fail(read.Reworded(CannotReadSettingsText(read)));
  if (!settings.updates_enabled) {
    return context.Note(env, "Updates are turned off; nothing was added.");
  }
  const std::string name = settings.file_name.empty() ? kDefaultVersionFile : settings.file_name;
  LineFile file(env);
  const Status opened = OpenVersionFile(file, name);
  if (!opened.ok()) return fail(opened.Reworded(CannotOpenText(name, opened)));
  const NextLine next = PrepareNextLine(file, settings.auto_increment);
  file.Add(NewVersionLine(VersionField(next.version, next.version_field), next.build,
                          AddedText(env.Now()), note.substr(0, kNoteWidth)));
  const Status written = file.Commit();
  if (!written.ok()) fail(written.Reworded(CannotChangeText(name, written)));
}

}  // namespace zqmv5
