#include "version/version_window.h"

namespace zqmv5 {

void VersionWindow(Runtime& runtime) {}

}  // namespace zqmv5
