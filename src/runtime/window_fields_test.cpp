#include "runtime/window_fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace zqmv5 {
namespace {

TEST(NumberFromTextTest, ReadsDecimalNumbersAndGivesZeroForAnythingElse) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"1.01 ", 1.01}, {"  7", 7}, {"0006", 6},  {"-2.5", -2.5}, {"+3", 3},   {".5", 0.5},
      {"5.", 5},       {"", 0},    {"     ", 0}, {"abc", 0},     {"1.0x", 0}, {"1,000", 0},
      {"1e3", 0},      {".", 0},   {"-", 0},     {"1 2", 0},     {"\t1", 0},  {"9999", 9999},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(NumberFromText(c.text), c.value) << c.text;
}

TEST(NumberFromTextTest, GivesTheNearestDoubleAsStrtodWould) {
  for (const char* text : {"0.1", "9.99", "1.005", "0.01", "123456789012345", "0.000000001",
                           "00000000000000000000000000001.5", "-9.99", "4503599627370497"}) {
    EXPECT_EQ(NumberFromText(text), std::strtod(text, nullptr)) << text;
  }
  // Digits past the nineteenth still count as places.
  EXPECT_DOUBLE_EQ(NumberFromText("12345678901234567890123"), 1.2345678901234568e22);
  EXPECT_DOUBLE_EQ(NumberFromText("1." + std::string(200, '0') + "1"), 1.0);
  EXPECT_TRUE(std::isinf(NumberFromText(std::string(400, '9'))));
}

TEST(NumberFromTextTest, LowByteKeepsEightBits) {
  EXPECT_EQ(LowByte(1), 1);
  EXPECT_EQ(LowByte(0), 0);
  EXPECT_EQ(LowByte(256), 0);
  EXPECT_EQ(LowByte(257), 1);
  EXPECT_EQ(LowByte(-1), 255);
  EXPECT_EQ(LowByte(1.9), 1);
  EXPECT_EQ(LowByte(1e20), 0);  // 1e20 is a multiple of 256
  EXPECT_EQ(LowByte(NumberFromText("99999999999999999999999")), LowByte(1e23));
}

TEST(FormatNumberTest, PlainTextHasNoPaddingAndNoTrailingZeros) {
  EXPECT_EQ(PlainNumberText(1.1), "1.1");
  EXPECT_EQ(PlainNumberText(7), "7");
  EXPECT_EQ(PlainNumberText(0.01), "0.01");
  EXPECT_EQ(PlainNumberText(9.99), "9.99");
  EXPECT_EQ(PlainNumberText(-0.5), "-0.5");
  EXPECT_EQ(PlainNumberText(-0.0), "0");
  EXPECT_EQ(PlainNumberText(-0.0000000001), "0");
  EXPECT_EQ(PlainNumberText(0.9999999999), "1");
  EXPECT_EQ(PlainNumberText(123456789012345), "123456789012345");
  EXPECT_EQ(PlainNumberText(0.000000001), "0.000000001");
  // Beyond fifteen digits: exponent form with fifteen significant digits.
  EXPECT_EQ(PlainNumberText(1e15), "1e+15");
  EXPECT_EQ(PlainNumberText(-1234567890123456789.0), "-1.23456789012346e+18");
  EXPECT_EQ(PlainNumberText(1e300), "1e+300");
  EXPECT_EQ(PlainNumberText(HUGE_VAL), "inf");
}

DataField VersionField(std::string* text) {
  DataField f;
  f.field = 11;
  f.kind = FieldKind::kNumber;
  f.text = text;
  f.size = 5;
  f.blank_padded = true;
  f.picture = "n5.2";
  f.low = 0;
  f.high = 9.99;
  f.step = 0.01;
  return f;
}

DataField BuildField(std::string* text) {
  DataField f;
  f.field = 13;
  f.kind = FieldKind::kNumber;
  f.text = text;
  f.size = 4;
  f.blank_padded = true;
  f.picture = "n04";
  f.low = 0;
  f.high = 9999;
  f.step = 1;
  return f;
}

TEST(DataFieldTest, NumberFieldsTakeWhatFitsAndRejectTheRest) {
  struct Case {
    bool version;  // else build
    const char* typed;
    bool taken;
    const char* stored;  // the variable afterwards
  };
  const Case cases[] = {
      {true, "1.5", true, "1.5  "},    {true, " 9.99 ", true, "9.99 "},
      {true, "0", true, "0    "},      {true, "10", false, "1.01 "},
      {true, "-1", false, "1.01 "},    {true, "abc", false, "1.01 "},
      {true, "1.234", false, "1.01 "}, {true, "", true, "     "},
      {true, "1.2.3", false, "1.01 "}, {false, "6", true, "6   "},
      {false, "0006", true, "6   "},   {false, "9999", true, "9999"},
      {false, "10000", false, "0006"}, {false, "1.5", false, "0006"},
      {false, "x1", false, "0006"},
  };
  for (const Case& c : cases) {
    std::string text = c.version ? "1.01 " : "0006";
    DataField field = c.version ? VersionField(&text) : BuildField(&text);
    EXPECT_EQ(StoreFieldText(field, c.typed), c.taken) << c.typed;
    EXPECT_EQ(text, c.stored) << c.typed;
  }
}

TEST(DataFieldTest, SpinArrowsStepWithinTheRange) {
  std::string version = "9.98 ";
  DataField field = VersionField(&version);
  EXPECT_TRUE(StepField(field, 1));
  EXPECT_EQ(version, "9.99 ");
  EXPECT_FALSE(StepField(field, 1)) << "stays at the top";
  EXPECT_EQ(FieldDisplayText(field), " 9.99");

  version = "0.01 ";
  EXPECT_TRUE(StepField(field, -1));
  EXPECT_EQ(version, "0    ");
  EXPECT_FALSE(StepField(field, -1));

  version = "     ";  // blank after a rejection: the arrows start from 0
  EXPECT_TRUE(StepField(field, 1));
  EXPECT_EQ(version, "0.01 ");

  std::string build = "9999";
  DataField b = BuildField(&build);
  EXPECT_FALSE(StepField(b, 1));
  EXPECT_TRUE(StepField(b, -1));
  EXPECT_EQ(build, "9998");
  EXPECT_EQ(FieldDisplayText(b), "9998");
}

TEST(DataFieldTest, GroupsBringTheirControlsAlong) {
  WindowDescription d;
  d.groups = {{6, 7, 13}, {14, 15, 18}};
  EXPECT_EQ(ControlsIn(d, 6, 6), (std::vector<int>{6, 7, 8, 9, 10, 11, 12, 13}));
  EXPECT_EQ(ControlsIn(d, 16, 18), (std::vector<int>{16, 17, 18}));
  EXPECT_EQ(ControlsIn(d, 13, 14), (std::vector<int>{13, 14, 15, 16, 17, 18}));
  d.pages = {{4, 5, 20}, {21, 22, 29}};
  EXPECT_EQ(PageOf(d, 7), 4);
  EXPECT_EQ(PageOf(d, 23), 21);
  EXPECT_EQ(PageOf(d, 2), 0);
}

}  // namespace
}  // namespace zqmv5
