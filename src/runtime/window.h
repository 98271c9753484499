#ifndef ZQMV5_RUNTIME_WINDOW_H_
#define ZQMV5_RUNTIME_WINDOW_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zqmv5 {

// Controls are named by their numbers in a window's description (1, 2, ...).
// In a stored Win32 layout the control numbered n has the id 1000 + n; ids 1
// and 2 (IDOK, IDCANCEL) are what Windows sends for Enter and Esc.
constexpr int kControlIdBase = 1000;

// What happened in an open window.
enum class WindowEventKind {
  kCloseRequest,  // the frame's close button, Esc, or a posted close request
  kTimer,         // a tick of the window's timer
  kAccepted,      // a button pressed, a check box toggled, typed text taken
  kNewSelection,  // a spin box's arrows changed its value
  kRejected,      // typed text that does not fit its field; the variable is
                  // unchanged
  kClosed,        // the window has closed; no event follows
};

struct WindowEvent {
  WindowEventKind kind = WindowEventKind::kClosed;
  int field = 0;  // the control concerned; 0 for events of the window itself
};

// How a data field shows its variable and takes what the user types.
enum class FieldKind {
  kText,    // an entry: the variable holds the text itself
  kNumber,  // a spin box: the variable holds a number as text, shown by `picture`
  kCheck,   // a check box: the variable is 1 when checked, 0 when not
};

// One data field of a window and the variable it is bound to. The variables
// belong to the caller and must outlive the open window.
struct DataField {
  int field = 0;
  FieldKind kind = FieldKind::kText;
  std::string* text = nullptr;         // kText, kNumber
  size_t size = 0;                     // characters the text variable holds
  bool blank_padded = false;           // a blank-padded variable (else cut to `size`)
  std::string picture;                 // kNumber: a numeric picture such as "n5.2"
  double low = 0, high = 0, step = 1;  // kNumber: the range and the arrows' step
  uint8_t* flag = nullptr;             // kCheck
};

// A group and the controls it contains: enabling or disabling the group does
// the same to them.
struct ControlGroup {
  int group = 0;
  int first = 0, last = 0;
};

// A page of a sheet and the controls on it; only the selected page shows.
struct SheetPage {
  int tab = 0;
  int first = 0, last = 0;
};

// A text drawn in another font than the window's.
struct ControlFont {
  int field = 0;
  std::string face;
  int points = 0;
  bool italic = false;
};

// The platform's own icons that an icon-only button can show.
enum class StandardIcon {
  kInformation,
  kApplication,
};

struct ButtonIcon {
  int field = 0;
  StandardIcon icon = StandardIcon::kInformation;
};

// Everything a window needs beyond its stored layout: the layout's name, the
// data fields in binding order, and the relations between controls.
struct WindowDescription {
  std::string layout;  // the name of the stored layout (a dialog resource on Win32)
  std::vector<DataField> fields;
  std::vector<ControlGroup> groups;
  int sheet = 0;
  std::vector<SheetPage> pages;  // the first page is selected at open
  std::vector<ControlFont> fonts;
  std::vector<ButtonIcon> icons;
  std::vector<int> status_zones;  // widths in dialog units; -1 takes the rest
};

// An open window. Events come one at a time from TakeEvent; events the logic
// posts join the same queue behind those already waiting. A close request
// closes nothing by itself: the window closes when the logic calls Close.
class Window {
 public:
  virtual ~Window() = default;

  // Waits for the next event. Returns kClosed once Close has been called.
  virtual WindowEvent TakeEvent() = 0;

  // Queues an event as if it had happened: a close request (field 0) or an
  // event for a control, whatever state the control is in.
  virtual void PostEvent(WindowEvent event) = 0;

  // Lets the window close: TakeEvent then returns kClosed.
  virtual void Close() = 0;

  // Selects a control (gives it the focus) or a sheet's tab (shows its page).
  virtual void Select(int field) = 0;

  // Shows every data field's variable again.
  virtual void Display() = 0;

  // Enables or disables the controls first to last, groups with what they
  // contain.
  virtual void Enable(int first, int last) = 0;
  virtual void Disable(int first, int last) = 0;

  // Sets the text that a control shows.
  virtual void SetText(int field, const std::string& text) = 0;

  // Sets the text of status-bar zone `zone` (1-based).
  virtual void SetStatusText(int zone, const std::string& text) = 0;

  // Sets the timer's period in hundredths of a second; 0 stops it.
  virtual void SetTimer(int hundredths) = 0;

  // What to do when the session ends (log-off or shut-down) with the window
  // open. It runs at once, inside the notice, since the program may be ended
  // as soon as the notice has been answered.
  virtual void SetEndSessionHandler(std::function<void()> handler) = 0;
};

// Opens windows from their stored descriptions.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // Opens and shows the window. Returns null with the error state set when
  // the layout cannot be found or the window cannot be made. The window is
  // released when the returned object is destroyed.
  virtual std::unique_ptr<Window> OpenWindow(const WindowDescription& description) = 0;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_WINDOW_H_
