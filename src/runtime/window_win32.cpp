#include <windows.h>

#include "runtime/win32_backends.h"

namespace zqmv5 {

std::unique_ptr<WindowSystem> NewWin32WindowSystem(ErrorState&) {
  return std::make_unique<WindowSystem>();
}

}  // namespace zqmv5
