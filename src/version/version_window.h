#ifndef ZQMV5_VERSION_VERSION_WINDOW_H_
#define ZQMV5_VERSION_VERSION_WINDOW_H_

#include <cstdint>
#include <memory>
#include <string>

#include "runtime/runtime.h"
#include "version/version_file.h"

namespace zqmv5 {

// Runs the Log/Version window until it closes.
void VersionWindow(Runtime& runtime);

// The version window's controls, numbered in window order.
enum VersionControl : int {
  kIconImage = 1,
  kHeaderString = 2,
  kSheet = 3,
  kMainTab = 4,
  kDirectoryString = 5,
  kVersionGroup = 6,
  kInfoButton = 7,
  kNotePrompt = 8,
  kNoteEntry = 9,
  kVersionPrompt = 10,
  kVersionSpin = 11,
  kBuildPrompt = 12,
  kBuildSpin = 13,
  kSetupGroup = 14,
  kEnableUpdatesCheck = 15,
  kAutoIncrementCheck = 16,
  kFilePrompt = 17,
  kFileEntry = 18,
  kOkButton = 19,
  kCancelButton = 20,
  kInfoTab = 21,
  kProgramVersionString = 22,
  kMainButton = 23,
  kCreditString = 24,
  kOptionsGroup = 25,
  kOptionsPrompt = 26,
  kUtilityGroup = 27,
  kDescriptionPrompt = 28,
  kHiddenPrompt = 29,
};

// The settings files of the version window.
constexpr char kSettingsIni[] = ".\\ZQMV5.ini";
constexpr char kSavedStatusIni[] = ".\\ZQMV.ini";

// One run of the version window: the version record and file it keeps, the
// window's own variables, and the steps that share them.
class VersionWindowProcedure {
 public:
  explicit VersionWindowProcedure(Runtime& runtime);
  VersionWindowProcedure(const VersionWindowProcedure&) = delete;
  VersionWindowProcedure& operator=(const VersionWindowProcedure&) = delete;

  // Opens the window, runs its events until it closes, and releases it.
  void Run();

  // The window's description, its data fields bound to this run's variables.
  WindowDescription Description();

 private:
  // The window's steps (version_window.cpp).
  void ShowStatus();
  void EnableEntry();
  void DisableEntry();
  void TakeTimer();
  void TakeFieldEvent(const WindowEvent& event);

  // The file's steps (version_entry.cpp).
  void LoadVersionFile();
  void NextBuild();
  void SaveEntry();
  void CancelEntry();
  void EndSession();
  void CloseVersionFile();
  // Opens the version file under `name`, creating it when it does not exist.
  bool OpenVersionFile(const std::string& name);
  // Makes the line last read at open active again and commits it; true when
  // there was nothing to restore.
  bool RestoreLastLine();

  Runtime& runtime_;

  // The version record, its file and the file's name.
  VersionRecord VER;
  std::string VersionFileName;
  std::unique_ptr<TextFile> VersionFile;

  // The window's variables.
  uint8_t UpdatesEnabled = 0;
  uint8_t AutoIncrement = 0;
  uint8_t UpdatesAtOpen = 0;
  uint8_t AutoAtOpen = 0;
  std::string OpenedName;
  uint32_t LastPosition = 0;  // the last line at open (1-based); 0 when there was none
  uint8_t CloseAllowed = 0;
  uint8_t TickCount = 0;

  std::unique_ptr<Window> window_;
};

}  // namespace zqmv5

#endif  // ZQMV5_VERSION_VERSION_WINDOW_H_
