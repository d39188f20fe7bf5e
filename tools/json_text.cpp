#include "tools/json_text.h"

#include <cstdint>

namespace {

// The length of the well-formed UTF-8 sequence at text[i], or 0.
std::size_t SequenceAt(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80u) return 1;
  std::size_t length = 0;
  std::uint32_t low = 0x80u, high = 0xBFu;  // allowed range of the second byte
  if (lead >= 0xC2u && lead <= 0xDFu) {
    length = 2;
  } else if (lead >= 0xE0u && lead <= 0xEFu) {
    length = 3;
    if (lead == 0xE0u) low = 0xA0u;   // overlong
    if (lead == 0xEDu) high = 0x9Fu;  // surrogates
  } else if (lead >= 0xF0u && lead <= 0xF4u) {
    length = 4;
    if (lead == 0xF0u) low = 0x90u;   // overlong
    if (lead == 0xF4u) high = 0x8Fu;  // past U+10FFFF
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if ((byte(i + k) & 0xC0u) != 0x80u) return 0;
  }
  return length;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = SequenceAt(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string JsonString(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = SequenceAt(text, i);
    if (length == 0) {
      out += "\xEF\xBF\xBD";  // U+FFFD
      ++i;
      continue;
    }
    if (length > 1) {
      out.append(text, i, length);
      i += length;
      continue;
    }
    const char c = text[i++];
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20u) {
          out += "\\u00";
          out += kHex[(static_cast<unsigned char>(c) >> 4) & 0xF];
          out += kHex[static_cast<unsigned char>(c) & 0xF];
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

std::string JsonTextMember(std::string_view key, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = JsonString(key) + ":" + JsonString(text);
  if (IsValidUtf8(text)) return out;
  out += ",";
  out += JsonString(std::string(key) + "_hex");
  out += ":\"";
  for (const char c : text) {
    out += kHex[(static_cast<unsigned char>(c) >> 4) & 0xF];
    out += kHex[static_cast<unsigned char>(c) & 0xF];
  }
  out += '"';
  return out;
}
