#pragma once
// The offline gazetteer: about 7,400 cities of the world with their
// coordinates and time zones, the cities and counties of Taiwan, the
// districts of Hong Kong and Macau and every prefecture-level division of
// mainland China also by their Traditional and Simplified Chinese names. The table
// (place_table.inc) is generated once by places/tools/gen_place_table.js; its first lines name its
// source.
//
// Names are matched whole or in part as follows: Latin letters without regard
// to case (ASCII only: "zürich" and "ZÜRICH" differ, but every place with
// letters beyond ASCII also has its plain ASCII spelling), Chinese names as
// written, with 臺 and 台 taken as the same character, so that 台北, 臺北 and
// Taipei name the same place.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ziwei::places {

struct Place {
  std::string_view name;         // Latin name, as the table's source spells it
  std::string_view traditional;  // Traditional Chinese name, or empty
  std::string_view simplified;   // Simplified Chinese name, or empty
  std::string_view aliases;      // other names, '|' between them, or empty
  std::string_view province;     // may be empty (Hong Kong, Macau, ...)
  std::uint16_t country;         // index into the country table
  double latitude;               // degrees, north positive
  double longitude;              // degrees, east positive
  std::uint16_t zone;            // index into the zone table
  std::int32_t population;       // orders candidates and search results only
};

// Every place, the biggest first.
std::span<const Place> allPlaces();

// The IANA name of the place's time zone, e.g. "Asia/Taipei". Every place of
// mainland China has Asia/Shanghai (Beijing time is the legal time there).
std::string_view zoneOf(const Place& place);
// The country's name ("Taiwan", "China", "Hong Kong S.A.R.") and its ISO
// 3166 two-letter code (empty for a country without one).
std::string_view countryOf(const Place& place);
std::string_view countryCodeOf(const Place& place);

// The shortest spelling that names `place` alone: its name, or its name
// followed by ", PROVINCE" or ", COUNTRY" or both, e.g. "Suzhou, Jiangsu".
std::string qualifiedName(const Place& place);

// One line that tells the place apart from others of its name, e.g.
// "Taipei 臺北 (Taipei City, Taiwan; 25.04°N 121.57°E; Asia/Taipei)".
std::string describePlace(const Place& place);

// A place name that names no place, or more than one. what() is one line
// naming the value and what to do; candidates() holds the places that fit
// (ambiguous) or come close (unknown), the biggest first.
class PlaceError : public std::invalid_argument {
 public:
  PlaceError(const std::string& message, std::vector<const Place*> candidates, bool ambiguous);
  const std::vector<const Place*>& candidates() const noexcept { return candidates_; }
  bool ambiguous() const noexcept { return ambiguous_; }

 private:
  std::vector<const Place*> candidates_;
  bool ambiguous_;
};

// The place that `query` names: a name of the place (any of its names),
// optionally followed by qualifiers after commas, each a province, a country
// or a country code of the place: "Suzhou, Jiangsu", "Springfield, Missouri",
// "Taipei, TW". Throws PlaceError when no place or more than one fits.
const Place& findPlace(std::string_view query);

// Places whose names contain `query` (a part of a name, no qualifiers): those
// with a name equal to it first, then those with a name that begins with it,
// then the others, each group the biggest first; at most `most` of them.
std::vector<const Place*> searchPlaces(std::string_view query, std::size_t most = 20);

}  // namespace ziwei::places
