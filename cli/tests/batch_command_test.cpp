#include "cli/batch_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/tests/ziwei_process.h"

namespace ziwei::cli {
namespace {

using testing::birthText;
using Fields = std::vector<std::string>;

CsvRecord record(Fields fields) { return {7, std::move(fields)}; }

const BatchColumns& standardColumns() {
  static const BatchColumns columns = std::get<BatchColumns>(readBatchHeader(record(
      {"name", "sex", "year", "month", "leap", "day", "hour", "minute", "second", "solar"})));
  return columns;
}

// The birth data read from `fields` as birthText, or the refusal.
std::string read(Fields fields, const BatchColumns& columns = standardColumns()) {
  const auto read = readBatchRecord(record(std::move(fields)), columns);
  return std::holds_alternative<std::string>(read) ? "!" + std::get<std::string>(read)
                                                   : birthText(std::get<BirthRequest>(read));
}

TEST(BatchCommand, HeaderNamesTheColumnsInAnyOrder) {
  const auto header = readBatchHeader(
      record({"second", "minute", "hour", "day", "leap", "month", "year", "sex", "name"}));
  ASSERT_TRUE(std::holds_alternative<BatchColumns>(header));
  const auto& columns = std::get<BatchColumns>(header);
  EXPECT_EQ(columns.fields, 9u);
  EXPECT_FALSE(columns.position[kSolarColumn]);
  EXPECT_EQ(read({"5", "4", "13", "20", "1", "4", "2000", "female", "王"}, columns),
            "王 female 2000-4L-20 13:04:05");

  const Fields nine = {"name", "sex", "year", "month", "leap", "day", "hour", "minute", "second"};
  for (const auto& [extra, problem] :
       std::vector<std::pair<std::string, std::string>>{{"", "lacks the column \"second\""},
                                                        {"Name", "unknown column \"Name\""},
                                                        {"hour", "the column \"hour\" twice"}}) {
    Fields fields = nine;
    if (extra.empty())
      fields.pop_back();
    else
      fields.push_back(extra);
    const auto refused = readBatchHeader(record(fields));
    ASSERT_TRUE(std::holds_alternative<std::string>(refused)) << problem;
    EXPECT_NE(std::get<std::string>(refused).find(problem), std::string::npos);
  }
}

TEST(BatchCommand, RecordsAreCheckedFieldByField) {
  for (const auto& [fields, expected] : std::vector<std::pair<Fields, std::string>>{
           {{"a", "male", "2000", "1", "0", "1", "0", "0", "0"},
            "!the record has 9 fields, the header 10"},
           {{"a", "Male", "2000", "1", "0", "1", "0", "0", "0", ""},
            "!sex: \"Male\" is not allowed (allowed: male, female)"},
           {{"a", "male", "1911", "1", "0", "1", "0", "0", "0", ""},
            "!year: \"1911\" is not allowed (allowed: 1912 to 2100)"},
           {{"a", "male", "2000", "1", "0", "31", "0", "0", "0", ""},
            "!day: \"31\" is not allowed (allowed: 1 to 30)"},
           {{"a", "male", "2000", "1", "0", "1", " 5", "0", "0", ""},
            "!hour: \" 5\" is not a whole number (allowed: 0 to 23)"},
           {{"a", "male", "2000", "1", "0", "1", "0", "", "0", ""},
            "!minute: \"\" is not a whole number (allowed: 0 to 59)"},
           {{"a", "male", "2000", "1", "yes", "1", "0", "0", "0", ""},
            "!leap: \"yes\" is not allowed (allowed: 0, 1)"},
           {{"\xFF", "male", "2000", "1", "0", "1", "0", "0", "0", ""},
            "!name: the text is not valid UTF-8"},
           // Values are shown on one line.
           {{"a", "male\nx", "2000", "1", "0", "1", "0", "0", "0", ""},
            "!sex: \"male\\x0Ax\" is not allowed (allowed: male, female)"},
           // A solar date replaces the lunar date; the clock time stays on
           // the civil date.
           {{"陳", "female", "", "", "", "", "23", "5", "6", "2001-06-08"},
            "陳 female 2001-4L-17 23:05:06 solar=2001-06-08"},
           {{"a", "male", "2001", "", "", "", "0", "0", "0", "2001-06-08"},
            "!solar: a solar date is given, so year must be empty (it is \"2001\")"},
           {{"a", "male", "", "", "0", "", "0", "0", "0", "2001-06-08"},
            "!solar: a solar date is given, so leap must be empty (it is \"0\")"},
           // Without a solar date the lunar date is needed.
           {{"a", "male", "", "1", "0", "1", "0", "0", "0", ""},
            "!year: \"\" is not a whole number (allowed: 1912 to 2100)"},
       }) {
    EXPECT_EQ(read(fields), expected);
  }
  EXPECT_TRUE(read({"a", "male", "", "", "", "", "0", "0", "0", "1912-02-17"})
                  .starts_with("!solar: \"1912-02-17\" falls in lunar year 1911"));
  EXPECT_TRUE(read({"a", "male", "", "", "", "", "0", "0", "0", "2001-02-30"})
                  .starts_with("!solar: \"2001-02-30\" "));
}

TEST(BatchCommand, AllEnumeratesTheLunarInputSpace) {
  EXPECT_EQ(birthText(allBirth(0)), "您的姓名 male 1912-1-1 00:00:00");
  EXPECT_FALSE(allBirth(1).birth.male);
  EXPECT_EQ(allBirth(2).birth.hour, 1);
  EXPECT_EQ(birthText(allBirth(kAllBirths - 1)), "您的姓名 female 2010-12L-30 23:00:00");
  EXPECT_EQ(kAllBirths, 3421440u);
}

TEST(BatchCommand, ParsesItsOptions) {
  const auto parse = [](std::vector<std::string_view> args) { return parseBatchCommand(args); };
  const auto options = std::get<BatchOptions>(
      parse({"in.csv", "--pages=out", "--encoding", "utf-8", "-j", "3", "--print-date", "d"}));
  EXPECT_EQ(options.input, "in.csv");
  EXPECT_EQ(options.pagesDir, "out");
  EXPECT_EQ(options.encoding, PageEncoding::Utf8);
  EXPECT_EQ(options.jobs, 3u);
  EXPECT_EQ(options.printDate, "d");
  EXPECT_FALSE(std::get<BatchOptions>(parse({"-", "-o", "-"})).input);
  EXPECT_TRUE(std::get<BatchOptions>(parse({"--all", "-ox.jsonl"})).all);
  EXPECT_EQ(std::get<BatchOptions>(parse({"-j2", "-ox.jsonl"})).jobs, 2u);
  EXPECT_EQ(std::get<BatchOptions>(parse({"-j2", "-ox.jsonl"})).output, "x.jsonl");
  EXPECT_TRUE(std::holds_alternative<ShowHelp>(parse({"--all", "--help"})));

  for (const auto& [args, message] :
       std::vector<std::pair<std::vector<std::string_view>, std::string>>{
           {{"--all", "in.csv"}, "--all reads no input, but \"in.csv\" was given"},
           {{"--pages", "d", "-o", "f"}, "--output and --pages cannot be given together"},
           {{"--encoding", "utf-8"}, "--encoding is for --pages (JSON Lines are always UTF-8)"},
           {{"--jobs", "0"}, "--jobs: \"0\" is not allowed (allowed: 1 to 256)"},
           {{"a", "b"}, "unexpected argument \"b\" (one input file at most)"},
           {{"--year", "2000"}, "unknown option \"--year\" (see ziwei batch --help)"},
           {{"-o"}, "-o: a value is missing"},
       }) {
    const auto command = parse(args);
    ASSERT_TRUE(std::holds_alternative<UsageError>(command)) << message;
    EXPECT_EQ(std::get<UsageError>(command).message, "batch: " + message);
  }
}

}  // namespace
}  // namespace ziwei::cli
