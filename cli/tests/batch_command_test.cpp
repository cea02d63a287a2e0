#include "cli/batch_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ziwei::cli {
namespace {

CsvRecord record(std::vector<std::string> fields) { return {7, std::move(fields)}; }

const BatchColumns& standardColumns() {
  static const BatchColumns columns = std::get<BatchColumns>(readBatchHeader(record(
      {"name", "sex", "year", "month", "leap", "day", "hour", "minute", "second", "solar"})));
  return columns;
}

std::string refusal(std::vector<std::string> fields) {
  const auto read = readBatchRecord(record(std::move(fields)), standardColumns());
  return std::holds_alternative<std::string>(read) ? std::get<std::string>(read) : "(read)";
}

TEST(BatchCommand, HeaderNamesTheColumnsInAnyOrder) {
  const auto read = readBatchHeader(
      record({"second", "minute", "hour", "day", "leap", "month", "year", "sex", "name"}));
  ASSERT_TRUE(std::holds_alternative<BatchColumns>(read));
  const auto& columns = std::get<BatchColumns>(read);
  EXPECT_EQ(columns.fields, 9u);
  EXPECT_EQ(columns.position[0], 8u);  // name
  EXPECT_EQ(columns.position[8], 0u);  // second
  EXPECT_FALSE(columns.position[kSolarColumn]);
  const auto birth = std::get<BirthInput>(
      readBatchRecord(record({"5", "4", "13", "20", "1", "4", "2000", "female", "王"}), columns));
  EXPECT_EQ(birth.name, "王");
  EXPECT_FALSE(birth.male);
  EXPECT_EQ(birth.year, 2000);
  EXPECT_EQ(birth.month, 4);
  EXPECT_TRUE(birth.leap);
  EXPECT_EQ(birth.day, 20);
  EXPECT_EQ(birth.hour, 13);
  EXPECT_EQ(birth.minute, 4);
  EXPECT_EQ(birth.second, 5);

  const auto problem = [](std::vector<std::string> fields) {
    const auto header = readBatchHeader(record(std::move(fields)));
    return std::holds_alternative<std::string>(header) ? std::get<std::string>(header) : "";
  };
  EXPECT_NE(problem({"name", "sex", "year", "month", "leap", "day", "hour", "minute"})
                .find("lacks the column \"second\""),
            std::string::npos);
  EXPECT_NE(
      problem({"name", "sex", "year", "month", "leap", "day", "hour", "minute", "second", "Name"})
          .find("unknown column \"Name\""),
      std::string::npos);
  EXPECT_NE(
      problem({"name", "sex", "year", "month", "leap", "day", "hour", "minute", "second", "hour"})
          .find("the column \"hour\" twice"),
      std::string::npos);
}

TEST(BatchCommand, RecordsAreCheckedFieldByField) {
  EXPECT_EQ(refusal({"a", "male", "2000", "1", "0", "1", "0", "0", "0"}),
            "the record has 9 fields, the header 10");
  EXPECT_EQ(refusal({"a", "Male", "2000", "1", "0", "1", "0", "0", "0", ""}),
            "sex: \"Male\" is not allowed (allowed: male, female)");
  EXPECT_EQ(refusal({"a", "male", "1911", "1", "0", "1", "0", "0", "0", ""}),
            "year: \"1911\" is not allowed (allowed: 1912 to 2100)");
  EXPECT_EQ(refusal({"a", "male", "2000", "1", "0", "31", "0", "0", "0", ""}),
            "day: \"31\" is not allowed (allowed: 1 to 30)");
  EXPECT_EQ(refusal({"a", "male", "2000", "1", "0", "1", " 5", "0", "0", ""}),
            "hour: \" 5\" is not a whole number (allowed: 0 to 23)");
  EXPECT_EQ(refusal({"a", "male", "2000", "1", "0", "1", "0", "", "0", ""}),
            "minute: \"\" is not a whole number (allowed: 0 to 59)");
  EXPECT_EQ(refusal({"a", "male", "2000", "1", "yes", "1", "0", "0", "0", ""}),
            "leap: \"yes\" is not allowed (allowed: 0, 1)");
  EXPECT_EQ(refusal({"\xFF", "male", "2000", "1", "0", "1", "0", "0", "0", ""}),
            "name: the text is not valid UTF-8");
  // Values are shown on one line.
  EXPECT_EQ(refusal({"a", "male\nx", "2000", "1", "0", "1", "0", "0", "0", ""}),
            "sex: \"male\\x0Ax\" is not allowed (allowed: male, female)");
}

TEST(BatchCommand, SolarDatesReplaceTheLunarDate) {
  const auto read = readBatchRecord(
      record({"陳", "female", "", "", "", "", "23", "5", "6", "2001-06-08"}), standardColumns());
  ASSERT_TRUE(std::holds_alternative<BirthInput>(read)) << std::get<std::string>(read);
  const auto& birth = std::get<BirthInput>(read);
  EXPECT_EQ(birth.year, 2001);
  EXPECT_EQ(birth.month, 4);
  EXPECT_TRUE(birth.leap);
  EXPECT_EQ(birth.day, 17);
  EXPECT_EQ(birth.hour, 23);  // the clock time stays on the civil date
  EXPECT_EQ(birth.solar, "2001-06-08");

  EXPECT_EQ(refusal({"a", "male", "2001", "", "", "", "0", "0", "0", "2001-06-08"}),
            "solar: a solar date is given, so year must be empty (it is \"2001\")");
  EXPECT_EQ(refusal({"a", "male", "", "", "0", "", "0", "0", "0", "2001-06-08"}),
            "solar: a solar date is given, so leap must be empty (it is \"0\")");
  EXPECT_EQ(refusal({"a", "male", "", "", "", "", "0", "0", "0", "1912-02-17"})
                .rfind("solar: \"1912-02-17\" falls in lunar year 1911", 0),
            0u);
  EXPECT_EQ(refusal({"a", "male", "", "", "", "", "0", "0", "0", "2001-02-30"})
                .rfind("solar: \"2001-02-30\" ", 0),
            0u);
  // Without a solar date the lunar date is needed.
  EXPECT_EQ(refusal({"a", "male", "", "1", "0", "1", "0", "0", "0", ""}),
            "year: \"\" is not a whole number (allowed: 1912 to 2100)");
}

TEST(BatchCommand, AllEnumeratesTheLunarInputSpace) {
  const BirthInput first = allBirth(0);
  EXPECT_EQ(first.year, 1912);
  EXPECT_EQ(first.month, 1);
  EXPECT_FALSE(first.leap);
  EXPECT_EQ(first.day, 1);
  EXPECT_EQ(first.hour, 0);
  EXPECT_TRUE(first.male);
  EXPECT_FALSE(allBirth(1).male);
  EXPECT_EQ(allBirth(2).hour, 1);
  const BirthInput last = allBirth(kAllBirths - 1);
  EXPECT_EQ(last.year, 2010);
  EXPECT_EQ(last.month, 12);
  EXPECT_TRUE(last.leap);
  EXPECT_EQ(last.day, 30);
  EXPECT_EQ(last.hour, 23);
  EXPECT_FALSE(last.male);
  EXPECT_EQ(last.minute, 0);
  EXPECT_EQ(last.second, 0);
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

  const auto error = [&](std::vector<std::string_view> args) {
    const auto command = parse(std::move(args));
    return std::holds_alternative<UsageError>(command) ? std::get<UsageError>(command).message : "";
  };
  EXPECT_EQ(error({"--all", "in.csv"}), "batch: --all reads no input, but \"in.csv\" was given");
  EXPECT_EQ(error({"--pages", "d", "-o", "f"}),
            "batch: --output and --pages cannot be given together");
  EXPECT_EQ(error({"--encoding", "utf-8"}),
            "batch: --encoding is for --pages (JSON Lines are always UTF-8)");
  EXPECT_EQ(error({"--jobs", "0"}), "batch: --jobs: \"0\" is not allowed (allowed: 1 to 256)");
  EXPECT_EQ(error({"a", "b"}), "batch: unexpected argument \"b\" (one input file at most)");
  EXPECT_EQ(error({"--year", "2000"}), "batch: unknown option \"--year\" (see ziwei batch --help)");
  EXPECT_EQ(error({"-o"}), "batch: -o: a value is missing");
}

}  // namespace
}  // namespace ziwei::cli
