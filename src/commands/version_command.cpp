#include "commands/version_command.h"

#include <string>

#include "text/line_file.h"
#include "text/version_record.h"
#include "version/version_file.h"

namespace zqmv5 {

void VersionCommand(CommandContext& context, Env& env) {
  const std::string note = context.TextFrom(2);
  if (HasControlCharacter(note)) {
    context.Tell(env, std::string(kNoteControlText) + "|Nothing has been added.", "",
                 kWrongCommandLine, MessageIcon::kNone);
    return;
  }
  const VersionSettings settings = ReadVersionSettings(env);
  if (!settings.updates_enabled) {
    context.Fail(env, kDone, "Updates are turned off; nothing was added.");
    return;
  }
  const std::string name = settings.file_name.empty() ? kDefaultVersionFile : settings.file_name;
  LineFile file(env);
  const Status opened = OpenVersionFile(file, name);
  if (!opened.ok()) {
    context.Tell(env, CannotOpenText(name, opened), "", kFailed, MessageIcon::kNone);
    return;
  }
  const NextLine next = PrepareNextLine(file, settings.auto_increment);
  file.Add(NewVersionLine(VersionField(next.version, next.version_field), next.build,
                          AddedText(env.Today(), env.TimeOfDay()), note.substr(0, kNoteWidth)));
  const Status written = file.Commit();
  if (!written.ok()) {
    context.Tell(env,
                 "The version file " + name + " cannot be changed: " + written.text +
                     "|Nothing in it has been changed.",
                 "", kFailed, MessageIcon::kNone);
  }
}

}  // namespace zqmv5
