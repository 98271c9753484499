#ifndef ZQMV5_CMDLINE_DISCOVERY_H_
#define ZQMV5_CMDLINE_DISCOVERY_H_

#include <cstdint>

#include "cmdline/command_context.h"
#include "runtime/runtime.h"

namespace zqmv5 {

// Where the program looks for the IDE installation.
inline constexpr char kOwnIniFile[] = "ZQMV5.ini";  // bare name: the Windows directory
inline constexpr char kOwnIniSection[] = "Clarion";
inline constexpr char kWinIniEnterpriseSection[] = "Clarion 5  Enterprise Edition";
inline constexpr char kWinIniSection[] = "Clarion 5";
inline constexpr char kDefaultIdeIniFile[] = "\\Bin\\C5ee.ini";

// Creates the token queue, sets CMD and PROGRAMPATH, finds ROOT, EXENAME and
// INIFILE, and tokenizes the command line. Returns 0 when the installation
// was found, 1 when it was not; the "Entry Not Found" box has then been shown
// and the command line is not tokenized.
uint8_t Discover(CommandContext& context, Runtime& runtime);

// Inner steps of Discover. FindInstallation sets ROOT and EXENAME and returns
// 1 when either cannot be found; FindIniFile sets INIFILE and never fails.
uint8_t FindInstallation(CommandContext& context, Runtime& runtime);
void FindIniFile(CommandContext& context, Runtime& runtime);

}  // namespace zqmv5

#endif  // ZQMV5_CMDLINE_DISCOVERY_H_
