#include "commands/lib_src_command.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "testing/fake_env.h"

namespace zqmv5 {
namespace {

constexpr char kIni[] = "C:\\C5\\Bin\\C5ee.ini";

class LibSrcCommandTest : public ::testing::Test {
 protected:
  void Run(const std::string& text, const std::string& exe_name = "C:\\C5\\Bin\\C5EE.EXE") {
    fake_.files.contents[exe_name];
    CommandContext context;
    context.ini_file = kIni;
    context.exe_name = exe_name;
    context.Tokenize(text);
    LibSrcCommand(context, fake_);
  }
  std::string Libsrc() const { return fake_.profile.Get(kIni, "Paths", "Libsrc"); }

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
  EXPECT_EQ(fake_.profile.writes().size(), 1u);
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

}  // namespace
}  // namespace zqmv5
