#include "shell/shown_text.h"

namespace {
bool continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the valid UTF-8 character at bytes[at] and its code point;
// 0 when the bytes there are not one (overlong forms and surrogates
// included, as UTF-8 allows neither).
std::size_t character_at(const std::string& bytes, std::size_t at, unsigned& code) {
  unsigned char lead = static_cast<unsigned char>(bytes[at]);
  std::size_t length = lead < 0x80                   ? 1
                       : lead >= 0xC2 && lead < 0xE0 ? 2
                       : lead >= 0xE0 && lead < 0xF0 ? 3
                       : lead >= 0xF0 && lead < 0xF5 ? 4
                                                     : 0;
  if (length == 0 || at + length > bytes.size()) return 0;
  code = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    unsigned char c = static_cast<unsigned char>(bytes[at + k]);
    if (!continuation(c)) return 0;
    code = code << 6 | (c & 0x3F);
  }
  const unsigned shortest[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < shortest[length] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return 0;
  return length;
}

bool is_control(unsigned code) { return code < 0x20 || (code >= 0x7F && code < 0xA0); }

void escape(std::string& shown, unsigned char byte) {
  const char* digits = "0123456789abcdef";
  shown += "\\x";
  shown += digits[byte >> 4];
  shown += digits[byte & 15];
}
}  // namespace

std::string shown_text(const std::string& bytes) {
  std::string shown;
  shown.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    unsigned code = 0;
    std::size_t length = character_at(bytes, at, code);
    if (length > 0 && !is_control(code)) {
      shown.append(bytes, at, length);
      at += length;
      continue;
    }
    for (std::size_t k = 0; k < (length > 0 ? length : 1); ++k)
      escape(shown, static_cast<unsigned char>(bytes[at + k]));
    at += length > 0 ? length : 1;
  }
  return shown;
}
