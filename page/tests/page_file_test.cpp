#include "page/page_file.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <string>

#include "example_charts.h"
#include "page/chart_page.h"
#include "page/page_template.h"
#include "unicode/utf8.h"

namespace ziwei {
namespace {

// Every literal the page can show, the template and all the texts the
// engine produces over charts that together reach every stem, branch,
// bureau, month, day, hour and both sexes, is held by Big5.
TEST(PageFile, EveryPageLiteralEncodesInBig5) {
  const std::string pageTemplate = buildPageTemplate();
  for (int i = 0; i < 120; ++i) {
    const LunarBirth birth{1924 + i % 60, 1 + i % 12, i % 7 == 0, 1 + (i * 7) % 30,
                           (i * 5) % 24,  0,          0,          i % 2 == 0};
    const std::string page =
        assembleChartPage(test::chartOf(birth), pageTemplate, "2026/12/6");
    const std::string big5 = encodePage(page, PageEncoding::Big5);
    ASSERT_EQ(big5.find("&#"), std::string::npos) << "year " << birth.year;
  }
}

// Each character outside ASCII, one at a time: the C library's Big5 bytes
// when it converts the character to something, "&#N;" otherwise (it drops
// a few characters, such as language tags, without an error). The C1
// controls (U+0080 would be the bare byte 0x80), the private-use characters
// and U+2593, whose codes browsers read as other characters, are
// references too.
TEST(PageFile, Big5AgreesWithTheCLibraryOnEveryCharacter) {
  iconv_t cd = iconv_open("BIG5", "UTF-8");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::size_t held = 0;
  for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c < 0xE000) continue;
    std::string utf8 = utf8Of(c);
    char* in = utf8.data();
    std::size_t inLeft = utf8.size();
    char bytes[8];
    char* to = bytes;
    std::size_t toLeft = sizeof bytes;
    const bool converted = iconv(cd, &in, &inLeft, &to, &toLeft) != static_cast<std::size_t>(-1);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string expected;
    const bool readAsAnother = c <= 0x9F || (c >= 0xE000 && c < 0xF900) || c == 0x2593;
    if (converted && to != bytes && !readAsAnother) {
      expected.assign(bytes, to);
      ++held;
    } else {
      expected = "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ";";
    }
    ASSERT_EQ(encodePage(utf8, PageEncoding::Big5), expected + "\r\n")
        << "U+" << std::hex << static_cast<std::uint32_t>(c);
  }
  iconv_close(cd);
  EXPECT_GT(held, 13000u);  // Big5 holds some 13,000 Chinese characters and symbols
}

// Single characters are compared one by one above; these are runs of them.
TEST(PageFile, Big5WritesWhatItCannotHoldAsReferences) {
  EXPECT_EQ(encodePage("王😀明", PageEncoding::Big5), "\xA4\xFD&#128512;\xA9\xFA\r\n");
  // Broken UTF-8 becomes the replacement character, and the rest goes on.
  EXPECT_EQ(encodePage("a\xFF\xE7\x8E"
                       "b王",
                       PageEncoding::Big5),
            "a&#65533;&#65533;&#65533;b\xA4\xFD\r\n");
  EXPECT_EQ(encodePage("", PageEncoding::Big5), "\r\n");
  // C1 controls are references too, U+0080 included (not the bare byte 0x80).
  EXPECT_EQ(encodePage("a\u0080\u0085\u009F\u00A0", PageEncoding::Big5),
            "a&#128;&#133;&#159;&#160;\r\n");
  EXPECT_EQ(encodePage("ˉ◎○△Ｘ：", PageEncoding::Big5),
            "\xA3\xBC\xA1\xB7\xA1\xB3\xA1\xB5\xA2\xE6\xA1\x47\r\n");
}

TEST(PageFile, Utf8DeclaresItsCharsetAndChangesNothingElse) {
  const std::string page =
      assembleChartPage(test::renamed(test::firstExample(), "王😀"), buildPageTemplate(), "2026/12/6");
  const std::string utf8 = encodePage(page, PageEncoding::Utf8);
  std::string expected = page;
  const std::string big5 = "charset=big5'>";
  expected.replace(expected.find(big5), big5.size(), "charset=utf-8'>");
  EXPECT_EQ(utf8, expected + "\r\n");
  // A name cannot pose as the declaration.
  const std::string forged = encodePage("x<meta charset=big5>", PageEncoding::Utf8);
  EXPECT_EQ(forged, "x<meta charset=big5>\r\n");
}

}  // namespace
}  // namespace ziwei
