#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/tests/ziwei_process.h"

namespace ziwei::cli {
namespace {

using testing::birthText;

Command parse(std::vector<std::string_view> args) { return parseCommandLine(args); }

CastOptions cast(std::vector<std::string_view> args) {
  Command command = parse(std::move(args));
  if (const auto* error = std::get_if<UsageError>(&command)) ADD_FAILURE() << error->message;
  const auto* options = std::get_if<CastOptions>(&command);
  return options != nullptr ? *options : CastOptions{};
}

std::string refusal(std::vector<std::string_view> args) {
  const Command command = parse(std::move(args));
  const auto* error = std::get_if<UsageError>(&command);
  return error != nullptr ? error->message : "(accepted)";
}

TEST(CommandLine, DefaultsAreTheStartUpSelection) {
  const CastOptions options = cast({});
  EXPECT_EQ(birthText(options.request), "您的姓名 male 2000-1-1 00:00:00");
  EXPECT_EQ(options.format, OutputFormat::Html);
  EXPECT_EQ(options.encoding, PageEncoding::Big5);
  EXPECT_FALSE(options.printDate);
  EXPECT_FALSE(options.output);
}

TEST(CommandLine, ReadsEveryOption) {
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
  // A value may begin with "-", and a name may be empty.
  EXPECT_EQ(cast({"--name", "-x-"}).request.name, "-x-");
  EXPECT_EQ(cast({"--name="}).request.name, "");
  EXPECT_EQ(cast({"--year", "2000", "--year", "1999"}).request.birth.year, 1999);
}

TEST(CommandLine, HelpAndVersion) {
  EXPECT_TRUE(std::holds_alternative<ShowHelp>(parse({"--year", "1999", "--help"})));
  EXPECT_TRUE(std::holds_alternative<ShowHelp>(parse({"-h"})));
  EXPECT_TRUE(std::holds_alternative<ShowHelp>(parse({"--solar", "x", "--help"})));
  EXPECT_TRUE(std::holds_alternative<ShowVersion>(parse({"--version"})));
  const std::string help = helpText();
  for (const char* line :
       {"--name TEXT", "--sex male|female", "lunar year, 1912 to 2100 (default: 2000)",
        "1 to 12 (default: 1)", "--leap", "1 to 30 (default: 1)", "0 to 23 (default: 0)",
        "0 to 59 (default: 0)", "--format html|json", "--encoding big5|utf-8", "--print-date TEXT",
        "-o, --output FILE", "--version", "--solar YYYY-MM-DD",
        "hour 23 is the 子 hour of this day", "ziwei lunar DATE...",
        "ziwei solar YEAR MONTH DAY [--leap]", "ziwei batch [FILE]"}) {
    EXPECT_NE(help.find(line), std::string::npos) << line;
  }
}

TEST(CommandLine, RefusalsNameTheOptionTheValueAndWhatIsAllowed) {
  for (const auto& [args, message] :
       std::vector<std::pair<std::vector<std::string_view>, std::string>>{
           {{"--year", "1911"}, "--year: \"1911\" is not allowed (allowed: 1912 to 2100)"},
           {{"--year", "2101"}, "--year: \"2101\" is not allowed (allowed: 1912 to 2100)"},
           {{"--month", "0"}, "--month: \"0\" is not allowed (allowed: 1 to 12)"},
           {{"--day", "31"}, "--day: \"31\" is not allowed (allowed: 1 to 30)"},
           {{"--hour", "-1"}, "--hour: \"-1\" is not allowed (allowed: 0 to 23)"},
           {{"--minute", "99999999999999999999"},
            "--minute: \"99999999999999999999\" is not allowed (allowed: 0 to 59)"},
           {{"--second", "5x"}, "--second: \"5x\" is not a whole number (allowed: 0 to 59)"},
           {{"--sex", "Male"}, "--sex: \"Male\" is not allowed (allowed: male, female)"},
           {{"--format", "xml"}, "--format: \"xml\" is not allowed (allowed: html, json)"},
           {{"--encoding", "big-5"}, "--encoding: \"big-5\" is not allowed (allowed: big5, utf-8)"},
           {{"--format", "json", "--encoding", "big5"},
            "--encoding: \"big5\" is not allowed with --format json (JSON is always UTF-8)"},
           {{"--day"}, "--day: a value is missing (allowed: 1 to 30)"},
           {{"--sex"}, "--sex: a value is missing (allowed: male|female)"},
           {{"--leap=yes"}, "--leap: takes no value"},
           {{"--colour"}, "unknown option \"--colour\" (see ziwei --help)"},
           {{"-x"}, "unknown option \"-x\" (see ziwei --help)"},
           {{"chart"},
            "unexpected argument \"chart\" (every input is an option; see ziwei --help)"},
           {{"-o", ""}, "--output: \"\" is not allowed (allowed: a file name)"},
           {{"--solar", "8.6.2001"}, "--solar: \"8.6.2001\" is not a date of the form YYYY-MM-DD"},
           {{"--solar"}, "--solar: a value is missing (allowed: YYYY-MM-DD)"},
       }) {
    EXPECT_EQ(refusal(args), message);
  }
  for (std::string_view notNumber : {"", " 5", "+5", "0x5", "5.0", "五"}) {
    EXPECT_NE(refusal({"--day", notNumber}).find("is not a whole number"), std::string::npos)
        << notNumber;
  }
}

TEST(CommandLine, SolarGivesTheLunarDateAndExcludesTheLunarDateOptions) {
  EXPECT_EQ(birthText(cast({"--hour", "23", "--solar", "2001-06-08", "--minute=30"}).request),
            "您的姓名 male 2001-4L-17 23:30:00 solar=2001-06-08");
  EXPECT_FALSE(cast({"--year", "2001"}).request.solar);
  EXPECT_EQ(cast({"--solar", "2100-12-31"}).request.birth.year, 2100);

  for (const std::string_view lunar : {"--year=2001", "--month=4", "--leap", "--day=17"}) {
    const std::string message = "--solar and " + std::string(lunar.substr(0, lunar.find('='))) +
                                " cannot be given together (--solar gives the lunar date)";
    EXPECT_EQ(refusal({"--solar", "2001-06-08", lunar}), message);
    EXPECT_EQ(refusal({lunar, "--solar=2001-06-08"}), message);
  }
  EXPECT_EQ(refusal({"--day", "1", "--year", "2001", "--solar", "2001-06-08"}),
            "--solar and --day cannot be given together (--solar gives the lunar date)");
}

}  // namespace
}  // namespace ziwei::cli
