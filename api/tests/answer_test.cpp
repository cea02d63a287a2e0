#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "api/answer.h"
#include "cli/cast_command.h"

namespace ziwei::api {
namespace {

// What `ziwei ARGS...` writes, cast in this process.
std::string commandOutput(std::vector<std::string_view> args) {
  auto parsed = cli::parseCastCommand(args);
  return cli::castOutput(std::get<cli::CastOptions>(parsed));
}

Answer call(Operation operation, const std::string& query, const Limits& limits = {}) {
  const DecodedQuery decoded = decodeQuery(query);
  EXPECT_FALSE(decoded.fault) << query;
  return answer(operation, decoded.parameters, limits);
}

TEST(ChartAnswer, ReadsFlagsRepeatsAndEmptyValuesAsAFormDoes) {
  const std::string leap =
      commandOutput({"--year=2001", "--month=4", "--leap", "--day=17", "--late-zi=next-day",
                     "--transformation=戊=貪狼,太陰,右弼,天機", "--format=json"});
  for (const std::string flag : {"leap", "leap=1", "leap=on", "leap=true", "leap=yes"}) {
    EXPECT_EQ(call(Operation::Chart,
                   "year=2001&month=4&day=17&tz=&" + flag +
                       "&late-zi=next-day&transformation=%E6%88%8A%3D貪狼,太陰,右弼,天機")
                  .body,
              leap)
        << flag;
  }
  EXPECT_NE(call(Operation::Chart, "year=2001&month=4&day=17&leap=off").body, leap);
  EXPECT_EQ(call(Operation::Chart, "year=2001&month=4&day=17&leap=off").body,
            call(Operation::Chart, "year=2001&month=4&day=17").body);
}

TEST(ChartAnswer, RefusesAsTheCommandLineDoes) {
  const struct {
    std::string query;
    std::string message;
  } cases[] = {
      {"sex=x", "--sex: \"x\" is not allowed (allowed: male, female)"},
      {"year=1984&on=1900-02-01", "--on: "},
      {"leap=maybe",
       "--leap: \"maybe\" is not allowed (allowed: 1, true, yes, on; 0, false, no, off)"},
      {"output=/tmp/x", "unknown parameter \"output\" (allowed: "},
      {"rules=/etc/passwd", "unknown parameter \"rules\" (allowed: "},
      {"encoding=big5", "unknown parameter \"encoding\" (allowed: "},
      {"help", "unknown parameter \"help\" (allowed: "},
      {"--year=1", "unknown parameter \"--year\" (allowed: "},
      {"solar=2001-06-08&year=2001", "--solar and --year cannot be given together"},
  };
  for (const auto& [query, message] : cases) {
    const Answer got = call(Operation::Chart, query);
    EXPECT_EQ(got.outcome, Outcome::Refused) << query;
    EXPECT_TRUE(got.message.starts_with(message)) << query << ": " << got.message;
    EXPECT_EQ(got.contentType, "application/json");
    EXPECT_TRUE(got.body.starts_with("{\"error\":\"")) << got.body;
    EXPECT_TRUE(got.body.ends_with("\"}\n")) << got.body;
  }
  // The message is the command line's own, word for word.
  auto parsed = cli::parseCastCommand(std::vector<std::string_view>{"--hour=24"});
  EXPECT_EQ(call(Operation::Chart, "hour=24").message, std::get<cli::UsageError>(parsed).message);
  EXPECT_EQ(call(Operation::Chart, "name=%22%5C").outcome, Outcome::Done);
  EXPECT_EQ(call(Operation::Chart, "place=Springfield").more.size() > 1, true);
}

TEST(CalendarAnswers, GiveOneDocumentBothWays) {
  const std::string document =
      "{\"solar\":\"2001-06-08\",\"year\":2001,\"month\":4,\"leap\":true,\"day\":17}\n";
  EXPECT_EQ(call(Operation::Lunar, "date=2001-06-08").body, document);
  EXPECT_EQ(call(Operation::Solar, "year=2001&month=4&day=17&leap=1").body, document);
  EXPECT_EQ(call(Operation::Solar, "year=2001&month=4&day=17").body,
            "{\"solar\":\"2001-05-09\",\"year\":2001,\"month\":4,\"leap\":false,\"day\":17}\n");
  const std::pair<Operation, std::string> refused[] = {
      {Operation::Lunar, ""},
      {Operation::Lunar, "date=2001-13-01"},
      {Operation::Lunar, "date=1800-01-01"},
      {Operation::Lunar, "day=1"},
      {Operation::Solar, "year=2001&month=5&day=17&leap=1"},
      {Operation::Solar, "year=2001"},
      {Operation::Solar, "year=1899&month=1&day=1"}};
  for (const auto& [operation, query] : refused) {
    const Answer got = call(operation, query);
    EXPECT_EQ(got.outcome, Outcome::Refused) << query;
    EXPECT_FALSE(got.message.empty()) << query;
  }
}

TEST(PlacesAnswer, ListsThePlacesWithTheirFields) {
  const Answer taipei = call(Operation::Places, "q=Taipei&limit=1");
  ASSERT_EQ(taipei.outcome, Outcome::Done) << taipei.message;
  EXPECT_TRUE(taipei.body.starts_with(
      "{\"places\":[{\"name\":\"Taipei\",\"zh-Hant\":\"臺北\",\"zh-Hans\":\"台北\",\"country\":"
      "\"Taiwan\",\"province\":\"Taipei City\",\"longitude\":121.5683,\"latitude\":25.0358,"
      "\"zone\":\"Asia/Taipei\"}],\"more\":"))
      << taipei.body;
  EXPECT_EQ(call(Operation::Places, "q=Nowhereville").outcome, Outcome::Refused);
  EXPECT_EQ(call(Operation::Places, "q=Taipei&limit=0").outcome, Outcome::Refused);
  EXPECT_EQ(call(Operation::Places, "").outcome, Outcome::Refused);
}

TEST(FindAnswer, IsTheCommandsLinesCutAtTheCallersLimits) {
  const std::string range = "from=2000-01-01&to=2000-12-31&where=%E5%91%BD%E5%AE%AE+has+紫微";
  const Answer all = call(Operation::Find, range);
  ASSERT_EQ(all.outcome, Outcome::Done) << all.message;
  EXPECT_EQ(all.contentType, "application/jsonl");
  EXPECT_EQ(all.stopped, "");
  const auto lines = static_cast<std::size_t>(std::count(all.body.begin(), all.body.end(), '\n'));
  ASSERT_GT(lines, 10u);
  EXPECT_TRUE(all.body.starts_with("{\"solar\":\"2000-")) << all.body.substr(0, 80);
  EXPECT_EQ(call(Operation::Find, range + "&format=count").body, std::to_string(lines) + "\n");

  const Answer capped = call(Operation::Find, range, {3, {}});
  EXPECT_EQ(capped.stopped, "limit");
  EXPECT_EQ(capped.body, all.body.substr(0, capped.body.size()));
  EXPECT_EQ(std::count(capped.body.begin(), capped.body.end(), '\n'), 3);
  EXPECT_EQ(call(Operation::Find, range + "&limit=2", {3, {}}).body,
            all.body.substr(0, all.body.find('\n', all.body.find('\n') + 1) + 1));

  const Answer late =
      call(Operation::Find, "where=%E5%91%BD%E5%AE%AE+has+紫微", {0, std::chrono::milliseconds(1)});
  EXPECT_EQ(late.outcome, Outcome::Done);
  EXPECT_EQ(late.stopped, "time");
  EXPECT_EQ(call(Operation::Find, range + "&jobs=2").outcome, Outcome::Refused);
  EXPECT_EQ(call(Operation::Find, "where=命宮+has+紫薇").message,
            "find: --where 1, character 8: unknown star \"紫薇\" (close: 紫微)");
}

}  // namespace
}  // namespace ziwei::api
