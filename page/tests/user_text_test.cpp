#include "page/user_text.h"

#include <gtest/gtest.h>

namespace ziwei {
namespace {

TEST(UserText, EscapesMarkupPlaceholdersAndControls) {
  EXPECT_EQ(escapeUserText("a&b<c>d\"e'f@g"), "a&amp;b&lt;c&gt;d&quot;e&#39;f&#64;g");
  EXPECT_EQ(escapeUserText("王 小明"), "王 小明");
  EXPECT_EQ(escapeUserText("\n\r\t\x7F"), "&#10;&#13;&#9;&#127;");
  EXPECT_EQ(escapeUserText("&amp;"), "&amp;amp;");
  EXPECT_EQ(escapeUserText(""), "");
}

}  // namespace
}  // namespace ziwei
