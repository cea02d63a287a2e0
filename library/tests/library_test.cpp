// The C library as a program calls it: through ziwei/ziwei.h and
// libziwei.so alone.
#include <gtest/gtest.h>
#include <ziwei/ziwei.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Held = std::unique_ptr<ziwei_answer, decltype(&ziwei_answer_free)>;

Held call(ziwei_operation operation, const char* query) {
  ziwei_answer* answer = nullptr;
  const ziwei_status status = ziwei_call(operation, query, &answer);
  EXPECT_NE(answer, nullptr) << query;
  EXPECT_EQ(ziwei_answer_status(answer), status);
  return {answer, ziwei_answer_free};
}

Held callPairs(ziwei_operation operation, const std::vector<std::string>& keys,
               const std::vector<std::string>& values) {
  std::vector<const char*> k, v;
  for (const std::string& key : keys) k.push_back(key.c_str());
  for (const std::string& value : values) v.push_back(value.c_str());
  ziwei_answer* answer = nullptr;
  ziwei_call_pairs(operation, k.data(), v.data(), k.size(), &answer);
  EXPECT_NE(answer, nullptr);
  return {answer, ziwei_answer_free};
}

std::string text(const Held& answer) {
  return {ziwei_answer_text(answer.get()), ziwei_answer_size(answer.get())};
}

TEST(Library, RefusesNullPointersAndUnknownOperationsWithoutAnAnswer) {
  ziwei_answer* answer = reinterpret_cast<ziwei_answer*>(&answer);  // must be reset
  EXPECT_EQ(ziwei_call(ZIWEI_CHART, nullptr, &answer), ZIWEI_BAD_ARGUMENT);
  EXPECT_EQ(answer, nullptr);
  EXPECT_EQ(ziwei_call(ZIWEI_CHART, "year=1984", nullptr), ZIWEI_BAD_ARGUMENT);
  EXPECT_EQ(ziwei_call(static_cast<ziwei_operation>(5), "", &answer), ZIWEI_BAD_ARGUMENT);
  EXPECT_EQ(answer, nullptr);

  const char* keys[] = {"year", nullptr};
  const char* values[] = {"1984", "4"};
  EXPECT_EQ(ziwei_call_pairs(ZIWEI_CHART, keys, values, 2, &answer), ZIWEI_BAD_ARGUMENT);
  EXPECT_EQ(ziwei_call_pairs(ZIWEI_CHART, nullptr, values, 1, &answer), ZIWEI_BAD_ARGUMENT);
  EXPECT_EQ(ziwei_call_pairs(ZIWEI_CHART, keys, nullptr, 1, &answer), ZIWEI_BAD_ARGUMENT);
  EXPECT_EQ(answer, nullptr);
  // No pairs at all is the default chart.
  ASSERT_EQ(ziwei_call_pairs(ZIWEI_CHART, nullptr, nullptr, 0, &answer), ZIWEI_OK);
  ziwei_answer_free(answer);

  // The readers take NULL.
  EXPECT_EQ(ziwei_answer_status(nullptr), ZIWEI_BAD_ARGUMENT);
  EXPECT_STREQ(ziwei_answer_text(nullptr), "");
  EXPECT_EQ(ziwei_answer_size(nullptr), 0u);
  EXPECT_STREQ(ziwei_answer_message(nullptr), "");
  EXPECT_EQ(ziwei_answer_more_count(nullptr), 0u);
  EXPECT_EQ(ziwei_answer_more(nullptr, 0), nullptr);
  ziwei_answer_free(nullptr);
}

// A query and its pairs giving the same bytes is the example's test; here
// what an answer holds besides them.
TEST(Library, AnAnswerHoldsItsStatusTypeAndTerminatedText) {
  const Held answer = call(ZIWEI_CHART, "name=%E7%8E%8B+%E5%B0%8F%E6%98%8E&year=2001&lang=en");
  ASSERT_EQ(ziwei_answer_status(answer.get()), ZIWEI_OK) << ziwei_answer_message(answer.get());
  EXPECT_STREQ(ziwei_answer_message(answer.get()), "");
  EXPECT_STREQ(ziwei_answer_type(answer.get()), "application/json");
  EXPECT_EQ(ziwei_answer_text(answer.get())[ziwei_answer_size(answer.get())], '\0');
  EXPECT_NE(text(answer).find("\"name\":\"王 小明\""), std::string::npos);
}

TEST(Library, ARefusalHoldsTheMessageTheLinesAfterItAndTheErrorDocument) {
  const Held month = call(ZIWEI_CHART, "year=1984&month=13");
  EXPECT_EQ(ziwei_answer_status(month.get()), ZIWEI_REFUSED);
  EXPECT_STREQ(ziwei_answer_message(month.get()),
               "--month: \"13\" is not allowed (allowed: 1 to 12)");
  EXPECT_EQ(text(month), "{\"error\":\"--month: \\\"13\\\" is not allowed (allowed: 1 to 12)\"}\n");
  EXPECT_EQ(ziwei_answer_more_count(month.get()), 0u);

  const Held place = call(ZIWEI_CHART, "place=Suzhou");
  EXPECT_EQ(ziwei_answer_status(place.get()), ZIWEI_REFUSED);
  ASSERT_EQ(ziwei_answer_more_count(place.get()), 2u);
  EXPECT_EQ(std::string(ziwei_answer_more(place.get(), 1)).rfind("  Suzhou, Jiangsu: ", 0), 0u);
  EXPECT_EQ(ziwei_answer_more(place.get(), 2), nullptr);
}

TEST(Library, HoldsPairsToTheRulesOfAQuery) {
  const Held badEscape = call(ZIWEI_CHART, "year=19%8");
  EXPECT_EQ(ziwei_answer_status(badEscape.get()), ZIWEI_REFUSED);
  EXPECT_NE(std::string(ziwei_answer_message(badEscape.get())).find("two hex digits"),
            std::string::npos);

  const Held notUtf8 = callPairs(ZIWEI_CHART, {"name"}, {"\xff\x01"});
  EXPECT_EQ(ziwei_answer_status(notUtf8.get()), ZIWEI_REFUSED);
  EXPECT_STREQ(ziwei_answer_message(notUtf8.get()), "name is not UTF-8 once decoded");
  EXPECT_EQ(text(notUtf8), "{\"error\":\"name is not UTF-8 once decoded\"}\n");

  const Held emptyKey = callPairs(ZIWEI_CHART, {""}, {"1984"});
  EXPECT_EQ(ziwei_answer_status(emptyKey.get()), ZIWEI_REFUSED);

  const Held tooMany = callPairs(ZIWEI_CHART, std::vector<std::string>(257, "year"),
                                 std::vector<std::string>(257, "1984"));
  EXPECT_EQ(ziwei_answer_status(tooMany.get()), ZIWEI_REFUSED);
  const Held enough = callPairs(ZIWEI_CHART, std::vector<std::string>(256, "year"),
                                std::vector<std::string>(256, "1984"));
  EXPECT_EQ(ziwei_answer_status(enough.get()), ZIWEI_OK);
}

TEST(Library, FindSaysWhetherItStoppedAtTheLimit) {
  const std::string where = "where=%E5%91%BD%E5%AE%AE+has+%E7%B4%AB%E5%BE%AE";
  const Held all = call(ZIWEI_FIND, ("from=2001-01-01&to=2001-01-03&" + where).c_str());
  EXPECT_EQ(ziwei_answer_status(all.get()), ZIWEI_OK);
  EXPECT_STREQ(ziwei_answer_type(all.get()), "application/jsonl");
  EXPECT_STREQ(ziwei_answer_stopped(all.get()), "");
  const Held two = call(ZIWEI_FIND, ("from=2001-01-01&to=2001-01-03&limit=2&" + where).c_str());
  EXPECT_STREQ(ziwei_answer_stopped(two.get()), "limit");
  EXPECT_EQ(text(all).rfind(text(two), 0), 0u);
  EXPECT_LT(text(two).size(), text(all).size());
}

TEST(Library, NamesEachStatusAndItsVersion) {
  const ziwei_status statuses[] = {ZIWEI_OK, ZIWEI_REFUSED, ZIWEI_FAILED, ZIWEI_NO_MEMORY,
                                   ZIWEI_BAD_ARGUMENT};
  std::vector<std::string> names;
  for (const ziwei_status status : statuses) {
    const std::string name = ziwei_status_text(status);
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(std::find(names.begin(), names.end(), name), names.end()) << name;
    names.push_back(name);
  }
  EXPECT_STREQ(ziwei_status_text(static_cast<ziwei_status>(7)), "unknown status");
  EXPECT_STREQ(ziwei_version(), ZIWEI_EXPECTED_VERSION);
}

// Threads calling at once get what one thread alone gets.
TEST(Library, CallsFromSeveralThreadsAtOnceAnswerAsOneAtATime) {
  const std::vector<std::pair<ziwei_operation, std::string>> calls = {
      {ZIWEI_CHART, "year=1984&month=4&day=20&hour=13&sex=female&on=2026-12-07"},
      {ZIWEI_CHART, "solar=1979-07-01&hour=10&minute=30&tz=Asia%2FTaipei&lang=en"},
      {ZIWEI_CHART, "solar=2001-06-08&hour=23&minute=30&place=Taipei&late-zi=next-day"},
      {ZIWEI_CHART, "year=1990&month=11&day=3&hour=7&format=text&lang=zh-Hans"},
      {ZIWEI_CHART, "year=1984&month=13"},
      {ZIWEI_LUNAR, "date=2001-06-08"},
      {ZIWEI_SOLAR, "year=2001&month=4&day=17&leap"},
      {ZIWEI_PLACES, "q=Suzhou"},
      {ZIWEI_FIND, "from=2001-01-01&to=2001-01-10&where=%E5%91%BD%E5%AE%AE+empty"},
  };
  std::vector<std::string> alone;
  for (const auto& [operation, query] : calls)
    alone.push_back(text(call(operation, query.c_str())));

  constexpr int kThreads = 4, kRounds = 6;
  std::vector<std::vector<std::string>> got(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      // Each thread in its own order, so that different calls overlap.
      for (int round = 0; round < kRounds; ++round) {
        for (std::size_t i = 0; i < calls.size(); ++i) {
          const std::size_t which = (i + static_cast<std::size_t>(t * 3 + round)) % calls.size();
          ziwei_answer* answer = nullptr;
          ziwei_call(calls[which].first, calls[which].second.c_str(), &answer);
          const std::string made(ziwei_answer_text(answer), ziwei_answer_size(answer));
          ziwei_answer_free(answer);
          if (made != alone[which]) got[static_cast<std::size_t>(t)].push_back(calls[which].second);
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_TRUE(got[static_cast<std::size_t>(t)].empty())
        << "thread " << t << " got another answer for " << got[static_cast<std::size_t>(t)][0];
  }
}

}  // namespace
