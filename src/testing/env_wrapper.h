#ifndef ZQMV5_TESTING_ENV_WRAPPER_H_
#define ZQMV5_TESTING_ENV_WRAPPER_H_

#include <memory>
#include <string>

#include "env/env.h"

namespace zqmv5 {

// An Env that forwards every call to another one, so that a test overrides
// only what it changes.
class EnvWrapper : public Env {
 public:
  explicit EnvWrapper(Env& target) : target_(target) {}

  Status CommandText(std::string* text) override { return target_.CommandText(text); }
  Status ReadIniValue(const std::string& section, const std::string& entry,
                      const std::string& default_value, const std::string& file,
                      std::string* value) override {
    return target_.ReadIniValue(section, entry, default_value, file, value);
  }
  Status WriteIniValue(const std::string& section, const std::string& entry,
                       const std::string& value, const std::string& file) override {
    return target_.WriteIniValue(section, entry, value, file);
  }
  Status RemoveIniValue(const std::string& section, const std::string& entry,
                        const std::string& file) override {
    return target_.RemoveIniValue(section, entry, file);
  }
  Status ReplaceContents(const std::string& name, const std::string& bytes) override {
    return target_.ReplaceContents(name, bytes);
  }
  Status AppendToFile(const std::string& name, const std::string& bytes) override {
    return target_.AppendToFile(name, bytes);
  }
  void WriteStandardOutput(const std::string& line) override { target_.WriteStandardOutput(line); }
  Status OpenFile(const std::string& name, Share share, IfMissing missing,
                  std::unique_ptr<File>* file) override {
    return target_.OpenFile(name, share, missing, file);
  }
  bool FileExists(const std::string& name) override { return target_.FileExists(name); }
  bool SameFile(const std::string& a, const std::string& b) override {
    return target_.SameFile(a, b);
  }
  std::string ShortPath(const std::string& path) override { return target_.ShortPath(path); }
  bool IsLeadByte(char byte) override { return target_.IsLeadByte(byte); }
  Status StartProgram(const std::string& program, const std::string& arguments) override {
    return target_.StartProgram(program, arguments);
  }
  Status LockAcrossProcesses(const std::string& name, int32_t hundredths,
                             std::unique_ptr<ProcessLock>* lock) override {
    return target_.LockAcrossProcesses(name, hundredths, lock);
  }
  void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
    target_.ShowMessage(text, caption, icon);
  }
  DateTime Now() override { return target_.Now(); }
  void Pause(int32_t hundredths) override { target_.Pause(hundredths); }
  DdeClient& dde() override { return target_.dde(); }

 private:
  Env& target_;
};

}  // namespace zqmv5

#endif  // ZQMV5_TESTING_ENV_WRAPPER_H_
