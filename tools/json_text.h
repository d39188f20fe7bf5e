#pragma once
// The little JSON the tools write (JSON Lines), made by hand: strings with
// their escapes, and a rule for bytes that are not UTF-8. File names and
// resource names are bytes; JSON strings must be Unicode. A text that is
// not valid UTF-8 is written with each offending byte as U+FFFD, and the
// exact bytes follow in a second member, "<key>_hex", as lowercase hex, so
// the output is always valid JSON and nothing is lost.

#include <string>
#include <string_view>

// Well-formed UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
[[nodiscard]] bool IsValidUtf8(std::string_view text);

// A JSON string literal for the text, invalid bytes as U+FFFD.
[[nodiscard]] std::string JsonString(std::string_view text);

// `"key":"text"`, and `,"key_hex":"..."` when the text is not valid UTF-8.
[[nodiscard]] std::string JsonTextMember(std::string_view key, std::string_view text);
