#ifndef ZQMV5_VERSION_VERSION_WINDOW_H_
#define ZQMV5_VERSION_VERSION_WINDOW_H_

#include "runtime/runtime.h"

namespace zqmv5 {

// Runs the Log/Version window until it closes.
void VersionWindow(Runtime& runtime);

}  // namespace zqmv5

#endif  // ZQMV5_VERSION_VERSION_WINDOW_H_
