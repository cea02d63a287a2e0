#include "cli/cast_command.h"

#include <array>
#include <optional>
#include <string>

#include "birth/birth_time_text.h"
#include "birth/solar_birth.h"
#include "calendar/calendar_error.h"
#include "calendar/lunar.h"
#include "chart/chart.h"
#include "chart/rule_options.h"
#include "cli/birth_time_options.h"
#include "cli/command.h"
#include "cli/dates.h"
#include "cli/exit_status.h"
#include "cli/rule_choices.h"
#include "json/chart_json.h"
#include "output/output_file.h"
#include "page/chart_page.h"
#include "page/page_template.h"
#include "page/period_page.h"
#include "report/render.h"
#include "rules/rule_text.h"
#include "study/study_page.h"

namespace ziwei::cli {

namespace {

using Row = OptionRow<CastOptions>;

bool isLunarDate(const BirthNumberField* field) {
  return field->member == &LunarBirth::year || field->member == &LunarBirth::month ||
         field->member == &LunarBirth::day;
}

void noteLunarOption(CastOptions& o, std::string_view option) {
  if (o.lunarOption.empty()) o.lunarOption = option;
}

constexpr std::array<Row, 4> kPersonRows{{
    {"name", 0, Shape::Name, "TEXT",
     "name shown on the chart, UTF-8 without control characters (default: 您的姓名)",
     [](CastOptions& o, const OptionValue& v) { o.request.name = v.text; }},
    {"sex", 0, Shape::Word, "male|female", "sex (default: male)",
     [](CastOptions& o, const OptionValue& v) { o.record.birth.male = v.word == 0; }},
    {"solar", 0, Shape::Text, "YYYY-MM-DD",
     "Gregorian (國曆) birth date, China Standard Time unless --tz or --place: cast the "
     "lunar date it falls on (instead of --year, --month, --leap and --day); the hour stays "
     "on this date, so hour 23 is the 子 hour of this day unless --late-zi next-day",
     [](CastOptions& o, const OptionValue& v) { o.solar = v.text; }},
    {"leap", 0, Shape::Flag, "", "the month is a leap month (default: a normal month)",
     [](CastOptions& o, const OptionValue& v) {
       o.record.birth.leap = true;
       noteLunarOption(o, v.option);
     }},
}};

// The help of each of kBirthNumberFields, in its order.
constexpr std::array<std::string_view, kBirthNumberFields.size()> kBirthHelp = {
    "lunar year",    "lunar month",     "lunar day",
    "hour of birth", "minute of birth", "second of birth"};

constexpr auto kBirthRows = [] {
  std::array<Row, kBirthNumberFields.size()> rows{};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i] = {kBirthNumberFields[i].name,
               0,
               Shape::Number,
               "N",
               kBirthHelp[i],
               [](CastOptions& o, const OptionValue& v) {
                 o.record.birth.*v.field->member = v.number;
                 if (isLunarDate(v.field)) noteLunarOption(o, v.option);
               },
               &kBirthNumberFields[i]};
  }
  return rows;
}();

void noteOutputOption(CastOptions& o, std::string_view option) {
  if (o.outputOption.empty()) o.outputOption = option;
}

constexpr std::array<Row, 5> kBirthTimeRows{{
    {"tz", 0, Shape::Text, "ZONE",
     "time zone of the clock time, an IANA name such as Asia/Taipei or America/New_York: "
     "daylight saving time in force then is removed (default: China Standard Time, UTC+8)",
     [](CastOptions& o, const OptionValue& v) { o.record.zone = readZone(v.option, v.text); }},
    {"dst", 0, Shape::Word, "yes|no",
     "read a clock time the zone repeated or skipped as daylight saving time (yes) or "
     "standard time (no)",
     [](CastOptions& o, const OptionValue& v) { o.record.daylight = v.word == 0; }},
    {"longitude", 0, Shape::Text, "DEG",
     "longitude of the birth, degrees east (west negative), -180 to 180: cast on true solar "
     "time (真太陽時)",
     [](CastOptions& o, const OptionValue& v) {
       o.record.longitude = readLongitude(v.option, v.text);
     }},
    {"place", 0, Shape::Text, "NAME",
     "place of birth from the gazetteer (Taipei, 臺北, \"Suzhou, Jiangsu\"; see ziwei "
     "places): its longitude for true solar time and, without --tz, its time zone",
     [](CastOptions& o, const OptionValue& v) { o.placeName = v.text; }},
    {"explain", 0, Shape::Flag, "",
     "print the steps from the clock time to the lunar date and hour, one a line, instead "
     "of the chart",
     [](CastOptions& o, const OptionValue&) { o.explain = true; }},
}};

constexpr auto kRuleRows = ruleRows<CastOptions, &CastOptions::rules>();

constexpr std::array<Row, 7> kOutputRows{{
    {"format", 0, Shape::Word, "html|json|text|markdown|study",
     "an HTML page, a JSON document, the chart as plain text or Markdown (UTF-8; see "
     "below), or the study page (UTF-8 HTML that shows a palace's relations and flying "
     "transformations when it is selected) (default: html)",
     [](CastOptions& o, const OptionValue& v) {
       o.format = static_cast<OutputFormat>(v.word);
       noteOutputOption(o, v.option);
     }},
    {"lang", 0, Shape::Word, "zh-Hant|zh-Hans|en",
     "language of the names on the page and in the JSON: Traditional Chinese (the "
     "default), Simplified Chinese or English; zh-Hans and en pages are UTF-8",
     [](CastOptions& o, const OptionValue& v) {
       o.language = static_cast<Language>(v.word);
       noteOutputOption(o, v.option);
     }},
    {"encoding", 0, Shape::Word, "big5|utf-8",
     "encoding of the HTML page (default: big5); JSON, text, Markdown and the study page are "
     "always UTF-8",
     [](CastOptions& o, const OptionValue& v) {
       o.encoding = v.word == 0 ? PageEncoding::Big5 : PageEncoding::Utf8;
       o.encodingGiven = true;
       noteOutputOption(o, v.option);
     }},
    {"print-date", 0, Shape::Text, "TEXT",
     "date printed on the page (default: today in the locale's short date format); in text "
     "and Markdown, a date to print (default: none)",
     [](CastOptions& o, const OptionValue& v) {
       o.printDate = v.text;
       noteOutputOption(o, v.option);
     }},
    {"output", 'o', Shape::Path, "FILE",
     "write to FILE, replacing it as a whole (see Output files below); \"-\" is standard "
     "output (default: standard output)",
     [](CastOptions& o, const OptionValue& v) {
       o.output = v.text == "-" ? std::nullopt : std::optional<std::string>(v.text);
       noteOutputOption(o, v.option);
     }},
    {"help", 'h', Shape::Help, "", "show this help and exit"},
    {"version", 0, Shape::Version, "", "show the version and exit"},
}};

constexpr std::array<Row, 4> kTargetRows{{
    {"on", 0, Shape::Text, "YYYY-MM-DD",
     "cast the running periods (運限) at this Gregorian date, China Standard Time, "
     "1900-01-31 to 2100-12-31: the running-period page, or \"periods\" in the JSON",
     [](CastOptions& o, const OptionValue& v) { o.targetTexts.solar = std::string(v.text); }},
    {"on-time", 0, Shape::Text, "HH:MM",
     "the clock time of the target, 00:00 to 23:59, for the hour (流時) (default: no hour)",
     [](CastOptions& o, const OptionValue& v) { o.targetTexts.time = std::string(v.text); }},
    {"on-lunar", 0, Shape::Text, "Y-M-D",
     "the target as a lunar date instead of --on, lunar years 1900 to 2100",
     [](CastOptions& o, const OptionValue& v) { o.targetTexts.lunar = std::string(v.text); }},
    {"on-leap", 0, Shape::Flag, "", "the month of --on-lunar is a leap month",
     [](CastOptions& o, const OptionValue&) { o.targetTexts.leap = true; }},
}};

constexpr auto kRows =
    join(kPersonRows, kBirthRows, kBirthTimeRows, kRuleRows, kTargetRows, kOutputRows);
constexpr OptionTable<CastOptions> kTable{"", kRows};

void finish(CastOptions& options) {
  if (options.format != OutputFormat::Html && options.encodingGiven &&
      options.encoding == PageEncoding::Big5) {
    // What each format other than the page is, by OutputFormat.
    constexpr std::array<std::string_view, 5> kUtf8Only = {
        "", "json (JSON is", "text (text and Markdown are", "markdown (text and Markdown are",
        "study (the study page is"};
    throw Refusal{"--encoding: \"big5\" is not allowed with --format " +
                  std::string(kUtf8Only[static_cast<std::size_t>(options.format)]) +
                  " always UTF-8)"};
  }
  if (options.language != Language::ZhHant && options.format == OutputFormat::Html) {
    if (options.encodingGiven && options.encoding == PageEncoding::Big5) {
      throw Refusal{"--encoding: \"big5\" is not allowed with --lang " +
                    std::string(kLanguageTags[static_cast<std::size_t>(options.language)]) +
                    " (a Big5 page holds zh-Hant names only; zh-Hans and en pages are UTF-8)"};
    }
    options.encoding = PageEncoding::Utf8;
  }
  if (options.explain && !options.outputOption.empty()) {
    throw Refusal{"--explain prints the steps instead of a chart, so " + options.outputOption +
                  " cannot be given with it"};
  }
  try {
    options.target = readTarget(options.targetTexts);
  } catch (const TargetError& error) {
    throw Refusal{(error.field().empty() ? "" : "--") + std::string(error.what())};
  }
  if (options.placeName && options.record.longitude) {
    throw Refusal{
        "--place and --longitude cannot be given together (the place gives the "
        "longitude; give --tz and --longitude for a place not in the gazetteer)"};
  }
  if (options.solar) {
    if (!options.lunarOption.empty()) {
      throw Refusal{"--solar and " + options.lunarOption +
                    " cannot be given together (--solar gives the lunar date)"};
    }
    options.record.solar = readDate("--solar", *options.solar);
  }
  if (options.placeName) options.record.place = &readPlace("--place", *options.placeName);
  settleRules(options.rules);
  options.record.options = options.rules.options;
  const ResolvedBirth resolved = resolveRequest(options.record, kOptionNames);
  options.request.birth = resolved.birth;
  options.request.birthInstant = recordedInstant(resolved.steps);
  options.request.options = options.record.options;
  options.request.solar = options.record.solar;
  if (stepsRecorded(options.record, options.rules.birthTimeGiven) || options.explain) {
    options.steps = resolved.steps;
  }
  if (options.target)
    options.target = targetInZone(*options.target, resolved.steps.zone, "--on-time");
}

}  // namespace

Parsed<CastOptions> parseCastCommand(std::span<const std::string_view> args) {
  return parseOptions(kTable, args, CastOptions{}, finish);
}

std::string castHelpText() {
  return "Usage: ziwei [OPTION]...\n"
         "Casts the Zi Wei Dou Shu (紫微斗數) chart of a lunar birth date (or of the\n"
         "Gregorian date given with --solar) and writes it as an HTML page, as a JSON\n"
         "document, as text or Markdown to read, or as the study page.\n"
         "\n" +
         optionHelp(kTable) +
         "\n"
         "The page is one line of HTML declared as Big5 (or UTF-8 with --encoding utf-8),\n"
         "followed by CR LF; characters of the name that Big5 cannot hold are written\n"
         "as &#N; references. Hours 23 and 0 are both the 子 hour. With --solar the\n"
         "hour belongs to the Gregorian date given: 23:30 on 2001-06-08 is the 子 hour of\n"
         "lunar leap month 4, day 17 (2001-06-08), not of the next day.\n"
         "\n"
         "Birth time: by default the clock time is China Standard Time (UTC+8) and the\n"
         "chart's time as given. --tz reads it in a zone's history and removes daylight\n"
         "saving time; a clock time the zone repeated or skipped is refused unless --dst\n"
         "says which reading it is. --longitude or --place casts on true solar time\n"
         "(the mean solar time of the longitude plus the equation of time), which may\n"
         "move the date; --late-zi next-day moves 23:00-23:59 to the next day. With a\n"
         "lunar date, --tz, --place and --longitude apply to the Gregorian date it falls\n"
         "on. Any of these adds the steps to the JSON \"input\"; --explain prints them.\n"
         "The zone (--tz, or that of --place) also reads the clock time of --on-time.\n"
         "\n"
         "With --on (or --on-lunar) the output is the running periods (運限) at that\n"
         "date: the decade, minor period, year, month, day and, with --on-time, hour,\n"
         "their palaces, transformations and running stars. The target's lunar year\n"
         "must not come before the birth year.\n"
         "\n"
         "--format text and --format markdown write the chart to read (UTF-8, in the\n"
         "--lang names): the frame, then the twelve palaces from 命宮 in the order of\n"
         "the names (命宮, 兄弟宮, 夫妻宮 ... 父母宮), each with its stem-branch, its stars\n"
         "with brightness and birth-year transformation, its cycle entries, 三方四正,\n"
         "the flanking palaces, where its stem's four transformations fly, its 自化,\n"
         "its major period and minor ages; with --on the running periods follow, each\n"
         "level's 命宮, stem-branch, transformations, running stars and palace names.\n"
         "No date is written unless --print-date gives one.\n"
         "\n" +
         std::string(kOutputFilesHelp) +
         "\n"
         "Exit status: 0 done, 1 the output could not be written, 2 bad command line or\n"
         "a birth time that cannot be resolved.\n"
         "\n"
         "Calendar commands (see ziwei COMMAND --help):\n"
         "  ziwei lunar DATE...                  lunar date of each Gregorian date\n"
         "  ziwei solar YEAR MONTH DAY [--leap]  Gregorian date of a lunar date\n"
         "  ziwei places QUERY                   places of the gazetteer for --place\n"
         "  ziwei terms YEAR [--tz ZONE]         the 24 solar terms (節氣) of a year\n"
         "\n"
         "Many charts (see ziwei batch --help):\n"
         "  ziwei batch [FILE]                   charts of CSV records (JSON Lines, pages)\n"
         "  ziwei batch --all                    charts of every lunar birth 1912-2010\n"
         "  ziwei find --where COND...           births whose chart meets conditions\n";
}

std::optional<std::string> missingDateWarning(const LunarBirth& birth) {
  try {
    (void)calendar::to_gregorian(lunarDateOf(birth));
  } catch (const calendar::CalendarError& error) {
    return std::string("warning: ") + error.what() +
           "; the calendar lacks this date, the chart is cast as given";
  }
  return std::nullopt;
}

std::string castOutput(const CastOptions& options) {
  if (options.explain) {
    std::string text;
    for (const std::string& line : explainBirthTime({options.request.birth, *options.steps})) {
      text += line + '\n';
    }
    return text;
  }
  if (options.target) checkTargetAfterBirth(*options.target, options.request.birth.year);
  ChartRequest request = options.request;
  request.target = options.target;
  const Chart chart = cast(request);
  const Vocabulary& words = vocabularyOf(options.language);
  const ChartRecord record{
      options.request.solar,
      stepsRecorded(options.record, options.rules.birthTimeGiven) ? &*options.steps : nullptr};
  if (options.format == OutputFormat::Json) {
    std::string json = chartJson(chart, record, words);
    json += '\n';
    return json;
  }
  if (options.format == OutputFormat::Text || options.format == OutputFormat::Markdown) {
    return chartReportText(
        chart, {options.request.solar, options.printDate}, words,
        options.format == OutputFormat::Text ? ReportFormat::Text : ReportFormat::Markdown);
  }
  if (options.format == OutputFormat::Study) {
    std::string page = studyPage(chart, record, words);
    page += '\n';
    return page;
  }
  const std::string printDate = options.printDate ? *options.printDate : todayShortDate();
  if (chart.periods) return periodPageFile(chart, printDate, options.encoding, words);
  return chartPageFile(chartPageTemplate(words), chart, printDate, options.encoding, words);
}

std::string checkedCastOutput(const CastOptions& options) {
  try {
    return castOutput(options);
  } catch (const TargetError& error) {  // a target before the birth year
    throw Refusal{(options.targetTexts.lunar ? "--on-lunar: " : "--on: ") +
                  std::string(error.what())};
  } catch (const std::invalid_argument& error) {
    throw Refusal{error.what()};
  }
}

std::optional<Shape> castOptionShape(std::string_view name) { return shapeOf(kTable, name); }

int runCast(const CastOptions& options) {
  std::string bytes;
  try {
    bytes = checkedCastOutput(options);
  } catch (const Refusal& refusal) {
    reportError(refusal.message);
    return kExitUsage;
  }
  if (const auto warning = missingDateWarning(options.request.birth)) reportError(*warning);
  try {
    writeOutputFile(
        options.output ? std::optional<std::filesystem::path>(*options.output) : std::nullopt,
        bytes);
  } catch (const OutputError& error) {
    reportError(error.what());
    return kExitIoError;
  }
  return kExitDone;
}

int castCommand(std::span<const std::string_view> args) {
  return runParsed(parseCastCommand(args), castHelpText, runCast);
}

}  // namespace ziwei::cli
