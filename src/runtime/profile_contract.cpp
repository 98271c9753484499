// What every Profile implementation must do, the fake and the real one alike.

#include "runtime/profile_contract.h"

namespace zqmv5 {
namespace {

TEST_P(ProfileContractTest, MissingFileSectionOrEntryGivesTheDefault) {
  const std::string file = harness_->PrivateFile("missing");
  EXPECT_EQ(profile().ReadIniValue("Clarion", "root", "dflt", file), "dflt");
  profile().WriteIniValue("Clarion", "root", "C:\\C5", file);
  EXPECT_EQ(profile().ReadIniValue("Other", "root", "", file), "");
  EXPECT_EQ(profile().ReadIniValue("Clarion", "exename", "x", file), "x");
}

TEST_P(ProfileContractTest, NamesMatchRegardlessOfCase) {
  const std::string file = harness_->PrivateFile("case");
  profile().WriteIniValue("Clarion", "ExeName", "C5EE.EXE", file);
  EXPECT_EQ(profile().ReadIniValue("CLARION", "exename", "", file), "C5EE.EXE");
  profile().WriteIniValue("clarion", "EXENAME", "C55EE.EXE", file);
  EXPECT_EQ(profile().ReadIniValue("Clarion", "ExeName", "", file), "C55EE.EXE");
}

TEST_P(ProfileContractTest, WriteReplacesOneEntryAndKeepsTheOthers) {
  const std::string file = harness_->PrivateFile("replace");
  profile().WriteIniValue("Paths", "Libsrc", "C:\\OLD", file);
  profile().WriteIniValue("Paths", "Redirection", "C5.RED", file);
  profile().WriteIniValue("Paths", "Libsrc", "C:\\NEW", file);
  EXPECT_EQ(profile().ReadIniValue("Paths", "Libsrc", "", file), "C:\\NEW");
  EXPECT_EQ(profile().ReadIniValue("Paths", "Redirection", "", file), "C5.RED");
}

TEST_P(ProfileContractTest, LongValuesAreReadWhole) {
  const std::string file = harness_->PrivateFile("long");
  const std::string value(3000, 'v');
  profile().WriteIniValue("S", "E", value, file);
  EXPECT_EQ(profile().ReadIniValue("S", "E", "", file), value);
}

TEST_P(ProfileContractTest, ValuesKeepInnerBlanksAndSymbols) {
  const std::string file = harness_->PrivateFile("symbols");
  profile().WriteIniValue("User Menus", "1", "My Tool/Run|APP", file);
  profile().WriteIniValue("User Applications", "APP", "C:\\Tools\\x.exe -a /b ", file);
  EXPECT_EQ(profile().ReadIniValue("User Menus", "1", "", file), "My Tool/Run|APP");
  // Trailing blanks of a value may be dropped by the platform; nothing relies on them.
  EXPECT_EQ(profile().ReadIniValue("User Applications", "APP", "", file).rfind(
                "C:\\Tools\\x.exe -a /b", 0),
            0u);
}

}  // namespace
}  // namespace zqmv5
