// Through libmd's SHA-2, the same code in every build: Debian's package on
// the desktop, and its source built alongside the game for the browser.
#include "replay/sha256.h"

#include <sha2.h>

std::string sha256_hex(const std::vector<std::uint8_t>& bytes) {
  SHA2_CTX context;
  SHA256Init(&context);
  SHA256Update(&context, bytes.data(), bytes.size());
  std::uint8_t digest[SHA256_DIGEST_LENGTH];
  SHA256Final(digest, &context);
  static const char DIGITS[] = "0123456789abcdef";
  std::string hex;
  for (std::uint8_t byte : digest) {
    hex += DIGITS[byte >> 4];
    hex += DIGITS[byte & 15];
  }
  return hex;
}
