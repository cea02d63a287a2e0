// The chart rules as a user gives them: --NAME WORD, --transformation,
// --rules FILE (options win over the file), the batch columns, and the
// refusals, each one line with exit status 2.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "cli/tests/ziwei_process.h"

namespace {

using namespace ziwei::cli::testing;
using Args = std::vector<std::string>;
using Pair = std::pair<std::string, std::string>;

std::string text(const rapidjson::Value& value) {
  return {value.GetString(), value.GetStringLength()};
}

class RulesRun : public ZiweiProcessTest {
 protected:
  // The JSON "options" and the life master of a 1988 (戊辰) birth cast with
  // `args`.
  Pair optionsAndMaster(const Args& rules) {
    Args args{"--year", "1988", "--format", "json"};
    for (const std::string& arg : rules) args.push_back(arg);
    const Result result = run(args);
    EXPECT_EQ(result.status, 0) << result.err;
    const auto document = parseJson(result.out);
    std::string options;
    if (document.HasMember("options")) {
      for (const auto& m : document["options"].GetObject()) {
        options += text(m.name) + " ";
      }
    }
    return {options, text(document["frame"]["lifeMaster"])};
  }
};

TEST_F(RulesRun, OptionsAndTheFileTheyWinOver) {
  // 1988 month 1 子 hour: Life 寅, 命主 祿存; by the year 辰: 廉貞.
  EXPECT_EQ(optionsAndMaster({}), Pair("", "祿存"));
  EXPECT_EQ(optionsAndMaster({"--life-master", "year"}), Pair("life-master ", "廉貞"));
  writeFile(dir_ / "mine.rules",
            "# a tradition\nlife-master = year\nage = birthday\n"
            "transformation = 戊=貪狼,太陰,太陽,天機\n");
  const std::string file = (dir_ / "mine.rules").string();
  EXPECT_EQ(optionsAndMaster({"--rules", file}), Pair("age life-master transformation ", "廉貞"));
  EXPECT_EQ(optionsAndMaster({"--life-master", "palace", "--rules", file}),
            Pair("age transformation ", "祿存"));
  // The option's table for 戊 wins over the file's; given as the default it
  // leaves no "transformation" entry.
  EXPECT_EQ(optionsAndMaster({"--rules", file, "--transformation", "戊=貪狼,太陰,右弼,天機"}),
            Pair("age life-master ", "廉貞"));
  const auto document = parseJson(
      run({"--year", "1988", "--format", "json", "--transformation", "戊=贪狼,太阴,太阳,天机"})
          .out);
  EXPECT_STREQ(document["options"]["transformation"]["戊"][2].GetString(), "太陽");

  // A batch record by the file, its own columns winning.
  const Result batch =
      run({"batch", "--rules", file},
          "name,sex,year,month,leap,day,hour,minute,second,life-master,"
          "transformations\n"
          "a,male,1988,1,0,1,0,0,0,,\n"
          "b,male,1988,1,0,1,0,0,0,palace,\"甲=廉貞,破軍,武曲,天機;戊=貪狼,太陰,右弼,天機\"\n");
  ASSERT_EQ(batch.status, 0) << batch.err;
  const auto newline = batch.out.find('\n');
  EXPECT_STREQ(parseJson(batch.out.substr(0, newline))["frame"]["lifeMaster"].GetString(), "廉貞");
  const auto second = parseJson(batch.out.substr(newline + 1));
  EXPECT_STREQ(second["frame"]["lifeMaster"].GetString(), "祿存");
  EXPECT_STREQ(second["options"]["transformation"]["甲"][3].GetString(), "天機");
  EXPECT_FALSE(second["options"]["transformation"].HasMember("戊"));
}

TEST_F(RulesRun, BadValuesFilesAndStemsAreRefusedInOneLine) {
  writeFile(dir_ / "bad.rules", "age = birthday\n\nyear-boundary = lichun  # 立春\n");
  writeFile(dir_ / "unknown.rules", "leap = split\n");
  const std::string missing = (dir_ / "missing.rules").string();
  for (const auto& [args, err] : std::vector<std::tuple<Args, std::string>>{
           {{"--year-boundary", "lichun"},
            "ziwei: --year-boundary: \"lichun\" is not allowed (allowed: new-year, spring)\n"},
           {{"--transformation", "戊=貪狼,太陰,祿存,天機"},
            "ziwei: --transformation: \"祿存\" cannot be transformed; the stars allowed: 紫微 天機 "
            "太陽 武曲 天同 廉貞 天府 太陰 貪狼 巨門 天相 天梁 七殺 破軍 文昌 文曲 左輔 右弼\n"},
           {{"--rules", (dir_ / "bad.rules").string()},
            "ziwei: --rules: " + (dir_ / "bad.rules").string() +
                " line 3: year-boundary: \"lichun\" is not allowed; allowed: new-year|spring\n"},
           {{"--rules", (dir_ / "unknown.rules").string()},
            "ziwei: --rules: " + (dir_ / "unknown.rules").string() +
                " line 1: \"leap\" is not a rule; the rules: late-zi, year-boundary, "
                "period-boundary, age, leap-month, life-master, tianshang-tianshi, running-stems, "
                "transformation\n"},
           {{"--year", "2100", "--month", "12", "--day", "29", "--year-boundary", "spring"},
            "ziwei: the birth falls outside the solar terms known, 小寒 1900 to the end of 2100 "
            "(China Standard Time), so its solar-term month is unknown\n"},
           {{"--rules", missing},
            "ziwei: --rules: " + missing + ": cannot be read (No such file or directory)\n"},
       }) {
    const Result result = run(args);
    EXPECT_EQ(result.status, 2) << args[0];
    EXPECT_EQ(result.out, "") << args[0];
    EXPECT_EQ(result.err, err) << args[0];
  }
  const Result batch = run({"batch"},
                           "name,sex,year,month,leap,day,hour,minute,second,transformations\n"
                           "a,male,1988,1,0,1,0,0,0,\"戊=貪狼\"\n");
  EXPECT_NE(batch.err.find("line 2: transformations: \"戊=貪狼\" does not name four stars"),
            std::string::npos)
      << batch.err;
  EXPECT_EQ(run({"batch", "--rules", missing}, "").status, 2);
}

}  // namespace
