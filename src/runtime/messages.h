#ifndef ZQMV5_RUNTIME_MESSAGES_H_
#define ZQMV5_RUNTIME_MESSAGES_H_

#include <string>

namespace zqmv5 {

enum class MessageIcon {
  kInformation,  // the asterisk icon: the default
  kWindowsLogo,  // the standard Windows logo icon (IDI_WINLOGO, 32517)
  kNone,
};

// Modal message boxes with one OK button. A "|" in the text starts a new line.
class Messages {
 public:
  virtual ~Messages() = default;

  // Shows the box and returns when the user has pressed OK.
  virtual void ShowMessage(const std::string& text, const std::string& caption,
                           MessageIcon icon = MessageIcon::kInformation) = 0;
};

}  // namespace zqmv5

#endif  // ZQMV5_RUNTIME_MESSAGES_H_
