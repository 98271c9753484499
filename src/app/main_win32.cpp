// The program entry: builds the real platform services and runs Main once.

#include <windows.h>

#include "app/dispatch.h"
#include "runtime/platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::unique_ptr<zqmv5::Platform> platform = zqmv5::CreatePlatform();
  if (platform) {
    zqmv5::CommandContext context;
    zqmv5::Main(context, platform->runtime());
  }
  // Every road ends with status 0: callers such as installation scripts must
  // never take a failure of this program for a failure of their own.
  return 0;
}
