#include "commands/un_include_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/include_command.h"
#include "testing/env_wrapper.h"
#include "testing/fake_env.h"

namespace zqmv5 {
namespace {

// A template that cannot be read whole, or whose new copy finds no room,
// keeps every byte, and no copy is left beside it.
TEST(UnIncludeCommandTest, FailuresLeaveTheTemplateAndNothingBesideIt) {
  const std::string bytes = "#TEMPLATE(A,'a')\r\n\r\n#INCLUDE('x.tpw')\r\n";
  for (int failure = 0; failure < 2; ++failure) {
    FakeEnv fake;
    fake.files.contents["t.tpl"] = bytes;
    (failure == 0 ? fake.files.disk_free : fake.files.fail_reads_at) = 4;
    CommandContext context;
    context.quiet = true;
    context.Tokenize("UNINCLUDE t.tpl x.tpw");
    UnIncludeCommand(context, fake);
    EXPECT_FALSE(context.outcome().ok()) << failure;
    EXPECT_EQ(fake.files.contents["t.tpl"], bytes) << failure;
    fake.files.contents.erase(kQuietLog);
    EXPECT_EQ(fake.files.contents.size(), 1u) << "the template alone";
  }
}

// UNINCLUDE puts its new bytes in after it has read the template. An INCLUDE
// that another installer runs in between must not be lost while both runs
// succeed: it waits for its turn, and fails when it cannot have one.
TEST(UnIncludeCommandTest, AnIncludeRunMeanwhileIsNeverLostUnsaid) {
  struct Meanwhile : EnvWrapper {
    using EnvWrapper::EnvWrapper;
    Status ReplaceContents(const std::string& name, const std::string& bytes) override {
      other.quiet = true;
      other.Tokenize("INCLUDE t.tpl B.inc");
      IncludeCommand(other, *this);
      return EnvWrapper::ReplaceContents(name, bytes);
    }
    CommandContext other;
  };
  FakeEnv fake;
  fake.files.contents["t.tpl"] = "#TEMPLATE(A,'a')\r\n\r\n#INCLUDE('A.inc')\r\n";
  Meanwhile env(fake);
  CommandContext context;
  context.quiet = true;
  context.Tokenize("UNINCLUDE t.tpl A.inc");
  UnIncludeCommand(context, env);
  EXPECT_TRUE(context.outcome().ok());
  const std::string& after = fake.files.contents["t.tpl"];
  EXPECT_EQ(after.find("A.inc"), std::string::npos);
  EXPECT_TRUE(!env.other.outcome().ok() || after.find("#INCLUDE('B.inc')") != std::string::npos)
      << after;
}

// Includes added one after another and taken back in any order give the
// template back byte for byte: the empty lines between them go with them.
TEST(UnIncludeCommandTest, IncludesTakenBackInAnyOrderLeaveTheTemplateAsItWas) {
  const std::vector<std::string> orders = {"ab", "ba", "bac", "acb"};
  for (const std::string before : {"A\r\n", "", "A\n#! end\n", "A\r\n   \r\n"}) {
    for (const std::string& order : orders) {
      FakeEnv fake;
      fake.files.contents["o.tpl"] = before;
      auto run = [&](const std::string& verb, char name) {
        CommandContext context;
        context.Tokenize(verb + " o.tpl \"" + name + "'s.tpw\"");
        (verb == "INCLUDE" ? IncludeCommand : UnIncludeCommand)(context, fake);
      };
      for (size_t i = 0; i < order.size(); ++i) run("INCLUDE", static_cast<char>('a' + i));
      for (char name : order) run("UNINCLUDE", name);
      EXPECT_EQ(fake.files.contents["o.tpl"], before) << before << " taken back " << order;
    }
  }
}

}  // namespace
}  // namespace zqmv5
