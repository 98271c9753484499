// The file side of the version window: preparing the next line at open, and
// what Ok and Cancel do to the version file.

#include <climits>
#include <string>

#include "runtime/fixed_text.h"
#include "runtime/record.h"
#include "runtime/window_fields.h"
#include "version/version_window.h"

namespace zqmv5 {
namespace {

// The highest build the field's four columns and the build spin box hold.
constexpr int32_t kHighestBuild = 9999;

// Every message box of the version file has no caption and no icon.
void Tell(Runtime& runtime, const std::string& text) {
  runtime.messages.ShowMessage(text, "", MessageIcon::kNone);
}

// The version as Ok writes it: two decimals in four columns, or in all five of
// VER:VER for a version of 10.00 or more taken from the file. A value that fits
// neither stays as the file had it, rather than turn into "#" characters.
std::string SavedVersion(const std::string& ver) {
  const double value = NumberFromText(ver);
  if (FitsPicture(value, "n4.2")) return FitString(FormatNumber(value, "n4.2"), kVerWidth);
  if (FitsPicture(value, "n5.2")) return FitString(FormatNumber(value, "n5.2"), kVerWidth);
  return FitString(ver, kVerWidth);
}

}  // namespace

bool VersionWindowProcedure::OpenVersionFile(const std::string& name) {
  if (VersionFile->Open(name, FileAccess::kReadWriteDenyWrite)) return true;
  // A file that is there but held by another program (or otherwise barred) is
  // never made anew: that would throw its lines away.
  if (runtime_.files.FileExists(name)) return false;
  VersionFile->Create(name);
  return VersionFile->Open(name, FileAccess::kReadWriteDenyWrite);
}

void VersionWindowProcedure::LoadVersionFile() {
  if (!OpenVersionFile(VersionFileName) && runtime_.files.FileExists(VersionFileName)) {
    Tell(runtime_, "The version file " + VersionFileName + " cannot be opened: " +
                       runtime_.error.text() +
                       "|It may be in use by another program. Nothing in it has been changed.");
  }
  LastPosition = 0;
  VER.Clear();

  // Empty lines that editors leave at the end hold no record: the last line
  // is the last one with text, and the empty ones after it stay as they are.
  const std::vector<std::string>& lines = VersionFile->lines();
  size_t count = lines.size();
  while (count > 0 && lines[count - 1].find_first_not_of(" \t") == std::string::npos) --count;
  if (count == 0) {
    VER.VER = FitString("1.00", kVerWidth);
    VER.BUILD = FitString("0001", kBuildWidth);
  } else {
    for (size_t i = 0; i < count; ++i) CommentOutLine(*VersionFile, i);
    VER.SetText(RecordFromLine(lines[count - 1], kVersionRecordSize));
    LastPosition = static_cast<uint32_t>(count);
    NextBuild();
    if (!VersionFile->Commit()) {
      // Nothing has been written, so there is nothing to restore; the window
      // has no file to work on and closes.
      Tell(runtime_, "The version file " + VersionFileName + " cannot be changed: " +
                         runtime_.error.text() + "|Nothing in it has been changed.");
      LastPosition = 0;
      CloseAllowed = 1;
      window_->PostEvent({WindowEventKind::kCloseRequest, 0});
    }
  }

  VER.LABEL = FitString("Version", kLabelWidth);
  VER.LP = FitString("EQUATE('", kLpWidth);
  VER.RP = FitString("')", kRpWidth);
  VER.ADDED = AddedText(runtime_.clock.Today(), runtime_.clock.TimeOfDay());
  VER.NOTE = FitString(UpdatesEnabled ? "" : "Update is turned off", kNoteWidth);

  ShowStatus();
  window_->Display();
}

void VersionWindowProcedure::NextBuild() {
  const double number = NumberFromText(VER.BUILD);
  int32_t build = number >= INT32_MAX   ? INT32_MAX
                  : number <= INT32_MIN ? INT32_MIN
                                        : static_cast<int32_t>(number);
  if (AutoIncrement && build < INT32_MAX) build += 1;
  // A fifth digit would push the line's later columns out of place; the build
  // stays at the highest that four columns hold.
  if (build > kHighestBuild) build = kHighestBuild;
  VER.BUILD = FitString(std::to_string(build), kBuildWidth);
}

void VersionWindowProcedure::SaveEntry() {
  const double build = NumberFromText(VER.BUILD);
  if (FitsPicture(build, "n04")) VER.BUILD = FitString(FormatNumber(build, "n04"), kBuildWidth);
  VER.VER = SavedVersion(VER.VER);
  VER.SP = FitString("", kSpWidth);

  // A new name is stored only once its file has taken the line. Until then
  // the old file stays the window's, with its last line ready to be restored
  // by Cancel; the file is closed first, as the new name may be the same file.
  const bool new_name = !IsBlank(VersionFileName) && !SameText(VersionFileName, OpenedName);
  if (new_name) {
    CloseVersionFile();
    if (!OpenVersionFile(VersionFileName)) {
      const std::string why = runtime_.error.text();
      VersionFile->Open(OpenedName, FileAccess::kReadWriteDenyWrite);
      Tell(runtime_, "The version file " + VersionFileName + " cannot be opened: " + why +
                         "|The line has not been added. Correct the file name, or cancel.");
      window_->Select(kFileEntry);
      return;
    }
  }
  VersionFile->Add(LineForAdd(VER.Text()));
  if (!VersionFile->Commit()) {
    // Nothing of the line is in the file; the window stays, so that Ok can be
    // tried again or Cancel restore the last line.
    Tell(runtime_, runtime_.error.text());
    if (new_name) {
      CloseVersionFile();
      VersionFile->Open(OpenedName, FileAccess::kReadWriteDenyWrite);
    }
    return;
  }
  if (new_name) runtime_.profile.WriteIniValue("FileName", "Name", VersionFileName, kSettingsIni);

  CloseAllowed = 1;
  runtime_.profile.WriteIniValue("Status", "On", UpdatesEnabled ? "1" : "0", kSavedStatusIni);
  runtime_.profile.WriteIniValue("Status", "Auto Increment", AutoIncrement ? "1" : "0",
                                 kSettingsIni);
  window_->PostEvent({WindowEventKind::kCloseRequest, 0});
}

bool VersionWindowProcedure::RestoreLastLine() {
  if (LastPosition == 0 || LastPosition > VersionFile->lines().size()) return true;
  MakeLineActive(*VersionFile, LastPosition - 1);
  return VersionFile->Commit();
}

void VersionWindowProcedure::CancelEntry() {
  CloseAllowed = 1;
  if (!RestoreLastLine()) Tell(runtime_, "Error restoring last record: " + runtime_.error.text());
  window_->PostEvent({WindowEventKind::kCloseRequest, 0});
}

void VersionWindowProcedure::EndSession() {
  // Windows may end the program as soon as this returns: the last line is
  // restored now, and no box can wait for anyone.
  if (!CloseAllowed) RestoreLastLine();
  CloseAllowed = 1;
  CloseVersionFile();
}

void VersionWindowProcedure::CloseVersionFile() { VersionFile->Close(); }

}  // namespace zqmv5
