// The program entry: fixes the status of a fatal end before anything is
// allocated, then makes the real platform and runs Main once, with the real
// Log/Version dialog.

#include "app/dispatch.h"
#include "win32/win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Out of memory is a failure like any other. The switch /Q is ASCII and
  // stands at the start of the parameters, whose first characters fit inside
  // a string object: telling a quiet run allocates nothing yet.
  std::string start;
  for (wchar_t c : zqmv5::ParametersOf(GetCommandLineW()).substr(0, 7)) {
    start += c < 0x80 ? static_cast<char>(c) : '?';
  }
  zqmv5::g_fatal_exit_status =
      zqmv5::ExitStatusOf(zqmv5::TakeQuietSwitch(&start), zqmv5::Status::Kind::kNoRoom);
  const std::unique_ptr<zqmv5::Env> env = zqmv5::NewWin32Env();
  return zqmv5::Main(*env, zqmv5::OpenWin32VersionView);
}
