#include "page/append_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "page/big5.h"

namespace ziwei {
namespace {

// `count` times `c`, built where the compiler cannot see the length.
[[gnu::noinline]] std::string repeated(char c, std::size_t count) { return std::string(count, c); }

// Pieces of every kind: ASCII, Chinese, characters Big5 cannot hold,
// malformed UTF-8, "@", and pieces longer than the buffer.
std::vector<std::string> pieces() {
  std::vector<std::string> all = {"<td>", "紫微", "ˉ", "😀", "\xE4", "\xFF\xB8", "a@b", "", "天府◎"};
  all.push_back(repeated('x', 5000));
  all.push_back(repeated('y', 3000) + "鈴星" + repeated('z', 2000));
  std::string many;
  for (int i = 0; i < 700; ++i) many += "𠀋";  // 2800 bytes, each a reference in Big5
  all.push_back(many);
  return all;
}

TEST(AppendBuffer, WritesWhatTheStringWouldHold) {
  const std::vector<std::string> all = pieces();
  for (const bool big5 : {false, true}) {
    std::string out = "start";
    std::string expected;
    std::string utf8;
    {
      AppendBuffer buffer(out, big5 ? PageEncoding::Big5 : PageEncoding::Utf8);
      // Enough turns to cross the buffer's end at every offset of a piece.
      for (std::size_t turn = 0; turn < 600; ++turn) {
        const std::string& piece = all[(turn * 7) % all.size()];
        if (turn % 5 == 0) {
          buffer.ascii("<tr>");
          utf8 += "<tr>";
        }
        buffer += piece;
        utf8 += piece;
        buffer.appendNumber(static_cast<int>(turn) * 37 - 1000);
        utf8 += std::to_string(static_cast<int>(turn) * 37 - 1000);
        buffer += '|';
        utf8 += '|';
      }
      buffer.finish();
    }
    if (big5) {
      appendBig5(expected, utf8);
    } else {
      expected = utf8;
    }
    ASSERT_EQ(out.size(), 5 + expected.size()) << big5;
    EXPECT_TRUE(out == "start" + expected) << big5;
  }
}

}  // namespace
}  // namespace ziwei
