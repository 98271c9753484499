// The Win32 Env under Wine: the Env contract, bare and ".\" INI names,
// WIN.INI, the command text after the program name, programs, files and time.

#include <gtest/gtest.h>

#include <vector>

#include "support/files.h"
#include "testing/env_contract.h"
#include "win32/win32.h"

namespace zqmv5 {
namespace {

using testing::FillDrive;
using testing::MakeScratchDirectory;
using testing::ReadWholeFile;
using testing::RemoveFileIfAny;
using testing::kNoSmallDrive;
using testing::SmallDriveFolder;
using testing::WindowsDirectory;
using testing::WriteWholeFile;

class Win32EnvHarness : public EnvHarness {
 public:
  ~Win32EnvHarness() override {
    for (const std::string& name : names_) {
      WritePrivateProfileStringA(nullptr, nullptr, nullptr, name.c_str());
      DeleteFileA(name.c_str());
    }
  }
  Env& env() override { return *env_; }
  std::string NewName(const std::string& base) override {
    names_.push_back(dir_ + "\\" + std::to_string(names_.size()) + base);
    DeleteFileA(names_.back().c_str());
    return names_.back();
  }
  void WriteBytes(const std::string& name, const std::string& bytes) override {
    ASSERT_TRUE(WriteWholeFile(name, bytes));
  }
  std::string ReadBytes(const std::string& name) override { return ReadWholeFile(name); }
  std::shared_ptr<void> Hold(const std::string& name) override {
    HANDLE held = CreateFileA(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(held, INVALID_HANDLE_VALUE) << name;
    return std::shared_ptr<void>(held, [](void* handle) { CloseHandle(handle); });
  }

 private:
  std::unique_ptr<Env> env_ = NewWin32Env();
  std::string dir_ = MakeScratchDirectory("env");
  std::vector<std::string> names_;
};

std::unique_ptr<EnvHarness> MakeWin32() { return std::make_unique<Win32EnvHarness>(); }

INSTANTIATE_TEST_SUITE_P(Win32, EnvContractTest, ::testing::Values(&MakeWin32));

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(Win32IniNamesTest, BareNameIsInTheWindowsDirectoryDotNameHereAndEmptyIsWinIni) {
  const std::string dir = MakeScratchDirectory("names");
  char old[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, old);
  SetCurrentDirectoryA(dir.c_str());
  const std::string name = "zqmv5-names-" + std::to_string(GetCurrentProcessId()) + ".ini";
  std::unique_ptr<Env> env = NewWin32Env();
  env->WriteIniValue("Clarion", "root", "bare", name);
  env->WriteIniValue("Clarion", "root", "dot", ".\\" + name);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, nullptr);
  EXPECT_TRUE(Exists(WindowsDirectory() + "\\" + name));
  EXPECT_TRUE(Exists(dir + "\\" + name));
  EXPECT_EQ(ReadIni(*env, "Clarion", "root", "", name), "bare");
  EXPECT_EQ(ReadIni(*env, "Clarion", "root", "", ".\\" + name), "dot");
  for (const std::string& f : {WindowsDirectory() + "\\" + name, dir + "\\" + name}) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, f.c_str());
    DeleteFileA(f.c_str());
  }
  SetCurrentDirectoryA(old);

  const std::string section = "ZQMV5 test " + std::to_string(GetCurrentProcessId());
  env->WriteIniValue(section, "root", "C:\\C5", "");
  EXPECT_EQ(ReadIni(*env, section, "ROOT", "", ""), "C:\\C5");
  char buffer[64] = {};
  GetProfileStringA(section.c_str(), "root", "", buffer, sizeof(buffer));
  EXPECT_STREQ(buffer, "C:\\C5");
  WriteProfileStringA(section.c_str(), nullptr, nullptr);
}

TEST(Win32EnvTest, FilesAndTime) {
  std::unique_ptr<Env> env = NewWin32Env();
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  EXPECT_TRUE(env->FileExists(self));
  EXPECT_FALSE(env->FileExists(WindowsDirectory()));  // a directory is no file
  EXPECT_FALSE(env->FileExists(""));
  const std::string dir = MakeScratchDirectory("short") + "\\a long directory name";
  CreateDirectoryA(dir.c_str(), nullptr);
  EXPECT_EQ(env->ShortPath(dir).find(' '), std::string::npos) << env->ShortPath(dir);
  EXPECT_FALSE(env->ShortPath("").empty());
  RemoveDirectoryA(dir.c_str());

  EXPECT_GE(env->Now().date.year, 2000);
  const int32_t now = env->Now().time;
  EXPECT_GE(now, 0);
  EXPECT_LT(now, kHundredthsPerDay);
  const DWORD start_tick = GetTickCount();
  env->Pause(10);
  EXPECT_GE(GetTickCount() - start_tick, 80u);
}

// A log whose last block has room for part of a line, on a disk that is
// otherwise full: the line goes in whole or not at all, so that the next one
// never follows half a line.
TEST(Win32EnvTest, AppendOnAFullDiskAddsTheWholeLineOrNothing) {
  const std::string dir = SmallDriveFolder("append");
  if (dir.empty()) GTEST_SKIP() << kNoSmallDrive;
  const std::string log = dir + "\\ZQMV5.LOG";
  const std::string bytes(4096 - 18, 'x');
  ASSERT_TRUE(WriteWholeFile(log, bytes));
  ASSERT_TRUE(FillDrive(dir + "\\fill"));
  std::unique_ptr<Env> env = NewWin32Env();
  const std::string line = "2026-12-09 03:44:06 INCLUDE: missing.tpl: File Not Found\r\n";
  const Status full = env->AppendToFile(log, line);
  EXPECT_EQ(Status::Kind::kNoRoom, full.kind()) << full.message();
  EXPECT_EQ(ReadWholeFile(log).substr(bytes.size() - 4), "xxxx");
  RemoveFileIfAny(dir + "\\fill");
  EXPECT_TRUE(env->AppendToFile(log, line).ok());
  EXPECT_EQ(ReadWholeFile(log).substr(bytes.size() - 4), "xxxx" + line);
  RemoveFileIfAny(log);
  RemoveDirectoryA(dir.c_str());
}

}  // namespace
}  // namespace zqmv5
