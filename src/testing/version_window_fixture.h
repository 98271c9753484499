#ifndef ZQMV5_TESTING_VERSION_WINDOW_FIXTURE_H_
#define ZQMV5_TESTING_VERSION_WINDOW_FIXTURE_H_

// A fixture for the version window's unit tests: every service faked, the
// version file in memory, and a user scripted on the fake window.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "testing/fake_env.h"
#include "testing/fake_version_view.h"
#include "text/version_record.h"
#include "version/version_settings.h"
#include "version/version_window.h"

namespace zqmv5 {

class VersionWindowTest : public ::testing::Test {
 protected:
  static constexpr const char* kFile = kDefaultVersionFile;

  // A file that exists with these bytes.
  void SetFile(const std::string& bytes, const std::string& name = kFile) {
    fake_.files.contents[name] = bytes;
  }
  bool HasFile(const std::string& name = kFile) const {
    return fake_.files.contents.count(name) != 0;
  }
  std::string File(const std::string& name = kFile) const {
    auto it = fake_.files.contents.find(name);
    return it == fake_.files.contents.end() ? "" : it->second;
  }

  void Setting(const std::string& file, const std::string& section, const std::string& entry,
               const std::string& value) {
    fake_.profile.Set(file, section, entry, value);
  }
  std::string Setting(const std::string& file, const std::string& section,
                      const std::string& entry) const {
    return fake_.profile.Get(file, section, entry);
  }

  // Steps the user takes, in order, once the window waits for them.
  void User(FakeVersionView::Step step) { steps_.push_back(std::move(step)); }

  // Runs the window to its end; returns it as it was left.
  FakeVersionView& Run() {
    views_.on_open = [this](FakeVersionView& window) {
      for (auto& step : steps_) window.Then(step);
    };
    VersionWindow(fake_, views_.opener()).Run();
    EXPECT_FALSE(views_.opened.empty());
    FakeVersionView& window = views_.last();
    EXPECT_TRUE(window.closed());
    EXPECT_TRUE(window.released());
    EXPECT_FALSE(window.ran_away());
    return window;
  }

  // The messages shown, as "text" lines.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const ShownMessage& m : fake_.messages.shown) {
      EXPECT_EQ(m.caption, "") << m.text;
      EXPECT_EQ(m.icon, MessageIcon::kNone) << m.text;
      texts.push_back(m.text);
    }
    return texts;
  }

  // A line as Ok writes it on the fake clock's day (12/07/26 at 12:00).
  static std::string ActiveLine(const std::string& version, const std::string& build,
                                const std::string& note = "") {
    std::string line =
        "Version             EQUATE('" + version + "  " + build + "')  ! 12/07/26 1200 --";
    if (!note.empty()) line += " " + note;
    return line;
  }

  FakeEnv fake_;
  FakeVersionViews views_;
  std::vector<FakeVersionView::Step> steps_;
};

}  // namespace zqmv5

#endif  // ZQMV5_TESTING_VERSION_WINDOW_FIXTURE_H_
