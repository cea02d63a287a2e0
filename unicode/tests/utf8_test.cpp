#include "unicode/utf8.h"

#include <gtest/gtest.h>

namespace ziwei {
namespace {

TEST(Utf8, AcceptsWellFormedUtf8Only) {
  EXPECT_TRUE(isValidUtf8(""));
  EXPECT_TRUE(isValidUtf8("您的姓名 abc ˉ 😀 \x7F"));
  EXPECT_TRUE(isValidUtf8("\xF4\x8F\xBF\xBF"));   // U+10FFFF
  EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong "/"
  EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));      // overlong
  EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate U+D800
  EXPECT_FALSE(isValidUtf8("\xE7\x8E"));          // cut short
  EXPECT_FALSE(isValidUtf8("\x80"));              // lone continuation
  EXPECT_FALSE(isValidUtf8("ok\xFF"));
}

TEST(Utf8, TakesOneCodePointAtATime) {
  std::string_view text = "王\xFF😀";
  EXPECT_EQ(takeCodePoint(text), U'王');
  EXPECT_EQ(takeCodePoint(text), std::nullopt);
  EXPECT_EQ(takeCodePoint(text), U'\U0001F600');
  EXPECT_TRUE(text.empty());
}

TEST(Utf8, OneLineEscapesControlsAndMalformedBytes) {
  EXPECT_EQ(oneLine("王 \"a\"\\ 😀"), "王 \"a\"\\ 😀");
  EXPECT_EQ(oneLine("a\nb\r\x1B[31m\x7F"), "a\\x0Ab\\x0D\\x1B[31m\\x7F");
  EXPECT_EQ(oneLine("\xC2\x85\xE7\x8E\xFF"), "\\xC2\\x85\\xE7\\x8E\\xFF");  // NEL, cut short, stray
  EXPECT_EQ(quotedForMessage("x\ty"), "\"x\\x09y\"");
}

}  // namespace
}  // namespace ziwei
