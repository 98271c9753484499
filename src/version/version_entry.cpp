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

bool VersionWindowProcedure::OpenVersionFile() {
  if (VersionFile->Open(VersionFileName, FileAccess::kReadWriteDenyWrite)) return true;
  if (runtime_.files.FileExists(VersionFileName)) {
    // The file is there but held by another program (or otherwise barred):
    // making it anew would throw its lines away.
    Tell(runtime_, "The version file " + VersionFileName +
                       " cannot be opened: " + runtime_.error.text() +
                       "|It may be in use by another program. Nothing in it "
                       "has been changed.");
    return false;
  }
  VersionFile->Create(VersionFileName);
  return VersionFile->Open(VersionFileName, FileAccess::kReadWriteDenyWrite);
}

void VersionWindowProcedure::LoadVersionFile() {
  OpenVersionFile();
  LastPosition = 0;
  VER.Clear();

  std::string line;
  VersionFile->SetToFirst();
  if (!VersionFile->Next(&line)) {
    VER.VER = FitString("1.00", kVerWidth);
    VER.BUILD = FitString("0001", kBuildWidth);
  } else {
    do {
      line_read_ = line;
      VER.SetText(RecordFromLine(line_read_, kVersionRecordSize));
      LastPosition = VersionFile->Position();
      CommentOutLine(VER, *VersionFile, line_read_);
    } while (VersionFile->Next(&line));
    NextBuild();
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
  CloseAllowed = 1;
  const double build = NumberFromText(VER.BUILD);
  if (FitsPicture(build, "n04")) VER.BUILD = FitString(FormatNumber(build, "n04"), kBuildWidth);
  VER.VER = SavedVersion(VER.VER);
  VER.SP = FitString("", kSpWidth);

  if (!IsBlank(VersionFileName) && !SameText(VersionFileName, OpenedName)) {
    CloseVersionFile();
    runtime_.profile.WriteIniValue("FileName", "Name", VersionFileName, kSettingsIni);
    OpenVersionFile();
  }

  if (!VersionFile->Add(LineForAdd(VER.Text()))) Tell(runtime_, runtime_.error.text());

  runtime_.profile.WriteIniValue("Status", "On", UpdatesEnabled ? "1" : "0", kSavedStatusIni);
  runtime_.profile.WriteIniValue("Status", "Auto Increment", AutoIncrement ? "1" : "0",
                                 kSettingsIni);
  window_->PostEvent({WindowEventKind::kCloseRequest, 0});
}

void VersionWindowProcedure::CancelEntry() {
  CloseAllowed = 1;
  if (LastPosition != 0) {
    VER.Clear();
    std::string line;
    if (!VersionFile->Reget(LastPosition, &line)) {
      // The buffer now holds no line: writing it back would blank a stored
      // line, so the rewrite is skipped.
      Tell(runtime_, "Error getting last record: " + runtime_.error.text() +
                         "|Ptr: " + std::to_string(LastPosition));
    } else {
      VER.SetText(RecordFromLine(line, kVersionRecordSize));
      VER.LABEL = FitString("Version", kLabelWidth);
      if (!VersionFile->Put(LineForPut(VER.Text(), line, kVersionRecordSize))) {
        Tell(runtime_, "Error restoring last record: " + runtime_.error.text());
      }
    }
  }
  window_->PostEvent({WindowEventKind::kCloseRequest, 0});
}

void VersionWindowProcedure::CloseVersionFile() { VersionFile->Close(); }

}  // namespace zqmv5
