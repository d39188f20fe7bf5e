#pragma once
// File-name matching with the platform's find-file rules, so a pattern typed
// by the user selects the same names it would select there.
//
//  - `*` matches any run of characters, `?` exactly one (UTF-8) character.
//  - Letters compare without regard to case (ASCII only); other bytes, such
//    as the parts of a UTF-8 character, must be equal.
//  - A `*` directly before a `.` stops at the name's last dot, and a `.`
//    that ends the pattern or is followed by `*` or `?` also matches the end
//    of a name that has no dot there. Hence `*.*` matches every name, also
//    one without a dot, and `*.` (or `abc.`) matches only names without an
//    extension.
//  - Every other character, blanks included, is literal: a pattern is used
//    exactly as given, never trimmed.

#include <string_view>

[[nodiscard]] bool WildcardMatch(std::string_view pattern, std::string_view name);

// Letter case as names compare on the platform: ASCII letters only.
[[nodiscard]] constexpr char FoldNameCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when the pattern contains `*` or `?`, i.e. can name more than one file.
[[nodiscard]] bool HasWildcard(std::string_view pattern);
