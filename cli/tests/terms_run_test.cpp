// ziwei terms: a year's solar terms in China Standard Time or a zone's
// clock, and the refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "cli/tests/ziwei_process.h"

namespace {

using namespace ziwei::cli::testing;
using Args = std::vector<std::string>;

using TermsRun = ZiweiProcessTest;

// The line of the term `index` (0 for 小寒) of `out`.
std::string line(const std::string& out, int index) {
  std::size_t from = 0;
  for (int i = 0; i < index; ++i) from = out.find('\n', from) + 1;
  return out.substr(from, out.find('\n', from) - from);
}

TEST_F(TermsRun, ListsTheYearInAZone) {
  // 立春 2026 at 04:02 and the winter solstice of 2000 at 21:37 China
  // Standard Time (13:37 UTC), as the almanacs have them.
  const Result year = run({"terms", "2026"});
  ASSERT_EQ(year.status, 0) << year.err;
  EXPECT_EQ(std::count(year.out.begin(), year.out.end(), '\n'), 24);
  EXPECT_EQ(line(year.out, 0), "小寒\t2026-01-05 16:23:10\t+08:00");
  EXPECT_EQ(line(year.out, 2), "立春\t2026-02-04 04:02:08\t+08:00");
  EXPECT_TRUE(line(run({"terms", "2000"}).out, 23).starts_with("冬至\t2000-12-21 21:37:"));
  // The June solstice of 2026 on New York's daylight saving time, the
  // December one on its standard time; names in English and zh-Hans.
  const Result newYork = run({"terms", "2026", "--tz", "America/New_York", "--lang", "en"});
  EXPECT_EQ(line(newYork.out, 11), "Summer Solstice\t2026-06-21 04:24:30\t-04:00");
  EXPECT_TRUE(line(newYork.out, 23).starts_with("Winter Solstice\t2026-12-21 ")) << newYork.out;
  EXPECT_TRUE(line(newYork.out, 23).ends_with("\t-05:00"));
  EXPECT_TRUE(line(run({"terms", "2026", "--lang", "zh-Hans"}).out, 4).starts_with("惊蛰\t"));
}

TEST_F(TermsRun, RefusesInOneLine) {
  for (const auto& [args, err] : std::vector<std::tuple<Args, std::string>>{
           {{"terms", "1899"},
            "ziwei: terms: YEAR: \"1899\" is not allowed (allowed: 1900 to 2100)\n"},
           {{"terms"}, "ziwei: terms: YEAR is missing (give a Gregorian year, 1900 to 2100)\n"},
           {{"terms", "2000", "2001"},
            "ziwei: terms: unexpected argument \"2001\" (give one YEAR)\n"},
       }) {
    const Result result = run(args);
    EXPECT_EQ(result.status, 2) << args.back();
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, err);
  }
  const Result zone = run({"terms", "2000", "--tz", "Asia/Taipe"});
  EXPECT_EQ(zone.status, 2);
  EXPECT_NE(zone.err.find("unknown time zone \"Asia/Taipe\" (close: Asia/Taipei)"),
            std::string::npos);
}

}  // namespace
