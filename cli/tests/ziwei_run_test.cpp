// Runs the built ziwei as a user would and checks what it writes and how it
// exits.
#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/tests/ziwei_process.h"

namespace {

using namespace ziwei::cli::testing;

class Ziwei : public ZiweiProcessTest {
 protected:
  Ziwei() : ZiweiProcessTest("ziwei-cli-") {}

  void SetUp() override {
    ZiweiProcessTest::SetUp();
    fs::create_directories(dir_ / "files");
  }

  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_ / "files")) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }
};

// A usage error: status 2, one line on standard error, nothing on standard
// output.
void expectUsageError(const Result& result, const std::string& line) {
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "ziwei: " + line + "\n");
  EXPECT_EQ(result.out, "");
}

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
  const std::vector<std::string> args = {"--name", "王😀", "--year", "1984", "--print-date", "d"};
  const Result toStdout = run(args);
  std::vector<std::string> toFile = args;
  toFile.insert(toFile.end(), {"-o", path});
  const Result written = run(toFile);
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.out, "");
  EXPECT_EQ(readFile(path), toStdout.out);
  EXPECT_NE(toStdout.out.find("[                \xA4\xFD&#128512; ]"), std::string::npos);
  EXPECT_EQ(files(), std::vector<std::string>{"chart.htm"});
}

TEST_F(Ziwei, Utf8PageAndJson) {
  const Result utf8 = run({"--encoding", "utf-8", "--name", "王"});
  EXPECT_EQ(utf8.status, 0);
  EXPECT_NE(utf8.out.find("charset=utf-8"), std::string::npos);
  EXPECT_NE(utf8.out.find("[                王 ]"), std::string::npos);

  const Result json = run({"--format", "json", "--year", "1984", "--name", "<王>"});
  EXPECT_EQ(json.status, 0);
  EXPECT_TRUE(json.out.ends_with("}\n"));
  rapidjson::Document document;
  document.Parse(json.out.c_str());
  ASSERT_FALSE(document.HasParseError());
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

TEST_F(Ziwei, BadInputIsAUsageErrorAndWritesNothing) {
  const std::string path = (dir_ / "files" / "chart.htm").string();
  expectUsageError(run({"--year", "1800", "-o", path}),
                   "--year: \"1800\" is not allowed (allowed: 1912 to 2100)");
  expectUsageError(run({"--hour", "noon"}),
                   "--hour: \"noon\" is not a whole number (allowed: 0 to 23)");
  expectUsageError(run({"--sex", "x"}), "--sex: \"x\" is not allowed (allowed: male, female)");
  expectUsageError(run({"--frobnicate"}), "unknown option \"--frobnicate\" (see ziwei --help)");
  expectUsageError(run({"--name", "\xC0\xAF"}), "--name: the text is not valid UTF-8");
  expectUsageError(run({"--month"}), "--month: a value is missing (allowed: 1 to 12)");
  EXPECT_TRUE(files().empty());
}

TEST_F(Ziwei, UnwritableOutputIsAnIoError) {
  const fs::path missing = dir_ / "files" / "missing" / "chart.htm";
  const Result noDirectory = run({"-o", missing.string()});
  EXPECT_EQ(noDirectory.status, 1);
  EXPECT_TRUE(noDirectory.err.starts_with("ziwei: cannot write " + missing.string() + ": "));
  EXPECT_EQ(noDirectory.err.find('\n'), noDirectory.err.size() - 1);

  // A directory in the way: the temporary file beside it is removed again.
  fs::create_directory(dir_ / "files" / "taken");
  EXPECT_EQ(run({"-o", (dir_ / "files" / "taken").string()}).status, 1);
  EXPECT_EQ(files(), std::vector<std::string>{"taken"});
  EXPECT_TRUE(fs::is_empty(dir_ / "files" / "taken"));

  const Result full = run({}, "", ">/dev/full");
  EXPECT_EQ(full.status, 1);
  EXPECT_EQ(full.err, "ziwei: cannot write to standard output: No space left on device\n");
  const Result closed = run({"--format", "json"}, "", ">&-");
  EXPECT_EQ(closed.status, 1);
  EXPECT_TRUE(closed.err.starts_with("ziwei: cannot write to standard output: "));
}

TEST_F(Ziwei, DevicesAreWrittenInPlaceAndLinksFollowed) {
  const Result full = run({"-o", "/dev/full"});
  EXPECT_EQ(full.status, 1);
  EXPECT_EQ(full.err, "ziwei: cannot write /dev/full: No space left on device\n");
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
  EXPECT_EQ(run({"-o", "/dev/null"}).status, 0);
  EXPECT_TRUE(fs::is_character_file("/dev/null"));

  const fs::path target = dir_ / "files" / "target.htm";
  const fs::path link = dir_ / "files" / "link.htm";
  fs::create_symlink(target, link);
  EXPECT_EQ(run({"-o", link.string(), "--format", "json"}).status, 0);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(readFile(target).starts_with("{\"input\":"));
}

}  // namespace
