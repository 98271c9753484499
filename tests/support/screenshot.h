#ifndef ZQMV5_TESTS_SUPPORT_SCREENSHOT_H_
#define ZQMV5_TESTS_SUPPORT_SCREENSHOT_H_

#include <string>

namespace zqmv5::testing {

// Saves what the X display shows of a window (frame included) as a PNG file
// under `png_path` (a Windows path). Under Wine a program's own screen reads do
// not see the text that X draws, so this asks the X server itself, through
// xwd and ImageMagick run as Unix programs. Returns true once the file is
// there; false where that is not possible (no Wine, no tools, a time-out).
bool SaveWindowScreenshot(void* window, const std::string& png_path);

// The Unix path (in UTF-8) of a Windows path (in the ANSI code page) under
// Wine, or "" when not under Wine.
std::string UnixPath(const std::string& windows_path);

}  // namespace zqmv5::testing

#endif  // ZQMV5_TESTS_SUPPORT_SCREENSHOT_H_
