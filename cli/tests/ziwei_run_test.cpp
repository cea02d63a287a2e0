// Runs the built ziwei as a user would and checks what it writes and how it
// exits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/tests/ziwei_process.h"

namespace {

using namespace ziwei::cli::testing;
using Names = std::vector<std::string>;

class Ziwei : public ZiweiProcessTest {
 protected:
  Ziwei() : ZiweiProcessTest("ziwei-cli-") {}
  void SetUp() override {
    ZiweiProcessTest::SetUp();
    fs::create_directories(dir_ / "files");
  }
};

TEST_F(Ziwei, CastsTheDefaultPageInBig5) {
  const Result result = run({"--print-date", "2026/12/6"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_TRUE(
      result.out.starts_with("<html><head><title>Tessaro\xB5\xB5\xB7L\xA4\xE6\xBC\xC6</title>"));
  EXPECT_TRUE(result.out.ends_with("</body></html>\r\n"));
  EXPECT_NE(result.out.find("[                \xB1z\xAA\xBA\xA9m\xA6W ]"),
            std::string::npos);  // 您的姓名
  EXPECT_NE(result.out.find("<td width='30%'>2026/12/6</td>"), std::string::npos);
  EXPECT_EQ(result.out.find('\n'), result.out.size() - 1);
}

TEST_F(Ziwei, WritesTheSamePageToAFile) {
  const std::string path = (dir_ / "files" / "chart.htm").string();
  const Result toStdout = run({"--name", "王😀", "--year", "1984", "--print-date", "d"});
  const Result written = run({"--name", "王😀", "--year", "1984", "--print-date", "d", "-o", path});
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.out, "");
  EXPECT_EQ(readFile(path), toStdout.out);
  EXPECT_NE(toStdout.out.find("[                \xA4\xFD&#128512; ]"), std::string::npos);
  EXPECT_EQ(entries(dir_ / "files"), Names{"chart.htm"});
}

TEST_F(Ziwei, Utf8PageAndJson) {
  const Result utf8 = run({"--encoding", "utf-8", "--name", "王"});
  EXPECT_EQ(utf8.status, 0);
  EXPECT_NE(utf8.out.find("charset=utf-8"), std::string::npos);
  EXPECT_NE(utf8.out.find("[                王 ]"), std::string::npos);

  const Result json = run({"--format", "json", "--year", "1984", "--name", "<王>"});
  EXPECT_EQ(json.status, 0);
  EXPECT_TRUE(json.out.ends_with("}\n"));
  const auto document = parseJson(json.out);
  ASSERT_TRUE(document.IsObject());
  EXPECT_STREQ(document["input"]["name"].GetString(), "<王>");
  EXPECT_STREQ(document["frame"]["bureau"].GetString(), "火六局");
  EXPECT_EQ(document["palaces"].Size(), 12u);
}

TEST_F(Ziwei, HelpAndVersion) {
  const Result version = run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("ziwei ") + ZIWEI_VERSION + "\n");
  const Result help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: ziwei [OPTION]..."));
  EXPECT_EQ(help.err, "");
}

// A usage error: status 2, one line on standard error, nothing written.
TEST_F(Ziwei, BadInputIsAUsageErrorAndWritesNothing) {
  const std::string path = (dir_ / "files" / "chart.htm").string();
  for (const auto& [args, message] : std::vector<std::pair<Names, std::string>>{
           {{"--year", "1800", "-o", path},
            "--year: \"1800\" is not allowed (allowed: 1912 to 2100)"},
           {{"--hour", "noon"}, "--hour: \"noon\" is not a whole number (allowed: 0 to 23)"},
           {{"--sex", "x"}, "--sex: \"x\" is not allowed (allowed: male, female)"},
           {{"--frobnicate"}, "unknown option \"--frobnicate\" (see ziwei --help)"},
           {{"--month"}, "--month: a value is missing (allowed: 1 to 12)"},
       }) {
    const Result result = run(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "ziwei: " + message + "\n");
    EXPECT_EQ(result.out, "");
  }
  EXPECT_TRUE(fs::is_empty(dir_ / "files"));
}

}  // namespace
