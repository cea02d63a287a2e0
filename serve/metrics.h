#pragma once
// The counters of /metrics: requests by route and status, a histogram of
// their latency, the connections open. Each worker thread counts into a
// shard of its own (one writer, relaxed atomics, no lock); the text sums the
// shards as they stand.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "serve/exchange.h"

namespace ziwei::serve {

// The upper bounds of the latency buckets, in microseconds (the text shows
// them in seconds); the last bucket, +Inf, takes the rest.
inline constexpr std::array<std::uint64_t, 14> kLatencyBounds = {
    100, 250, 500, 1000, 2500, 5000, 10000, 25000, 50000, 100000, 250000, 500000, 1000000, 2500000};

class Metrics {
 public:
  explicit Metrics(std::size_t workers);

  // From worker `worker` only: a request answered.
  void countRequest(std::size_t worker, Route route, Status status, std::uint64_t micros);

  // From any thread.
  std::atomic<std::int64_t> connectionsOpen{0};
  std::atomic<std::uint64_t> connectionsRefused{0};  // answered 503 for the bound
  std::atomic<std::int64_t> findsPending{0};         // queued or running

  // The Prometheus text exposition of every counter.
  std::string text() const;

 private:
  struct alignas(64) Shard {
    std::array<std::array<std::atomic<std::uint64_t>, kStatuses>, kRoutes> requests{};
    std::array<std::atomic<std::uint64_t>, kLatencyBounds.size() + 1> buckets{};
    std::atomic<std::uint64_t> micros{0};
  };
  std::size_t count_;
  std::unique_ptr<Shard[]> shards_;
};

}  // namespace ziwei::serve
