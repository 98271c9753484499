// The Win32 backend under Wine: the profile contract, bare and ".\" names,
// WIN.INI, and the command text after the program name.

#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/profile_contract.h"
#include "runtime/win32_backends.h"

namespace zqmv5 {
namespace {

std::string TempDirectory() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  std::string dir = std::string(temp) + "zqmv5-win32-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

class Win32ProfileHarness : public ProfileHarness {
 public:
  Win32ProfileHarness() : profile_(NewWin32Profile(error_)), dir_(TempDirectory()) {}
  ~Win32ProfileHarness() override {
    for (const std::string& f : files_) {
      WritePrivateProfileStringA(nullptr, nullptr, nullptr, f.c_str());
      DeleteFileA(f.c_str());
    }
  }
  Profile& profile() override { return *profile_; }
  std::string PrivateFile(const std::string& base) override {
    files_.push_back(dir_ + "\\" + base + ".ini");
    DeleteFileA(files_.back().c_str());
    return files_.back();
  }

 private:
  ErrorState error_;
  std::unique_ptr<Profile> profile_;
  std::string dir_;
  std::vector<std::string> files_;
};

std::unique_ptr<ProfileHarness> MakeWin32() { return std::make_unique<Win32ProfileHarness>(); }

INSTANTIATE_TEST_SUITE_P(Win32, ProfileContractTest, ::testing::Values(&MakeWin32));

std::string WindowsDirectory() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return path;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class Win32ProfileNamesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = TempDirectory();
    char old[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, old);
    old_dir_ = old;
    SetCurrentDirectoryA(dir_.c_str());
    name_ = "zqmv5-names-" + std::to_string(GetCurrentProcessId()) + ".ini";
  }
  void TearDown() override {
    for (const std::string& f : {WindowsDirectory() + "\\" + name_, dir_ + "\\" + name_}) {
      WritePrivateProfileStringA(nullptr, nullptr, nullptr, f.c_str());
      DeleteFileA(f.c_str());
    }
    SetCurrentDirectoryA(old_dir_.c_str());
  }
  ErrorState error_;
  std::unique_ptr<Profile> profile_ = NewWin32Profile(error_);
  std::string dir_, old_dir_, name_;
};

TEST_F(Win32ProfileNamesTest, BareNameLiesInTheWindowsDirectoryDotNameInTheCurrentOne) {
  profile_->WriteIniValue("Clarion", "root", "bare", name_);
  profile_->WriteIniValue("Clarion", "root", "dot", ".\\" + name_);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, nullptr);
  EXPECT_TRUE(Exists(WindowsDirectory() + "\\" + name_));
  EXPECT_TRUE(Exists(dir_ + "\\" + name_));
  EXPECT_EQ(profile_->ReadIniValue("Clarion", "root", "", name_), "bare");
  EXPECT_EQ(profile_->ReadIniValue("Clarion", "root", "", ".\\" + name_), "dot");
}

TEST_F(Win32ProfileNamesTest, EmptyFileNameIsWinIni) {
  const std::string section = "ZQMV5 test " + std::to_string(GetCurrentProcessId());
  profile_->WriteIniValue(section, "root", "C:\\C5", "");
  EXPECT_EQ(profile_->ReadIniValue(section, "ROOT", "", ""), "C:\\C5");
  char buffer[64] = {};
  GetProfileStringA(section.c_str(), "root", "", buffer, sizeof(buffer));
  EXPECT_STREQ(buffer, "C:\\C5");
  WriteProfileStringA(section.c_str(), nullptr, nullptr);
}

TEST(Win32CommandTextTest, SkipsTheProgramNameQuotedOrNot) {
  struct Case {
    const char* line;
    const char* text;
  };
  const Case cases[] = {
      {"ZQMV5.exe REG x.tpl", "REG x.tpl"},
      {"ZQMV5.exe", ""},
      {"ZQMV5.exe    CMD  ", "CMD  "},
      {"\"C:\\Program Files\\ZQ\\ZQMV5.exe\" REG \"a b.tpl\"", "REG \"a b.tpl\""},
      {"\"C:\\Program Files\\ZQ\\ZQMV5.exe\"CMD", "CMD"},
      {"ZQMV5.exe\tCMD", "CMD"},
      {"\"unclosed", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommandTextAfterProgram(c.line), c.text) << c.line;
  }
}

TEST(Win32ProgramsTest, StartFailureGivesCodeAndText) {
  ErrorState error;
  auto programs = NewWin32Programs(error);
  int code = programs->StartProgram("C:\\no\\such\\program.exe");
  EXPECT_NE(code, 0);
  EXPECT_EQ(error.code(), code);
  EXPECT_FALSE(error.text().empty());
}

TEST(Win32FileSystemTest, ExistenceAndShortPaths) {
  auto files = NewWin32FileSystem();
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  EXPECT_TRUE(files->FileExists(self));
  EXPECT_FALSE(files->FileExists(WindowsDirectory()));  // a directory is no file
  EXPECT_FALSE(files->FileExists(""));
  EXPECT_FALSE(files->FileExists("C:\\no\\such\\file.tpl"));
  const std::string dir = TempDirectory() + "\\a long directory name";
  CreateDirectoryA(dir.c_str(), nullptr);
  const std::string short_path = files->ShortPath(dir);
  EXPECT_EQ(short_path.find(' '), std::string::npos) << short_path;
  EXPECT_FALSE(files->ShortPath("").empty());
  RemoveDirectoryA(dir.c_str());
}

TEST(Win32ClockTest, TimeOfDayIsInHundredthsAndPauseRests) {
  auto clock = NewWin32Clock();
  const Date today = clock->Today();
  EXPECT_GE(today.year, 2000);
  const int32_t before = clock->TimeOfDay();
  EXPECT_GE(before, 0);
  EXPECT_LT(before, kHundredthsPerDay);
  const DWORD start = GetTickCount();
  clock->Pause(10);
  EXPECT_GE(GetTickCount() - start, 80u);
}

}  // namespace
}  // namespace zqmv5
