#include <windows.h>

#include "runtime/win32_backends.h"

namespace zqmv5 {
namespace {

class Win32TextFiles : public TextFiles {
 public:
  std::unique_ptr<TextFile> NewTextFile() override { return nullptr; }
};

}  // namespace

std::unique_ptr<TextFiles> NewWin32TextFiles(ErrorState&) {
  return std::make_unique<Win32TextFiles>();
}

}  // namespace zqmv5
