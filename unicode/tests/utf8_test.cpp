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

TEST(Utf8, CutsAtACharacterBoundary) {
  EXPECT_EQ(utf8CutWithin("王小明", 9), 9u);
  EXPECT_EQ(utf8CutWithin("王小明", 8), 6u);
  EXPECT_EQ(utf8CutWithin("王小明", 2), 0u);
  EXPECT_EQ(utf8CutWithin("ab", 5), 2u);
  const std::string value = "x" + std::string(300, '\x80');  // no character starts after x
  EXPECT_EQ(quotedForMessage(value), "\"\"... (301 bytes)");
  std::string chinese = "a";
  for (int i = 0; i < 100; ++i) chinese += "王";  // 301 bytes: 200 cut inside a character
  EXPECT_EQ(quotedForMessage(chinese), "\"" + chinese.substr(0, 199) + "\"... (301 bytes)");
}

TEST(Utf8, FindsTheFirstControlOrMalformedByte) {
  EXPECT_EQ(firstFlaw("王小明 abc"), std::nullopt);
  const auto flaw = [](std::string_view text) {
    const std::optional<TextFlaw> found = firstFlaw(text);
    return found ? describeFlaw(*found) : std::string("(none)");
  };
  EXPECT_EQ(flaw("王\xC2\x80"), "the text holds the control character U+0080 (character 2)");
  EXPECT_EQ(flaw("ab\x7F"), "the text holds the control character U+007F (character 3)");
  EXPECT_EQ(flaw(std::string_view("\0", 1)),
            "the text holds the control character U+0000 (character 1)");
  EXPECT_EQ(flaw("王\xE7\x8E"), "the text is not valid UTF-8 (byte 4, character 2)");
  EXPECT_EQ(flaw("\xC2\xA0ok"), "(none)");  // U+00A0 is no control
}

}  // namespace
}  // namespace ziwei
