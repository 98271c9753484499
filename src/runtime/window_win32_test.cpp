// The Win32 window services where they can be reached without a layout of
// their own: this test program carries no dialog resources.

#include <gtest/gtest.h>

#include "runtime/win32_backends.h"

namespace zqmv5 {
namespace {

TEST(Win32WindowTest, MissingLayoutFailsWithTheErrorStateSet) {
  ErrorState error;
  std::unique_ptr<WindowSystem> windows = NewWin32WindowSystem(error);
  WindowDescription description;
  description.layout = "NOSUCHLAYOUT";
  EXPECT_EQ(windows->OpenWindow(description), nullptr);
  EXPECT_NE(error.code(), kNoError);
  EXPECT_NE(error.text().find("NOSUCHLAYOUT"), std::string::npos) << error.text();
}

}  // namespace
}  // namespace zqmv5
