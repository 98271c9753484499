// Runs a program for tools/run, with exactly the command line it is given.
// With nobody at the screen it prints every message box the program shows
// (caption and text), saves a screenshot of it, and presses OK; with a user's
// own display it leaves the boxes to the user.
//
//   zq_runner FILE
//
// FILE holds UTF-8 lines "name=value": "command" the whole command line (the
// program's own name first), "shots" the Windows path before each box's
// number and ".png" (none: no screenshots), "press-ok" 1 to answer the boxes.
// The command line crosses over in a file, not as our own arguments: Wine would
// quote those anew, in the code page of the Unix locale.

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>

#include "support/process.h"

using namespace zqmv5::testing;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zq_runner FILE\n");
    return 2;
  }
  std::map<std::string, std::string> settings;
  std::ifstream file(argv[1], std::ios::binary);
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t equals = line.find('=');
    if (equals != std::string::npos) settings[line.substr(0, equals)] = line.substr(equals + 1);
  }
  const std::string command = settings["command"];
  if (command.empty()) {
    std::fprintf(stderr, "zq_runner: no command line in %s\n", argv[1]);
    return 2;
  }
  RunOptions options;
  options.timeout_ms = 10 * 60 * 1000;
  options.utf8 = true;
  options.press_ok = settings["press-ok"] == "1";
  options.screenshot_prefix = settings["shots"];  // ASCII: tools/run keeps it in the prefix
  options.pass_output = true;  // what the program writes to its standard output shows here
  RunResult result = RunAndCatch(command, options);
  if (!result.started) {
    std::fprintf(stderr, "zq_runner: could not start %s (error %lu)\n", command.c_str(),
                 GetLastError());
    return 2;
  }
  int n = 0;
  for (const CaughtBox& box : result.boxes) {
    ++n;
    // Boxes hold text in the ANSI code page; the terminal reads UTF-8.
    std::printf("--- message box %d: \"%s\" (icon: %s; OK pressed)\n%s\n", n,
                Utf8FromAnsi(box.caption).c_str(), box.icon.c_str(), Utf8FromAnsi(box.text).c_str());
    if (!options.screenshot_prefix.empty()) {
      std::printf("    screenshot: %s%d.png\n", options.screenshot_prefix.c_str(), n);
    }
  }
  std::printf("--- exit status %lu\n", result.exit_code);
  std::fflush(stdout);
  return static_cast<int>(result.exit_code);
}
