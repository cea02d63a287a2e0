// Runs ziwei batch as a user would: order with several workers, refused
// lines, exit statuses, page files and the JSON Lines file.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "cli/tests/ziwei_process.h"

namespace {

using namespace ziwei::cli::testing;
using Names = std::vector<std::string>;

using Batch = ZiweiProcessTest;

constexpr std::string_view kHeader = "name,sex,year,month,leap,day,hour,minute,second,solar\n";

// The input name of each JSON line.
Names names(const std::string& jsonLines) {
  Names all;
  for (const std::string& line : lines(jsonLines)) {
    const auto document = parseJson(line);
    if (document.HasParseError()) return all;
    all.emplace_back(document["input"]["name"].GetString());
  }
  return all;
}

TEST_F(Batch, KeepsInputOrderWithSeveralWorkers) {
  std::string csv(kHeader);
  std::vector<std::string> expected;
  for (int i = 0; i < 1500; ++i) {
    const std::string name = "n" + std::to_string(i);
    expected.push_back(name);
    csv += name + "," + (i % 2 == 0 ? "male" : "female") + "," + std::to_string(1912 + i % 99) +
           "," + std::to_string(1 + i % 12) + "," + (i % 7 == 0 ? "1" : "0") + "," +
           std::to_string(1 + i % 30) + "," + std::to_string(i % 24) + ",0,0,\r\n";
  }
  const Result result = run({"batch", "--jobs", "4"}, csv);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(names(result.out), expected);
  EXPECT_EQ(result.err.rfind("ziwei: batch: 1500 charts cast, 0 lines refused, ", 0), 0u)
      << result.err;
  EXPECT_NE(result.err.find(" charts per second\n"), std::string::npos);
  // The same bytes as one cast at a time.
  EXPECT_EQ(run({"batch", "--jobs", "1"}, csv).out, result.out);
}

TEST_F(Batch, EachLineIsTheDocumentOfASingleCast) {
  const Result result = run({"batch", "-"}, std::string(kHeader) +
                                                "\"Chan, \"\"Tai\"\" Man\",female,2000,4,1,20,13,"
                                                "7,9,\n"
                                                "陳,male,,,,,23,0,0,2001-06-08\n");
  ASSERT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> got = lines(result.out);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0] + "\n", run({"--format", "json", "--name", "Chan, \"Tai\" Man", "--sex",
                                "female", "--year", "2000", "--month", "4", "--leap", "--day", "20",
                                "--hour", "13", "--minute", "7", "--second", "9"})
                               .out);
  EXPECT_EQ(got[1] + "\n",
            run({"--format", "json", "--name", "陳", "--solar", "2001-06-08", "--hour", "23"}).out);
}

TEST_F(Batch, ReportsRefusedLinesInOrderAndCastsTheOthers) {
  const Result result = run({"batch", "-j", "2"}, std::string(kHeader) +
                                                      "a,male,2000,1,0,1,0,0,0,\n"
                                                      "b,man,2000,1,0,1,0,0,0,\n"
                                                      "\n"
                                                      "c,male,2000,13,0,1,0,0,0,\n"
                                                      "d,\"male\"x,2000,1,0,1,0,0,0,\n"
                                                      "e,female,2000,1,0,1,0,0,0\n"
                                                      "f,female,1999,12,1,30,23,59,59,\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(names(result.out), (Names{"a", "f"}));
  EXPECT_TRUE(result.err.starts_with(
      "ziwei: batch: line 3: sex: \"man\" is not allowed (allowed: male, female)\n"
      "ziwei: batch: line 5: month: \"13\" is not allowed (allowed: 1 to 12)\n"
      "ziwei: batch: line 6: a closing quote is followed by \"x\" instead of a comma or the "
      "end of the line\n"
      "ziwei: batch: line 7: the record has 9 fields, the header 10\n"
      "ziwei: batch: 2 charts cast, 4 lines refused, "))
      << result.err;
  EXPECT_EQ(lines(result.err).size(), 5u) << result.err;
}

TEST_F(Batch, HelpBadHeadersAndUnreadableInput) {
  EXPECT_TRUE(run({"batch", "--help"}).out.starts_with("Usage: ziwei batch [OPTION]... [FILE]\n"));
  for (const auto& [args, input, status, message] :
       std::vector<std::tuple<Names, std::string, int, std::string>>{
           {{"batch"},
            "name,sex,year\nx,male,2000\n",
            2,
            "ziwei: batch: line 1: the header lacks the column \"month\""},
           {{"batch"}, "", 2, "ziwei: batch: the input is empty"},
           {{"batch", "missing.csv"}, "", 1, "ziwei: batch: cannot read missing.csv: No such file"},
       }) {
    const Result result = run(args, input);
    EXPECT_EQ(result.status, status) << message;
    EXPECT_TRUE(result.err.starts_with(message)) << result.err;
    EXPECT_EQ(result.out, "");
  }
}

TEST_F(Batch, WritesOnePageFilePerLine) {
  const std::string csv = std::string(kHeader) +
                          "陳大文,male,1984,1,0,1,0,0,0,\n"
                          "bad,male,1984,1,0,99,0,0,0,\n"
                          "王,female,2000,4,1,20,13,0,0,\n";
  const fs::path pages = dir_ / "pages";
  Result result = run({"batch", "--pages", pages.string(), "--print-date", "2026/12/7"}, csv);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(entries(pages), (Names{"line-000002.htm", "line-000004.htm"}));
  EXPECT_EQ(readFile(pages / "line-000002.htm"),
            run({"--name", "陳大文", "--year", "1984", "--print-date", "2026/12/7"}).out);
  const Names wang = {"--name", "王",     "--sex", "female", "--year", "2000", "--month",
                      "4",      "--leap", "--day", "20",     "--hour", "13",   "--print-date"};
  Names single = wang;
  single.push_back("2026/12/7");
  const Result wangCast = run(single);
  EXPECT_EQ(readFile(pages / "line-000004.htm"), wangCast.out);
  // 2000 has no leap month 4: the page is cast as given, with the warning
  // the single cast gives.
  ASSERT_TRUE(wangCast.err.starts_with("ziwei: warning: ")) << wangCast.err;
  EXPECT_NE(result.err.find("ziwei: batch: line 4: " + wangCast.err.substr(7)), std::string::npos)
      << result.err;
  EXPECT_EQ(result.err.find("line 2:"), std::string::npos);

  run({"batch", "--pages", pages.string(), "--print-date", "d", "--encoding", "utf-8"}, csv);
  single = wang;
  single.insert(single.end(), {"d", "--encoding", "utf-8"});
  EXPECT_EQ(readFile(pages / "line-000004.htm"), run(single).out);
}

// The on column: each target as the single cast's --on options give it, an
// empty field the natal chart, a bad target refused with its line.
TEST_F(Batch, OnColumnCastsTheRunningPeriods) {
  const std::string csv =
      "on,name,sex,year,month,leap,day,hour,minute,second\n"
      "2026-05-14 13:30,a,male,1984,1,0,1,0,0,0\n"
      ",b,male,1984,1,0,1,0,0,0\n"
      "lunar 2023-2-10 leap 08:00,c,male,1984,1,0,1,0,0,0\n"
      "1980-01-01,d,male,1984,1,0,1,0,0,0\n"
      "2026-05-14 leap,e,male,1984,1,0,1,0,0,0\n";
  const Result result = run({"batch"}, csv);
  EXPECT_EQ(result.status, 1);
  const std::vector<std::string> got = lines(result.out);
  ASSERT_EQ(got.size(), 3u);
  const Names cast = {"--year", "1984", "--format", "json", "--name"};
  const auto single = [&](const std::string& name, const Names& target) {
    Names args = cast;
    args.push_back(name);
    args.insert(args.end(), target.begin(), target.end());
    return run(args).out;
  };
  EXPECT_EQ(got[0] + "\n", single("a", {"--on", "2026-05-14", "--on-time", "13:30"}));
  EXPECT_EQ(got[1] + "\n", single("b", {}));
  EXPECT_EQ(got[2] + "\n",
            single("c", {"--on-lunar", "2023-2-10", "--on-leap", "--on-time", "08:00"}));
  EXPECT_TRUE(result.err.starts_with(
      "ziwei: batch: line 5: on: the target 1980-01-01 falls in lunar year 1979, before the "
      "birth year 1984 (allowed: from lunar year 1984 on, its first day 1984-02-02 to "
      "2100-12-31)\n"
      "ziwei: batch: line 6: on: \"2026-05-14 leap\" is not a target (allowed: [lunar] DATE "
      "[leap] [HH:MM], e.g. 2026-05-14 13:30 or lunar 2026-3-28)\n"))
      << result.err;

  const fs::path pages = dir_ / "pages";
  run({"batch", "--pages", pages.string(), "--print-date", "d"}, csv);
  EXPECT_EQ(readFile(pages / "line-000002.htm"),
            run({"--year", "1984", "--name", "a", "--on", "2026-05-14", "--on-time", "13:30",
                 "--print-date", "d"})
                .out);
}

}  // namespace
