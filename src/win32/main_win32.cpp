// The program entry: makes the real platform and runs Main once, with the
// real Log/Version dialog.

#include "app/dispatch.h"
#include "win32/win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::unique_ptr<zqmv5::Env> env = zqmv5::NewWin32Env();
  return env ? zqmv5::Main(*env, zqmv5::OpenWin32VersionView) : 0;
}
