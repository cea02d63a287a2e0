// Runs ziwei find as a user would and checks it against a brute force over
// the JSON of ziwei batch for the same births: each kind of condition, the
// rules, the late 子 hour and the 立春 year boundary; then the formats, the
// limit and the refusals.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "calendar/gregorian.h"
#include "cli/tests/ziwei_process.h"

namespace {

using namespace ziwei::cli::testing;
using ziwei::calendar::GregorianDate;

class Find : public ZiweiProcessTest {
 protected:
  auto runner() {
    return [this](std::vector<std::string> args, std::string_view input) {
      return run(std::move(args), input);
    };
  }
};

// A birth searched, as find writes it, and its chart as batch writes it.
struct Birth {
  std::string date;
  int hour;
  bool male;
};

std::vector<Birth> birthsOf(GregorianDate from, GregorianDate to, const std::vector<int>& hours) {
  std::vector<Birth> births;
  for (auto day = ziwei::calendar::to_days(from); day <= ziwei::calendar::to_days(to);
       day += std::chrono::days{1}) {
    const std::string date =
        ziwei::calendar::format_gregorian(ziwei::calendar::gregorian_from_days(day));
    for (const int hour : hours) {
      for (const bool male : {true, false}) births.push_back({date, hour, male});
    }
  }
  return births;
}

constexpr std::array<const char*, 14> kFourteen = {"紫微", "天機", "太陽", "武曲", "天同",
                                                   "廉貞", "天府", "太陰", "貪狼", "巨門",
                                                   "天相", "天梁", "七殺", "破軍"};

// A condition as the brute force reads it: the palace by its name, 身宮 or
// its branch; the kind; the stars and transformations by their zh-Hant names.
struct Brute {
  std::string palace;
  std::string kind;
  std::vector<std::string> items;
};

const rapidjson::Value& palaceOf(const rapidjson::Value& palaces, const std::string& name) {
  for (const auto& p : palaces.GetArray()) {
    if ((name == "身宮" && p["body"].GetBool()) || p["name"].GetString() == name ||
        p["branch"].GetString() == name) {
      return p;
    }
  }
  ADD_FAILURE() << "no palace " << name;
  return palaces[0];
}

// The names of a palace's stars and of the birth-year transformations on them.
std::set<std::string> holding(const rapidjson::Value& p) {
  std::set<std::string> names;
  for (const auto& s : p["main"].GetArray()) {
    names.insert(s["star"].GetString());
    if (s["transformation"].IsString()) names.insert(s["transformation"].GetString());
  }
  for (const auto& s : p["minor"].GetArray()) names.insert(s["star"].GetString());
  for (const char* group : {"void", "markers"}) {
    for (const auto& s : p[group].GetArray()) names.insert(s.GetString());
  }
  return names;
}

bool meets(const rapidjson::Value& palaces, const Brute& c) {
  const rapidjson::Value& p = palaceOf(palaces, c.palace);
  std::set<std::string> held = holding(p);
  const auto count = [&](const std::set<std::string>& in) {
    std::size_t n = 0;
    for (const std::string& item : c.items) n += in.count(item);
    return n;
  };
  if (c.kind == "has") return count(held) == c.items.size();
  if (c.kind == "has-any") return count(held) > 0;
  if (c.kind == "lacks") return count(held) == 0;
  if (c.kind == "sees") {
    std::set<std::string> seen;
    for (const auto& num : p["relations"]["trine"].GetArray()) {
      const std::set<std::string> more = holding(palaces[num.GetUint() - 1]);
      seen.insert(more.begin(), more.end());
    }
    return count(seen) == c.items.size();
  }
  if (c.kind == "empty") {
    for (const char* star : kFourteen) {
      if (held.count(star)) return false;
    }
    return true;
  }
  if (c.kind == "self") {
    std::set<std::string> self;
    for (const auto& m : p["relations"]["self"].GetObject()) self.insert(m.name.GetString());
    return count(self) == c.items.size();
  }
  ADD_FAILURE() << "no kind " << c.kind;
  return false;
}

std::string joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ",") + item;
  return text;
}

// Runs batch over the births (with `batchArgs` and the CSV's late-zi
// column) and find over the same range for each query, and compares find's
// lines with those the brute force picks from the batch documents.
class BruteForce {
 public:
  using Runner = std::function<Result(std::vector<std::string>, std::string_view)>;
  BruteForce(Runner run, GregorianDate from, GregorianDate to, std::vector<int> hours,
             std::vector<std::string> ruleArgs, std::string lateZi = "")
      : from_(ziwei::calendar::format_gregorian(from)),
        to_(ziwei::calendar::format_gregorian(to)),
        hours_(hours),
        rules_(std::move(ruleArgs)),
        run_(std::move(run)),
        births_(birthsOf(from, to, hours)) {
    std::string csv = "name,sex,year,month,leap,day,hour,minute,second,solar,late-zi\n";
    for (const Birth& b : births_) {
      csv += std::string(",") + (b.male ? "male" : "female") + ",,,,," + std::to_string(b.hour) +
             ",0,0," + b.date + "," + lateZi + "\n";
    }
    std::vector<std::string> args{"batch"};
    args.insert(args.end(), rules_.begin(), rules_.end());
    const Result batch = run_(args, csv);
    EXPECT_EQ(batch.status, 0) << batch.err;
    json_ = lines(batch.out);
    EXPECT_EQ(json_.size(), births_.size());
  }

  // Checks one query; returns the number of matches.
  std::size_t check(const std::vector<Brute>& query, const std::vector<std::string>& texts = {}) {
    std::string expected = "solar,year,month,leap,day,hour,sex\n";
    std::size_t matches = 0;
    for (std::size_t i = 0; i < json_.size() && i < births_.size(); ++i) {
      const auto document = parseJson(json_[i]);
      bool all = true;
      for (const Brute& c : query) all = all && meets(document["palaces"], c);
      if (!all) continue;
      const auto& input = document["input"];
      const Birth& b = births_[i];
      expected += b.date + "," + std::to_string(input["year"].GetInt()) + "," +
                  std::to_string(input["month"].GetInt()) + "," +
                  (input["leap"].GetBool() ? "1" : "0") + "," +
                  std::to_string(input["day"].GetInt()) + "," + std::to_string(b.hour) + "," +
                  (b.male ? "male" : "female") + "\n";
      ++matches;
    }
    std::vector<std::string> args{"find", "--from", from_, "--to", to_, "--hours", hoursText()};
    args.insert(args.end(), rules_.begin(), rules_.end());
    std::string shown;
    for (std::size_t i = 0; i < query.size(); ++i) {
      const Brute& c = query[i];
      const std::string text =
          i < texts.size() ? texts[i] : c.palace + " " + c.kind + " " + joined(c.items);
      args.push_back("--where");
      args.push_back(text);
      shown += text + "; ";
    }
    const Result found = run_(args, "");
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_EQ(found.out, expected) << shown;
    EXPECT_EQ(found.err.rfind("ziwei: find: " + std::to_string(matches) + " match", 0), 0u)
        << found.err;
    return matches;
  }

 private:
  std::string hoursText() const {
    std::string text;
    for (const int hour : hours_) text += (text.empty() ? "" : ",") + std::to_string(hour);
    return text;
  }

  std::string from_, to_;
  std::vector<int> hours_;
  std::vector<std::string> rules_;
  Runner run_;
  std::vector<Birth> births_;
  std::vector<std::string> json_;
};

const std::vector<int> kBranchHours = {0, 1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21};

TEST_F(Find, EachKindOfConditionAgreesWithABruteForceOverBatch) {
  // Forty days across the lunar new year of 2001 (01-24): 960 charts.
  BruteForce brute(runner(), {2001, 1, 10}, {2001, 2, 18}, kBranchHours, {});
  std::size_t some = 0;
  some += brute.check({{"命宮", "has", {"紫微"}}}) > 0;
  some += brute.check({{"命宮", "has", {"紫微", "天府"}}}) > 0;
  some += brute.check({{"財帛宮", "has-any", {"武曲", "祿存", "祿"}}}) > 0;
  some += brute.check({{"遷移宮", "lacks", {"擎羊", "陀羅", "火星", "鈴星"}}}) > 0;
  some += brute.check({{"命宮", "sees", {"祿", "文昌"}}}) > 0;
  some += brute.check({{"官祿宮", "sees", {"天府", "天相", "科"}}}) > 0;
  some += brute.check({{"夫妻宮", "empty", {}}}) > 0;
  some += brute.check({{"身宮", "has", {"權"}}}) > 0;
  some += brute.check({{"卯", "has", {"太陽", "天梁"}}}) > 0;
  some += brute.check({{"子", "self", {"祿"}}}) > 0;
  some += brute.check({{"命宮", "self", {"忌"}}}) > 0;
  brute.check({{"兄弟宮", "self", {"祿", "科"}}});
  some += brute.check({{"命宮", "empty", {}}, {"官祿宮", "sees", {"天府"}}}) > 0;
  some += brute.check(
              {{"身宮", "lacks", {"天空", "地劫"}}, {"福德宮", "has-any", {"旬空", "截空"}}}) > 0;
  EXPECT_EQ(some, 13u);  // the queries find charts, not only none
  // The other scripts name the same conditions.
  brute.check({{"命宮", "has", {"紫微"}}, {"命宮", "sees", {"祿", "文昌"}}},
              {"Life has emperor", "命宫 sees 禄,文昌"});
  brute.check({{"身宮", "has", {"權"}}, {"子", "self", {"祿"}}},
              {"身 has 化權", "Zi self prosperity"});
}

TEST_F(Find, TheRulesTheLateZiHourAndTheSpringBoundaryAsBatchCastsThem) {
  // 立春 of 2001 fell at 03:29 on 02-04: under the spring boundary the
  // late-子 hour of 02-03 is still 庚辰 though its lunar day is 02-04's.
  writeFile(
      dir_ / "spring.rules",
      "year-boundary = spring\nlate-zi = next-day\ntransformation = 庚=武曲,天同,太陰,太陽\n");
  BruteForce brute(runner(), {2001, 1, 30}, {2001, 2, 8}, {0, 1, 22, 23},
                   {"--rules", (dir_ / "spring.rules").string()}, "next-day");
  EXPECT_GT(brute.check({{"命宮", "sees", {"忌"}}}), 0u);
  EXPECT_GT(brute.check({{"遷移宮", "self", {"忌"}}}) + brute.check({{"命宮", "self", {"忌"}}}) +
                brute.check({{"子", "self", {"忌"}}}),
            0u);
  EXPECT_GT(brute.check({{"命宮", "has-any", {"紫微", "太陽", "天機"}}}), 0u);
}

TEST_F(Find, FormatsLimitAndTimeRectification) {
  const std::vector<std::string> day{"find",  "--from", "2001-06-08", "--to", "2001-06-08",
                                     "--sex", "male",   "--hours",    "all"};
  auto with = [&](std::vector<std::string> more) {
    std::vector<std::string> args = day;
    args.insert(args.end(), more.begin(), more.end());
    return run(args);
  };
  // The README's example: of the twelve hours only 卯 (05:00) gives 太陽 and
  // 天梁 in the 命宮 and an empty 官祿宮.
  Result r = with({"--where", "命宮 has 太陽,天梁", "--where", "官祿宮 empty"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "solar,year,month,leap,day,hour,sex\n2001-06-08,2001,4,1,17,5,male\n");
  EXPECT_EQ(r.err.rfind("ziwei: find: 1 match among 12 charts, ", 0), 0u) << r.err;
  r = with({"--where", "命宮 lacks 紫微", "--format", "jsonl", "--limit", "2"});
  EXPECT_EQ(r.out,
            "{\"solar\":\"2001-06-08\",\"year\":2001,\"month\":4,\"leap\":true,\"day\":17,"
            "\"hour\":0,\"sex\":\"male\"}\n"
            "{\"solar\":\"2001-06-08\",\"year\":2001,\"month\":4,\"leap\":true,\"day\":17,"
            "\"hour\":1,\"sex\":\"male\"}\n");
  EXPECT_EQ(r.err.rfind("ziwei: find: 2 matches (the limit) among the first 2 charts, ", 0), 0u)
      << r.err;
  r = with({"--where", "命宮 lacks 紫微", "--format", "count"});
  const Result csv = with({"--where", "命宮 lacks 紫微"});
  EXPECT_EQ(r.out, std::to_string(lines(csv.out).size() - 1) + "\n");
  r = run({"find", "--from", "2100-12-31", "--where", "命宮 lacks 紫微", "--hours", "0,0,23,5"});
  EXPECT_EQ(lines(r.out).size(), 1u + 3 * 2) << r.out;  // hours 0, 5, 23, both sexes
  EXPECT_EQ(lines(r.out)[5], "2100-12-31,2100,12,0,1,23,male");
  // An output that cannot be written.
  r = run({"find", "--from", "2001-01-01", "--to", "2001-12-31", "--where", "命宮 lacks 紫微"}, "",
          "/dev/full");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ziwei: find: "), std::string::npos) << r.err;
  EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
  r = run({"find", "--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Time rectification"), std::string::npos);
  EXPECT_NE(r.out.find("--late-zi same-day|next-day"), std::string::npos);
}

TEST_F(Find, RefusalsAreOneLineThatSaysWhere) {
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{},
       "a condition is missing: give --where COND, e.g. --where '命宮 has 紫微' (see ziwei find "
       "--help)"},
      {{"--where", "命宮 has 紫微", "--where", "財帛宮 has 武曲,紫薇"},
       "--where 2, character 12: unknown star \"紫薇\" (close: 紫微)"},
      {{"--where", "命官 has 紫微"},
       "--where 1, character 1: unknown palace \"命官\" (close: 命宮)"},
      {{"--where", "命宮 hass 紫微"},
       "--where 1, character 4: unknown kind \"hass\" (close: has; allowed: has, has-any, lacks, "
       "sees, empty, self)"},
      {{"--where", "命宮 self 紫微"},
       "--where 1, character 9: self lists the transformations 祿, 權, 科 or 忌, not the star "
       "\"紫微\""},
      {{"--from", "2001-02-30", "--where", "命宮 empty"},
       "--from: \"2001-02-30\" is not an existing date"},
      {{"--to", "1911-12-31", "--where", "命宮 empty"},
       "--to: the date 1911-12-31 lies outside 1912-02-18 to 2100-12-31 (lunar years 1912 to "
       "2100)"},
      {{"--from", "2001-02-03", "--to", "2001-02-02", "--where", "命宮 empty"},
       "the range ends (2001-02-02) before it begins (2001-02-03)"},
      {{"--hours", "1,24", "--where", "命宮 empty"},
       "--hours: \"24\" is not allowed (allowed: 0 to 23)"},
      {{"--hours", "", "--where", "命宮 empty"},
       "--hours: \"\" is not a whole number (allowed: 0 to 23)"},
      {{"--sex", "any", "--where", "命宮 empty"},
       "--sex: \"any\" is not allowed (allowed: male, female, both)"},
      {{"--hours", "23", "--late-zi", "next-day", "--where", "命宮 empty"},
       "hour 23 under the late-zi next-day rule is the next day's 子 hour, and the calendar ends "
       "on 2100-12-31 (end the range a day earlier)"},
      {{"--transformation", "庚=武曲,武曲,太陰,太陽", "--where", "命宮 empty"}, ""},
      {{"--limit", "0", "--where", "命宮 empty"},
       "--limit: \"0\" is not allowed (allowed: 1 to 2147483647)"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"find"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Result r = run(args);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
    if (!c.err.empty()) {
      EXPECT_EQ(r.err, "ziwei: find: " + c.err + "\n");
    }
  }
}

}  // namespace
