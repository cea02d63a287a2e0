#pragma once
// ziwei places QUERY: the places of the gazetteer that a name fits, for
// --place and the batch column place.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"
#include "places/places.h"

namespace ziwei::cli {

struct PlacesOptions {
  std::string query;
  bool given = false;
  int limit = 20;  // places listed at most
};

// Reads the arguments that follow "places". Pure.
Parsed<PlacesOptions> parsePlacesCommand(std::span<const std::string_view> args);

std::string placesHelpText();

// The places `query` fits: those whose names contain it (the whole names
// first), or else the one or more places it names with qualifiers ("Suzhou,
// Jiangsu"); at most `limit` + 1, so that a caller knows when there are more.
// Throws a Refusal naming the query (and places close to it) when none fits.
std::vector<const places::Place*> placesFitting(std::string_view query, int limit);

// One place a line, fields separated by tabs: the name --place takes for it
// alone, its Traditional and Simplified Chinese names (or empty), country,
// province (or empty), longitude and latitude in degrees (east and north
// positive), time zone.
std::string placeLine(const places::Place& place);

int placesCommand(std::span<const std::string_view> args);

}  // namespace ziwei::cli
