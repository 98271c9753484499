#ifndef ZQMV5_RUNTIME_PLATFORM_H_
#define ZQMV5_RUNTIME_PLATFORM_H_

#include <memory>

#include "runtime/runtime.h"

namespace zqmv5 {

// The real platform services, owned together.
class Platform {
 public:
  virtual ~Platform() = default;
  virtual Runtime& runtime() = 0;
};

// Builds the real services, or returns null when they cannot serve this
// program (the program then ends at once).
std::unique_ptr<Platform> CreatePlatform();

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_PLATFORM_H_
