#include "text/ini_text.h"

#include <gtest/gtest.h>

namespace zqmv5 {
namespace {

// Values read as the profile API reads them, from files as people and other
// programs leave them.
TEST(IniTextTest, FindsTheValueAsTheProfileApiReadsIt) {
  const struct {
    const char* text;
    const char* section;
    const char* entry;
    std::optional<std::string> value;
  } cases[] = {
      {"[Paths]\r\nLibsrc=C:\\L\r\n", "paths", "LIBSRC", "C:\\L"},
      {"[ User Menus ]\r\n 1 =One|A\r\n", "User Menus", "1", "One|A"},
      {"[A]\r\nk = \"quoted value\" \r\n", "A", "k", "quoted value"},
      {"[A]\nk='x'", "A", "k", "x"},
      {"[A]\nk=\"x'", "A", "k", "\"x'"},
      {"[A]\r\nk=a=b\r\n", "A", "k", "a=b"},
      {"[A]\r\nk=\r\n", "A", "k", ""},
      {"\xEF\xBB\xBF[A]\rk=v\r", "A", "k", "v"},
      {"k=v\r\n[A]\r\nj=w\r\n", "A", "k", std::nullopt},
      {"[A]\r\n;k=commented\r\nk\r\n", "A", "k", std::nullopt},
      {"[A]\r\nk=1\r\nk=2\r\n[B]\r\nk=3\r\n[A]\r\nj=4\r\n", "A", "k", "1"},
      {"[A]\r\nk=1\r\n[B]\r\nk=3\r\n[A]\r\nj=4\r\n", "B", "k", "3"},
      {"[A]\r\nk=1\r\n[B]\r\nk=3\r\n[A]\r\nj=4\r\n", "A", "j", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindIniValue(c.text, c.section, c.entry), c.value) << c.text;
  }
}

// A change touches its own line, or adds one where the profile API would
// read it; every other byte stays.
TEST(IniTextTest, ChangesKeepEveryOtherByte) {
  const struct {
    const char* before;
    const char* section;
    const char* entry;
    const char* value;  // null: removed
    const char* after;
  } cases[] = {
      {"[Paths]\r\nLibsrc=C:\\OLD\r\nRed=R\r\n", "paths", "LIBSRC", "C:\\NEW",
       "[Paths]\r\nLibsrc=C:\\NEW\r\nRed=R\r\n"},
      {"[A]\n  k = old\n", "A", "K", "new", "[A]\n  k=new\n"},
      {"[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "a", "k", "v",
       "[A]\r\nx=1\r\nk=v\r\n\r\n[B]\r\ny=2\r\n"},
      {"[A]\nx=1\n", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"},
      {"[A]\r\nx=1", "A", "k", "v", "[A]\r\nx=1\r\nk=v\r\n"},
      {"", "User Menus", "1", "M|A", "[User Menus]\r\n1=M|A\r\n"},
      {"\xEF\xBB\xBF", "A", "  App  ", "v", "\xEF\xBB\xBF[A]\r\nApp=v\r\n"},
      {"; c\r\n[A]\r\nk=1\r\n[A]\r\nk=2\r\n", "A", "k", "9", "; c\r\n[A]\r\nk=9\r\n[A]\r\nk=2\r\n"},
      {"[A]\r\nx=1\r\nk=v\r\ny=2\r\n", "A", "K", nullptr, "[A]\r\nx=1\r\ny=2\r\n"},
      {"[A]\r\nk=v", "A", "k", nullptr, "[A]\r\n"},
      {"[A]\r\nx=1\r\n[B]\r\nk=v\r\n", "A", "k", nullptr, "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
  };
  for (const auto& c : cases) {
    const std::string value = c.value ? c.value : "";
    EXPECT_EQ(ChangeIniValue(c.before, c.section, c.entry, c.value ? &value : nullptr), c.after)
        << c.before;
  }
}

}  // namespace
}  // namespace zqmv5
