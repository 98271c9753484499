// Runs a program as a user would with nobody at the screen: prints every
// message box it shows (caption and text), saves a screenshot of it, and
// presses OK. Used by tools/run when there is no display of the user's own.
//
//   zq_runner [--shots PREFIX] COMMAND LINE...

#include <windows.h>

#include <cstdio>
#include <string>

#include "support/process.h"

using namespace zqmv5::testing;

int main(int argc, char** argv) {
  std::string shots;
  int i = 1;
  if (i + 1 < argc && std::string(argv[i]) == "--shots") {
    shots = argv[i + 1];
    i += 2;
  }
  // The rest of our own command line, as typed, is the program's command line.
  std::string line = GetCommandLineA();
  std::string command;
  {
    // Skip our own name and options the way Windows splits them.
    int skipped = 0;
    size_t p = 0;
    while (p < line.size() && skipped < i) {
      while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
      bool quoted = false;
      while (p < line.size() && (quoted || (line[p] != ' ' && line[p] != '\t'))) {
        if (line[p] == '"') quoted = !quoted;
        ++p;
      }
      ++skipped;
    }
    while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
    command = line.substr(p);
  }
  if (command.empty()) {
    std::fprintf(stderr, "usage: zq_runner [--shots PREFIX] COMMAND...\n");
    return 2;
  }
  RunOptions options;
  options.timeout_ms = 10 * 60 * 1000;
  options.screenshot_prefix = shots;
  options.pass_output = true;  // what the program writes to its standard output shows here
  RunResult result = RunAndCatch(command, options);
  if (!result.started) {
    std::fprintf(stderr, "could not start: %s\n", command.c_str());
    return 2;
  }
  int n = 0;
  for (const CaughtBox& box : result.boxes) {
    ++n;
    std::printf("--- message box %d: \"%s\" (icon: %s; OK pressed)\n%s\n", n, box.caption.c_str(),
                box.icon.c_str(), box.text.c_str());
    if (!shots.empty()) std::printf("    screenshot: %s%d.png\n", shots.c_str(), n);
  }
  std::printf("--- exit status %lu\n", result.exit_code);
  std::fflush(stdout);
  return static_cast<int>(result.exit_code);
}
