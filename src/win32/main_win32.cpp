// The program entry: fixes the status of a fatal end before anything is
// allocated, makes the real platform and runs Main once with the real dialog.

#include "app/dispatch.h"
#include "win32/win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Out of memory is a failure like any other. The switch /Q is ASCII, and a
  // string this short holds its characters itself: nothing is allocated yet.
  std::string start;
  for (wchar_t c : zqmv5::ParametersOf(GetCommandLineW()).substr(0, 7)) start += c < 128 ? c : '?';
  const bool quiet = zqmv5::TakeQuietSwitch(&start);
  zqmv5::g_fatal_exit_status = zqmv5::ExitStatusOf(quiet, zqmv5::Status::Kind::kNoRoom);
  return zqmv5::Main(*zqmv5::NewWin32Env(), zqmv5::OpenWin32VersionView);
}
