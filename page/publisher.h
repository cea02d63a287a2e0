#pragma once

#include <array>
#include <string_view>

namespace ziwei::publisher {

// The publisher's web addresses: the home page and the eight online
// services the window links to. One place for all of them.
inline constexpr std::string_view kHomePage = "http://www.tessaro.example/";

struct ServiceLink {
  std::string_view words;  // what the button shows
  std::string_view url;
};

// cmdB01 ... cmdB07, left to right.
inline constexpr std::array<ServiceLink, 7> kPictureLinks{{
    {"八字學", "http://www.tessaro.example/bazi/print.htm"},
    {"姓名學", "http://www.tessaro.example/name/strokes.htm"},
    {"紫微斗數", "http://www.tessaro.example/ziwei/print.htm"},
    {"六爻卦", "http://www.tessaro.example/liuyao/print.htm"},
    {"農民曆", "http://www.tessaro.example/almanac/"},
    {"命理教學", "http://www.tessaro.example/teaching/"},
    {"綜合排盤", "http://www.tessaro.example/combined/print.htm"},
}};

// cmdGetC: the online lunar-date converter, in the almanac section.
inline constexpr ServiceLink kLunarConverter{"農曆日期查詢",
                                             "http://www.tessaro.example/almanac/convert.htm"};

}  // namespace ziwei::publisher
