// Fuzzes a whole chart request: arbitrary selector texts, name and print
// date through the frame, the page, the Big5 writer and the JSON form.
//
// The page is filled in one pass, as text and encoded while filled, and
// both must agree with ordered replacement (the tests' reference).
//
// Input: one flag byte (bit 0: male), then the fields year, month, leap, day,
// hour, minute, second, name, print date and a rules file separated by 0xFF
// (a byte that never occurs in UTF-8). Missing fields keep the start-up
// selection and the default rules.
//
// Every request either is refused clearly (SelectionError for the birth
// data; std::invalid_argument from the JSON form for a name that is not
// UTF-8) or gives a page that
//   - holds exactly twelve palace cells and no "@" at all,
//   - has exactly the markup of the same chart with an empty name and date
//     (the user's texts add no tag, quote or placeholder),
//   - shows the name and the date escaped, and unescaping gives them back,
// and JSON that parses, holds the name unchanged and re-serialises to the
// same bytes.
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/selection.h"
#include "chart/chart.h"
#include "fuzz/fuzz_check.h"
#include "json/chart_json.h"
#include "page/chart_page.h"
#include "page/page_file.h"
#include "page/page_template.h"
#include "page/tests/ordered_replacement.h"
#include "page/user_text.h"
#include "rules/rule_text.h"

namespace {

using namespace ziwei;
using desktop::BirthSelection;
using desktop::readSelection;
using desktop::SelectionError;

constexpr std::string_view kCellStart = "<table width='155' height='167'";
constexpr std::string_view kNameStart = "<font color='#0000FF'>[                ";
constexpr std::string_view kNameEnd = " ]</font>";
constexpr std::string_view kDateStart = "<td width='30%'>";
constexpr std::string_view kDateEnd = "</td>";

using ziwei::fuzz::require;

std::size_t count(std::string_view text, std::string_view part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos;
       at = text.find(part, at + part.size())) {
    ++n;
  }
  return n;
}

// The text between `start` and the next `end` after it; nothing when either
// is missing.
std::optional<std::string_view> between(std::string_view page, std::string_view start,
                                        std::string_view end) {
  const std::size_t from = page.find(start);
  if (from == std::string_view::npos) return std::nullopt;
  const std::size_t to = page.find(end, from + start.size());
  if (to == std::string_view::npos) return std::nullopt;
  return page.substr(from + start.size(), to - from - start.size());
}

// Undoes HTML escaping: the five named entities the page uses and decimal
// references. Nothing when the text holds a raw markup character or an
// entity it does not know.
std::optional<std::string> unescape(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    const char c = text.front();
    if (c == '<' || c == '>' || c == '"' || c == '\'' || c == '@') return std::nullopt;
    if (c != '&') {
      out += c;
      text.remove_prefix(1);
      continue;
    }
    const std::size_t semicolon = text.find(';');
    if (semicolon == std::string_view::npos) return std::nullopt;
    const std::string_view entity = text.substr(1, semicolon - 1);
    text.remove_prefix(semicolon + 1);
    constexpr std::pair<std::string_view, char> kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}};
    const auto* named = std::find_if(std::begin(kNamed), std::end(kNamed),
                                     [&](const auto& each) { return each.first == entity; });
    if (named != std::end(kNamed)) {
      out += named->second;
      continue;
    }
    std::uint32_t code = 0;
    const char* end = entity.data() + entity.size();
    if (!entity.starts_with('#') || entity.size() < 2) return std::nullopt;
    const auto [stop, error] = std::from_chars(entity.data() + 1, end, code);
    if (error != std::errc{} || stop != end || code > 0x10FFFF) return std::nullopt;
    out += utf8Of(code);
  }
  return out;
}

void checkJson(const Chart& chart) {
  if (!isValidUtf8(chart.request.name)) {
    bool refused = false;
    try {
      (void)chartJson(chart);
    } catch (const std::invalid_argument&) {
      refused = true;
    }
    require(refused, "JSON refuses a name that is not UTF-8");
    return;
  }
  const std::string json = chartJson(chart);
  rapidjson::Document document;
  document.Parse<rapidjson::kParseValidateEncodingFlag>(json.data(), json.size());
  require(!document.HasParseError(), "the JSON parses");
  const rapidjson::Value& name = document["input"]["name"];
  require(std::string_view(name.GetString(), name.GetStringLength()) == chart.request.name,
          "the JSON holds the name unchanged");
  require(document["palaces"].IsArray() && document["palaces"].Size() == 12,
          "the JSON lists twelve palaces");
  rapidjson::StringBuffer again;
  rapidjson::Writer<rapidjson::StringBuffer> writer(again);
  document.Accept(writer);
  require(std::string_view(again.GetString(), again.GetSize()) == json,
          "the JSON re-serialises to the same bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool male = (data[0] & 1) != 0;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::vector<std::string> fields;
  for (std::size_t from = 0;;) {
    const std::size_t bar = rest.find('\xFF', from);
    fields.emplace_back(rest.substr(from, bar - from));
    if (bar == std::string_view::npos) break;
    from = bar + 1;
  }

  BirthSelection selection;
  std::string* const texts[] = {&selection.year,  &selection.month, &selection.leap,
                                &selection.day,   &selection.hour,  &selection.minute,
                                &selection.second};
  for (std::size_t i = 0; i < std::size(texts) && i < fields.size(); ++i) *texts[i] = fields[i];
  selection.male = male;
  const std::string name = fields.size() > 7 ? fields[7] : "您的姓名";
  const std::string printDate = fields.size() > 8 ? fields[8] : "2026/12/6";

  ChartRequest input;
  try {
    input.birth = readSelection(selection, kCommandLineYears);
  } catch (const SelectionError& error) {
    require(!error.field().empty() && std::string_view(error.what()).starts_with(error.field()),
            "a refusal names its field");
    require(count(error.what(), "\n") == 0, "a refusal is one line");
    return 0;
  }
  input.name = name;
  // A rules file: refused naming a line it has, or cast by.
  if (fields.size() > 9) {
    if (const auto error = readRulesText(fields[9], input.options)) {
      require(error->line >= 1 && error->line <= count(fields[9], "\n") + 1,
              "a refused rules file names one of its lines");
      require(isValidUtf8(fields[9]) ? isValidUtf8(error->message) : true,
              "a refusal of UTF-8 rules is UTF-8");
      return 0;
    }
  }
  Chart chart;
  try {
    chart = cast(input);
  } catch (const std::invalid_argument&) {
    // The solar terms end with 2100: a rule that reads them refuses a birth
    // after.
    require(input.options.yearBoundary == YearBoundary::Spring && input.birth.year == 2100,
            "only a birth past the solar terms is refused");
    return 0;
  }
  Chart unnamed = chart;
  unnamed.request.name.clear();

  // The page by ordered replacement is the reference; the one-pass filling
  // and the page files encoded while filling must give the same bytes.
  const PreparedTemplate& prepared = chartPageTemplate();
  const std::string page = test::pageByOrderedReplacement(chart, prepared.text(), printDate);
  require(assembleChartPage(prepared, chart, printDate) == page,
          "one-pass filling gives the page of ordered replacement");
  require(chartPageFile(prepared, chart, printDate, PageEncoding::Big5) ==
              encodePage(page, PageEncoding::Big5),
          "the Big5 file encoded while filling is the page encoded");
  require(chartPageFile(prepared, chart, printDate, PageEncoding::Utf8) ==
              encodePage(page, PageEncoding::Utf8),
          "the UTF-8 file is the page with its charset changed");
  const std::string plain = assembleChartPage(prepared, unnamed, "");

  require(count(page, kCellStart) == 12, "twelve palace cells");
  require(count(page, "@") == 0, "no placeholder or '@' left");
  for (const std::string_view markup : {"<", ">", "\"", "'"}) {
    require(count(page, markup) == count(plain, markup), "user text adds no markup");
  }
  require(page.find_first_of("\r\n") == std::string::npos, "the page is one line");

  if (isValidUtf8(name) && isValidUtf8(printDate)) {
    const auto shownName = between(page, kNameStart, kNameEnd);
    require(shownName.has_value(), "the name stands in the page");
    require(unescape(*shownName) == name, "the name is shown escaped and unescapes to itself");
    const auto shownDate = between(page, kDateStart, kDateEnd);
    require(shownDate.has_value(), "the date stands in the page");
    require(unescape(*shownDate) == printDate, "the date is shown escaped and unescapes to itself");
  }

  checkJson(chart);
  return 0;
}
