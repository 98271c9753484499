#include "commands/include_command.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "testing/env_wrapper.h"
#include "testing/fake_env.h"

namespace zqmv5 {
namespace {

constexpr char kTpl[] = "C:\\T\\my.tpl";

class IncludeCommandTest : public ::testing::Test {
 protected:
  void Run(const std::string& text) {
    CommandContext context;
    context.Tokenize(text);
    IncludeCommand(context, fake_);
  }

  // Runs "INCLUDE my.tpl name" on a file holding `before`; returns the bytes after.
  std::string After(const std::string& before, const std::string& name = "abc.tpw") {
    fake_.files.contents[kTpl] = before;
    Run(std::string("INCLUDE ") + kTpl + " " + name);
    return fake_.files.contents[kTpl];
  }

  FakeEnv fake_;
};

TEST_F(IncludeCommandTest, BlankOperandsDoNothing) {
  fake_.files.contents[kTpl] = "x\r\n";
  for (const char* line : {"INCLUDE", "INCLUDE C:\\T\\my.tpl", "INCLUDE \"\" C:\\T\\my.tpl",
                           "INCLUDE C:\\T\\my.tpl \"  \""}) {
    Run(line);
    EXPECT_EQ(fake_.files.contents[kTpl], "x\r\n") << line;
  }
  EXPECT_EQ(fake_.files.opens, 0);
  EXPECT_TRUE(fake_.messages.shown.empty());
}

TEST_F(IncludeCommandTest, EmptyLineOnlyAfterALastLineWithText) {
  struct Case {
    const char* before;
    const char* after;
  } const cases[] = {
      {"", "#INCLUDE('abc.tpw')\r\n"},
      {"#TEMPLATE(A,'a')\r\n", "#TEMPLATE(A,'a')\r\n\r\n#INCLUDE('abc.tpw')\r\n"},
      {"#TEMPLATE(A,'a')\r\n   \r\n", "#TEMPLATE(A,'a')\r\n   \r\n#INCLUDE('abc.tpw')\r\n"},
      {"#TEMPLATE(A,'a')\r\n\r\n", "#TEMPLATE(A,'a')\r\n\r\n#INCLUDE('abc.tpw')\r\n"},
      {"\r\n", "\r\n#INCLUDE('abc.tpw')\r\n"},
      {"a\r\n\t\r\n", "a\r\n\t\r\n\r\n#INCLUDE('abc.tpw')\r\n"},  // a tab is text
  };
  for (const Case& c : cases) {
    EXPECT_EQ(After(c.before), c.after) << c.before;
  }
}

TEST_F(IncludeCommandTest, UnterminatedLastLineIsEndedFirst) {
  EXPECT_EQ(After("#TEMPLATE(A,'a')"), "#TEMPLATE(A,'a')\r\n\r\n#INCLUDE('abc.tpw')\r\n");
  EXPECT_EQ(After("a\nb"), "a\nb\n\n#INCLUDE('abc.tpw')\n");
  EXPECT_EQ(After("a\r\n  "), "a\r\n  \r\n#INCLUDE('abc.tpw')\r\n");
}

TEST_F(IncludeCommandTest, PresentLineAnywhereInALineStopsTheCommand) {
  for (const char* before : {
           "#INCLUDE('abc.tpw')\r\n",
           "a\r\n#! old: #INCLUDE('abc.tpw')  \r\nb\r\n",
           "a\r\n#INCLUDE('abc.tpw')",  // the last line, unterminated
           "#INCLUDE('abc.tpw')#INCLUDE('def.tpw')\n",
       }) {
    EXPECT_EQ(After(before), before) << before;
  }
}

TEST_F(IncludeCommandTest, OnlyTheExactWholeLineCounts) {
  for (const char* before : {
           "#include('abc.tpw')\r\n",
           "#INCLUDE('ABC.TPW')\r\n",
           "#INCLUDE( 'abc.tpw' )\r\n",
           "#INCLUDE('abc.tpw'\r\n",
           "#INCLUDE('abc.tpwx')\r\n",
           "INCLUDE('abc.tpw')\r\n",
       }) {
    EXPECT_EQ(After(before), std::string(before) + "\r\n#INCLUDE('abc.tpw')\r\n") << before;
  }
}

TEST_F(IncludeCommandTest, MissingOrLockedFileIsNeverCreatedNorChanged) {
  Run("INCLUDE C:\\T\\none.tpl abc.tpw");
  EXPECT_EQ(fake_.files.contents.count("C:\\T\\none.tpl"), 0u);
  EXPECT_EQ(fake_.files.creates, 0);
  fake_.files.contents[kTpl] = "a\r\n";
  fake_.files.locked.insert(kTpl);
  Run(std::string("INCLUDE ") + kTpl + " abc.tpw");
  EXPECT_EQ(fake_.files.contents[kTpl], "a\r\n");
  EXPECT_TRUE(fake_.messages.shown.empty());
}

TEST_F(IncludeCommandTest, LongLinesAreSearchedWholeAndKept) {
  const std::string long_text(300, 'x');
  const std::string hidden = long_text + "#INCLUDE('abc.tpw')\r\n";
  EXPECT_EQ(After(hidden), hidden);
  const std::string kept = std::string(254, ' ') + long_text + "\r\n";
  EXPECT_EQ(After(kept), kept + "\r\n#INCLUDE('abc.tpw')\r\n");
}

TEST_F(IncludeCommandTest, NameIsWrittenUnchangedUpToItsLimit) {
  // The template language reads '' inside a string as one quote: a quote in
  // the name can neither end the string early nor add a statement.
  EXPECT_EQ(After("", "My'Odd(Name).TPW"), "#INCLUDE('My''Odd(Name).TPW')\r\n");
  EXPECT_EQ(After("", "\"x.tpw') #ERROR('injected\""),
            "#INCLUDE('x.tpw'') #ERROR(''injected')\r\n");
  const std::string doubled = "a\r\n\r\n#INCLUDE('it''s.tpw')\r\n";
  EXPECT_EQ(After(doubled, "it's.tpw"), doubled) << "found again";
  fake_.files.contents["t"] = "a\r\n";
  Run("INCLUDE t " + std::string(242, 'n') + "'");  // 243 characters, 244 written
  EXPECT_EQ(fake_.files.contents["t"], "a\r\n");
  const std::string longest(243, 'n');
  // One more character would make a line that no longer fits: nothing is written.
  // (With a one-letter file name the 254-character command text holds it.)
  fake_.files.contents["t"] = "a\r\n";
  Run("INCLUDE t " + longest + "n");
  EXPECT_EQ(fake_.files.contents["t"], "a\r\n");
  Run("INCLUDE t " + longest);
  EXPECT_EQ(fake_.files.contents["t"], "a\r\n\r\n#INCLUDE('" + longest + "')\r\n");
  EXPECT_EQ(After("a\r\n", "abc\ndef"), "a\r\n");
}

TEST_F(IncludeCommandTest, WriteFailureIsSilentAndLeavesNoHalfLine) {
  fake_.files.fail_writes = true;
  EXPECT_EQ(After("a\r\n"), "a\r\n");
  fake_.files.fail_writes = false;
  fake_.files.disk_free = 9;
  EXPECT_EQ(After("a\r\n"), "a\r\n");
  EXPECT_TRUE(fake_.messages.shown.empty());
}

// A template in UTF-16 without a byte order mark would get a line of single
// bytes, as one with a mark would: it is left as it is.
TEST_F(IncludeCommandTest, Utf16TemplateWithoutAMarkIsLeftAsItIs) {
  for (const std::string& before : {std::string("#\0T\0\r\0\n\0", 8), std::string("\0#\0T", 4)}) {
    EXPECT_EQ(After(before), before);
  }
}

TEST_F(IncludeCommandTest, ReadErrorAfterSomeLinesWritesNothing) {
  fake_.files.fail_reads_at = 4;
  EXPECT_EQ(After("a\r\nb\r\n"), "a\r\nb\r\n");
}

// Another INCLUDE holds the template for a moment: this one waits its turn,
// a bounded time, and holds it against other writers while it works.
TEST_F(IncludeCommandTest, HeldTemplateIsWaitedForABoundedTime) {
  struct HeldFor : EnvWrapper {
    HeldFor(FakeEnv& fake, int opens) : EnvWrapper(fake), fake_(fake), held_opens(opens) {}
    Status OpenFile(const std::string& name, Share share, IfMissing missing,
                    std::unique_ptr<File>* file) override {
      shares.push_back(share);
      if (held_opens-- > 0) return FileIsLocked();
      return EnvWrapper::OpenFile(name, share, missing, file);
    }
    FakeEnv& fake_;
    int held_opens;
    std::vector<Share> shares;
  };
  for (int held : {3, 1000000}) {
    fake_.files.contents[kTpl] = "x\r\n";
    fake_.clock.paused = 0;
    HeldFor env(fake_, held);
    CommandContext context;
    context.quiet = true;
    context.Tokenize(std::string("INCLUDE ") + kTpl + " abc.tpw");
    IncludeCommand(context, env);
    const bool got_it = held == 3;
    EXPECT_EQ(fake_.files.contents[kTpl], got_it ? "x\r\n\r\n#INCLUDE('abc.tpw')\r\n" : "x\r\n");
    EXPECT_EQ(context.outcome().ok(), got_it);
    EXPECT_GT(fake_.clock.paused, 0);
    EXPECT_LE(fake_.clock.paused, 1000);
    for (Share share : env.shares) EXPECT_EQ(share, Share::kDenyWrite);
  }
}

}  // namespace
}  // namespace zqmv5
