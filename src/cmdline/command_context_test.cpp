#include "cmdline/command_context.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zqmv5 {
namespace {

std::vector<std::string> TokensOf(const std::string& text, CommandContext* context = nullptr) {
  CommandContext local;
  CommandContext& c = context ? *context : local;
  c.Tokenize(text);
  return c.tokens;
}

using Tokens = std::vector<std::string>;

TEST(TokenizeTest, SplitsAtBlanksOnly) {
  struct Case {
    const char* text;
    Tokens tokens;
  };
  const Case cases[] = {
      {"REG", {"REG"}},
      {"", {}},
      {"     ", {}},
      {"REG  x.tpl", {"REG", "x.tpl"}},
      {"   REG    x.tpl   ", {"REG", "x.tpl"}},
      {"CMD\tX y", {"CMD\tX", "y"}},
      {"\xC4\xD6 \xE9t\xE9", {"\xC4\xD6", "\xE9t\xE9"}},
  };
  for (const Case& c : cases) EXPECT_EQ(TokensOf(c.text), c.tokens) << "[" << c.text << "]";
}

TEST(TokenizeTest, QuotesGroupBlanksAndAreNotPartOfTokens) {
  struct Case {
    const char* text;
    Tokens tokens;
  };
  const Case cases[] = {
      {"REG \"C:\\My Templates\\a.tpl\"", {"REG", "C:\\My Templates\\a.tpl"}},
      // An empty pair holds no place.
      {"USERMENU \"\" word", {"USERMENU", "word"}},
      {"USERMENU \"   \" word", {"USERMENU", "word"}},
      // Blanks after the opening quote are skipped, blanks before the closing one stay.
      {"X \"  padded  \" y", {"X", "padded  ", "y"}},
      // A closing quote ends the token; what follows starts the next one.
      {"X \"a b\"c", {"X", "a b", "c"}},
      // A quote inside a word opens quotes but stays in the token.
      {"X word\"with blank\" y", {"X", "word\"with blank", "y"}},
      // An unclosed quote makes the rest one token, up to the last non-blank.
      {"LIBSRC \"C:\\a b  c   ", {"LIBSRC", "C:\\a b  c"}},
      {"LIBSRC \"   ", {"LIBSRC"}},
      {"A\" b c", {"A\" b c"}},
      {"\"", {}},
      {"\"\"\"\"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(TokensOf(c.text), c.tokens) << "[" << c.text << "]";
}

TEST(TokenizeTest, KeepsOnly254CharactersAndCutsTheTokenThatCrossesTheCut) {
  CommandContext context;
  Tokens tokens = TokensOf("REG " + std::string(260, 'a') + " next", &context);
  EXPECT_EQ(context.text.size(), 254u);
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[1], std::string(250, 'a'));
}

TEST(TokenTest, TextFromATokenKeepsItsBlanksAndDropsTheQuotesTokensDrop) {
  const struct {
    const char* text;
    const char* rest;
  } cases[] = {
      {"VERSION fixed  the bug  ", "fixed  the bug"},
      {"VERSION   \"big  bug\" found", "big  bug found"},
      {"VERSION say\"hi there\" ok", "say\"hi there ok"},
      {"VERSION \"  padded\"", "  padded"},
      {"VERSION", ""},
  };
  for (const auto& c : cases) {
    CommandContext context;
    context.Tokenize(c.text);
    EXPECT_EQ(context.TextFrom(2), c.rest) << c.text;
  }
}

TEST(TokenTest, MissingTokensAreEmpty) {
  CommandContext context;
  TokensOf("CMD", &context);
  EXPECT_EQ(context.Token(1), "CMD");
  EXPECT_EQ(context.Token(0), "");
  EXPECT_EQ(context.Token(2), "");
  EXPECT_EQ(context.Token(255), "");
}

TEST(CommandParameterTest, BlankSeparatedWithQuotesGrouping) {
  EXPECT_EQ(CommandParameter("reg x", 1), "reg");
  EXPECT_EQ(CommandParameter("  reg   x", 2), "x");
  EXPECT_EQ(CommandParameter("\"CMD\"", 1), "CMD");
  EXPECT_EQ(CommandParameter("\"a b\" c", 1), "a b");
  EXPECT_EQ(CommandParameter("", 1), "");
  EXPECT_EQ(CommandParameter("   ", 1), "");
  EXPECT_EQ(CommandParameter("a", 0), "");
  EXPECT_EQ(CommandParameter("a", 2), "");
}

}  // namespace
}  // namespace zqmv5
