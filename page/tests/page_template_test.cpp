#include "page/page_template.h"

#include "page/publisher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace ziwei {
namespace {

std::vector<std::string> placeholders() {
  std::vector<std::string> names = {
      "@Title@",        "@PrintDate@",   "@FateName@",   "@SEXTEXT@",
      "@txtNAME@",      "@getAnimal@",   "@CYY@",        "@CMM@",
      "@CDD@",          "@CHH@",         "@CMU@",        "@getLifeDStart@",
      "@getBodyStart@", "@LiftHourseM@", "@FiveHourse@", "@PAGENOTE@"};
  for (int n = 1; n <= 12; ++n) {
    names.push_back((n < 10 ? "@HourseNUM0" : "@HourseNUM") + std::to_string(n) + "@");
  }
  return names;
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t found = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
  return found;
}

TEST(PageTemplate, HoldsEachPlaceholderOnceAndNoOtherAt) {
  const std::string page = buildPageTemplate();
  const auto names = placeholders();
  ASSERT_EQ(names.size(), 28u);
  std::string rest = page;
  for (const std::string& name : names) {
    EXPECT_EQ(count(page, name), 1u) << name;
    rest.replace(rest.find(name), name.size(), "");
  }
  EXPECT_EQ(rest.find('@'), std::string::npos);
}

TEST(PageTemplate, IsOneLineDeclaredAsBig5) {
  const std::string page = buildPageTemplate();
  EXPECT_EQ(page.find_first_of("\r\n"), std::string::npos);
  EXPECT_TRUE(
      page.starts_with("<html><head><title>Tessaro紫微斗數</title><meta "
                       "http-equiv='Content-Type' content='text/html; charset=big5'>"));
  EXPECT_TRUE(page.ends_with("</table></body></html>"));
  EXPECT_EQ(buildPageTemplate(), page);
}

TEST(PageTemplate, PlacesThePalacesOnTheRingOfBranches) {
  const std::string page = buildPageTemplate();
  // Each cell's blanks and width are checked with the cells filled in
  // (chart_page_test).
  // Reading order of the page: top row 巳 午 未 申, then 辰 | 酉, 卯 | 戌,
  // bottom row 寅 丑 子 亥.
  std::vector<std::size_t> at;
  for (int n : {6, 7, 8, 9, 5, 10, 4, 11, 3, 2, 1, 12}) {
    at.push_back(page.find((n < 10 ? "@HourseNUM0" : "@HourseNUM") + std::to_string(n) + "@"));
  }
  EXPECT_TRUE(std::is_sorted(at.begin(), at.end()));
}

TEST(PageTemplate, CentreBlockCarriesTheBoxesAndTheNotice) {
  const std::string page = buildPageTemplate();
  EXPECT_NE(page.find("農曆:@CYY@年@CMM@月@CDD@日@CHH@時@CMU@分"), std::string::npos);
  EXPECT_NE(
      page.find("<td><font color=#660033>斗<br>                        君<br>                    "
                "    ：<br>                        @getLifeDStart@</font></td>"),
      std::string::npos);
  EXPECT_NE(page.find("[                @txtNAME@ ]"), std::string::npos);
  // The publisher's link opens in a new window and shows the site address.
  const std::string link = "<a href='" + std::string(publisher::kHomePage) + "' target='_blank'>";
  EXPECT_EQ(count(page, link), 1u);
}

}  // namespace
}  // namespace ziwei
