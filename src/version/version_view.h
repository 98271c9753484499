#ifndef ZQMV5_VERSION_VERSION_VIEW_H_
#define ZQMV5_VERSION_VERSION_VIEW_H_

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "env/env.h"

namespace zqmv5 {

// What the user did in the Log/Version dialog.
enum class ViewEvent {
  kOk,              // Ok, or Enter
  kCancel,          // Cancel
  kCloseRequest,    // the frame's close button, Esc, or a posted request
  kTimer,           // a tick of the timer
  kUpdatesToggled,  // "Enable Updates" was checked or cleared
  kVersionLeft,     // the focus left the version field
  kBuildLeft,       // the focus left the build field
  kVersionUp,       // an arrow of the version field
  kVersionDown,
  kBuildUp,  // an arrow of the build field
  kBuildDown,
  kInfoPage,  // the button that leads to the information page
  kMainPage,  // the button that leads back to the main page
  kClosed,    // Close was called; no event follows
};

// The dialog's texts, and its check boxes.
enum class Field { kVersion, kBuild, kNote, kFileName, kDirectory };
enum class Check { kUpdates, kAutoIncrement };
enum class Page { kMain, kInfo };

// The Log/Version dialog as the window's logic sees it: texts and check boxes
// that it shows and hands back as they stand, parts that it enables, and what
// the user did, one event at a time. A control that is disabled or hidden
// hands out no event.
class VersionView {
 public:
  virtual ~VersionView() = default;

  // Waits for the next event; kClosed once Close has been called.
  virtual ViewEvent NextEvent() = 0;
  // Queues an event behind those already waiting.
  virtual void Post(ViewEvent event) = 0;
  virtual void Close() = 0;

  virtual void SetText(Field field, const std::string& text) = 0;
  // What the field shows now, typed by the user or set by a tool alike.
  virtual std::string Text(Field field) = 0;
  // The most characters that the user can type into `field`.
  virtual void LimitText(Field field, size_t length) = 0;
  virtual void SetChecked(Check check, bool checked) = 0;
  virtual bool Checked(Check check) = 0;
  // Sets status-bar zone 1, 2 or 3.
  virtual void ShowStatus(int zone, const std::string& text) = 0;

  // Enables or disables the entry part: the version group, "Auto Increment
  // Build", the file name, Ok and Cancel. "Enable Updates" stays usable.
  virtual void EnableEntry(bool enabled) = 0;
  // Shows one page and hides the other; the main page shows at first.
  virtual void ShowPage(Page page) = 0;
  // Gives `field` the focus, its text selected.
  virtual void SelectField(Field field) = 0;
  // Sets the timer's period in hundredths of a second; 0 stops it.
  virtual void SetTimer(int hundredths) = 0;
  // Runs `handler` when the session ends (log-off or shut-down) with the
  // dialog open, inside the notice: the program may end once it is answered.
  virtual void OnSessionEnd(std::function<void()> handler) = 0;
};

// Opens the Log/Version dialog; fails when it cannot be made. The program
// entry hands the real one to Main.
using VersionViewOpener = std::function<Status(std::unique_ptr<VersionView>*)>;

}  // namespace zqmv5

#endif  // ZQMV5_VERSION_VERSION_VIEW_H_
