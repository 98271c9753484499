// A user makes a template file include another one with INCLUDE: the
// template's bytes before and after.

#include <windows.h>

#include <string>

#include "blackbox/session.h"

namespace zqmv5::testing {
namespace {

class IncludeTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    UseDemoInstallation();
    tpl_ = Work("demo.tpl");
  }

  // Runs "INCLUDE <arguments>"; INCLUDE never shows a box.
  void RunQuietly(const std::string& arguments) {
    RunResult result = Run("INCLUDE " + arguments);
    EXPECT_EQ(result.exit_code, 0u);
    EXPECT_TRUE(result.boxes.empty()) << arguments << "\n" << Describe(result.boxes);
  }

  // The template's bytes after "INCLUDE demo.tpl <name>" on a file holding `before`.
  std::string After(const std::string& before, const std::string& name = "MyInc.tpw") {
    EXPECT_TRUE(WriteWholeFile(tpl_, before));
    RunQuietly("demo.tpl " + name);
    return ReadWholeFile(tpl_);
  }

  std::string tpl_;
};

constexpr char kHead[] = "#TEMPLATE(Demo,'Demo templates')\r\n";

TEST_F(IncludeTest, EmptyLineOnlyAfterALastLineWithText) {
  EXPECT_EQ(After(""), "#INCLUDE('MyInc.tpw')\r\n");
  EXPECT_EQ(After(kHead), std::string(kHead) + "\r\n#INCLUDE('MyInc.tpw')\r\n");
  EXPECT_EQ(After(std::string(kHead) + "  \r\n"),
            std::string(kHead) + "  \r\n#INCLUDE('MyInc.tpw')\r\n");
}

TEST_F(IncludeTest, LastLineWithoutLineEndIsNotGluedTo) {
  EXPECT_EQ(After("#TEMPLATE(Demo,'Demo templates')"),
            std::string(kHead) + "\r\n#INCLUDE('MyInc.tpw')\r\n");
}

TEST_F(IncludeTest, FileKeepsItsLineEnds) {
  EXPECT_EQ(After("#TEMPLATE(Demo,'x')\n#! end\n"),
            "#TEMPLATE(Demo,'x')\n#! end\n\n#INCLUDE('MyInc.tpw')\n");
  const std::string crlf = std::string(kHead) + "#! a\r\n#! b\r\n";
  EXPECT_EQ(After(crlf), crlf + "\r\n#INCLUDE('MyInc.tpw')\r\n");
}

TEST_F(IncludeTest, PresentAfterACommentMarkChangesNothing) {
  const std::string present = std::string(kHead) + "#! was: #INCLUDE('MyInc.tpw')\r\n#! end\r\n";
  EXPECT_EQ(After(present), present);
}

TEST_F(IncludeTest, OtherCaseOrBlanksInsideDoNotCount) {
  for (const char* line :
       {"#include('MyInc.tpw')", "#INCLUDE('MYINC.TPW')", "#INCLUDE( 'MyInc.tpw' )"}) {
    const std::string before = std::string(kHead) + line + "\r\n";
    EXPECT_EQ(After(before), before + "\r\n#INCLUDE('MyInc.tpw')\r\n") << line;
  }
}

TEST_F(IncludeTest, SecondRunChangesNothing) {
  ASSERT_TRUE(WriteWholeFile(tpl_, kHead));
  RunQuietly("demo.tpl MyInc.tpw");
  const std::string once = ReadWholeFile(tpl_);
  RunQuietly("demo.tpl MyInc.tpw");
  EXPECT_EQ(ReadWholeFile(tpl_), once);
  RunQuietly("demo.tpl Other.tpw");
  EXPECT_EQ(ReadWholeFile(tpl_), once + "\r\n#INCLUDE('Other.tpw')\r\n");
}

TEST_F(IncludeTest, MissingFileStaysMissing) {
  RunQuietly("none.tpl MyInc.tpw");
  EXPECT_FALSE(PathExists(Work("none.tpl")));
  RunQuietly(Quoted(Work("no such dir\\x.tpl")) + " MyInc.tpw");
  EXPECT_FALSE(PathExists(Work("no such dir")));
}

TEST_F(IncludeTest, MissingOperandsDoNothing) {
  ASSERT_TRUE(WriteWholeFile(tpl_, kHead));
  RunQuietly("");
  RunQuietly("demo.tpl");
  RunQuietly("\"\" demo.tpl");
  EXPECT_EQ(ReadWholeFile(tpl_), kHead);
}

TEST_F(IncludeTest, QuotedPathWithBlanks) {
  const std::string dir = Work("my templates");
  CreateDirectoryA(dir.c_str(), nullptr);
  const std::string tpl = dir + "\\my demo.tpl";
  ASSERT_TRUE(WriteWholeFile(tpl, kHead));
  RunQuietly(Quoted(tpl) + " \"abc def.tpw\"");
  EXPECT_EQ(ReadWholeFile(tpl), std::string(kHead) + "\r\n#INCLUDE('abc def.tpw')\r\n");
}

TEST_F(IncludeTest, LongLinesAreNeitherCutNorHideTheIncludeLine) {
  const std::string long_line(400, 'x');
  const std::string hidden = std::string(kHead) + long_line + " #INCLUDE('MyInc.tpw')\r\n";
  EXPECT_EQ(After(hidden), hidden);
  const std::string kept = std::string(kHead) + long_line + "\r\n";
  EXPECT_EQ(After(kept), kept + "\r\n#INCLUDE('MyInc.tpw')\r\n");
}

TEST_F(IncludeTest, NameTooLongForATemplateLineWritesNothing) {
  ASSERT_TRUE(WriteWholeFile(Work("t"), kHead));
  const std::string longest(243, 'n');
  RunQuietly("t " + longest + "x");  // 244 characters
  EXPECT_EQ(ReadWholeFile(Work("t")), kHead);
  RunQuietly("t abc\r\n#ERROR");
  EXPECT_EQ(ReadWholeFile(Work("t")), kHead);
  RunQuietly("t " + longest);
  EXPECT_EQ(ReadWholeFile(Work("t")), std::string(kHead) + "\r\n#INCLUDE('" + longest + "')\r\n");
}

TEST_F(IncludeTest, FileHeldByAnotherProgramIsLeftAlone) {
  ASSERT_TRUE(WriteWholeFile(tpl_, kHead));
  HANDLE held = CreateFileA(tpl_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  RunQuietly("demo.tpl MyInc.tpw");
  CloseHandle(held);
  EXPECT_EQ(ReadWholeFile(tpl_), kHead);
}

// Another program writing the template, or a second INCLUDE at once: the
// template is held against other writers from its read to its write, so no
// line is written over another's, and a run that cannot get it fails.
TEST_F(IncludeTest, NoLineIsLostToAnotherWriter) {
  ASSERT_TRUE(WriteWholeFile(tpl_, kHead));
  HANDLE held =
      CreateFileA(tpl_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const RunResult refused = Run("/Q INCLUDE demo.tpl MyInc.tpw");
  CloseHandle(held);
  EXPECT_EQ(refused.exit_code, 1u);
  EXPECT_EQ(ReadWholeFile(tpl_), kHead);

  std::string big = kHead;
  while (big.size() < (16u << 20)) big += "#! " + std::string(60, '.') + "\r\n";
  for (int attempt = 0; attempt < 2; ++attempt) {
    ASSERT_TRUE(WriteWholeFile(tpl_, big));
    const std::string program = Quoted(ProgramUnderTest()) + " /Q INCLUDE demo.tpl ";
    HANDLE a = StartDetached(program + "AddonA.inc", work_);
    HANDLE b = StartDetached(program + "AddonB.inc", work_);
    ASSERT_TRUE(a && b);
    DWORD status_a = 9, status_b = 9;
    WaitForSingleObject(a, 60000);
    WaitForSingleObject(b, 60000);
    GetExitCodeProcess(a, &status_a);
    GetExitCodeProcess(b, &status_b);
    CloseHandle(a);
    CloseHandle(b);
    const std::string after = ReadWholeFile(tpl_);
    EXPECT_EQ(status_a, 0u);
    EXPECT_EQ(status_b, 0u);
    EXPECT_NE(after.find("#INCLUDE('AddonA.inc')"), std::string::npos) << attempt;
    EXPECT_NE(after.find("#INCLUDE('AddonB.inc')"), std::string::npos) << attempt;
  }
}

// Files in encodings of their own: a UTF-16 template is left as it is, and
// lone carriage returns end lines as they do for the editors that write them.
TEST_F(IncludeTest, FilesInOtherEncodingsAndLineEnds) {
  const std::string utf16("\xFF\xFE#\0T\0\r\0\n\0", 10);
  EXPECT_EQ(After(utf16), utf16);
  EXPECT_EQ(After("#TEMPLATE(Demo,'x')\r#! end\r"),
            "#TEMPLATE(Demo,'x')\r#! end\r\r#INCLUDE('MyInc.tpw')\r");
  EXPECT_EQ(After("\xEF\xBB\xBF#INCLUDE('MyInc.tpw')\r\n"),
            "\xEF\xBB\xBF#INCLUDE('MyInc.tpw')\r\n");
}

// A template on a disk that is full to the last block: no half line.
TEST_F(IncludeTest, FullDiskLeavesTheTemplateAsItWas) {
  const std::string dir = SmallDriveFolder("include");
  if (dir.empty()) GTEST_SKIP() << kNoSmallDrive;
  const std::string tpl = dir + "\\full.tpl";
  std::string bytes = kHead;
  bytes += "#! " + std::string(4096 - 10 - bytes.size() - 5, '.') + "\r\n";
  ASSERT_TRUE(WriteWholeFile(tpl, bytes));
  ASSERT_TRUE(FillDrive(dir + "\\fill"));
  RunQuietly(Quoted(tpl) + " MyInc.tpw");
  EXPECT_EQ(ReadWholeFile(tpl), bytes);
  RemoveFileIfAny(dir + "\\fill");
  RemoveFileIfAny(tpl);
  RemoveDirectoryA(dir.c_str());
}

// A file too big for the program's memory: it ends quietly with status 0,
// the file untouched.
TEST_F(IncludeTest, OutOfMemoryEndsQuietly) {
  if (sizeof(void*) == 8) {
    GTEST_SKIP() << "a 64-bit ZQMV5.exe has the memory to read the whole file";
  }
  ASSERT_TRUE(MakeSparseFile(tpl_, 1900ll << 20));
  RunQuietly("demo.tpl MyInc.tpw");
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(tpl_.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.nFileSizeLow, static_cast<DWORD>(1900u << 20));
  RemoveFileIfAny(tpl_);
}

TEST_F(IncludeTest, TenThousandLines) {
  std::string big = kHead;
  for (int i = 0; i < 10000; ++i) big += "#! line " + std::to_string(i) + "\r\n";
  EXPECT_EQ(After(big), big + "\r\n#INCLUDE('MyInc.tpw')\r\n");
  const std::string present = big + "#INCLUDE('MyInc.tpw')\r\n" + big;
  EXPECT_EQ(After(present), present);
}

}  // namespace
}  // namespace zqmv5::testing
