#ifndef ZQMV5_TESTS_BLACKBOX_SESSION_H_
#define ZQMV5_TESTS_BLACKBOX_SESSION_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/files.h"
#include "support/process.h"

namespace zqmv5::testing {

// A user's session with the real ZQMV5.exe: its own ZQMV5.ini and WIN.INI
// (both restored afterwards), a fresh working directory, and a demo IDE
// installation under it that ZQMV5.ini points at.
class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs ZQMV5.exe with `arguments` in the working directory, pressing OK on
  // every message box.
  RunResult Run(const std::string& arguments, RunOptions options = {});

  // Replaces ZQMV5.ini (in the Windows directory) and WIN.INI with these
  // contents; "" removes ZQMV5.ini and empties WIN.INI.
  void WriteOwnIni(const std::string& contents);
  void WriteWinIni(const std::string& contents);

  // Points ZQMV5.ini at the demo installation: root, exe name and INI file.
  void UseDemoInstallation(const std::string& exe_name = "C5EE.EXE");

  std::string Work(const std::string& name) const { return work_ + "\\" + name; }

  std::string work_;     // the program's current directory
  std::string root_;     // the demo IDE's root directory
  std::string ide_ini_;  // the demo IDE's INI file
  std::string own_ini_;  // ZQMV5.ini in the Windows directory
  std::string win_ini_;  // WIN.INI

 private:
  std::unique_ptr<FileGuard> own_ini_guard_;
  std::unique_ptr<FileGuard> win_ini_guard_;
};

// ZQMV5.exe beside the test program.
std::string ProgramUnderTest();

}  // namespace zqmv5::testing

#endif  // ZQMV5_TESTS_BLACKBOX_SESSION_H_
