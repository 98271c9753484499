#ifndef ZQMV5_RUNTIME_WINDOW_H_
#define ZQMV5_RUNTIME_WINDOW_H_

namespace zqmv5 {

// Window services: opening the version window from its stored description and
// running its events.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_WINDOW_H_
