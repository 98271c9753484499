// The program entry: makes the real platform and runs Main once.

#include "app/dispatch.h"
#include "win32/win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::unique_ptr<zqmv5::Env> env = zqmv5::NewWin32Env();
  if (env) zqmv5::Main(*env);
  // Every road ends with status 0: callers such as installation scripts must
  // never take a failure of this program for a failure of their own.
  return 0;
}
