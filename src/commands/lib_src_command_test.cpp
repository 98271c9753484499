#include "commands/lib_src_command.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cmdline/discovery.h"
#include "testing/fake_env.h"

namespace zqmv5 {
namespace {

constexpr char kIni[] = "C:\\C5\\Bin\\C5ee.ini";

class LibSrcCommandTest : public ::testing::Test {
 protected:
  // Runs LIBSRC or UNLIBSRC (with /Q in front: quietly); returns the outcome.
  Status Run(std::string text, const std::string& exe_name = "C:\\C5\\Bin\\C5EE.EXE") {
    CommandContext context;
    context.ini_file = kIni;
    context.exe_name = exe_name;
    context.quiet = TakeQuietSwitch(&text);
    context.verb = VerbOf(text);
    context.Tokenize(text);
    (context.verb == "UNLIBSRC" ? UnLibSrcCommand : LibSrcCommand)(context, fake_);
    return context.outcome;
  }
  std::string Libsrc() const { return fake_.profile.Get(kIni, "Paths", "Libsrc"); }
  FakeProfile::Entries Records() const { return fake_.profile.Section(kIni, "ZQMV5 Libsrc Undo"); }

  FakeEnv fake_;
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
  EXPECT_EQ(fake_.programs.started, std::vector<std::string>{"C:\\Program Files\\C5\\C5EE.EXE"});

  fake_.programs.started.clear();
  Run("LIBSRC c:\\lib3 \"\" \"  \"");  // empty quotes are no token
  EXPECT_TRUE(fake_.programs.started.empty());
}

TEST_F(LibSrcCommandTest, BlankExeNameWritesButStartsNothing) {
  Run("LIBSRC c:\\lib run", "   ");
  EXPECT_EQ(Libsrc(), "C:\\LIB");
  EXPECT_TRUE(fake_.programs.started.empty());
}

TEST_F(LibSrcCommandTest, FailedStartIsNotReported) {
  fake_.programs.start_fails_with = 2;
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
// uninstallers run them: what "Libsrc" and the undo records hold afterwards.
TEST_F(LibSrcCommandTest, UnLibSrcTakesItsPathOutOfTheChain) {
  const char* const kNone = nullptr;  // no "Libsrc" entry
  const struct {
    const char* libsrc;  // before the runs
    std::vector<std::string> runs;
    const char* libsrc_after;
    FakeProfile::Entries records_after;
  } cases[] = {
      // A over P, B over A: taking A back leaves B, whose record now says P;
      // taking B back then gives P, never the removed A.
      {"C:\\P", {"LIBSRC c:\\a", "LIBSRC c:\\b", "UNLIBSRC C:\\A"}, "C:\\B", {{"C:\\B", "C:\\P"}}},
      {"C:\\P", {"LIBSRC c:\\a", "LIBSRC c:\\b", "UNLIBSRC c:\\a", "UNLIBSRC c:\\b"}, "C:\\P", {}},
      {"C:\\P", {"LIBSRC c:\\a", "LIBSRC c:\\b", "UNLIBSRC c:\\b", "UNLIBSRC c:\\a"}, "C:\\P", {}},
      // The record above the one taken out is found from "Libsrc" down.
      {"C:\\P",
       {"LIBSRC c:\\a", "LIBSRC c:\\b", "LIBSRC c:\\c", "UNLIBSRC c:\\a"},
       "C:\\C",
       {{"C:\\B", "C:\\P"}, {"C:\\C", "C:\\B"}}},
      // An entry that was absent becomes absent again; an empty one stays.
      {kNone, {"LIBSRC c:\\a", "UNLIBSRC c:\\a"}, kNone, {}},
      {kNone, {"LIBSRC c:\\a", "LIBSRC c:\\b", "UNLIBSRC c:\\a", "UNLIBSRC c:\\b"}, kNone, {}},
      {"", {"LIBSRC c:\\a", "UNLIBSRC c:\\a"}, "", {}},
      // A re-run installer keeps the first record, whatever the case and blanks.
      {"C:\\P", {"LIBSRC c:\\a", "LIBSRC \"  C:\\A \" run", "UNLIBSRC c:\\A"}, "C:\\P", {}},
      // A directory set by hand in between stays.
      {"C:\\P", {"LIBSRC c:\\a", "=C:\\HAND", "UNLIBSRC c:\\a"}, "C:\\HAND", {}},
      // Nothing to take back: no record, or taken back already.
      {"C:\\P", {"UNLIBSRC c:\\a run"}, "C:\\P", {}},
      {"C:\\P", {"LIBSRC c:\\a", "UNLIBSRC c:\\a", "UNLIBSRC c:\\a"}, "C:\\P", {}},
      // A directory that an INI entry cannot be named by keeps no record.
      {"C:\\P", {"LIBSRC c:\\a=b", "UNLIBSRC c:\\p"}, "C:\\A=B", {}},
  };
  for (const auto& c : cases) {
    fake_.profile = FakeProfile();
    fake_.programs.started.clear();
    if (c.libsrc) fake_.profile.Set(kIni, "Paths", "Libsrc", c.libsrc);
    std::string runs;
    size_t starts = 0;
    for (const std::string& run : c.runs) {
      runs += run + "; ";
      if (run.starts_with("LIBSRC") && run.ends_with(" run")) ++starts;
      if (run[0] == '=') {
        fake_.profile.Set(kIni, "Paths", "Libsrc", run.substr(1));
      } else {
        EXPECT_TRUE(Run(run).ok()) << runs;
      }
    }
    EXPECT_EQ(fake_.profile.Has(kIni, "Paths", "Libsrc"), c.libsrc_after != nullptr) << runs;
    if (c.libsrc_after) EXPECT_EQ(Libsrc(), c.libsrc_after) << runs;
    EXPECT_EQ(Records(), c.records_after) << runs;
    EXPECT_TRUE(fake_.messages.shown.empty()) << runs;
    EXPECT_EQ(fake_.programs.started.size(), starts) << runs;
  }
}

TEST_F(LibSrcCommandTest, UnLibSrcTellsWhatItDidUnderQ) {
  fake_.profile.Set(kIni, "Paths", "Libsrc", "C:\\P");
  EXPECT_TRUE(Run("/Q UNLIBSRC c:\\a").ok());
  EXPECT_EQ(fake_.messages.output, std::vector<std::string>{"UNLIBSRC: nothing to take back"});
  EXPECT_TRUE(Run("/Q LIBSRC c:\\a").ok());
  EXPECT_TRUE(Run("/Q UNLIBSRC c:\\a").ok());
  EXPECT_EQ(fake_.messages.output.size(), 1u);
  EXPECT_EQ(Libsrc(), "C:\\P");

  EXPECT_TRUE(Run("/Q LIBSRC c:\\a=b").ok());
  ASSERT_EQ(fake_.messages.output.size(), 2u);
  EXPECT_EQ(fake_.messages.output[1].rfind("LIBSRC: No undo record is kept", 0), 0u);
  EXPECT_EQ(Libsrc(), "C:\\A=B");
  EXPECT_TRUE(fake_.messages.shown.empty());
}

TEST_F(LibSrcCommandTest, UnLibSrcRefusesAPathThatNoRecordCanBeNamedBy) {
  fake_.profile.Set(kIni, "Paths", "Libsrc", "C:\\P");
  for (const char* line : {"UNLIBSRC", "UNLIBSRC \"  \"", "UNLIBSRC c:\\a=b", "UNLIBSRC [Paths]",
                           "UNLIBSRC c:\\a\r\n[Paths]"}) {
    fake_.messages.shown.clear();
    EXPECT_EQ(Run(line).kind(), Status::Kind::kBadInput) << line;
    ASSERT_EQ(fake_.messages.shown.size(), 1u) << line;
    EXPECT_EQ(fake_.messages.shown[0].caption, "Incorrect Command Line");
    EXPECT_EQ(fake_.messages.shown[0].text.rfind("Command line parameter is: Path.", 0), 0u);
  }
  EXPECT_TRUE(fake_.profile.writes().empty());
}

}  // namespace
}  // namespace zqmv5
