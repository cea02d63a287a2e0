#pragma once
// The checks the fuzz targets share: a broken invariant aborts with its
// description, and the test of a message that goes to a terminal.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "unicode/utf8.h"

namespace ziwei::fuzz {

inline void require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

// A message as it reaches a terminal: one line of valid UTF-8 without
// control characters.
inline bool printable(std::string_view line) {
  if (line.empty() || !isValidUtf8(line)) return false;
  return std::ranges::none_of(line, [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
  });
}

}  // namespace ziwei::fuzz
