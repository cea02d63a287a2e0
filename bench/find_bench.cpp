// The search over the whole default range of ziwei find (1912-02-18 to
// 2100-12-31, the twelve hour branches, both sexes: 1,655,616 charts) for a
// one-condition query, on one thread and on two; wall-clock time, and the
// charts searched per second as items_per_second. Arguments: threads, query.
#include <benchmark/benchmark.h>

#include <array>
#include <string_view>
#include <variant>

#include "find/condition_text.h"
#include "find/search.h"

namespace {

using namespace ziwei::find;

// One condition of each cost: the palace's own stars, the four palaces of
// its trine, and the 自化 that needs the palace relations.
constexpr std::array<std::string_view, 3> kQueries = {"命宮 has 紫微,天府", "命宮 sees 祿,權",
                                                      "命宮 self 忌"};

void BM_FindWholeRange(benchmark::State& state) {
  const auto threads = static_cast<unsigned>(state.range(0));
  const std::string_view text = kQueries[static_cast<std::size_t>(state.range(1))];
  const Query query({std::get<Condition>(readCondition(text))});
  const BirthRange range;  // the defaults
  std::uint64_t matches = 0;
  for (auto _ : state) {
    matches = search(query, range, {threads, 0}, [](const Match& m) {
                benchmark::DoNotOptimize(m.birth);
              }).matches;
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(birthCount(range)));
  state.counters["matches"] = static_cast<double>(matches);
  state.SetLabel(std::string(text));
}
BENCHMARK(BM_FindWholeRange)
    ->ArgsProduct({{1, 2}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
