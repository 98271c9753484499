// What every Env must do, the fake and the real one alike.

#include "testing/env_contract.h"

#include <vector>

#include "env/program.h"
#include "text/line_file.h"
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

TEST_P(EnvContractTest, MissingFileIsNotCreatedByOpen) {
  const std::string name = harness_->NewName("missing.txt");
  LineFile file(env());
  EXPECT_EQ(file.Open(name, Share::kDenyNone).message(), FileNotFound().message());
  file.Add("x");
  EXPECT_FALSE(file.Commit().ok());
  EXPECT_FALSE(env().FileExists(name));
}

TEST_P(EnvContractTest, LinesEndAtCrLfLfOrALoneCr) {
  struct Case {
    const char* bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"\r\n\r\n", {"", ""}},
      {"one\n\ntwo", {"one", "", "two"}},
      {"cr\ralone\r", {"cr", "alone"}},
      {"\xEF\xBB\xBF"
       "bom\r\n",
       {"bom"}},
  };
  for (const Case& c : cases) {
    const std::string name = harness_->NewName("read.txt");
    harness_->WriteBytes(name, c.bytes);
    LineFile file(env());
    ASSERT_TRUE(file.Open(name, Share::kDenyWrite).ok()) << c.bytes;
    EXPECT_EQ(file.lines(), c.lines) << c.bytes;
  }
}

// A changed line never touches its neighbours, whatever the lengths; new
// lines take the file's own line end, after a last line without one is ended.
TEST_P(EnvContractTest, ChangesKeepEveryOtherByte) {
  struct Case {
    const char* before;
    int line;  // -1: a line is added
    const char* text;
    const char* after;
  };
  const Case cases[] = {
      {"aaa\r\nbbb\r\nccc\r\n", 1, "BBB", "aaa\r\nBBB\r\nccc\r\n"},
      {"aaa\r\n\r\nccc\r\n", 1, "!Version", "aaa\r\n!Version\r\nccc\r\n"},
      {"aaa\nbbbbbb\nccc\n", 1, "b", "aaa\nb\nccc\n"},
      {"\xEF\xBB\xBFx\ry\r", 0, "!x", "\xEF\xBB\xBF!x\ry\r"},
      {"", -1, "new", "new\r\n"},
      {"a\n", -1, "new", "a\nnew\n"},
      {"a\r\nb", -1, "new", "a\r\nb\r\nnew\r\n"},
      {"a\rb", -1, "new", "a\rb\rnew\r"},
  };
  for (const Case& c : cases) {
    const std::string name = harness_->NewName("put.txt");
    harness_->WriteBytes(name, c.before);
    LineFile file(env());
    ASSERT_TRUE(file.Open(name, Share::kDenyWrite).ok());
    if (c.line < 0) {
      file.Add(c.text);
    } else {
      file.Put(c.line, c.text);
    }
    EXPECT_TRUE(file.Commit().ok()) << c.before;
    file.Close();
    EXPECT_EQ(harness_->ReadBytes(name), c.after) << c.before;
  }
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
  LineFile lines(env());
  ASSERT_TRUE(lines.Open(name, Share::kDenyWrite, IfMissing::kCreate).ok());
  EXPECT_EQ(lines.lines(), std::vector<std::string>{"precious"});
  lines.Close();
  EXPECT_EQ(harness_->ReadBytes(name), "precious\r\n");
}

TEST_P(EnvContractTest, DenyWriteKeepsOthersOutUntilClosed) {
  const std::string name = harness_->NewName("share.txt");
  harness_->WriteBytes(name, "v\r\n");
  LineFile holder(env()), other(env());
  ASSERT_TRUE(holder.Open(name, Share::kDenyWrite).ok());
  EXPECT_TRUE(other.Open(name, Share::kDenyNone).IsHeld());
  EXPECT_EQ(holder.Open(name, Share::kDenyWrite).message(), FileAlreadyOpen().message());
  holder.Close();
  holder.Close();  // closing twice does nothing
  EXPECT_TRUE(other.Open(name, Share::kDenyNone).ok());
}

// One file by two names, also while it is held against writers.
TEST_P(EnvContractTest, SameFileTellsOneFileByAnyName) {
  const std::string name = harness_->NewName("same.txt");
  const std::string other = harness_->NewName("other.txt");
  harness_->WriteBytes(name, "v\r\n");
  harness_->WriteBytes(other, "v\r\n");
  LineFile holder(env());
  ASSERT_TRUE(holder.Open(name, Share::kDenyWrite).ok());
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
    LineFile holder(env());
    ASSERT_TRUE(holder.Open(name, Share::kDenyWrite).ok());
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

TEST_P(EnvContractTest, Utf16FileIsLeftAlone) {
  const std::string name = harness_->NewName("utf16.txt");
  const std::string bytes("\xFF\xFEv\0\r\0\n\0", 8);
  harness_->WriteBytes(name, bytes);
  LineFile file(env());
  EXPECT_EQ(file.Open(name, Share::kDenyNone).message(), Utf16File().message());
  EXPECT_EQ(harness_->ReadBytes(name), bytes);
}

TEST_P(EnvContractTest, AHundredThousandLinesRoundTrip) {
  const std::string name = harness_->NewName("big.txt");
  std::string bytes, expected;
  for (int i = 0; i < 100000; ++i) {
    bytes += "Version             line " + std::to_string(i) + "\r\n";
    expected += "!Version            line " + std::to_string(i) + "\r\n";
  }
  harness_->WriteBytes(name, bytes);
  LineFile file(env());
  ASSERT_TRUE(file.Open(name, Share::kDenyWrite).ok());
  ASSERT_EQ(file.lines().size(), 100000u);
  for (size_t i = 0; i < file.lines().size(); ++i) {
    file.Put(i, "!Version            " + file.lines()[i].substr(20));
  }
  file.Add("Version             new");
  ASSERT_TRUE(file.Commit().ok());
  file.Close();
  EXPECT_TRUE(harness_->ReadBytes(name) == expected + "Version             new\r\n");
}

}  // namespace
}  // namespace zqmv5
