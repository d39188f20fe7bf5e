// Every character against its place among the digits of either case.

#include "platform/core/hex_digit.h"

#include <gtest/gtest.h>

#include <climits>
#include <string_view>

namespace {

TEST(HexDigitValue, DigitsOfEitherCaseAndNothingElse) {
  constexpr std::string_view kLower = "0123456789abcdef";
  constexpr std::string_view kUpper = "0123456789ABCDEF";
  for (int code = CHAR_MIN; code <= CHAR_MAX; ++code) {
    const char c = static_cast<char>(code);
    int expected = -1;
    if (const auto at = kLower.find(c); at != std::string_view::npos) expected = static_cast<int>(at);
    if (const auto at = kUpper.find(c); at != std::string_view::npos) expected = static_cast<int>(at);
    EXPECT_EQ(HexDigitValue(c), expected) << "code " << code;
  }
}

}  // namespace
