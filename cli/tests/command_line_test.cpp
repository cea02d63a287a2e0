#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ziwei::cli {
namespace {

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
  EXPECT_EQ(options.birth.name, "您的姓名");
  EXPECT_TRUE(options.birth.male);
  EXPECT_EQ(options.birth.year, 2000);
  EXPECT_EQ(options.birth.month, 1);
  EXPECT_FALSE(options.birth.leap);
  EXPECT_EQ(options.birth.day, 1);
  EXPECT_EQ(options.birth.hour, 0);
  EXPECT_EQ(options.birth.minute, 0);
  EXPECT_EQ(options.birth.second, 0);
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
  EXPECT_EQ(options.birth.name, "王小明");
  EXPECT_FALSE(options.birth.male);
  EXPECT_EQ(options.birth.year, 1912);
  EXPECT_EQ(options.birth.month, 12);
  EXPECT_TRUE(options.birth.leap);
  EXPECT_EQ(options.birth.day, 30);
  EXPECT_EQ(options.birth.hour, 23);
  EXPECT_EQ(options.birth.minute, 59);
  EXPECT_EQ(options.birth.second, 59);
  EXPECT_EQ(options.format, OutputFormat::Json);
  EXPECT_EQ(options.printDate, "2026/12/6");
  EXPECT_EQ(options.output, "out.json");
  EXPECT_EQ(cast({"--encoding", "utf-8"}).encoding, PageEncoding::Utf8);
  EXPECT_EQ(cast({"-ochart.htm"}).output, "chart.htm");
  EXPECT_EQ(cast({"--output=x", "-o", "-"}).output, std::nullopt);
  // A value may begin with "-", and a name may be empty.
  EXPECT_EQ(cast({"--name", "-x-"}).birth.name, "-x-");
  EXPECT_EQ(cast({"--name="}).birth.name, "");
  EXPECT_EQ(cast({"--year", "2000", "--year", "1999"}).birth.year, 1999);
}

TEST(CommandLine, HelpAndVersion) {
  EXPECT_TRUE(std::holds_alternative<ShowHelp>(parse({"--year", "1999", "--help"})));
  EXPECT_TRUE(std::holds_alternative<ShowHelp>(parse({"-h"})));
  EXPECT_TRUE(std::holds_alternative<ShowVersion>(parse({"--version"})));
  const std::string help = helpText();
  for (const char* line :
       {"--name TEXT", "--sex male|female", "lunar year, 1912 to 2100 (default: 2000)",
        "1 to 12 (default: 1)", "--leap", "1 to 30 (default: 1)", "0 to 23 (default: 0)",
        "0 to 59 (default: 0)", "--format html|json", "--encoding big5|utf-8", "--print-date TEXT",
        "-o, --output FILE", "--version"}) {
    EXPECT_NE(help.find(line), std::string::npos) << line;
  }
}

TEST(CommandLine, RefusalsNameTheOptionTheValueAndWhatIsAllowed) {
  EXPECT_EQ(refusal({"--year", "1911"}), "--year: \"1911\" is not allowed (allowed: 1912 to 2100)");
  EXPECT_EQ(refusal({"--year", "2101"}), "--year: \"2101\" is not allowed (allowed: 1912 to 2100)");
  EXPECT_EQ(refusal({"--month", "0"}), "--month: \"0\" is not allowed (allowed: 1 to 12)");
  EXPECT_EQ(refusal({"--day", "31"}), "--day: \"31\" is not allowed (allowed: 1 to 30)");
  EXPECT_EQ(refusal({"--hour", "-1"}), "--hour: \"-1\" is not allowed (allowed: 0 to 23)");
  EXPECT_EQ(refusal({"--minute", "99999999999999999999"}),
            "--minute: \"99999999999999999999\" is not allowed (allowed: 0 to 59)");
  EXPECT_EQ(refusal({"--second", "5x"}),
            "--second: \"5x\" is not a whole number (allowed: 0 to 59)");
  for (std::string_view notNumber : {"", " 5", "+5", "0x5", "5.0", "五"}) {
    EXPECT_NE(refusal({"--day", notNumber}).find("is not a whole number"), std::string::npos)
        << notNumber;
  }
  EXPECT_EQ(refusal({"--sex", "Male"}), "--sex: \"Male\" is not allowed (allowed: male, female)");
  EXPECT_EQ(refusal({"--format", "xml"}), "--format: \"xml\" is not allowed (allowed: html, json)");
  EXPECT_EQ(refusal({"--encoding", "big-5"}),
            "--encoding: \"big-5\" is not allowed (allowed: big5, utf-8)");
  EXPECT_EQ(refusal({"--format", "json", "--encoding", "big5"}),
            "--encoding: \"big5\" is not allowed with --format json (JSON is always UTF-8)");
  EXPECT_EQ(refusal({"--day"}), "--day: a value is missing (allowed: 1 to 30)");
  EXPECT_EQ(refusal({"--sex"}), "--sex: a value is missing (allowed: male|female)");
  EXPECT_EQ(refusal({"--leap=yes"}), "--leap: takes no value");
  EXPECT_EQ(refusal({"--colour"}), "unknown option \"--colour\" (see ziwei --help)");
  EXPECT_EQ(refusal({"-x"}), "unknown option \"-x\" (see ziwei --help)");
  EXPECT_EQ(refusal({"chart"}),
            "unexpected argument \"chart\" (every input is an option; see ziwei --help)");
  EXPECT_EQ(refusal({"--name", "\xE7\x8E"}), "--name: the text is not valid UTF-8");
  EXPECT_EQ(refusal({"--print-date", "\xFF"}), "--print-date: the text is not valid UTF-8");
  EXPECT_EQ(refusal({"-o", ""}), "--output: \"\" is not allowed (allowed: a file name)");
}

TEST(CommandLine, SolarGivesTheLunarDate) {
  const CastOptions options = cast({"--hour", "23", "--solar", "2001-06-08", "--minute=30"});
  EXPECT_EQ(options.birth.year, 2001);
  EXPECT_EQ(options.birth.month, 4);
  EXPECT_TRUE(options.birth.leap);
  EXPECT_EQ(options.birth.day, 17);
  EXPECT_EQ(options.birth.hour, 23);
  EXPECT_EQ(options.birth.minute, 30);
  EXPECT_EQ(options.birth.solar, "2001-06-08");
  EXPECT_FALSE(cast({"--year", "2001"}).birth.solar);
  EXPECT_EQ(cast({"--solar", "2100-12-31"}).birth.year, 2100);
  EXPECT_TRUE(std::holds_alternative<ShowHelp>(parse({"--solar", "x", "--help"})));
}

TEST(CommandLine, SolarExcludesTheLunarDateOptions) {
  for (const std::string_view lunar : {"--year=2001", "--month=4", "--leap", "--day=17"}) {
    const std::string name(lunar.substr(0, lunar.find('=')));
    const std::string message =
        "--solar and " + name + " cannot be given together (--solar gives the lunar date)";
    EXPECT_EQ(refusal({"--solar", "2001-06-08", lunar}), message);
    EXPECT_EQ(refusal({lunar, "--solar=2001-06-08"}), message);
  }
  EXPECT_EQ(refusal({"--day", "1", "--year", "2001", "--solar", "2001-06-08"}),
            "--solar and --day cannot be given together (--solar gives the lunar date)");
}

TEST(CommandLine, SolarRefusesDatesOutsideTheLunarYears) {
  EXPECT_EQ(refusal({"--solar", "1912-02-17"}),
            "--solar: \"1912-02-17\" falls in lunar year 1911 (allowed: 1912-02-18 to 2100-12-31, "
            "lunar years 1912 to 2100)");
  EXPECT_EQ(refusal({"--solar", "2101-01-01"}),
            "--solar: \"2101-01-01\" is not allowed (allowed: 1912-02-18 to 2100-12-31, lunar "
            "years 1912 to 2100)");
  EXPECT_EQ(refusal({"--solar", "2001-02-29"}), "--solar: \"2001-02-29\" is not an existing date");
  EXPECT_EQ(refusal({"--solar", "8.6.2001"}),
            "--solar: \"8.6.2001\" is not a date of the form YYYY-MM-DD");
  EXPECT_EQ(refusal({"--solar"}), "--solar: a value is missing (allowed: YYYY-MM-DD)");
}

}  // namespace
}  // namespace ziwei::cli
