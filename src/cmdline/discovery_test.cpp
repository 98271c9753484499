#include "cmdline/discovery.h"

#include <gtest/gtest.h>

#include "testing/fake_env.h"

namespace zqmv5 {
namespace {

const char kOwn[] = "ZQMV5.ini";
const char kEnterprise[] = "Clarion 5  Enterprise Edition";
const char kPlain[] = "Clarion 5";

class DiscoverTest : public ::testing::Test {
 protected:
  bool RunDiscover() { return Discover(context_, fake_); }
  FakeEnv fake_;
  CommandContext context_;
};

TEST_F(DiscoverTest, OwnIniFileComesFirst) {
  fake_.profile.Set(kOwn, "Clarion", "root", "C:\\OWN");
  fake_.profile.Set(kOwn, "Clarion", "ExeName", "OWN.EXE");
  fake_.profile.Set(kOwn, "Clarion", "IniFile", "C:\\OWN\\own.ini");
  fake_.profile.Set("", kEnterprise, "root", "C:\\WIN");
  fake_.profile.Set("", kEnterprise, "exename", "WIN.EXE");
  EXPECT_TRUE(RunDiscover());
  EXPECT_EQ(context_.root, "C:\\OWN");
  EXPECT_EQ(context_.exe_name, "OWN.EXE");
  EXPECT_EQ(context_.ini_file, "C:\\OWN\\own.ini");
  EXPECT_TRUE(fake_.messages.shown.empty());
}

TEST_F(DiscoverTest, EachValueFallsBackOnItsOwn) {
  fake_.profile.Set(kOwn, "Clarion", "root", "C:\\OWN");
  fake_.profile.Set("", kPlain, "exename", "PLAIN.EXE");
  fake_.profile.Set("", kPlain, "root", "C:\\PLAIN");
  EXPECT_TRUE(RunDiscover());
  EXPECT_EQ(context_.root, "C:\\OWN");
  EXPECT_EQ(context_.exe_name, "PLAIN.EXE");
  EXPECT_EQ(context_.ini_file, "C:\\OWN\\Bin\\C5ee.ini");
}

TEST_F(DiscoverTest, EnterpriseSectionBeforePlainOneAndBlankValuesFallThrough) {
  fake_.profile.Set(kOwn, "Clarion", "root", "   ");
  fake_.profile.Set("", kEnterprise, "root", "C:\\EE");
  fake_.profile.Set("", kPlain, "root", "C:\\PLAIN");
  fake_.profile.Set("", kEnterprise, "exename", "");
  fake_.profile.Set("", kPlain, "exename", "C5.EXE");
  fake_.profile.Set(kOwn, "Clarion", "IniFile", "D:\\missing.ini");
  EXPECT_TRUE(RunDiscover());
  EXPECT_EQ(context_.root, "C:\\EE");
  EXPECT_EQ(context_.exe_name, "C5.EXE");
  EXPECT_EQ(context_.ini_file, "D:\\missing.ini");  // used even though it does not exist
}

TEST_F(DiscoverTest, SectionWithOneBlankIsNotTheEnterpriseSection) {
  fake_.profile.Set("", "Clarion 5 Enterprise Edition", "root", "C:\\EE");
  fake_.profile.Set("", "Clarion 5 Enterprise Edition", "exename", "C5EE.EXE");
  EXPECT_FALSE(RunDiscover());
  ASSERT_EQ(fake_.messages.shown.size(), 1u);
  EXPECT_EQ(fake_.messages.shown[0].caption, "Entry Not Found");
}

TEST_F(DiscoverTest, OneTrailingBackslashIsRemovedFromTheRoot) {
  struct Case {
    const char* root;
    const char* kept;
    const char* ini;
    bool code_page_932 = false;
  };
  const Case cases[] = {
      {"C:\\C5\\", "C:\\C5", "C:\\C5\\Bin\\C5ee.ini"},
      {"C:\\C5\\\\", "C:\\C5\\", "C:\\C5\\\\Bin\\C5ee.ini"},
      {"C:\\", "C:", "C:\\Bin\\C5ee.ini"},
      {"C:\\C5", "C:\\C5", "C:\\C5\\Bin\\C5ee.ini"},
      {"C:\\C5\\  ", "C:\\C5", "C:\\C5\\Bin\\C5ee.ini"},
      // The second byte of a double-byte character is no backslash of its own
      // (\x95\x5C is one character in code page 932; in 1252 it is two).
      {"C:\\J\x95\x5C", "C:\\J\x95\x5C", "C:\\J\x95\x5C\\Bin\\C5ee.ini", true},
      {"C:\\J\x95\x5C\\", "C:\\J\x95\x5C", "C:\\J\x95\x5C\\Bin\\C5ee.ini", true},
      {"C:\\\x95\x5C\x95\x5C", "C:\\\x95\x5C\x95\x5C", "C:\\\x95\x5C\x95\x5C\\Bin\\C5ee.ini", true},
      {"C:\\J\x95\x5C", "C:\\J\x95", "C:\\J\x95\\Bin\\C5ee.ini"},
  };
  for (const Case& c : cases) {
    FakeEnv fake;
    if (c.code_page_932) fake.code_page.lead_bytes = ShiftJisLeadBytes();
    CommandContext context;
    fake.profile.Set(kOwn, "Clarion", "root", c.root);
    fake.profile.Set(kOwn, "Clarion", "ExeName", "C5EE.EXE");
    EXPECT_TRUE(Discover(context, fake));
    EXPECT_EQ(context.root, c.kept) << c.root;
    EXPECT_EQ(context.ini_file, c.ini) << c.root;
  }
}

TEST_F(DiscoverTest, MissingRootOrExecutableShowsEntryNotFound) {
  fake_.profile.Set(kOwn, "Clarion", "root", "C:\\C5");
  EXPECT_FALSE(RunDiscover());
  ASSERT_EQ(fake_.messages.shown.size(), 1u);
  EXPECT_EQ(fake_.messages.shown[0].text,
            "The ZQ ZQ Commandline program looks for Clarion information in the WIN.INI file the "
            "related Clarion INI file.  Required information was not found.");
  EXPECT_EQ(fake_.messages.shown[0].icon, MessageIcon::kInformation);
  EXPECT_TRUE(context_.tokens.empty());
}

TEST_F(DiscoverTest, NoRootMeansTheExecutableIsNotEvenRead) {
  fake_.profile.Set(kOwn, "Clarion", "ExeName", "C5EE.EXE");
  EXPECT_FALSE(RunDiscover());
  for (const auto& access : fake_.profile.log) {
    EXPECT_NE(access.entry, "ExeName");
    EXPECT_NE(access.entry, "exename");
  }
  EXPECT_EQ(fake_.messages.shown.size(), 1u);
}

TEST(VerbOfTest, UpperCasedWithoutBlanksAroundAndCutTo19) {
  EXPECT_EQ(VerbOf("  cmd  rest"), "CMD");
  EXPECT_EQ(VerbOf("\"  cmd  \" rest"), "CMD");
  EXPECT_EQ(VerbOf(std::string(300, 'v')), std::string(19, 'V'));
  EXPECT_EQ(VerbOf("   "), "");
}

// A cut value would name another file: a long root made the IDE's INI file
// "...\Bin\C5ee" and the commands wrote a new file there. Values are used
// whole; a name that Windows cannot take then fails where it is used.
TEST_F(DiscoverTest, LongIniValuesAreUsedWhole) {
  const std::string root = "C:\\" + std::string(245, 'r');
  fake_.profile.Set(kOwn, "Clarion", "root", root);
  fake_.profile.Set(kOwn, "Clarion", "ExeName", std::string(400, 'e'));
  EXPECT_TRUE(RunDiscover());
  EXPECT_EQ(context_.root, root);
  EXPECT_EQ(context_.exe_name.size(), 400u);
  EXPECT_EQ(context_.ini_file, root + "\\Bin\\C5ee.ini");
  fake_.profile.Set(kOwn, "Clarion", "IniFile", root + "\\My.ini");
  EXPECT_TRUE(RunDiscover());
  EXPECT_EQ(context_.ini_file, root + "\\My.ini");
}

}  // namespace
}  // namespace zqmv5
