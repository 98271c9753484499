#ifndef ZQMV5_ENV_VERSION_VIEW_H_
#define ZQMV5_ENV_VERSION_VIEW_H_

#include <functional>
#include <optional>
#include <string>

namespace zqmv5 {

// What happened in the Log/Version dialog.
enum class ViewEvent {
  kOk,               // Ok, or Enter; the fields' texts have all been taken
  kCancel,           // Cancel
  kCloseRequest,     // the frame's close button, Esc, or a posted request
  kTimer,            // a tick of the timer
  kUpdatesToggled,   // "Enable Updates" was checked or cleared
  kVersionChanged,   // the version was typed or stepped
  kBuildChanged,     // the build was typed or stepped
  kVersionRejected,  // typed text that is no version from 0.00 to 9.99
  kBuildRejected,    // typed text that is no build from 0 to 9999
  kClosed,           // Close was called; no event follows
};

// What the dialog's fields hold.
struct VersionEntry {
  std::optional<int> version;  // in hundredths; nullopt for a blank field
  std::optional<int> build;
  std::string note;
  std::string file_name;
  bool updates_enabled = false;
  bool auto_increment = false;
};

// The Log/Version dialog as the version logic sees it: it shows what it is
// given and hands out what the user did, one event at a time. Typed text that
// does not fit a field is rejected and leaves the field's value as it was. The
// dialog switches between its main and information pages by itself.
class VersionView {
 public:
  virtual ~VersionView() = default;

  // Waits for the next event; kClosed once Close has been called.
  virtual ViewEvent NextEvent() = 0;
  // Queues an event behind those already waiting.
  virtual void Post(ViewEvent event) = 0;
  virtual void Close() = 0;

  virtual void Show(const VersionEntry& entry) = 0;
  // What the fields hold now; text typed but not yet taken does not count.
  virtual VersionEntry entry() = 0;
  virtual void ShowDirectory(const std::string& directory) = 0;
  // Sets status-bar zone 1, 2 or 3.
  virtual void ShowStatus(int zone, const std::string& text) = 0;

  // Enables or disables the entry part: the version group, "Auto Increment
  // Build", the file name, Ok and Cancel. "Enable Updates" stays usable.
  virtual void EnableEntry(bool enabled) = 0;
  // Gives the file name the focus, its text selected.
  virtual void SelectFileName() = 0;
  // Sets the timer's period in hundredths of a second; 0 stops it.
  virtual void SetTimer(int hundredths) = 0;
  // Runs `handler` when the session ends (log-off or shut-down) with the
  // dialog open, inside the notice: the program may end once it is answered.
  virtual void OnSessionEnd(std::function<void()> handler) = 0;
};

}  // namespace zqmv5

#endif  // ZQMV5_ENV_VERSION_VIEW_H_
