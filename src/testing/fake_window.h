#ifndef ZQMV5_TESTING_FAKE_WINDOW_H_
#define ZQMV5_TESTING_FAKE_WINDOW_H_

#include "runtime/window.h"

namespace zqmv5 {

class FakeWindowSystem : public WindowSystem {};

}  // namespace zqmv5

#endif  // ZQMV5_TESTING_FAKE_WINDOW_H_
