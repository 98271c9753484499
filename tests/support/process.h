#ifndef ZQMV5_TESTS_SUPPORT_PROCESS_H_
#define ZQMV5_TESTS_SUPPORT_PROCESS_H_

#include <functional>
#include <string>
#include <vector>

#include "support/message_boxes.h"

namespace zqmv5::testing {

struct RunOptions {
  std::string directory;             // the program's current directory; "" = ours
  unsigned long timeout_ms = 60000;  // then the program is ended and timed_out set
  std::string screenshot_prefix;     // saves each message box as <prefix>N.png
  std::string output_file;           // hands the program this file as its standard output
  bool pass_output = false;          // hands the program our own standard output
  bool utf8 = false;                 // the command line is UTF-8, started as wide text
  bool press_ok = true;              // false: the boxes are left to whoever is at the screen
  // Called about every 20 ms while the program runs (a test's own driver).
  std::function<void(unsigned long process_id)> while_running;
};

struct RunResult {
  unsigned long exit_code = 0;
  bool started = false;
  bool timed_out = false;
  double seconds = 0;
  std::vector<CaughtBox> boxes;
};

// Starts `command_line`, presses OK on each message box it shows (recording
// them) unless told not to, and waits for it to end.
RunResult RunAndCatch(const std::string& command_line, const RunOptions& options = {});

// Starts a program without waiting; returns its process handle (0 on failure).
void* StartDetached(const std::string& command_line, const std::string& directory = "");

// The top-level windows of class `class_name` that process `process_id` owns
// (0: any process), in z-order; with `visible_only`, the visible ones alone.
std::vector<void*> FindWindowsOf(unsigned long process_id, const std::string& class_name,
                                 bool visible_only);

// The directory of the running program, where ZQMV5.exe and the test helpers lie.
std::string ProgramDirectory();

// ANSI text (paths from the A functions) as UTF-8, for a command line that
// goes as wide text (RunOptions::utf8).
std::string Utf8FromAnsi(const std::string& ansi);

// Quotes a path for a command line.
std::string Quoted(const std::string& path);

}  // namespace zqmv5::testing

#endif  // ZQMV5_TESTS_SUPPORT_PROCESS_H_
