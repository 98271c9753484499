#include "commands/lib_src_command.h"

#include <algorithm>
#include <string>
#include <vector>

#include "env/ansi_text.h"
#include "env/program.h"
#include "text/strings.h"

namespace zqmv5 {
namespace {

constexpr char kLibSrcCaption[] = "Set ABC Library Directory";
constexpr char kPaths[] = "Paths";
constexpr char kLibsrc[] = "Libsrc";

// LIBSRC's undo records live in the IDE's INI file, beside the entry they
// undo, so that two IDE installations keep two sets. Each entry's name is a
// directory that LIBSRC set, as "Libsrc" holds it, and its value is what
// "Libsrc" held before, or kWasAbsent when there was no "Libsrc".
constexpr char kRecords[] = "ZQMV5 Libsrc Undo";
// No directory's path holds "<" or ">".
constexpr char kWasAbsent[] = "<absent>";
// No INI value holds a line break: a read that gives this found no entry.
constexpr char kNoEntry[] = "\n";

// The name of a directory's record: the directory as "Libsrc" reads back,
// upper-cased and without the blanks at either end that the profile API drops.
std::string RecordName(Env& env, const std::string& directory) {
  return Trim(UpperCase(env, directory));
}

// Writes `directory` as "Libsrc", after the record of the value it replaces
// unless the directory has one already: a re-run installer would otherwise
// record its own directory as the value before. A record that cannot be
// written leaves "Libsrc" as it was, and a "Libsrc" that cannot be written
// takes its new record back.
Status SetLibsrc(CommandContext& context, Env& env, const std::string& directory) {
  const std::string& ini = context.ini_file;
  const std::string name = RecordName(env, directory);
  bool recorded = false;
  std::string record;
  if (!IsIniEntryName(name)) {
    context.Note(env, "No undo record is kept for a directory with \"=\" or a leading \"[\", "
                      "which an INI entry cannot be named by: UNLIBSRC cannot take it back.");
  } else {
    Status status = env.ReadIniValue(kRecords, name, kNoEntry, ini, &record);
    if (!status.ok()) return status;
    if (record == kNoEntry) {
      std::string before;
      status = env.ReadIniValue(kPaths, kLibsrc, kWasAbsent, ini, &before);
      if (status.ok()) status = env.WriteIniValue(kRecords, name, before, ini);
      if (!status.ok()) return status;
      recorded = true;
    }
  }
  const Status written = env.WriteIniValue(kPaths, kLibsrc, UpperCase(env, directory), ini);
  if (!written.ok() && recorded) env.RemoveIniValue(kRecords, name, ini);
  return written;
}

// Takes the directory `name` out of the chain: "Libsrc", or else the record
// of the value that replaced it, found from "Libsrc" down the records, gets
// `before`, the value `name` replaced. A chain that leads nowhere (a value
// set by hand, or a loop) has no record to hand it on.
Status HandOnValueBefore(Env& env, const std::string& ini, const std::string& name,
                         const std::string& before) {
  std::string libsrc;
  const Status read = env.ReadIniValue(kPaths, kLibsrc, kWasAbsent, ini, &libsrc);
  if (!read.ok()) return read;
  if (RecordName(env, libsrc) == name) {
    return before == kWasAbsent ? env.RemoveIniValue(kPaths, kLibsrc, ini)
                                : env.WriteIniValue(kPaths, kLibsrc, before, ini);
  }
  std::vector<std::string> seen;
  for (std::string above = RecordName(env, libsrc);
       std::find(seen.begin(), seen.end(), above) == seen.end();) {
    std::string below;
    const Status next = env.ReadIniValue(kRecords, above, kNoEntry, ini, &below);
    if (!next.ok()) return next;
    if (below == kNoEntry) break;
    if (RecordName(env, below) == name) return env.WriteIniValue(kRecords, above, before, ini);
    seen.push_back(above);
    above = RecordName(env, below);
  }
  return {};
}

}  // namespace

void LibSrcCommand(CommandContext& context, Env& env) {
  const std::string directory = context.Token(2);
  if (IsBlank(directory)) {
    return context.Tell(env, {Status::Kind::kBadInput, "File parameter missing from command line"},
                        kLibSrcCaption);
  }
  if (HasLineBreak(directory)) {
    return context.Tell(
        env, {Status::Kind::kBadInput, "The directory parameter cannot hold a line break"},
        kLibSrcCaption);
  }
  {
    const std::unique_ptr<ProcessLock> turn = context.TakeIdeIniTurn(env);
    if (!turn) return;
    const Status written = SetLibsrc(context, env, directory);
    if (!written.ok()) context.Fail(env, written.About(context.ini_file));
  }
  // The help text promises "LIBSRC Path [Run] (Any third parameter will run CW)".
  if (IsBlank(context.exe_name) || context.Token(3).empty()) return;
  const Status started = RunProgram(env, context.exe_name);
  if (!started.ok()) context.Fail(env, started);
}

void UnLibSrcCommand(CommandContext& context, Env& env) {
  const std::string path = context.Token(2);
  const std::string name = RecordName(env, path);
  if (name.empty() || !IsIniEntryName(name)) {
    return context.Tell(
        env,
        {Status::Kind::kBadInput, "Command line parameter is: Path.  Found was: |   Path: " + path},
        "Incorrect Command Line");
  }
  const std::unique_ptr<ProcessLock> turn = context.TakeIdeIniTurn(env);
  if (!turn) return;
  const std::string& ini = context.ini_file;
  std::string before;
  Status status = env.ReadIniValue(kRecords, name, kNoEntry, ini, &before);
  if (!status.ok()) return context.Fail(env, status.About(ini));
  if (before == kNoEntry) return context.Note(env, "nothing to take back");
  // The record goes only once its value is handed on, so that a failed run
  // can be run again.
  status = HandOnValueBefore(env, ini, name, before);
  if (status.ok()) status = env.RemoveIniValue(kRecords, name, ini);
  if (!status.ok()) context.Fail(env, status.About(ini));
}

}  // namespace zqmv5
