#include "commands/lib_src_command.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "testing/command_test.h"

namespace zqmv5 {
namespace {

class LibSrcCommandTest : public CommandTest<LibSrcCommand> {
 protected:
  // Runs LIBSRC or UNLIBSRC (with /Q in front: quietly); returns the outcome.
  Status Run(const std::string& text, const std::string& exe_name = kExe) {
    fake_.files.contents[exe_name];
    const bool undo = text.find("UNLIBSRC") != std::string::npos;
    return RunCommand(undo ? UnLibSrcCommand : LibSrcCommand, text, fake_, exe_name);
  }
  std::string Libsrc() const { return fake_.profile.Get(kIni, "Paths", "Libsrc"); }
  FakeProfile::Entries Records() const { return fake_.profile.Section(kIni, "ZQMV5 Libsrc Undo"); }
};

TEST_F(LibSrcCommandTest, MissingDirectoryShowsTheBoxAndChangesNothing) {
  for (const char* line : {"LIBSRC", "LIBSRC   ", "LIBSRC \"\"", "LIBSRC \"   \""}) {
    for (const char* exe : {"C:\\C5\\Bin\\C5EE.EXE", ""}) {
      fake_.messages.shown.clear();
      Run(line, exe);
      ASSERT_EQ(fake_.messages.shown.size(), 1u) << line;
      EXPECT_EQ(fake_.messages.shown[0].caption, "Set ABC Library Directory");
      EXPECT_EQ(fake_.messages.shown[0].text, "File parameter missing from command line");
      EXPECT_EQ(fake_.messages.shown[0].icon, MessageIcon::kInformation);
    }
  }
  EXPECT_TRUE(fake_.programs.started.empty());
}

TEST_F(LibSrcCommandTest, DirectoryIsStoredInUpperCaseAndKept) {
  fake_.profile.Set(kIni, "Paths", "RedFile", "c:\\c5\\bin\\c5ee.red");
  fake_.profile.Set(kIni, "Paths", "Libsrc", "C:\\OLD");
  Run("LIBSRC c:\\Projects\\MyLib\\");
  EXPECT_TRUE(fake_.messages.shown.empty());
  EXPECT_EQ(Libsrc(), "C:\\PROJECTS\\MYLIB\\");
  EXPECT_EQ(fake_.profile.Get(kIni, "Paths", "RedFile"), "c:\\c5\\bin\\c5ee.red");
  // The undo record first: the value replaced.
  EXPECT_EQ(fake_.profile.writes().size(), 2u);
  EXPECT_EQ(Records(), (FakeProfile::Entries{{"C:\\PROJECTS\\MYLIB\\", "C:\\OLD"}}));
}

// Only letters that stand as characters of their own are upper-cased: the
// second byte of a double-byte character (\x83\x66 is one character in code
// page 932) stays, and so does a letter of the code page such as 1252's e-acute.
TEST_F(LibSrcCommandTest, UpperCaseNeverSplitsACharacter) {
  Run("LIBSRC c:\\caf\xE9");
  EXPECT_EQ(Libsrc(), "C:\\CAF\xE9");
  fake_.code_page.lead_bytes = ShiftJisLeadBytes();
  Run("LIBSRC c:\\\x83\x66\x81\x5B\x83\x5Ex\x95\x5C");
  EXPECT_EQ(Libsrc(), "C:\\\x83\x66\x81\x5B\x83\x5EX\x95\x5C");
}

TEST_F(LibSrcCommandTest, QuotedDirectoryKeepsItsBlanks) {
  Run("LIBSRC \"c:\\my projects\\lib  x\"");
  EXPECT_EQ(Libsrc(), "C:\\MY PROJECTS\\LIB  X");
}

TEST_F(LibSrcCommandTest, StartsTheIdeOnlyWithAThirdToken) {
  Run("LIBSRC c:\\lib");
  EXPECT_EQ(Libsrc(), "C:\\LIB");
  EXPECT_TRUE(fake_.programs.started.empty());

  Run("LIBSRC c:\\lib2 run", "C:\\Program Files\\C5\\C5EE.EXE");
  EXPECT_EQ(Libsrc(), "C:\\LIB2");
  EXPECT_EQ(fake_.programs.started,
            (std::vector<StartedProgram>{{"C:\\Program Files\\C5\\C5EE.EXE", ""}}));

  fake_.programs.started.clear();
  Run("LIBSRC c:\\lib3 \"\" \"  \"");  // empty quotes are no token
  EXPECT_TRUE(fake_.programs.started.empty());
}

TEST_F(LibSrcCommandTest, BlankExeNameWritesButStartsNothing) {
  Run("LIBSRC c:\\lib run", "   ");
  EXPECT_EQ(Libsrc(), "C:\\LIB");
  EXPECT_TRUE(fake_.programs.started.empty());
}

TEST_F(LibSrcCommandTest, FailedStartShowsNoBox) {
  fake_.programs.start_fails_with = 5;
  Run("LIBSRC c:\\lib run");
  EXPECT_EQ(fake_.programs.started.size(), 1u);
  EXPECT_TRUE(fake_.messages.shown.empty());
  EXPECT_EQ(Libsrc(), "C:\\LIB");
}

TEST_F(LibSrcCommandTest, LineBreakInTheDirectoryIsRefused) {
  Run("LIBSRC c:\\lib\r\n[Evil] run");
  ASSERT_EQ(fake_.messages.shown.size(), 1u);
  EXPECT_EQ(fake_.messages.shown[0].caption, "Set ABC Library Directory");
  EXPECT_TRUE(fake_.profile.log.empty());
  EXPECT_TRUE(fake_.programs.started.empty());
}

// LIBSRC and UNLIBSRC runs one after another, as installers and their
// uninstallers run them ("=X": X set by hand): what "Libsrc" (nullptr: no
// entry) and the undo records hold afterwards. No run shows a box.
TEST_F(LibSrcCommandTest, UnLibSrcTakesItsPathOutOfTheChain) {
  const struct {
    const char* libsrc;
    std::vector<std::string> runs;
    const char* libsrc_after;
    FakeProfile::Entries records_after;
  } cases[] = {
      // A over P, B over A: taking A back leaves B, whose record now says P;
      // taking B back then gives P, never the removed A.
      {"C:\\P", {"LIBSRC c:\\a", "LIBSRC c:\\b", "UNLIBSRC C:\\A"}, "C:\\B", {{"C:\\B", "C:\\P"}}},
      {"C:\\P", {"LIBSRC c:\\a", "LIBSRC c:\\b", "UNLIBSRC c:\\a", "UNLIBSRC c:\\b"}, "C:\\P", {}},
      {"C:\\P",
       {"LIBSRC c:\\a", "LIBSRC c:\\b", "LIBSRC c:\\c", "UNLIBSRC c:\\a"},
       "C:\\C",
       {{"C:\\B", "C:\\P"}, {"C:\\C", "C:\\B"}}},
      // An absent entry becomes absent again; an empty one stays.
      {nullptr, {"LIBSRC c:\\a", "UNLIBSRC c:\\a"}, nullptr, {}},
      {"", {"LIBSRC c:\\a", "UNLIBSRC c:\\a"}, "", {}},
      // A re-run installer keeps the first record, whatever the case and blanks.
      {"C:\\P", {"LIBSRC c:\\a", "LIBSRC \"  C:\\A \"", "UNLIBSRC c:\\A"}, "C:\\P", {}},
      {"C:\\P", {"LIBSRC c:\\a", "=C:\\HAND", "UNLIBSRC c:\\a"}, "C:\\HAND", {}},
      // Nothing to take back.
      {"C:\\P", {"LIBSRC c:\\a", "UNLIBSRC c:\\a", "UNLIBSRC c:\\a run"}, "C:\\P", {}},
      // No INI entry can be named by this directory, so no record is kept.
      {"C:\\P", {"LIBSRC c:\\a=b", "UNLIBSRC c:\\p"}, "C:\\A=B", {}},
  };
  for (const auto& c : cases) {
    fake_.profile = FakeProfile();
    if (c.libsrc) fake_.profile.Set(kIni, "Paths", "Libsrc", c.libsrc);
    std::string runs;
    for (const std::string& run : c.runs) {
      runs += run + "; ";
      if (run[0] == '=') fake_.profile.Set(kIni, "Paths", "Libsrc", run.substr(1));
      if (run[0] != '=') EXPECT_TRUE(Run(run).ok()) << runs;
    }
    EXPECT_EQ(fake_.profile.Has(kIni, "Paths", "Libsrc"), c.libsrc_after != nullptr) << runs;
    EXPECT_EQ(Libsrc(), c.libsrc_after ? c.libsrc_after : "") << runs;
    EXPECT_EQ(Records(), c.records_after) << runs;
  }
  EXPECT_TRUE(fake_.messages.shown.empty());
  EXPECT_TRUE(fake_.programs.started.empty());
}

TEST_F(LibSrcCommandTest, UnLibSrcRefusesAPathThatNoRecordCanBeNamedBy) {
  for (const char* line : {"UNLIBSRC", "UNLIBSRC c:\\a=b", "UNLIBSRC [Paths]", "UNLIBSRC a\r\nb"}) {
    EXPECT_EQ(Status::Kind::kBadInput, Run(line).kind()) << line;
    EXPECT_EQ(fake_.messages.shown.back().caption, "Incorrect Command Line") << line;
  }
  EXPECT_EQ(fake_.messages.shown.size(), 4u);
  EXPECT_TRUE(fake_.profile.log.empty());
}

// A write that fails leaves "Libsrc" and its record as they were: the chain
// stays whole.
TEST_F(LibSrcCommandTest, FailedWritesLeaveTheChainAsItWas) {
  fake_.profile.Set(kIni, "Paths", "Libsrc", "C:\\P");
  ASSERT_TRUE(Run("LIBSRC c:\\a").ok());
  fake_.profile.fail_writes = true;
  for (const char* run : {"LIBSRC c:\\b", "UNLIBSRC c:\\a"}) {
    EXPECT_FALSE(Run(run).ok()) << run;
    EXPECT_EQ(Libsrc(), "C:\\A") << run;
    EXPECT_EQ(Records(), (FakeProfile::Entries{{"C:\\A", "C:\\P"}})) << run;
  }
}

}  // namespace
}  // namespace zqmv5
