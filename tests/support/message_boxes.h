#ifndef ZQMV5_TESTS_SUPPORT_MESSAGE_BOXES_H_
#define ZQMV5_TESTS_SUPPORT_MESSAGE_BOXES_H_

#include <string>
#include <vector>

namespace zqmv5::testing {

// One message box as a user saw it.
struct CaughtBox {
  std::string caption;
  std::string text;                  // lines joined by "\n"
  std::string icon;                  // "information", "winlogo", "application", "warning", "error",
                                     // "question", "none" or "unknown"
  std::vector<std::string> buttons;  // button texts, in window order
};

// Finds the message boxes that a process shows, records each one and presses
// its OK (or only) button. Poll it while the process runs.
class MessageBoxCatcher {
 public:
  // `process_id` 0 catches the boxes of every process.
  explicit MessageBoxCatcher(unsigned long process_id = 0);

  // Records and closes the boxes that are showing now and have been painted.
  // Returns how many it closed.
  int Poll();

  // Where to save a screenshot (PNG) of each box before it is closed; "" for none.
  void SaveScreenshotsAs(const std::string& path_prefix) { screenshot_prefix_ = path_prefix; }

  std::vector<CaughtBox> boxes;

 private:
  unsigned long process_id_;
  std::string screenshot_prefix_;
  std::vector<std::pair<void*, unsigned long>> seen_;  // window, first seen (tick)
};

// Formats boxes for a test's failure message or a terminal.
std::string Describe(const CaughtBox& box);
std::string Describe(const std::vector<CaughtBox>& boxes);

}  // namespace zqmv5::testing

#endif  // ZQMV5_TESTS_SUPPORT_MESSAGE_BOXES_H_
