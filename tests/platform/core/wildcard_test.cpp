#include "platform/core/wildcard.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct MatchCase {
  const char* pattern;
  const char* name;
  bool matches;
};

class WildcardTable : public testing::TestWithParam<MatchCase> {};

TEST_P(WildcardTable, MatchesAsTheFindFileRulesSay) {
  const MatchCase& c = GetParam();
  EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.matches) << "pattern \"" << c.pattern << "\" name \"" << c.name << '"';
}

// clang-format off
const MatchCase kStarsAndDots[] = {
    {"*", "anything.at.all", true},
    {"*.*", "noextension", true},
    {"*.*", "a.b", true},
    {"*.*", ".hidden", true},
    {"*.*", "a.b.c", true},
    {"*.exe", "notepad.exe", true},
    {"*.exe", "lib.so.exe", true},
    {"*.exe", "notepad.exe.bak", false},
    {"*.exe", "exe", false},
    {"a*.*", "abc", true},
    {"a*.*", "bac", false},
    {"x.*", "x", true},
    {"x.*", "x.y", true},
    {"x.*", "xy", false},
    {"*.e*", "a.exe", true},
    {"*.e*", "a", false},
    {"*i*n*", "finish", true},
    {"*i*n*", "fish", false},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(StarsAndDots, WildcardTable, testing::ValuesIn(kStarsAndDots));

// A pattern that ends in a dot asks for names without an extension.
// clang-format off
const MatchCase kTrailingDot[] = {
    {"*.", "README", true},
    {"*.", "a.txt", false},
    {"*.", "a.b.c", false},
    {"abc.", "abc", true},
    {"abc.", "ABC", true},
    {"abc.", "abc.d", false},
    {"abc.", "abcd", false},
    {"a*.", "ab", true},
    {"a*.", "ab.c", false},
    {"a.b.", "a.b", true},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(TrailingDot, WildcardTable, testing::ValuesIn(kTrailingDot));

// clang-format off
const MatchCase kSingleCharacters[] = {
    {"?.ico", "a.ico", true},
    {"?.ico", ".ico", false},
    {"?.ico", "ab.ico", false},
    {"??", "ab", true},
    {"??", "a", false},
    {"?.ico", "\xC3\xA9.ico", true},          // é is one character
    {"??.ico", "\xC3\xA9.ico", false},
    {"?", "\xE2\x82\xAC", true},              // so is the three-byte euro sign
    {"?x", "\x80x", true},                    // a stray continuation byte
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(SingleCharacters, WildcardTable, testing::ValuesIn(kSingleCharacters));

// clang-format off
const MatchCase kCaseAndBytes[] = {
    {"*.EXE", "notepad.exe", true},
    {"NOTEPAD.exe", "Notepad.EXE", true},
    {"\xC3\xA9*", "\xC3\x89.txt", false},  // é and É: only ASCII letters fold
    {"*\xC3\xB6.ico", "B\xC3\xB6.ICO", true},
    {"[ab]", "a", false},                  // no character classes
    {"[ab]", "[AB]", true},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(CaseAndBytes, WildcardTable, testing::ValuesIn(kCaseAndBytes));

// The recursive listing hands over the pattern untrimmed.
// clang-format off
const MatchCase kBlanks[] = {
    {" *.exe", "a.exe", false},
    {" *.exe", " a.exe", true},
    {"*.exe ", "a.exe", false},
    {"*.exe ", "a.exe ", true},
    {"", "a", false},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Blanks, WildcardTable, testing::ValuesIn(kBlanks));

TEST(Wildcard, ManyStarsDoNotBacktrack) {
  const std::string pattern = std::string(200, '*') + "b";
  const std::string name(255, 'a');
  EXPECT_FALSE(WildcardMatch(pattern, name));
  EXPECT_TRUE(WildcardMatch(pattern, name + "b"));
}

TEST(Wildcard, HasWildcard) {
  EXPECT_TRUE(HasWildcard("*.exe"));
  EXPECT_TRUE(HasWildcard("a?c"));
  EXPECT_FALSE(HasWildcard("notepad.exe"));
  EXPECT_FALSE(HasWildcard(""));
}

}  // namespace
