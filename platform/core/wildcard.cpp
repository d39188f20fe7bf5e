#include "platform/core/wildcard.h"

#include <cstddef>
#include <string>
#include <vector>

namespace {

enum class Token { Literal, AnyOne, AnyRun, RunToLastDot, DotOrEnd };

struct Step {
  Token token;
  char ch;
};

// Names are UTF-8: `?` takes a lead byte with its continuation bytes, so it
// stands for one character as it does on the platform. A stray continuation
// byte counts as one character of its own.
std::size_t CharLength(std::string_view s, std::size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  std::size_t len = 1;
  if (lead >= 0xC0) {
    while (len < 4 && i + len < s.size() && (static_cast<unsigned char>(s[i + len]) & 0xC0) == 0x80) ++len;
  }
  return len;
}

// The platform rewrites a pattern the same way before matching: a star that
// precedes a dot and a dot that precedes a wildcard (or ends the pattern)
// get their special meanings from their neighbours.
std::vector<Step> Compile(std::string_view pattern) {
  std::vector<Step> steps;
  steps.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    const bool last = i + 1 == pattern.size();
    if (c == '*') {
      steps.push_back({next == '.' ? Token::RunToLastDot : Token::AnyRun, c});
    } else if (c == '?') {
      steps.push_back({Token::AnyOne, c});
    } else if (c == '.' && (last || next == '*' || next == '?')) {
      steps.push_back({Token::DotOrEnd, c});
    } else {
      steps.push_back({Token::Literal, FoldNameCase(c)});
    }
  }
  return steps;
}

}  // namespace

bool HasWildcard(std::string_view pattern) { return pattern.find_first_of("*?") != std::string_view::npos; }

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  const std::size_t n = name.size();
  const std::size_t lastDot = name.rfind('.');
  // reach[i]: the steps so far can consume exactly name[0, i). One pass per
  // step keeps the cost at pattern length times name length, with no
  // backtracking a hostile pattern could make explode.
  std::string reach(n + 1, '\0');
  std::string next(n + 1, '\0');
  reach.front() = 1;
  for (const Step& step : Compile(pattern)) {
    next.assign(n + 1, '\0');
    // A run stays open from the first position that reaches it; a run that
    // must stop at the last dot closes there and reopens only past it.
    bool open = false;
    for (std::size_t i = 0; i <= n; ++i) {
      switch (step.token) {
        case Token::Literal:
          if (reach[i] && i < n && FoldNameCase(name[i]) == step.ch) next[i + 1] = 1;
          break;
        case Token::AnyOne:
          if (reach[i] && i < n) next[i + CharLength(name, i)] = 1;
          break;
        case Token::AnyRun:
          open = open || reach[i];
          next[i] = static_cast<char>(open);
          break;
        case Token::RunToLastDot:
          open = open || reach[i];
          next[i] = static_cast<char>(open);
          if (i == lastDot) open = false;
          break;
        case Token::DotOrEnd:
          if (reach[i] && i < n && name[i] == '.') next[i + 1] = 1;
          if (reach[i] && i == n) next[n] = 1;
          break;
      }
    }
    if (next.find('\1') == std::string::npos) return false;
    reach.swap(next);
  }
  return reach[n] != 0;
}
