// ziwei --format text|markdown as a user runs it: the library's rendering of
// the chart asked for, in every language, UTF-8 only.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/tests/ziwei_process.h"

namespace {

using namespace ziwei::cli::testing;

using ZiweiReport = ZiweiProcessTest;

// The worked example's golden text, written by the command; English
// Markdown; a Gregorian birth and a printed date when given, no date else.
TEST_F(ZiweiReport, WritesTheChartToRead) {
  const Result text =
      run({"--year", "1984", "--on", "2026-05-14", "--on-time", "13:30", "--format", "text"});
  EXPECT_EQ(text.status, 0);
  EXPECT_EQ(text.err, "");
  EXPECT_EQ(text.out, readFile(ZIWEI_REPORT_GOLDEN "/chart-1984-zh-hant.txt"));

  const Result en = run({"--solar", "2001-06-08", "--hour", "23", "--minute", "30", "--sex",
                         "female", "--format", "markdown", "--lang", "en", "--print-date", "today",
                         "-o", (dir_ / "chart.md").string()});
  EXPECT_EQ(en.status, 0);
  const std::string markdown = readFile(dir_ / "chart.md");
  EXPECT_TRUE(markdown.starts_with("# Zi Wei Dou Shu chart\n\n- **Name**: 您的姓名\n")) << markdown;
  EXPECT_NE(markdown.find("- **Gregorian birth**: 2001-06-08\n"), std::string::npos);
  EXPECT_NE(markdown.find("- **Printed**: today\n"), std::string::npos);
  EXPECT_EQ(run({"--format", "text"}).out.find("列印日期"), std::string::npos);

  const Result hans = run({"--format", "text", "--lang", "zh-Hans"});
  EXPECT_TRUE(hans.out.starts_with("紫微斗数命盘\n")) << hans.out.substr(0, 40);
}

TEST_F(ZiweiReport, RefusesBig5) {
  for (const std::string format : {"text", "markdown"}) {
    const Result big5 = run({"--format", format, "--encoding", "big5"});
    EXPECT_EQ(big5.status, 2);
    EXPECT_EQ(big5.out, "");
    EXPECT_EQ(big5.err, "ziwei: --encoding: \"big5\" is not allowed with --format " + format +
                            " (text and Markdown are always UTF-8)\n");
    EXPECT_EQ(run({"--format", format, "--encoding", "utf-8"}).status, 0);
  }
  EXPECT_NE(run({"--help"}).out.find("--format text and --format markdown"), std::string::npos);
}

}  // namespace
