// The command lines of every ziwei command, read by the one option parser.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/batch_command.h"
#include "cli/cast_command.h"
#include "cli/lunar_command.h"
#include "cli/solar_command.h"
#include "cli/tests/ziwei_process.h"

namespace ziwei::cli {
namespace {

using testing::birthText;
using Args = std::vector<std::string_view>;

// The refusal of `args` by the command they start with, or "(accepted)".
std::string refusal(Args args) {
  const auto message = [](const auto& parsed) {
    const auto* error = std::get_if<UsageError>(&parsed);
    return error != nullptr ? error->message : std::string("(accepted)");
  };
  const std::string_view first = args.empty() ? "" : args.front();
  const std::span<const std::string_view> rest = std::span(args).subspan(args.empty() ? 0 : 1);
  if (first == "batch") return message(parseBatchCommand(rest));
  if (first == "lunar") return message(parseLunarCommand(rest));
  if (first == "solar") return message(parseSolarCommand(rest));
  return message(parseCastCommand(args));
}

CastOptions cast(Args args) {
  const auto parsed = parseCastCommand(args);
  if (const auto* error = std::get_if<UsageError>(&parsed)) ADD_FAILURE() << error->message;
  const auto* options = std::get_if<CastOptions>(&parsed);
  return options != nullptr ? *options : CastOptions{};
}

TEST(Options, CastReadsEveryOption) {
  EXPECT_EQ(birthText(cast({}).request), "您的姓名 male 2000-1-1 00:00:00");
  const CastOptions options = cast(
      {"--name",      "王小明",   "--sex", "female",       "--year",    "1912",     "--month=12",
       "--leap",      "--day",    "30",    "--hour",       "23",        "--minute", "59",
       "--second=59", "--format", "json",  "--print-date", "2026/12/6", "-o",       "out.json"});
  EXPECT_EQ(birthText(options.request), "王小明 female 1912-12L-30 23:59:59");
  EXPECT_EQ(options.format, OutputFormat::Json);
  EXPECT_EQ(options.printDate, "2026/12/6");
  EXPECT_EQ(options.output, "out.json");
  EXPECT_EQ(cast({"--encoding", "utf-8"}).encoding, PageEncoding::Utf8);
  EXPECT_EQ(cast({"-ochart.htm"}).output, "chart.htm");
  EXPECT_EQ(cast({"--output=x", "-o", "-"}).output, std::nullopt);
  EXPECT_EQ(cast({"--name", "-x-"}).request.name, "-x-");  // a value may begin with "-"
  EXPECT_EQ(cast({"--year", "2000", "--year", "1999"}).request.birth.year, 1999);
  EXPECT_EQ(birthText(cast({"--hour", "23", "--solar", "2001-06-08", "--minute=30"}).request),
            "您的姓名 male 2001-4L-17 23:30:00 solar=2001-06-08");
  EXPECT_TRUE(std::holds_alternative<ShowHelp>(parseCastCommand(Args{"--year", "1999", "--help"})));
  EXPECT_TRUE(std::holds_alternative<ShowVersion>(parseCastCommand(Args{"--version"})));

  const auto batch = std::get<BatchOptions>(parseBatchCommand(
      Args{"in.csv", "--pages=out", "--encoding", "utf-8", "-j3", "--print-date", "d", "--force"}));
  EXPECT_EQ(batch.input, "in.csv");
  EXPECT_EQ(batch.pagesDir, "out");
  EXPECT_EQ(batch.encoding, PageEncoding::Utf8);
  EXPECT_EQ(batch.jobs, 3u);
  EXPECT_TRUE(batch.force);
  EXPECT_FALSE(std::get<BatchOptions>(parseBatchCommand(Args{"-", "-o", "-"})).input);
  EXPECT_EQ(std::get<LunarOptions>(parseLunarCommand(Args{"2001-06-08", "-", "x"})).dates,
            (std::vector<std::string>{"2001-06-08", "-", "x"}));
  const auto solar = std::get<SolarOptions>(parseSolarCommand(Args{"2001", "4", "--leap", "17"}));
  EXPECT_EQ(solarLine(solar.date), "2001-06-08\n");
}

TEST(Options, RefusalsNameTheOptionTheValueAndWhatIsAllowed) {
  for (const auto& [args, message] : std::vector<std::pair<Args, std::string>>{
           {{"--hour", "-1"}, "--hour: \"-1\" is not allowed (allowed: 0 to 23)"},
           {{"--minute", "99999999999999999999"},
            "--minute: \"99999999999999999999\" is not allowed (allowed: 0 to 59)"},
           {{"--second", "5x"}, "--second: \"5x\" is not a whole number (allowed: 0 to 59)"},
           {{"--day", "+5"}, "--day: \"+5\" is not a whole number (allowed: 1 to 30)"},
           {{"--sex", "Male"}, "--sex: \"Male\" is not allowed (allowed: male, female)"},
           {{"--format", "json", "--encoding", "big5"},
            "--encoding: \"big5\" is not allowed with --format json (JSON is always UTF-8)"},
           {{"--format", "study", "--encoding", "big5"},
            "--encoding: \"big5\" is not allowed with --format study (the study page is always "
            "UTF-8)"},
           {{"--day"}, "--day: a value is missing (allowed: 1 to 30)"},
           {{"--sex"}, "--sex: a value is missing (allowed: male|female)"},
           {{"--leap=yes"}, "--leap: takes no value"},
           {{"-x"}, "unknown option \"-x\" (see ziwei --help)"},
           {{"--\x9B"}, "unknown option \"--\\x9B\" (see ziwei --help)"},
           {{"chart"},
            "unexpected argument \"chart\" (every input is an option; see ziwei --help)"},
           {{"-o", ""}, "--output: \"\" is not allowed (allowed: a file name)"},
           {{"--name", "a\xC0\xAF"}, "--name: the text is not valid UTF-8 (byte 2, character 2)"},
           {{"--solar", "8.6.2001"}, "--solar: \"8.6.2001\" is not a date of the form YYYY-MM-DD"},
           {{"--solar", "2001-06-08", "--leap"},
            "--solar and --leap cannot be given together (--solar gives the lunar date)"},
           {{"--day=1", "--year=2001", "--solar=2001-06-08"},
            "--solar and --day cannot be given together (--solar gives the lunar date)"},
           {{"--solar", "1912-02-17"},
            "--solar: \"1912-02-17\" falls in lunar year 1911 (allowed: 1912-02-18 to "
            "2100-12-31, lunar years 1912 to 2100)"},
           {{"batch", "--all", "in.csv"}, "batch: --all reads no input, but \"in.csv\" was given"},
           {{"batch", "--pages", "d", "-o", "f"},
            "batch: --output and --pages cannot be given together"},
           {{"batch", "--encoding", "utf-8"},
            "batch: --encoding is for --pages (JSON Lines are always UTF-8)"},
           {{"batch", "-j", "0"}, "batch: --jobs: \"0\" is not allowed (allowed: 1 to 256)"},
           {{"batch", "a", "b"}, "batch: unexpected argument \"b\" (one input file at most)"},
           {{"batch", "--year"}, "batch: unknown option \"--year\" (see ziwei batch --help)"},
           {{"lunar"},
            "lunar: a date is missing (give dates as YYYY-MM-DD, or - to read them from "
            "standard input)"},
           {{"lunar", "--leap"}, "lunar: unknown option \"--leap\" (see ziwei lunar --help)"},
           {{"solar", "2023", "3", "1", "--leap"},
            "solar: lunar 2023, leap month 3, day 1: lunar year 2023 has no leap month 3 (its "
            "leap month is 2)"},
           {{"solar", "2001", "4", "30", "--leap"},
            "solar: lunar 2001, leap month 4, day 30: the day is not allowed (allowed: days 1 "
            "to 29 of that month)"},
           {{"solar", "2001", "four", "1"},
            "solar: MONTH: \"four\" is not a whole number (allowed: 1 to 12)"},
           {{"solar", "2100", "12", "2"},
            "solar: lunar 2100, month 12, day 2 falls on 2101-01-01, outside the supported "
            "range 1900-01-31..2100-12-31"},
           {{"solar", "2001", "4"},
            "solar: DAY is missing (give YEAR MONTH DAY [--leap], a lunar date)"},
           {{"solar", "2001", "4", "1", "2"},
            "solar: unexpected argument \"2\" (give YEAR MONTH DAY [--leap])"},
           {{"solar", "2001", "4", "1", "--lep"},
            "solar: unknown option \"--lep\" (see ziwei solar --help)"},
       }) {
    EXPECT_EQ(refusal(args), message);
  }
  // A value is quoted with at most 200 of its bytes.
  const std::string longName(1000, 'x');
  EXPECT_EQ(refusal({"--sex", longName}),
            "--sex: \"" + longName.substr(0, 200) +
                "\"... (1000 bytes) is not allowed (allowed: male, female)");
  const std::string zone(131072, 'x');
  EXPECT_EQ(refusal({"--tz", zone}),
            "--tz: unknown time zone \"" + zone.substr(0, 200) +
                "\"... (131072 bytes); a zone is an IANA name such as Asia/Taipei, "
                "Asia/Shanghai or America/New_York");
  const std::string time(1000, '9');
  EXPECT_EQ(refusal({"--on", "2026-01-01", "--on-time", time}),
            "--on-time: \"" + time.substr(0, 200) +
                "\"... (1000 bytes) is not a clock time (allowed: HH:MM from 00:00 to 23:59)");
  // A number too large for a double is refused, not read as 0.
  const std::string huge = "1" + std::string(400, '0');
  EXPECT_EQ(refusal({"--longitude", huge}),
            "--longitude: \"" + huge.substr(0, 200) +
                "\"... (401 bytes) is not allowed (allowed: -180 to 180, degrees east of "
                "Greenwich, west negative)");
}

TEST(Options, HelpIsMadeFromTheTables) {
  const std::string help = castHelpText();
  for (const char* line :
       {"--name TEXT", "--sex male|female", "lunar year, 1912 to 2100 (default: 2000)",
        "-o, --output FILE", "--version", "--late-zi same-day|next-day", "ziwei batch [FILE]",
        "ziwei places QUERY", "NAME.tmpXXXXXX", "other hard links"}) {
    EXPECT_NE(help.find(line), std::string::npos) << line;
  }
  EXPECT_NE(batchHelpText().find("  -j, --jobs N              worker threads (default: one per "
                                 "core), 1 to 256\n"),
            std::string::npos);
  EXPECT_NE(batchHelpText().find("--force"), std::string::npos);
  EXPECT_NE(solarHelpText().find("      --leap"), std::string::npos);
}

}  // namespace
}  // namespace ziwei::cli
