#include "page/user_text.h"

#include <gtest/gtest.h>

namespace ziwei {
namespace {

TEST(UserText, AcceptsWellFormedUtf8Only) {
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

TEST(UserText, TakesOneCodePointAtATime) {
  std::string_view text = "王\xFF😀";
  EXPECT_EQ(takeCodePoint(text), U'王');
  EXPECT_EQ(takeCodePoint(text), std::nullopt);
  EXPECT_EQ(takeCodePoint(text), U'\U0001F600');
  EXPECT_TRUE(text.empty());
}

TEST(UserText, EscapesMarkupPlaceholdersAndControls) {
  EXPECT_EQ(escapeUserText("a&b<c>d\"e'f@g"), "a&amp;b&lt;c&gt;d&quot;e&#39;f&#64;g");
  EXPECT_EQ(escapeUserText("王 小明"), "王 小明");
  EXPECT_EQ(escapeUserText("\n\r\t\x7F"), "&#10;&#13;&#9;&#127;");
  EXPECT_EQ(escapeUserText("&amp;"), "&amp;amp;");
  EXPECT_EQ(escapeUserText(""), "");
}

}  // namespace
}  // namespace ziwei
