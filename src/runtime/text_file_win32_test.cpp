// The Win32 text files pass the same contract as the fake.

#include <windows.h>

#include <cstdio>

#include "runtime/text_file_contract.h"
#include "runtime/win32_backends.h"

namespace zqmv5 {
namespace {

class Win32TextFileHarness : public TextFileHarness {
 public:
  Win32TextFileHarness() : files_(NewWin32TextFiles(error_)) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "zqmv5-text-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir_.c_str(), nullptr);
  }
  ~Win32TextFileHarness() override {
    for (const std::string& name : names_) DeleteFileA(name.c_str());
  }
  TextFiles& files() override { return *files_; }
  ErrorState& error() override { return error_; }
  std::string NewName(const std::string& base) override {
    names_.push_back(dir_ + "\\" + base + std::to_string(names_.size()) + ".txt");
    DeleteFileA(names_.back().c_str());
    return names_.back();
  }
  void WriteBytes(const std::string& name, const std::string& bytes) override {
    FILE* f = std::fopen(name.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  std::string ReadBytes(const std::string& name) override {
    std::string bytes;
    FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) return bytes;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0) bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
  }
  bool Exists(const std::string& name) override {
    return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

 private:
  ErrorState error_;
  std::unique_ptr<TextFiles> files_;
  std::string dir_;
  std::vector<std::string> names_;
};

std::unique_ptr<TextFileHarness> MakeWin32() { return std::make_unique<Win32TextFileHarness>(); }

INSTANTIATE_TEST_SUITE_P(Win32, TextFileContractTest, ::testing::Values(&MakeWin32));

}  // namespace
}  // namespace zqmv5
