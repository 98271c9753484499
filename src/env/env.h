#ifndef ZQMV5_ENV_ENV_H_
#define ZQMV5_ENV_ENV_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "env/status.h"
#include "env/version_view.h"

namespace zqmv5 {

// How an open file is shared with other programs.
enum class Share {
  kDenyNone,   // others may read and write
  kDenyWrite,  // others may read but not write
};

// The bytes of one file, open for reading and writing.
class File {
 public:
  virtual ~File() = default;
  virtual Status Size(int64_t* size) = 0;
  // Reads up to `count` bytes at `offset`; `*read` is less at the end.
  virtual Status ReadAt(int64_t offset, char* buffer, size_t count, size_t* read) = 0;
  virtual Status WriteAt(int64_t offset, const char* data, size_t count) = 0;
  // Makes the file `size` bytes long. Growing claims the room on the disk, so
  // that a full disk fails here rather than at a later write.
  virtual Status Resize(int64_t size) = 0;
};

// A lock that one program at a time holds, across all programs of the
// session; released when the object goes.
class ProcessLock {
 public:
  virtual ~ProcessLock() = default;
};

enum class MessageIcon {
  kInformation,  // the asterisk icon
  kWindowsLogo,  // the standard Windows logo icon (IDI_WINLOGO)
  kNone,
};

struct Date {
  int year = 0;   // four digits
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
};

// Hundredths of a second in one day: the time of day runs from 0 to one less.
constexpr int32_t kHundredthsPerDay = 24 * 60 * 60 * 100;

// Everything the program needs of the platform. The program entry makes the
// one real Env (NewWin32Env); tests use a fake or wrap one in an EnvWrapper.
class Env {
 public:
  virtual ~Env() = default;

  // The whole command-line text after the program name and the blanks after it.
  virtual std::string CommandText() = 0;

  // INI profile files. The name goes unchanged to the platform: a bare name
  // lies in the Windows directory, ".\name" in the current one, and "" is
  // WIN.INI. Sections and entries match regardless of case. A read returns the
  // whole value, or `default_value` when file, section or entry is missing; a
  // write creates what is missing.
  virtual std::string ReadIniValue(const std::string& section, const std::string& entry,
                                   const std::string& default_value, const std::string& file) = 0;
  virtual Status WriteIniValue(const std::string& section, const std::string& entry,
                               const std::string& value, const std::string& file) = 0;

  // Opens an existing file for reading and writing; fails (kFileNotFound,
  // kFileIsLocked, ...) without creating anything.
  virtual Status OpenFile(const std::string& name, Share share, std::unique_ptr<File>* file) = 0;
  // Makes a new empty file and closes it. An existing file that holds bytes
  // makes it fail with kAccessDenied: no stored line is ever replaced.
  virtual Status CreateEmptyFile(const std::string& name) = 0;
  // True when a file (not a folder) of that name exists.
  virtual bool FileExists(const std::string& name) = 0;
  // The short (8.3) form of `path` ("": the current directory), or the path
  // itself when it has none.
  virtual std::string ShortPath(const std::string& path) = 0;

  // Starts a program without waiting for it; on failure the code is the
  // platform's error number. When the whole text names an existing file, that
  // file is started even when its path holds blanks and no quotes.
  virtual Status StartProgram(const std::string& command_line) = 0;
  // Waits up to `hundredths` for the lock `name`; null when another program
  // still holds it then. A lock whose holder ended without releasing it is free.
  virtual std::unique_ptr<ProcessLock> LockAcrossProcesses(const std::string& name,
                                                           int32_t hundredths) = 0;

  // A modal box with one OK button; "|" in the text starts a new line.
  virtual void ShowMessage(const std::string& text, const std::string& caption,
                           MessageIcon icon) = 0;
  void ShowMessage(const std::string& text, const std::string& caption) {
    ShowMessage(text, caption, MessageIcon::kInformation);
  }
  // Opens the Log/Version dialog.
  virtual Status OpenVersionView(std::unique_ptr<VersionView>* view) = 0;

  virtual Date Today() = 0;
  // Hundredths of a second since midnight.
  virtual int32_t TimeOfDay() = 0;
  // Rests about `hundredths` without spending processor time.
  virtual void Pause(int32_t hundredths) = 0;

  // DDE client conversations, on channels that are never 0. An operation on
  // a channel that is not open fails at once with kDdeChannelNotOpen. When the
  // topic is empty and `application` holds a comma, the text after the comma
  // is the topic.
  virtual Status OpenDdeChannel(const std::string& application, const std::string& topic,
                                int32_t* channel) = 0;
  virtual Status SendDdeCommand(int32_t channel, const std::string& command) = 0;
  virtual Status RequestDdeItem(int32_t channel, const std::string& item, std::string* value) = 0;
  virtual Status CloseDdeChannel(int32_t channel) = 0;
  // The time-out of later DDE transactions; below 1 means one second.
  virtual void SetDdeTimeOut(int32_t hundredths) = 0;
};

// The real platform, or null when it cannot serve this program.
std::unique_ptr<Env> NewWin32Env();

// An Env that forwards every call to another one, so that a test overrides
// only what it changes.
class EnvWrapper : public Env {
 public:
  explicit EnvWrapper(Env& target) : target_(target) {}
  using Env::ShowMessage;

  std::string CommandText() override { return target_.CommandText(); }
  std::string ReadIniValue(const std::string& section, const std::string& entry,
                           const std::string& default_value, const std::string& file) override {
    return target_.ReadIniValue(section, entry, default_value, file);
  }
  Status WriteIniValue(const std::string& section, const std::string& entry,
                       const std::string& value, const std::string& file) override {
    return target_.WriteIniValue(section, entry, value, file);
  }
  Status OpenFile(const std::string& name, Share share, std::unique_ptr<File>* file) override {
    return target_.OpenFile(name, share, file);
  }
  Status CreateEmptyFile(const std::string& name) override { return target_.CreateEmptyFile(name); }
  bool FileExists(const std::string& name) override { return target_.FileExists(name); }
  std::string ShortPath(const std::string& path) override { return target_.ShortPath(path); }
  Status StartProgram(const std::string& command_line) override {
    return target_.StartProgram(command_line);
  }
  std::unique_ptr<ProcessLock> LockAcrossProcesses(const std::string& name,
                                                   int32_t hundredths) override {
    return target_.LockAcrossProcesses(name, hundredths);
  }
  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
    target_.ShowMessage(text, caption, icon);
  }
  Status OpenVersionView(std::unique_ptr<VersionView>* view) override {
    return target_.OpenVersionView(view);
  }
  Date Today() override { return target_.Today(); }
  int32_t TimeOfDay() override { return target_.TimeOfDay(); }
  void Pause(int32_t hundredths) override { target_.Pause(hundredths); }
  Status OpenDdeChannel(const std::string& application, const std::string& topic,
                        int32_t* channel) override {
    return target_.OpenDdeChannel(application, topic, channel);
  }
  Status SendDdeCommand(int32_t channel, const std::string& command) override {
    return target_.SendDdeCommand(channel, command);
  }
  Status RequestDdeItem(int32_t channel, const std::string& item, std::string* value) override {
    return target_.RequestDdeItem(channel, item, value);
  }
  Status CloseDdeChannel(int32_t channel) override { return target_.CloseDdeChannel(channel); }
  void SetDdeTimeOut(int32_t hundredths) override { target_.SetDdeTimeOut(hundredths); }

 private:
  Env& target_;
};

}  // namespace zqmv5

#endif  // ZQMV5_ENV_ENV_H_
