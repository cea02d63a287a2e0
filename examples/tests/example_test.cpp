// The C example (CHART_EXAMPLE) against the command line (ZIWEI_EXECUTABLE):
// the same bytes for the same options, the same messages for the same
// faults.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/process/run_program.h"

namespace {

namespace fs = std::filesystem;

using Result = ziwei::testing::ProgramRun;

Result run(std::vector<std::string> args) { return ziwei::testing::runProgram(std::move(args)); }

Result example(std::vector<std::string> args) {
  args.insert(args.begin(), CHART_EXAMPLE);
  return run(std::move(args));
}

Result command(std::vector<std::string> args) {
  args.insert(args.begin(), ZIWEI_EXECUTABLE);
  return run(std::move(args));
}

// A cast given to the example as a query and as pairs, and to ziwei as
// options.
struct Cast {
  std::string query;
  std::vector<std::string> pairs;
  std::vector<std::string> options;
};

const Cast kCasts[] = {
    {"year=1984&month=4&day=20&hour=13&sex=female&on=2026-12-07&lang=zh-Hant",
     {"year=1984", "month=4", "day=20", "hour=13", "sex=female", "on=2026-12-07", "lang=zh-Hant"},
     {"--year=1984", "--month=4", "--day=20", "--hour=13", "--sex=female", "--on=2026-12-07",
      "--lang=zh-Hant"}},
    {"solar=1979-07-01&hour=10&minute=30&tz=Asia%2FTaipei&lang=en"
     "&transformation=%E6%88%8A%3D%E8%B2%AA%E7%8B%BC%2C%E5%A4%AA%E9%99%B0%2C%E5%A4%AA%E9%99"
     "%BD%2C%E5%A4%A9%E6%A9%9F",
     {"solar=1979-07-01", "hour=10", "minute=30", "tz=Asia/Taipei", "lang=en",
      "transformation=戊=貪狼,太陰,太陽,天機"},
     {"--solar=1979-07-01", "--hour=10", "--minute=30", "--tz=Asia/Taipei", "--lang=en",
      "--transformation=戊=貪狼,太陰,太陽,天機"}},
    {"solar=2001-06-08&hour=23&minute=30&place=Taipei&late-zi=next-day&lang=zh-Hans",
     {"solar=2001-06-08", "hour=23", "minute=30", "place=Taipei", "late-zi=next-day",
      "lang=zh-Hans"},
     {"--solar=2001-06-08", "--hour=23", "--minute=30", "--place=Taipei", "--late-zi=next-day",
      "--lang=zh-Hans"}},
    {"name=%E7%8E%8B%E5%B0%8F%E6%98%8E&year=2001&month=4&leap=1&day=17&hour=5&year-boundary=spring"
     "&age=birthday&on-lunar=2030-1-15&on-time=12%3A30",
     {"name=王小明", "year=2001", "month=4", "leap", "day=17", "hour=5", "year-boundary=spring",
      "age=birthday", "on-lunar=2030-1-15", "on-time=12:30"},
     {"--name=王小明", "--year=2001", "--month=4", "--leap", "--day=17", "--hour=5",
      "--year-boundary=spring", "--age=birthday", "--on-lunar=2030-1-15", "--on-time=12:30"}},
    {"year=1990&month=11&day=3&hour=7&sex=female&format=text&lang=en&print-date=2026%2F12%2F08",
     {"year=1990", "month=11", "day=3", "hour=7", "sex=female", "format=text", "lang=en",
      "print-date=2026/12/08"},
     {"--year=1990", "--month=11", "--day=3", "--hour=7", "--sex=female", "--format=text",
      "--lang=en", "--print-date=2026/12/08"}},
};

TEST(ChartExample, WritesTheCommandsBytesForTheSameOptions) {
  for (const Cast& cast : kCasts) {
    std::vector<std::string> options = cast.options;
    if (cast.query.find("format=") == std::string::npos) options.push_back("--format=json");
    const Result expected = command(options);
    ASSERT_EQ(expected.status, 0) << cast.query << expected.err;
    const Result byQuery = example({"chart", cast.query});
    EXPECT_EQ(byQuery.status, 0) << cast.query << byQuery.err;
    EXPECT_EQ(byQuery.out, expected.out) << cast.query;
    std::vector<std::string> pairs = {"--pairs", "chart"};
    pairs.insert(pairs.end(), cast.pairs.begin(), cast.pairs.end());
    EXPECT_EQ(example(pairs).out, expected.out) << cast.query;
  }
}

TEST(ChartExample, RefusesAsTheCommandDoes) {
  const std::vector<std::vector<std::string>> faults = {
      {"month=13"},
      {"place=Suzhou"},
      {"solar=2001-02-30"},
      {"year=1984", "tz=Mars/Olympus"},
      {"on=2026-12-07", "on-lunar=2026-1-1"},
  };
  for (const std::vector<std::string>& fault : faults) {
    std::vector<std::string> options, pairs = {"--pairs", "chart"};
    for (const std::string& pair : fault) {
      options.push_back("--" + pair);
      pairs.push_back(pair);
    }
    options.push_back("--format=json");
    const Result expected = command(options);
    ASSERT_EQ(expected.status, 2) << fault[0];
    const Result got = example(pairs);
    EXPECT_EQ(got.status, 2) << fault[0];
    EXPECT_EQ(got.err, expected.err) << fault[0];
    EXPECT_EQ(got.out, "");
  }
}

}  // namespace
