// Close names by bytes (Latin names) and by characters (Chinese names).
#include <gtest/gtest.h>

#include <array>
#include <string_view>
#include <vector>

#include "text/close_names.h"

namespace ziwei {
namespace {

using Names = std::vector<std::string_view>;

constexpr std::array<std::string_view, 6> kStars = {"紫微", "天機",    "廉貞",
                                                    "天府", "Emperor", "Treasurer"};

TEST(CloseNames, LatinNamesALetterOrTwoAwayWhateverTheCase) {
  EXPECT_EQ(closeNames("emperer", kStars), (Names{"Emperor"}));
  EXPECT_EQ(closeNames("TREASURE", kStars), (Names{"Treasurer"}));
  EXPECT_EQ(closeNames("Emp", kStars), Names{});
}

TEST(CloseNames, ByCharacterAChineseNameIsACharacterAway) {
  // 薇 and 微 differ in all three bytes: too far by bytes, one character by
  // characters.
  EXPECT_EQ(closeNames("紫薇", kStars), Names{});
  EXPECT_EQ(closeNamesByCharacter("紫薇", kStars, 1), (Names{"紫微"}));
  EXPECT_EQ(closeNamesByCharacter("天", kStars, 1), (Names{"天機", "天府"}));
  EXPECT_EQ(closeNamesByCharacter("天机", kStars, 1, 1), (Names{"天機"}));
  EXPECT_EQ(closeNamesByCharacter("天機星", kStars, 0), Names{});
  EXPECT_EQ(closeNamesByCharacter("emperor", kStars, 0), (Names{"Emperor"}));
  EXPECT_EQ(closeNamesByCharacter("\xff\xfe", kStars, 1), Names{});
}

}  // namespace
}  // namespace ziwei
