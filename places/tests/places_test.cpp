#include "places/places.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "text/close_names.h"

namespace ziwei::places {
namespace {

// Coordinates and zones are those of the table's source (city-timezones
// 1.3.4); the Chinese names are those of the cities' governments.
TEST(Places, FindsAPlaceByAnyOfItsNames) {
  struct Case {
    std::string_view query;
    std::string_view name;
    std::string_view province;
    double longitude;
    std::string_view zone;
  };
  const Case cases[] = {
      {"Taipei", "Taipei", "Taipei City", 121.5683, "Asia/Taipei"},
      {"taipei", "Taipei", "Taipei City", 121.5683, "Asia/Taipei"},
      {"臺北", "Taipei", "Taipei City", 121.5683, "Asia/Taipei"},
      {"台北", "Taipei", "Taipei City", 121.5683, "Asia/Taipei"},
      {" 臺中 ", "Taichung", "Taichung City", 120.6817, "Asia/Taipei"},
      {"金門", "Kinmen", "Kinmen", 118.32, "Asia/Taipei"},
      {"香港", "Hong Kong", "", 114.185, "Asia/Hong_Kong"},
      {"Macao", "Macau", "", 113.545, "Asia/Macau"},
      {"蘇州", "Suzhou", "Jiangsu", 120.62, "Asia/Shanghai"},
      {"苏州", "Suzhou", "Jiangsu", 120.62, "Asia/Shanghai"},
      {"宿州", "Suzhou", "Anhui", 116.9789, "Asia/Shanghai"},
      {"Suzhou, anhui", "Suzhou", "Anhui", 116.9789, "Asia/Shanghai"},
      {"Suzhou , Jiangsu, CN", "Suzhou", "Jiangsu", 120.62, "Asia/Shanghai"},
      {"Shenyeng", "Shenyang", "Liaoning", 123.45, "Asia/Shanghai"},  // the source's spelling
      {"瀋陽", "Shenyang", "Liaoning", 123.45, "Asia/Shanghai"},
      {"Xian", "Xi'an", "Shaanxi", 108.895, "Asia/Shanghai"},
      // The source has Asia/Urumqi: the gazetteer keeps Beijing time.
      {"Urumqi", "Urumqi", "Xinjiang Uygur", 87.575, "Asia/Shanghai"},
      {"Xining", "Xining", "Qinghai", 101.77, "Asia/Shanghai"},
      {"Zurich", "Zürich", "Zürich", 8.55, "Europe/Zurich"},
      {"new york", "New York", "New York", -73.98, "America/New_York"},
      {"Springfield, Missouri", "Springfield", "Missouri", -93.32, "America/Chicago"},
      // A name with a comma, alone or qualified; a country by its code.
      {"Washington, D.C.", "Washington, D.C.", "District of Columbia", -77.0094,
       "America/New_York"},
      {"washington, d.c., US", "Washington, D.C.", "District of Columbia", -77.0094,
       "America/New_York"},
      {"Paris, FR", "Paris", "Île-de-France", 2.3333, "Europe/Paris"},
      // Hechi at its seat (the source had Guigang's point), and divisions the
      // source lacks, at the point of their seat (china_divisions.json).
      {"河池", "Hechi", "Guangxi", 108.0373, "Asia/Shanghai"},
      {"貴港", "Guigang", "Guangxi", 109.5722, "Asia/Shanghai"},
      {"Jieyang", "Jieyang", "Guangdong", 116.367, "Asia/Shanghai"},
      {"延邊朝鮮族自治州", "Yanbian", "Jilin", 129.5088, "Asia/Shanghai"},
      // Hong Kong's districts and regions, Macau's parishes.
      {"九龍", "Kowloon", "", 114.1896, "Asia/Hong_Kong"},
      {"沙田", "Sha Tin", "", 114.1951, "Asia/Hong_Kong"},
      {"荃灣區", "Tsuen Wan", "", 114.1212, "Asia/Hong_Kong"},
      {"新界", "New Territories", "", 114.1105, "Asia/Hong_Kong"},
      {"氹仔", "Taipa", "", 113.5588, "Asia/Macau"},
      // Counties and cities of Taiwan by their names with 市 or 縣, a county
      // by its seat; a province or country in Chinese as a qualifier.
      {"臺北市", "Taipei", "Taipei City", 121.5683, "Asia/Taipei"},
      {"雲林", "Douliu", "Yunlin", 120.5439, "Asia/Taipei"},
      {"澎湖縣", "Magong", "Penghu", 119.5833, "Asia/Taipei"},
      {"嘉義縣", "Taibao", "Chiayi", 120.3333, "Asia/Taipei"},
      {"嘉義", "Chiayi", "Chiayi City", 120.4351, "Asia/Taipei"},
      {"蘇州, 江蘇", "Suzhou", "Jiangsu", 120.62, "Asia/Shanghai"},
      {"苏州, 江苏省", "Suzhou", "Jiangsu", 120.62, "Asia/Shanghai"},
      {"宿州, 安徽, 中國", "Suzhou", "Anhui", 116.9789, "Asia/Shanghai"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    const Place& place = findPlace(c.query);
    EXPECT_EQ(place.name, c.name);
    EXPECT_EQ(place.province, c.province);
    EXPECT_NEAR(place.longitude, c.longitude, 0.001);
    EXPECT_EQ(zoneOf(place), c.zone);
  }
  EXPECT_EQ(describePlace(findPlace("Taipei")),
            "Taipei 臺北 台北 (Taipei City, Taiwan; 25.04°N 121.57°E; Asia/Taipei)");
  EXPECT_EQ(describePlace(findPlace("New York")),
            "New York (New York, United States of America; 40.75°N 73.98°W; America/New_York)");
}

std::string refusal(std::string_view query, std::size_t* candidates = nullptr) {
  try {
    findPlace(query);
  } catch (const PlaceError& error) {
    if (candidates != nullptr) *candidates = error.candidates().size();
    return error.what();
  }
  return "(accepted)";
}

TEST(Places, NamesTheCandidatesOfAnAmbiguousOrUnknownName) {
  std::size_t candidates = 0;
  EXPECT_EQ(refusal("Suzhou", &candidates),
            "\"Suzhou\" fits 2 places: Suzhou, Anhui; Suzhou, Jiangsu (name one as shown)");
  EXPECT_EQ(candidates, 2U);
  EXPECT_EQ(refusal("Fuzhou"),
            "\"Fuzhou\" fits 2 places: Fuzhou, Fujian; Fuzhou, Jiangxi (name one as shown)");
  EXPECT_EQ(refusal("springfield", &candidates),
            "\"springfield\" fits 5 places: Springfield, Massachusetts; Springfield, "
            "Missouri; Springfield, Illinois; Springfield, Ohio; and 1 more (name one as shown)");
  EXPECT_EQ(candidates, 5U);
  EXPECT_EQ(refusal("Taipie", &candidates),
            "\"Taipie\" is not in the gazetteer (close: Taipei; Taiping; Taipa); give a "
            "longitude and a time zone instead");
  EXPECT_EQ(candidates, 3U);
  EXPECT_EQ(refusal("Suzhou, Hebei"),
            "\"Suzhou, Hebei\" is not in the gazetteer (close: Suzhou, Anhui; Suzhou, "
            "Jiangsu); give a longitude and a time zone instead");
  EXPECT_EQ(refusal(" , "), "\" , \" names no place (give a city name)");
}

TEST(Places, EveryChineseAndQualifiedNameNamesOnePlace) {
  std::map<std::string, int> latinNames;
  for (const Place& place : allPlaces()) ++latinNames[foldAsciiCase(place.name)];
  for (const Place& place : allPlaces()) {
    if (!place.traditional.empty()) {
      EXPECT_EQ(&findPlace(place.traditional), &place) << place.traditional;
      EXPECT_EQ(&findPlace(place.simplified), &place) << place.simplified;
    }
    if (latinNames[foldAsciiCase(place.name)] > 1) {
      EXPECT_EQ(&findPlace(qualifiedName(place)), &place) << qualifiedName(place);
    }
    EXPECT_LE(std::abs(place.longitude), 180.0) << place.name;
  }
}

TEST(Places, SearchListsEqualNamesThenPrefixesThenParts) {
  const auto names = [](std::string_view query, std::size_t most) {
    std::string text;
    for (const Place* place : searchPlaces(query, most)) text += qualifiedName(*place) + "; ";
    return text;
  };
  EXPECT_EQ(names("taichung", 5), "Taichung; ");
  EXPECT_EQ(names("TAI", 4), "Taipei; Taiyuan; Taichung; Tai'an; ");
  EXPECT_EQ(names("臺北", 3), "Taipei; ");
  EXPECT_EQ(names("北", 4), "Beijing; Beihai; North District; Taipei; ");
  EXPECT_EQ(names("", 5), "");
}

}  // namespace
}  // namespace ziwei::places
