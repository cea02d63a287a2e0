#include "api/answer.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <variant>

#include "calendar/calendar_error.h"
#include "calendar/gregorian.h"
#include "calendar/lunar.h"
#include "cli/cast_command.h"
#include "cli/dates.h"
#include "cli/find_command.h"
#include "cli/lunar_command.h"
#include "cli/places_command.h"
#include "cli/solar_command.h"
#include "json/json_string.h"
#include "places/places.h"

namespace ziwei::api {

namespace {

using cli::Shape;

constexpr std::string_view kJson = "application/json";

// A refusal of the parameters: what the command line would say.
struct Refused {
  explicit Refused(std::string line, std::vector<std::string> following = {})
      : message(std::move(line)), more(std::move(following)) {}
  std::string message;
  std::vector<std::string> more;
};

// The options of a command that a call may not give: those that read or
// write files, print something other than the output, or choose an encoding
// or a thread count the caller has no say in.
constexpr std::array<std::string_view, 7> kWithheld = {"rules", "output",  "encoding", "explain",
                                                       "help",  "version", "jobs"};

bool withheld(std::string_view key) {
  return std::find(kWithheld.begin(), kWithheld.end(), key) != kWithheld.end();
}

// A flag's value: set, unset, or neither.
std::optional<bool> flagValue(std::string_view text) {
  constexpr std::array<std::string_view, 5> kSet = {"", "1", "true", "yes", "on"};
  constexpr std::array<std::string_view, 4> kUnset = {"0", "false", "no", "off"};
  if (std::find(kSet.begin(), kSet.end(), text) != kSet.end()) return true;
  if (std::find(kUnset.begin(), kUnset.end(), text) != kUnset.end()) return false;
  return std::nullopt;
}

// The arguments of the command line that `parameters` stand for, read
// against the command's options (`shapeOf`); `allowed` lists them for the
// refusal of an unknown one.
std::vector<std::string> commandArguments(std::span<const Parameter> parameters,
                                          std::optional<Shape> (*shapeOf)(std::string_view),
                                          std::string_view allowed) {
  std::vector<std::string> args;
  args.reserve(parameters.size());
  for (const Parameter& parameter : parameters) {
    const std::optional<Shape> shape =
        withheld(parameter.key) ? std::nullopt : shapeOf(parameter.key);
    if (!shape) {
      throw Refused{"unknown parameter " + cli::shown(parameter.key) +
                    " (allowed: " + std::string(allowed) + ")"};
    }
    if (*shape == Shape::Flag) {
      const std::optional<bool> set = flagValue(parameter.value);
      if (!set) {
        throw Refused{"--" + parameter.key + ": " + cli::shown(parameter.value) +
                      " is not allowed (allowed: 1, true, yes, on; 0, false, no, off)"};
      }
      if (*set) args.push_back("--" + parameter.key);
    } else if (!parameter.value.empty()) {
      args.push_back("--" + parameter.key + "=" + parameter.value);
    }
  }
  return args;
}

bool given(std::span<const Parameter> parameters, std::string_view key) {
  return std::any_of(parameters.begin(), parameters.end(),
                     [&](const Parameter& p) { return p.key == key && !p.value.empty(); });
}

// The options a command's parser reads from `args`; a usage error (and,
// since a call cannot ask for them, help or the version) is a refusal.
template <class Options>
Options parsedOptions(const std::vector<std::string>& args,
                      cli::Parsed<Options> (*parse)(std::span<const std::string_view>)) {
  const std::vector<std::string_view> views(args.begin(), args.end());
  cli::Parsed<Options> parsed = parse(views);
  if (auto* error = std::get_if<cli::UsageError>(&parsed)) {
    throw Refused{std::move(error->message), std::move(error->more)};
  }
  return std::get<Options>(std::move(parsed));
}

constexpr std::string_view kChartParameters =
    "name, sex, year, month, leap, day, hour, minute, second, solar, tz, dst, longitude, "
    "place, late-zi, on, on-time, on-lunar, on-leap, lang, print-date, format and the rule "
    "options";

// By cli::OutputFormat.
constexpr std::array<std::string_view, 5> kFormatTypes = {
    "text/html; charset=utf-8", kJson, "text/plain; charset=utf-8", "text/markdown; charset=utf-8",
    "text/html; charset=utf-8"};

Answer chart(std::span<const Parameter> parameters) {
  std::vector<std::string> args =
      commandArguments(parameters, cli::castOptionShape, kChartParameters);
  // JSON unless the caller asks for another format; pages in UTF-8.
  if (!given(parameters, "format")) args.emplace_back("--format=json");
  args.emplace_back("--encoding=utf-8");
  const cli::CastOptions options = parsedOptions(args, cli::parseCastCommand);
  std::string body;
  try {
    body = cli::checkedCastOutput(options);
  } catch (const cli::Refusal& refusal) {
    throw Refused{refusal.message, refusal.more};
  }
  return {Outcome::Done,
          kFormatTypes[static_cast<std::size_t>(options.format)],
          std::move(body),
          {},
          {},
          {}};
}

// {"solar":"YYYY-MM-DD","year":Y,"month":M,"leap":L,"day":D} and a line feed.
std::string dateDocument(const calendar::GregorianDate& solar, const calendar::LunarDate& lunar) {
  return "{\"solar\":\"" + calendar::format_gregorian(solar) +
         "\",\"year\":" + std::to_string(lunar.year) + ",\"month\":" + std::to_string(lunar.month) +
         ",\"leap\":" + (lunar.leap ? "true" : "false") + ",\"day\":" + std::to_string(lunar.day) +
         "}\n";
}

// Refuses a parameter other than `keys`.
void onlyParameters(std::span<const Parameter> parameters,
                    std::initializer_list<std::string_view> keys, std::string_view allowed) {
  for (const Parameter& parameter : parameters) {
    if (std::find(keys.begin(), keys.end(), parameter.key) == keys.end()) {
      throw Refused{"unknown parameter " + cli::shown(parameter.key) +
                    " (allowed: " + std::string(allowed) + ")"};
    }
  }
}

std::string_view lastValue(std::span<const Parameter> parameters, std::string_view key) {
  std::string_view value;
  for (const Parameter& parameter : parameters) {
    if (parameter.key == key) value = parameter.value;
  }
  return value;
}

Answer lunar(std::span<const Parameter> parameters) {
  onlyParameters(parameters, {"date"}, "date");
  const std::string_view date = lastValue(parameters, "date");
  if (date.empty()) throw Refused{"date: a date is missing (give date=YYYY-MM-DD)"};
  try {
    const calendar::GregorianDate solar = cli::readDate("date", date);
    return {Outcome::Done, kJson, dateDocument(solar, calendar::to_lunar(solar)), {}, {}, {}};
  } catch (const cli::Refusal& refusal) {
    throw Refused{refusal.message};
  } catch (const calendar::CalendarError& error) {
    throw Refused{std::string("date: ") + error.what()};
  }
}

Answer solar(std::span<const Parameter> parameters) {
  onlyParameters(parameters, {"year", "month", "day", "leap"}, "year, month, day, leap");
  std::vector<std::string> args;
  for (const std::string_view key : {"year", "month", "day"}) {
    const std::string_view value = lastValue(parameters, key);
    if (value.empty()) break;
    args.emplace_back(value);
  }
  for (const Parameter& parameter : parameters) {
    if (parameter.key != "leap") continue;
    const std::optional<bool> set = flagValue(parameter.value);
    if (!set) {
      throw Refused{"--leap: " + cli::shown(parameter.value) +
                    " is not allowed (allowed: 1, true, yes, on; 0, false, no, off)"};
    }
    if (*set) args.emplace_back("--leap");
  }
  const cli::SolarOptions options = parsedOptions(args, cli::parseSolarCommand);
  return {Outcome::Done,
          kJson,
          dateDocument(calendar::to_gregorian(options.date), options.date),
          {},
          {},
          {}};
}

void appendNumber(std::string& out, double value) {
  std::array<char, 32> text{};
  out.append(text.data(), std::to_chars(text.data(), text.data() + text.size(), value).ptr);
}

Answer placesAnswer(std::span<const Parameter> parameters) {
  onlyParameters(parameters, {"q", "limit"}, "q, limit");
  std::vector<std::string> args;
  if (const std::string_view limit = lastValue(parameters, "limit"); !limit.empty()) {
    args.push_back("--limit=" + std::string(limit));
  }
  const std::string_view query = lastValue(parameters, "q");
  if (query.empty()) throw Refused{"q: a place is missing (give q=NAME, e.g. q=Taipei)"};
  args.emplace_back(query);
  const cli::PlacesOptions options = parsedOptions(args, cli::parsePlacesCommand);
  std::vector<const places::Place*> found;
  try {
    found = cli::placesFitting(options.query, options.limit);
  } catch (const cli::Refusal& refusal) {
    throw Refused{"places: " + refusal.message, refusal.more};
  }
  const std::size_t limit = static_cast<std::size_t>(options.limit);
  std::string body = "{\"places\":[";
  for (std::size_t i = 0; i < found.size() && i < limit; ++i) {
    const places::Place& place = *found[i];
    if (i > 0) body += ',';
    const std::string name = places::qualifiedName(place);
    const std::pair<std::string_view, std::string_view> texts[] = {
        {"{\"name\":", name},
        {",\"zh-Hant\":", place.traditional},
        {",\"zh-Hans\":", place.simplified},
        {",\"country\":", places::countryOf(place)},
        {",\"province\":", place.province}};
    for (const auto& [key, text] : texts) {
      body += key;
      appendJsonString(body, text);
    }
    body += ",\"longitude\":";
    appendNumber(body, place.longitude);
    body += ",\"latitude\":";
    appendNumber(body, place.latitude);
    body += ",\"zone\":";
    appendJsonString(body, places::zoneOf(place));
    body += '}';
  }
  body += "],\"more\":";
  body += found.size() > limit ? "true" : "false";
  body += "}\n";
  return {Outcome::Done, kJson, std::move(body), {}, {}, {}};
}

constexpr std::string_view kFindParameters =
    "from, to, sex, hours, where, limit, format and the rule options";

// Thrown from the search's progress when the time limit has passed.
struct OutOfTime {};

Answer findAnswer(std::span<const Parameter> parameters, const Limits& limits) {
  std::vector<std::string> args =
      commandArguments(parameters, cli::findOptionShape, kFindParameters);
  if (!given(parameters, "format")) args.emplace_back("--format=jsonl");
  cli::FindOptions options = parsedOptions(args, cli::parseFindCommand);
  std::uint64_t limit = options.limit;
  if (limits.findMatches != 0 && (limit == 0 || limit > limits.findMatches)) {
    limit = limits.findMatches;
  }
  Answer answer{Outcome::Done,
                options.format == cli::FindFormat::Csv     ? "text/csv; charset=utf-8"
                : options.format == cli::FindFormat::Count ? "text/plain; charset=utf-8"
                                                           : "application/jsonl",
                {},
                {},
                {},
                {}};
  answer.body = cli::matchHeader(options.format);
  const auto deadline = std::chrono::steady_clock::now() + limits.findTime;
  find::SearchTotals totals;
  std::uint64_t matches = 0;
  try {
    totals = find::search(
        find::Query(options.conditions), options.range, {1, limit},
        [&](const find::Match& match) {
          ++matches;
          answer.body += cli::matchLine(match, options.format);
        },
        [&](std::uint64_t, std::uint64_t, std::uint64_t) {
          if (limits.findTime.count() > 0 && std::chrono::steady_clock::now() > deadline) {
            throw OutOfTime{};
          }
        });
    if (totals.limited) answer.stopped = "limit";
  } catch (const OutOfTime&) {
    answer.stopped = "time";
  }
  if (options.format == cli::FindFormat::Count) answer.body += std::to_string(matches) + "\n";
  return answer;
}

Answer refusal(std::string message, std::vector<std::string> more, Outcome outcome) {
  Answer answer{outcome, kJson, errorDocument(message), {}, std::move(more), {}};
  answer.message = std::move(message);
  return answer;
}

}  // namespace

Answer answerQuery(Operation operation, std::string_view query, const Limits& limits) {
  DecodedQuery decoded = decodeQuery(query);
  if (decoded.fault) return refusal(std::move(*decoded.fault), {}, Outcome::Refused);
  return answer(operation, decoded.parameters, limits);
}

std::string errorDocument(std::string_view message) {
  std::string document = "{\"error\":";
  appendJsonString(document, message);
  document += "}\n";
  return document;
}

std::optional<Operation> operationNamed(std::string_view name) {
  for (std::size_t i = 0; i < kOperationNames.size(); ++i) {
    if (kOperationNames[i] == name) return static_cast<Operation>(i);
  }
  return std::nullopt;
}

Answer answer(Operation operation, std::span<const Parameter> parameters, const Limits& limits) {
  try {
    switch (operation) {
      case Operation::Chart:
        return chart(parameters);
      case Operation::Lunar:
        return lunar(parameters);
      case Operation::Solar:
        return solar(parameters);
      case Operation::Places:
        return placesAnswer(parameters);
      case Operation::Find:
        return findAnswer(parameters, limits);
    }
    return refusal("unknown operation", {}, Outcome::Failed);
  } catch (Refused& refused) {
    return refusal(std::move(refused.message), std::move(refused.more), Outcome::Refused);
  } catch (const std::bad_alloc&) {
    return refusal("out of memory", {}, Outcome::Failed);
  } catch (const std::exception& error) {
    return refusal(std::string("internal error: ") + error.what(), {}, Outcome::Failed);
  }
}

}  // namespace ziwei::api
