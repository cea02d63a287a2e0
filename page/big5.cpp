#include "page/big5.h"

namespace ziwei {

namespace {

struct Big5Pair {
  std::uint16_t character;
  std::uint16_t code;
};

constexpr Big5Pair kBig5Pairs[] = {
#include "page/big5_table.inc"
};

}  // namespace

constinit const std::array<std::uint16_t, 0x10000> kBig5Codes = [] {
  std::array<std::uint16_t, 0x10000> codes{};
  for (const Big5Pair& pair : kBig5Pairs) codes[pair.character] = pair.code;
  return codes;
}();

void appendBig5(std::string& out, std::string_view utf8) {
  std::size_t written = out.size();
  while (true) {
    out.resize(written + utf8.size() + kBig5Slack);
    written = static_cast<std::size_t>(
        encodeBig5(utf8, out.data() + written, out.data() + out.size()) - out.data());
    if (utf8.empty()) break;
  }
  out.resize(written);
}

}  // namespace ziwei
