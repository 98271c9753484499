#include "runtime/dde_client.h"

#include <gtest/gtest.h>

namespace zqmv5 {
namespace {

TEST(DdeNumberFromTextTest, ReadsLeadingDigitsAndGivesZeroForOtherTexts) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"42", 42},
      {"  -7", -7},
      {"+13", 13},
      {"601\r\n", 601},
      {"12abc", 12},
      {"", 0},
      {"abc", 0},
      {"-", 0},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"99999999999999999999999", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"-99999999999999999999999", -2147483647 - 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DdeNumberFromText(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(DdeErrorTextTest, EveryDdeNumberHasAText) {
  for (int code = kDdeServerNotFound; code <= kDdeFailed; ++code) {
    EXPECT_FALSE(DdeErrorText(code).empty()) << code;
  }
  EXPECT_EQ(DdeErrorText(600), "");
  EXPECT_EQ(DdeErrorText(609), "");
}

}  // namespace
}  // namespace zqmv5
