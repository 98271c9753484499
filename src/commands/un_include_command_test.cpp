#include "commands/un_include_command.h"

#include <gtest/gtest.h>

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
    EXPECT_FALSE(context.outcome.ok()) << failure;
    EXPECT_EQ(fake.files.contents["t.tpl"], bytes) << failure;
    fake.files.contents.erase(kQuietLog);
    EXPECT_EQ(fake.files.contents.size(), 1u) << "the template alone";
  }
}

}  // namespace
}  // namespace zqmv5
