#include "blackbox/session.h"

#include <windows.h>

namespace zqmv5::testing {

std::string ProgramUnderTest() { return ProgramDirectory() + "\\ZQMV5.exe"; }

namespace {

// Wine and Windows cache profile files in the process that read them; a test
// that writes an INI file as bytes flushes that cache first.
void FlushProfileCache(const std::string& file) {
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
}

}  // namespace

void SessionTest::SetUp() {
  own_ini_ = WindowsDirectory() + "\\ZQMV5.ini";
  win_ini_ = WindowsDirectory() + "\\win.ini";
  own_ini_guard_ = std::make_unique<FileGuard>(own_ini_);
  win_ini_guard_ = std::make_unique<FileGuard>(win_ini_);
  work_ = MakeScratchDirectory("work");
  ASSERT_FALSE(work_.empty());
  root_ = work_ + "\\C5";
  CreateDirectoryA(root_.c_str(), nullptr);
  CreateDirectoryA((root_ + "\\Bin").c_str(), nullptr);
  ide_ini_ = root_ + "\\Bin\\C5ee.ini";
  WriteOwnIni("");
  WriteWinIni("");
}

void SessionTest::TearDown() {
  FlushProfileCache(own_ini_);
  FlushProfileCache(win_ini_);
  own_ini_guard_.reset();
  win_ini_guard_.reset();
}

RunResult SessionTest::Run(const std::string& arguments, RunOptions options) {
  if (options.directory.empty()) options.directory = work_;
  std::string line = Quoted(ProgramUnderTest());
  if (options.utf8) line = Utf8FromAnsi(line);
  if (!arguments.empty()) line += " " + arguments;
  RunResult result = RunAndCatch(line, options);
  EXPECT_TRUE(result.started) << line;
  EXPECT_FALSE(result.timed_out) << line;
  return result;
}

void SessionTest::WriteOwnIni(const std::string& contents) {
  FlushProfileCache(own_ini_);
  if (contents.empty()) {
    RemoveFileIfAny(own_ini_);
  } else {
    ASSERT_TRUE(WriteWholeFile(own_ini_, contents));
  }
}

void SessionTest::WriteWinIni(const std::string& contents) {
  FlushProfileCache(win_ini_);
  ASSERT_TRUE(WriteWholeFile(win_ini_, contents));
}

void SessionTest::UseDemoInstallation(const std::string& exe_name) {
  WriteOwnIni("[Clarion]\r\nroot=" + root_ + "\r\nExeName=" + exe_name + "\r\nIniFile=" + ide_ini_ +
              "\r\n");
}

}  // namespace zqmv5::testing
