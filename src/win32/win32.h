// What the Win32 files share among themselves and with their tests.
#ifndef ZQMV5_WIN32_WIN32_H_
#define ZQMV5_WIN32_WIN32_H_

#include <windows.h>
// windows.h leaves DDEML out when WIN32_LEAN_AND_MEAN is defined.
#include <ddeml.h>

#include <memory>
#include <string>

#include "env/env.h"
#include "version/version_view.h"

namespace zqmv5 {

// The failure that a Win32 error code stands for: its kind, the standard text
// of the common file failures or else the system's own text, and the code as
// its number. ERROR_SUCCESS is ok.
Status StatusFromWin32(DWORD win32_error);

// The Log/Version dialog, made from its dialog resource.
Status OpenWin32VersionView(std::unique_ptr<VersionView>* view);

// DDE client conversations over the DDE Management Library.
std::unique_ptr<DdeClient> NewWin32DdeClient();

// What follows the program's name and the blanks after it on a command line.
std::wstring_view ParametersOf(std::wstring_view command_line);

// The exit status of a run that ends for want of memory (the MinGW lean
// runtime's), fixed by the program entry before anything is allocated.
inline int g_fatal_exit_status = 0;

}  // namespace zqmv5

#endif  // ZQMV5_WIN32_WIN32_H_
