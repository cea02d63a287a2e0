// One call as the service answers it: the query decoded, read as the cast's
// options and answered with the chart's JSON document.
#include <benchmark/benchmark.h>

#include "api/answer.h"
#include "api/query.h"

namespace {

void BM_AnswerChartJson(benchmark::State& state) {
  constexpr std::string_view kQuery =
      "year=1984&month=4&day=20&hour=13&sex=female&on=2026-12-07&lang=zh-Hant";
  for (auto _ : state) {
    const ziwei::api::DecodedQuery decoded = ziwei::api::decodeQuery(kQuery);
    ziwei::api::Answer answer =
        ziwei::api::answer(ziwei::api::Operation::Chart, decoded.parameters);
    benchmark::DoNotOptimize(answer.body.data());
  }
}
BENCHMARK(BM_AnswerChartJson);

}  // namespace
