#ifndef ZQMV5_RUNTIME_WIN32_BACKENDS_H_
#define ZQMV5_RUNTIME_WIN32_BACKENDS_H_

// Factories and helpers of the Win32 backend, shared by its *_win32.cpp files
// and its tests. Plain C++: windows.h stays inside the backend's .cpp files.

#include <memory>
#include <string>

#include "runtime/runtime.h"

namespace zqmv5 {

std::unique_ptr<CommandLine> NewWin32CommandLine();
std::unique_ptr<Profile> NewWin32Profile(ErrorState& error);
std::unique_ptr<Messages> NewWin32Messages();
std::unique_ptr<Programs> NewWin32Programs(ErrorState& error);
std::unique_ptr<FileSystem> NewWin32FileSystem();
std::unique_ptr<Clock> NewWin32Clock();
std::unique_ptr<TextFiles> NewWin32TextFiles(ErrorState& error);
std::unique_ptr<DdeClient> NewWin32DdeClient(ErrorState& error);
std::unique_ptr<WindowSystem> NewWin32WindowSystem(ErrorState& error);

// The text after the program name in a Windows command line: the name ends at
// its closing quote when it starts with one, otherwise at the first blank or
// tab; the blanks and tabs after it are skipped.
std::string CommandTextAfterProgram(const std::string& command_line);

// A Win32 error code (GetLastError) as a runtime error number, and the
// system's text for it.
int RuntimeErrorFromWin32(unsigned long win32_error);
std::string Win32ErrorText(unsigned long win32_error);

// A Win32 error code as a runtime error number and its text: the standard
// text of the number, or the system's own text where the number is the
// general kFileSystemError (a full disk, say).
Status StatusFromWin32(unsigned long win32_error);

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_WIN32_BACKENDS_H_
