#include "places/places.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

#include "text/close_names.h"
#include "unicode/utf8.h"

namespace ziwei::places {

namespace {

struct Country {
  std::string_view code;
  std::string_view name;
};

// A province or country by its Chinese names, for qualifiers.
struct RegionName {
  std::string_view name;  // as kCountries or a place's province has it
  std::string_view traditional;
  std::string_view simplified;
};

#include "places/place_table.inc"

// How many candidates a message lists.
constexpr std::size_t kListed = 4;

constexpr std::string_view kTai = "台";
constexpr std::string_view kTaiFormal = "臺";

// A name as names are compared: ASCII case folded, 臺 written 台.
std::string fold(std::string_view name) {
  std::string folded = foldAsciiCase(name);
  for (std::size_t at = folded.find(kTaiFormal); at != std::string::npos;
       at = folded.find(kTaiFormal, at + kTai.size())) {
    folded.replace(at, kTaiFormal.size(), kTai);
  }
  return folded;
}

// True when `name` folds to `folded` (as fold() would make it, without
// making it).
bool foldsTo(std::string_view name, std::string_view folded) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < name.size() && j < folded.size()) {
    if (name.substr(i, kTaiFormal.size()) == kTaiFormal) {
      if (folded.substr(j, kTai.size()) != kTai) return false;
      i += kTaiFormal.size();
      j += kTai.size();
      continue;
    }
    const char c =
        name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] - 'A' + 'a') : name[i];
    if (c != folded[j]) return false;
    ++i;
    ++j;
  }
  return i == name.size() && j == folded.size();
}

// Calls `visit` with each name of `place` (Latin, Chinese, the others) until
// it returns true; returns whether one did.
template <typename Visit>
bool anyName(const Place& place, Visit visit) {
  for (const std::string_view name : {place.name, place.traditional, place.simplified}) {
    if (!name.empty() && visit(name)) return true;
  }
  std::string_view rest = place.aliases;
  while (!rest.empty()) {
    const std::size_t bar = rest.find('|');
    if (visit(rest.substr(0, bar))) return true;
    rest = bar == std::string_view::npos ? std::string_view{} : rest.substr(bar + 1);
  }
  return false;
}

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Every name of every place, folded, with the place it names: sorted by the
// name for lookups, and in table order for searches. Made once.
struct NameIndex {
  struct Entry {
    std::string folded;
    std::uint32_t place;  // index into kPlaces
  };
  std::vector<Entry> byName;   // sorted by folded name, then place
  std::vector<Entry> inOrder;  // the places' order, each place's names in turn
};

const NameIndex& nameIndex() {
  static const NameIndex index = [] {
    NameIndex made;
    for (std::uint32_t i = 0; i < kPlaces.size(); ++i) {
      anyName(kPlaces[i], [&](std::string_view name) {
        made.inOrder.push_back({fold(name), i});
        return false;
      });
    }
    made.byName = made.inOrder;
    std::sort(made.byName.begin(), made.byName.end(), [](const auto& a, const auto& b) {
      return a.folded != b.folded ? a.folded < b.folded : a.place < b.place;
    });
    return made;
  }();
  return index;
}

// A query split at its commas: the folded name and the folded qualifiers.
struct Query {
  std::string name;
  std::vector<std::string> qualifiers;
};

bool isName(const std::string& folded) {
  const auto& names = nameIndex().byName;
  const auto at = std::lower_bound(
      names.begin(), names.end(), folded,
      [](const NameIndex::Entry& entry, const std::string& name) { return entry.folded < name; });
  return at != names.end() && at->folded == folded;
}

// The name is the longest run of the first parts that names a place
// ("Washington, D.C."), else the first part; the parts after it qualify it.
Query parseQuery(std::string_view text) {
  std::vector<std::string> parts;
  while (true) {
    const std::size_t comma = text.find(',');
    parts.push_back(fold(trimmed(text.substr(0, comma))));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  std::size_t named = 1;
  std::string name = parts[0];
  for (std::size_t k = 2; k <= parts.size(); ++k) {
    std::string longer = parts[0];
    for (std::size_t i = 1; i < k; ++i) longer += ", " + parts[i];
    if (isName(longer)) {
      named = k;
      name = std::move(longer);
    }
  }
  Query query{std::move(name), {}};
  for (std::size_t i = named; i < parts.size(); ++i) {
    if (!parts[i].empty()) query.qualifiers.push_back(std::move(parts[i]));
  }
  return query;
}

// The Chinese suffixes of a division's name that a qualifier may add:
// "江蘇省", "北京市", "廣西壯族自治區".
constexpr std::array<std::string_view, 8> kRegionSuffixes = {
    "省", "市", "壯族自治區", "壮族自治区", "回族自治區", "回族自治区", "自治區", "自治区"};

// True when `qualifier` is a Chinese name of `region` (a province or a
// country), with or without its suffix.
bool chineseNameOf(std::string_view region, const std::string& qualifier) {
  for (const RegionName& names : kRegionNames) {
    if (names.name != region) continue;
    for (const std::string_view name : {names.traditional, names.simplified}) {
      if (foldsTo(name, qualifier)) return true;
      for (const std::string_view suffix : kRegionSuffixes) {
        if (qualifier.size() > suffix.size() && qualifier.ends_with(suffix) &&
            foldsTo(name,
                    std::string_view(qualifier).substr(0, qualifier.size() - suffix.size()))) {
          return true;
        }
      }
    }
  }
  return false;
}

bool qualifiersFit(const Place& place, const Query& query) {
  for (const std::string& qualifier : query.qualifiers) {
    const Country& country = kCountries[place.country];
    if (!foldsTo(place.province, qualifier) && !foldsTo(country.name, qualifier) &&
        !foldsTo(country.code, qualifier) && !chineseNameOf(place.province, qualifier) &&
        !chineseNameOf(country.name, qualifier)) {
      return false;
    }
  }
  return true;
}

// The Chinese suffixes a place's name may be written with: "臺北市", "雲林縣",
// "沙田區"; a name not in the gazetteer is looked up without them.
constexpr std::array<std::string_view, 5> kPlaceSuffixes = {"市", "縣", "县", "區", "区"};

// The places with a name that folds to the query's, in table order, whose
// province, country or code fit its qualifiers.
std::vector<const Place*> placesFitting(const Query& query) {
  const auto& names = nameIndex().byName;
  auto at = std::lower_bound(
      names.begin(), names.end(), query.name,
      [](const NameIndex::Entry& entry, const std::string& name) { return entry.folded < name; });
  std::vector<const Place*> found;
  for (; at != names.end() && at->folded == query.name; ++at) {
    const Place& place = kPlaces[at->place];
    if ((found.empty() || found.back() != &place) && qualifiersFit(place, query)) {
      found.push_back(&place);
    }
  }
  return found;
}

std::string joinedNames(const std::vector<const Place*>& places, std::size_t most) {
  std::string text;
  for (std::size_t i = 0; i < places.size() && i < most; ++i) {
    if (i > 0) text += "; ";
    text += qualifiedName(*places[i]);
  }
  if (places.size() > most) text += "; and " + std::to_string(places.size() - most) + " more";
  return text;
}

// Places with a Latin name close to `name`, for an unknown name.
std::vector<const Place*> closePlaces(std::string_view name) {
  std::vector<const Place*> found = searchPlaces(name, 5);
  if (!found.empty()) return found;
  std::vector<std::string_view> names;
  names.reserve(kPlaces.size());
  for (const Place& place : kPlaces) names.push_back(place.name);
  for (const std::string_view close : closeNames(name, names, 5)) {
    for (const Place& place : kPlaces) {
      if (place.name == close) {
        found.push_back(&place);
        break;
      }
    }
  }
  return found;
}

std::string degrees(double value, char positive, char negative) {
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%.2f°%c", std::fabs(value),
                value < 0 ? negative : positive);
  return text.data();
}

}  // namespace

PlaceError::PlaceError(const std::string& message, std::vector<const Place*> candidates,
                       bool ambiguous)
    : std::invalid_argument(message), candidates_(std::move(candidates)), ambiguous_(ambiguous) {}

std::span<const Place> allPlaces() { return kPlaces; }

std::string_view zoneOf(const Place& place) { return kZones[place.zone]; }
std::string_view countryOf(const Place& place) { return kCountries[place.country].name; }
std::string_view countryCodeOf(const Place& place) { return kCountries[place.country].code; }

std::string qualifiedName(const Place& place) {
  const std::string name(place.name);
  std::vector<std::string> spellings{name};
  if (!place.province.empty()) spellings.push_back(name + ", " + std::string(place.province));
  spellings.push_back(name + ", " + std::string(countryOf(place)));
  if (!place.province.empty())
    spellings.push_back(spellings[1] + ", " + std::string(countryOf(place)));
  for (const std::string& spelling : spellings) {
    if (placesFitting(parseQuery(spelling)).size() == 1) return spelling;
  }
  return spellings.back();  // the table names each place alone by all three
}

std::string describePlace(const Place& place) {
  std::string text(place.name);
  if (!place.traditional.empty()) text += " " + std::string(place.traditional);
  if (place.simplified != place.traditional) text += " " + std::string(place.simplified);
  text += " (";
  if (!place.province.empty()) text += std::string(place.province) + ", ";
  text += std::string(countryOf(place)) + "; " + degrees(place.latitude, 'N', 'S') + " " +
          degrees(place.longitude, 'E', 'W') + "; " + std::string(zoneOf(place)) + ")";
  return text;
}

const Place& findPlace(std::string_view text) {
  const Query query = parseQuery(text);
  if (query.name.empty()) {
    throw PlaceError(quotedForMessage(text) + " names no place (give a city name)", {}, false);
  }
  std::vector<const Place*> found = placesFitting(query);
  for (const std::string_view suffix : kPlaceSuffixes) {
    if (!found.empty() || query.name.size() <= suffix.size() || !query.name.ends_with(suffix)) {
      continue;
    }
    Query bare = query;
    bare.name.resize(bare.name.size() - suffix.size());
    found = placesFitting(bare);
  }
  if (found.size() == 1) return *found.front();
  if (found.empty()) {
    std::vector<const Place*> close = closePlaces(trimmed(text.substr(0, text.find(','))));
    std::string message = quotedForMessage(text) + " is not in the gazetteer";
    if (!close.empty()) message += " (close: " + joinedNames(close, kListed) + ")";
    throw PlaceError(message + "; give a longitude and a time zone instead", std::move(close),
                     false);
  }
  const std::string message = quotedForMessage(text) + " fits " + std::to_string(found.size()) +
                              " places: " + joinedNames(found, kListed) + " (name one as shown)";
  throw PlaceError(message, std::move(found), true);
}

std::vector<const Place*> searchPlaces(std::string_view text, std::size_t most) {
  const std::string query = fold(trimmed(text));
  std::array<std::vector<const Place*>, 3> ranked;  // equal, prefix, part
  if (query.empty()) return {};
  const auto& names = nameIndex().inOrder;
  for (std::size_t i = 0; i < names.size();) {
    const std::uint32_t place = names[i].place;
    std::size_t best = ranked.size();
    for (; i < names.size() && names[i].place == place; ++i) {
      const std::string& folded = names[i].folded;
      const std::size_t at = folded.find(query);
      if (at == std::string::npos) continue;
      best = std::min(best, folded.size() == query.size() ? std::size_t{0} : at == 0 ? 1 : 2);
    }
    if (best < ranked.size()) ranked[best].push_back(&kPlaces[place]);
  }
  std::vector<const Place*> result;
  for (const auto& group : ranked) {
    for (const Place* place : group) {
      if (result.size() == most) return result;
      result.push_back(place);
    }
  }
  return result;
}

}  // namespace ziwei::places
