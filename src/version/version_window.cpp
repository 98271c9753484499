#include "version/version_window.h"

#include "runtime/fixed_text.h"
#include "runtime/window_fields.h"

namespace zqmv5 {
namespace {

// The name of the window's stored layout.
constexpr char kVersionWindowLayout[] = "VERSIONWINDOW";

constexpr char kUpdatesOffNote[] = "Update is turned off";

// The program's own version, as the information page shows it.
constexpr char kProgramVersionText[] = "Version: 1.01  0006";

// The timer's period while entry is disabled: one tick a second.
constexpr int kTickHundredths = 100;

// A BYTE setting read from the settings file with the default "1".
uint8_t ReadFlag(Profile& profile, const char* entry) {
  return LowByte(NumberFromText(profile.ReadIniValue("Status", entry, "1", kSettingsIni)));
}

DataField TextField(int control, std::string* text, size_t size, bool blank_padded) {
  DataField f;
  f.field = control;
  f.text = text;
  f.size = size;
  f.blank_padded = blank_padded;
  return f;
}

// A spin box over a blank-padded number field.
DataField NumberField(int control, std::string* text, size_t size, const char* picture,
                      double low, double high, double step) {
  DataField f = TextField(control, text, size, true);
  f.kind = FieldKind::kNumber;
  f.picture = picture;
  f.low = low;
  f.high = high;
  f.step = step;
  return f;
}

DataField CheckField(int control, uint8_t* flag) {
  DataField f;
  f.field = control;
  f.kind = FieldKind::kCheck;
  f.flag = flag;
  return f;
}

}  // namespace

void VersionWindow(Runtime& runtime) {
  VersionWindowProcedure procedure(runtime);
  procedure.Run();
}

VersionWindowProcedure::VersionWindowProcedure(Runtime& runtime)
    : runtime_(runtime), VersionFile(runtime.text_files.NewTextFile()) {}

WindowDescription VersionWindowProcedure::Description() {
  WindowDescription d;
  d.layout = kVersionWindowLayout;

  d.fields = {
      TextField(kNoteEntry, &VER.NOTE, kNoteWidth, true),
      NumberField(kVersionSpin, &VER.VER, kVerWidth, "n5.2", 0, 9.99, 0.01),
      NumberField(kBuildSpin, &VER.BUILD, kBuildWidth, "n04", 0, 9999, 1),
      CheckField(kEnableUpdatesCheck, &UpdatesEnabled),
      CheckField(kAutoIncrementCheck, &AutoIncrement),
      TextField(kFileEntry, &VersionFileName, kVersionFileNameSize - 1, false),
  };

  d.groups = {{kVersionGroup, kInfoButton, kBuildSpin},
              {kSetupGroup, kEnableUpdatesCheck, kFileEntry},
              {kOptionsGroup, kOptionsPrompt, kOptionsPrompt},
              {kUtilityGroup, kDescriptionPrompt, kHiddenPrompt}};
  d.sheet = kSheet;
  d.pages = {{kMainTab, kDirectoryString, kCancelButton},
             {kInfoTab, kProgramVersionString, kHiddenPrompt}};
  d.fonts = {{kHeaderString, "Arial", 16, true}, {kCreditString, "Arial", 10, true}};
  d.icons = {{kInfoButton, StandardIcon::kInformation}, {kMainButton, StandardIcon::kApplication}};
  d.status_zones = {56, -1, 36};
  return d;
}

void VersionWindowProcedure::Run() {
  LastPosition = 0;
  OpenedName.clear();
  UpdatesEnabled = AutoIncrement = UpdatesAtOpen = AutoAtOpen = CloseAllowed = TickCount = 0;

  Profile& profile = runtime_.profile;
  UpdatesEnabled = ReadFlag(profile, "On");
  UpdatesAtOpen = UpdatesEnabled;
  AutoIncrement = ReadFlag(profile, "Auto Increment");
  AutoAtOpen = AutoIncrement;

  VersionFileName =
      FitCString(profile.ReadIniValue("FileName", "Name", "", kSettingsIni), kVersionFileNameSize);
  if (IsBlank(VersionFileName)) {
    VersionFileName = kDefaultVersionFileName;
    profile.WriteIniValue("FileName", "Name", VersionFileName, kSettingsIni);
  }

  CloseAllowed = 0;
  OpenedName = VersionFileName;

  window_ = runtime_.windows.OpenWindow(Description());
  if (!window_) {
    // Without its window the utility can do nothing; say so rather than end
    // without a sign. The version file has not been touched yet.
    runtime_.messages.ShowMessage(
        "The Log/Version window cannot be opened: " + runtime_.error.text(), "",
        MessageIcon::kNone);
    return;
  }
  window_->SetText(kDirectoryString, runtime_.files.ShortPath(""));
  window_->SetEndSessionHandler([this] { EndSession(); });

  if (UpdatesEnabled) {
    window_->SetTimer(0);
  } else {
    DisableEntry();
  }
  ShowStatus();
  LoadVersionFile();

  for (;;) {
    const WindowEvent event = window_->TakeEvent();
    if (event.kind == WindowEventKind::kClosed) break;
    switch (event.kind) {
      case WindowEventKind::kCloseRequest:
        if (!CloseAllowed) {
          // A close before Ok or Cancel is a Cancel: the comment-out made at
          // open must not stay behind.
          window_->PostEvent({WindowEventKind::kAccepted, kCancelButton});
          break;
        }
        CloseVersionFile();
        TakeFieldEvent(event);
        window_->Close();
        break;
      case WindowEventKind::kTimer:
        TakeTimer();
        TakeFieldEvent(event);
        break;
      default:
        TakeFieldEvent(event);
        break;
    }
  }
  CloseVersionFile();
  window_.reset();
}

void VersionWindowProcedure::ShowStatus() {
  window_->SetStatusText(1, FormatNumber(NumberFromText(VER.VER), "n04.2") + " " +
                                FormatNumber(NumberFromText(VER.BUILD), "n04"));
  window_->SetStatusText(2, VersionFileName);
  window_->SetStatusText(3, AutoAtOpen ? "Auto" : "Manual");
  window_->SetText(kProgramVersionString, kProgramVersionText);
}

void VersionWindowProcedure::EnableEntry() {
  window_->Enable(kVersionGroup, kVersionGroup);
  window_->Enable(kAutoIncrementCheck, kFileEntry);
  VER.NOTE = FitString("", kNoteWidth);
  window_->Enable(kOkButton, kCancelButton);
  window_->SetTimer(0);
}

void VersionWindowProcedure::DisableEntry() {
  window_->Disable(kVersionGroup, kVersionGroup);
  window_->Disable(kAutoIncrementCheck, kFileEntry);
  window_->Disable(kOkButton, kCancelButton);
  VER.NOTE = FitString(kUpdatesOffNote, kNoteWidth);
  window_->SetTimer(kTickHundredths);
}

void VersionWindowProcedure::TakeTimer() {
  if (UpdatesEnabled) return;
  if (TickCount < 255) ++TickCount;
  if (TickCount > 2 && !CloseAllowed) {
    // Closing by the timer undoes the comment-out made at open, as Cancel
    // does: a file left without an active line no longer defines Version.
    CancelEntry();
  }
}

void VersionWindowProcedure::TakeFieldEvent(const WindowEvent& event) {
  switch (event.kind) {
    case WindowEventKind::kAccepted:
      switch (event.field) {
        case kInfoButton:
          window_->Select(kInfoTab);
          break;
        case kMainButton:
          window_->Select(kMainTab);
          break;
        case kOkButton:
          SaveEntry();
          break;
        case kCancelButton:
          CancelEntry();
          break;
        case kVersionSpin:
        case kBuildSpin:
          ShowStatus();
          break;
        case kEnableUpdatesCheck:
          if (!UpdatesAtOpen) {
            if (UpdatesEnabled) {
              EnableEntry();
            } else {
              DisableEntry();
            }
            window_->Display();
          }
          break;
        default:
          break;
      }
      break;
    case WindowEventKind::kNewSelection:
      if (event.field == kVersionSpin || event.field == kBuildSpin) ShowStatus();
      break;
    case WindowEventKind::kRejected:
      if (event.field == kVersionSpin) {
        VER.VER = FitString("", kVerWidth);
        window_->Display();
      } else if (event.field == kBuildSpin) {
        VER.BUILD = FitString("", kBuildWidth);
        window_->Display();
      }
      break;
    default:
      break;
  }
}

}  // namespace zqmv5
