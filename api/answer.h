#pragma once
// One call from another program (the HTTP service, the C library, the Python
// module): an operation and its parameters in, the bytes of the answer out.
// Each operation reads its parameters as the command of the same name reads
// its options ("year=1984" as "--year=1984") and answers with the bytes the
// command writes, so every caller sees the command line's output and its
// messages. No global state: calls may run on several threads at once.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "api/query.h"

namespace ziwei::api {

enum class Operation { Chart, Lunar, Solar, Places, Find };

// By Operation: the name in a path ("/v1/chart") and in the C library.
inline constexpr std::array<std::string_view, 5> kOperationNames = {"chart", "lunar", "solar",
                                                                    "places", "find"};
std::optional<Operation> operationNamed(std::string_view name);

enum class Outcome {
  Done,     // the answer is the output
  Refused,  // a parameter was wrong: the message says which and what is allowed
  Failed,   // the answer could not be made (a fault of this program, not of the input)
};

struct Answer {
  Outcome outcome = Outcome::Done;
  // The media type of `body`: "application/json", "text/html; charset=utf-8", ...
  std::string_view contentType;
  // The output; for a refusal or a failure the JSON document
  // {"error":"MESSAGE"} and a line feed.
  std::string body;
  // The refusal or failure as the command line words it, one line; empty
  // when done. Lines that follow it (the candidates of an ambiguous place)
  // are in `more`.
  std::string message;
  std::vector<std::string> more;
  // For find: why the search stopped before the end of its range: "limit"
  // (the result limit) or "time" (the time limit); empty when it searched
  // the whole range.
  std::string_view stopped;
};

// What a caller allows one find: at most `findMatches` matches (a request's
// own `limit` may ask fewer) and `findTime` of searching; 0 for no bound.
struct Limits {
  std::uint64_t findMatches = 0;
  std::chrono::milliseconds findTime{0};
};

// The parameters of each operation are the options of its command without
// their "--", with the same values, the same defaults and the same messages;
// repeated keys are read in order as repeated options are (`where`,
// `transformation`). A flag (leap, on-leap) is set by "", "1", "true", "yes"
// or "on" and left unset by "0", "false", "no" or "off". An empty value of
// any other parameter counts as not given, as a form's empty field.
//
//  chart:  name, sex, year, month, leap, day, hour, minute, second, solar,
//          tz, dst, longitude, place, late-zi, on, on-time, on-lunar,
//          on-leap, lang, print-date, every rule option, and
//          format=json|html|text|markdown|study (default json here; html
//          is the UTF-8 page). Not the options that read or write files or
//          change what is printed (rules, output, encoding, explain, help).
//          The bytes of `ziwei --format F ...`.
//  lunar:  date=YYYY-MM-DD. {"solar":"2001-06-08","year":2001,"month":4,
//          "leap":true,"day":17} and a line feed.
//  solar:  year, month, day, leap. The same document as lunar.
//  places: q, limit (default 20). {"places":[{"name":..,"zh-Hant":..,
//          "zh-Hans":..,"country":..,"province":..,"longitude":..,
//          "latitude":..,"zone":..},...],"more":false} and a line feed.
//  find:   from, to, hours, where (repeated), limit, every rule option,
//          format=jsonl|csv|count (default jsonl here). The bytes of
//          `ziwei find` on one thread, cut at `limits`.
Answer answer(Operation operation, std::span<const Parameter> parameters,
              const Limits& limits = {});

// The same for the parameters of a query string (decodeQuery); a query that
// does not decode is refused with decodeQuery's fault.
Answer answerQuery(Operation operation, std::string_view query, const Limits& limits = {});

// {"error":"MESSAGE"} and a line feed: the body of a refusal or a failure.
std::string errorDocument(std::string_view message);

}  // namespace ziwei::api
