// What every Env must do, the fake and the real one alike.

#include "testing/env_contract.h"

#include <memory>

#include "env/program.h"
#include "text/strings.h"

namespace zqmv5 {
namespace {

TEST_P(EnvContractTest, MissingFileSectionOrEntryGivesTheDefault) {
  const std::string file = harness_->NewName("missing.ini");
  EXPECT_EQ(ReadIni(env(), "Clarion", "root", "dflt", file), "dflt");
  env().WriteIniValue("Clarion", "root", "C:\\C5", file);
  EXPECT_EQ(ReadIni(env(), "Other", "root", "", file), "");
  EXPECT_EQ(ReadIni(env(), "Clarion", "exename", "x", file), "x");
}

TEST_P(EnvContractTest, IniNamesMatchRegardlessOfCaseAndAWriteKeepsTheOthers) {
  const std::string file = harness_->NewName("case.ini");
  env().WriteIniValue("Clarion", "ExeName", "C5EE.EXE", file);
  env().WriteIniValue("Paths", "Redirection", "C5.RED", file);
  EXPECT_EQ(ReadIni(env(), "CLARION", "exename", "", file), "C5EE.EXE");
  env().WriteIniValue("clarion", "EXENAME", "C55EE.EXE", file);
  EXPECT_EQ(ReadIni(env(), "Clarion", "ExeName", "", file), "C55EE.EXE");
  EXPECT_EQ(ReadIni(env(), "Paths", "Redirection", "", file), "C5.RED");
}

TEST_P(EnvContractTest, IniValuesAreReadWholeWithTheirInnerBlanksAndSymbols) {
  const std::string file = harness_->NewName("values.ini");
  const std::string long_value(3000, 'v');
  env().WriteIniValue("S", "E", long_value, file);
  env().WriteIniValue("User Menus", "1", "My Tool/Run|APP", file);
  EXPECT_EQ(ReadIni(env(), "S", "E", "", file), long_value);
  EXPECT_EQ(ReadIni(env(), "User Menus", "1", "", file), "My Tool/Run|APP");
}

// A file that another program holds is neither read as empty nor written:
// both fail, and the file keeps its entries.
TEST_P(EnvContractTest, HeldIniFileFailsReadsAndWrites) {
  const std::string file = harness_->NewName("held.ini");
  ASSERT_TRUE(env().WriteIniValue("User Menus", "1", "One|A", file).ok());
  {
    const std::shared_ptr<void> hold = harness_->Hold(file);
    std::string value;
    EXPECT_TRUE(env().ReadIniValue("User Menus", "1", "", file, &value).IsHeld()) << value;
    EXPECT_FALSE(env().WriteIniValue("User Menus", "2", "Two|B", file).ok());
    EXPECT_FALSE(env().RemoveIniValue("User Menus", "1", file).ok());
  }
  EXPECT_EQ(ReadIni(env(), "User Menus", "1", "", file), "One|A");
  EXPECT_EQ(ReadIni(env(), "User Menus", "2", "none", file), "none");
}

// A program that is not there starts nothing, with Windows' number for a
// missing file, which the connection log shows.
TEST_P(EnvContractTest, MissingProgramFailsAsNotFound) {
  const std::string missing = harness_->NewName("missing.exe");
  for (const Status& start :
       {env().StartProgram(missing, ""), RunProgram(env(), missing + " /n")}) {
    EXPECT_TRUE(start.IsNotFound()) << start.message();
    EXPECT_EQ(start.number(), 2);
  }
}

// An ASCII byte is a character of its own in every ANSI code page: a backslash,
// a blank or a letter never begins a double-byte character.
TEST_P(EnvContractTest, NoAsciiByteBeginsADoubleByteCharacter) {
  for (int c = 0; c < 0x80; ++c) EXPECT_FALSE(env().IsLeadByte(static_cast<char>(c))) << c;
}

// A file's bytes change in place, and the file takes the size asked, longer
// or shorter: the bytes before stay.
TEST_P(EnvContractTest, FileChangesInPlaceAndTakesTheSizeAsked) {
  const std::string name = harness_->NewName("put.txt");
  harness_->WriteBytes(name, "aaa\r\nbbbbbb\r\n");
  std::unique_ptr<File> file;
  ASSERT_TRUE(env().OpenFile(name, Share::kDenyWrite, IfMissing::kFail, &file).ok());
  const std::string longer = "aaa\r\n" + std::string(3000, 'B') + "\r\n";
  ASSERT_TRUE(file->Resize(static_cast<int64_t>(longer.size())).ok());
  ASSERT_TRUE(file->WriteAt(5, longer.data() + 5, longer.size() - 5).ok());
  std::string bytes;
  EXPECT_TRUE(ReadWhole(*file, &bytes).ok());
  EXPECT_TRUE(bytes == longer);
  ASSERT_TRUE(file->WriteAt(5, "b\r\n", 3).ok());
  ASSERT_TRUE(file->Resize(8).ok());
  file.reset();
  EXPECT_EQ(harness_->ReadBytes(name), "aaa\r\nb\r\n");
}

TEST_P(EnvContractTest, OpeningMakesAMissingFileOnlyWhenAsked) {
  const std::string name = harness_->NewName("create.txt");
  std::unique_ptr<File> file;
  EXPECT_TRUE(env().OpenFile(name, Share::kDenyWrite, IfMissing::kFail, &file).IsNotFound());
  EXPECT_FALSE(env().FileExists(name));
  ASSERT_TRUE(env().OpenFile(name, Share::kDenyWrite, IfMissing::kCreate, &file).ok());
  file.reset();
  EXPECT_EQ(harness_->ReadBytes(name), "");
  harness_->WriteBytes(name, "precious\r\n");
  ASSERT_TRUE(env().OpenFile(name, Share::kDenyWrite, IfMissing::kCreate, &file).ok());
  int64_t size = 0;
  EXPECT_TRUE(file->Size(&size).ok());
  EXPECT_EQ(size, 10);
  file.reset();
  EXPECT_EQ(harness_->ReadBytes(name), "precious\r\n");
}

TEST_P(EnvContractTest, DenyWriteKeepsOthersOutUntilClosed) {
  const std::string name = harness_->NewName("share.txt");
  harness_->WriteBytes(name, "v\r\n");
  std::unique_ptr<File> holder, other;
  ASSERT_TRUE(env().OpenFile(name, Share::kDenyWrite, IfMissing::kFail, &holder).ok());
  EXPECT_TRUE(env().OpenFile(name, Share::kDenyNone, IfMissing::kFail, &other).IsHeld());
  holder.reset();
  EXPECT_TRUE(env().OpenFile(name, Share::kDenyNone, IfMissing::kFail, &other).ok());
}

// One file by two names, also while it is held against writers.
TEST_P(EnvContractTest, SameFileTellsOneFileByAnyName) {
  const std::string name = harness_->NewName("same.txt");
  const std::string other = harness_->NewName("other.txt");
  harness_->WriteBytes(name, "v\r\n");
  harness_->WriteBytes(other, "v\r\n");
  std::unique_ptr<File> holder;
  ASSERT_TRUE(env().OpenFile(name, Share::kDenyWrite, IfMissing::kFail, &holder).ok());
  EXPECT_TRUE(env().SameFile(name, Upper(name)));
  EXPECT_FALSE(env().SameFile(name, other));
  EXPECT_FALSE(env().SameFile(name + ".missing", name + ".missing"));
}

// A replaced file keeps its name with the new bytes alone, and nothing is
// left beside it; a file held against writers, or a missing one, keeps its
// state. Appends go to the end, and make a missing file.
TEST_P(EnvContractTest, ReplaceAndAppendWholeContents) {
  const std::string name = harness_->NewName("replace.txt");
  harness_->WriteBytes(name, "old\r\nlines\r\n");
  EXPECT_TRUE(env().ReplaceContents(name, "new\r\n").ok());
  EXPECT_EQ(harness_->ReadBytes(name), "new\r\n");
  EXPECT_FALSE(env().FileExists(name + ".zq1~"));
  {
    std::unique_ptr<File> holder;
    ASSERT_TRUE(env().OpenFile(name, Share::kDenyWrite, IfMissing::kFail, &holder).ok());
    EXPECT_FALSE(env().ReplaceContents(name, "other\r\n").ok());
    EXPECT_FALSE(env().AppendToFile(name, "more\r\n").ok());
  }
  EXPECT_EQ(harness_->ReadBytes(name), "new\r\n");
  EXPECT_FALSE(env().ReplaceContents(harness_->NewName("none.txt"), "x").ok());
  EXPECT_TRUE(env().AppendToFile(name, "more\r\n").ok());
  EXPECT_EQ(harness_->ReadBytes(name), "new\r\nmore\r\n");
  const std::string log = harness_->NewName("append.log");
  EXPECT_TRUE(env().AppendToFile(log, "a\r\n").ok());
  EXPECT_EQ(harness_->ReadBytes(log), "a\r\n");
}

}  // namespace
}  // namespace zqmv5
