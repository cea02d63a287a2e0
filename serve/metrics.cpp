#include "serve/metrics.h"

#include <algorithm>
#include <cstdio>

namespace ziwei::serve {

namespace {

// One writer: a load and a store, no locked instruction.
void bump(std::atomic<std::uint64_t>& counter, std::uint64_t by = 1) {
  counter.store(counter.load(std::memory_order_relaxed) + by, std::memory_order_relaxed);
}

std::string seconds(std::uint64_t micros) {
  std::array<char, 32> text{};
  const int n = std::snprintf(text.data(), text.size(), "%.6g", static_cast<double>(micros) / 1e6);
  return std::string(text.data(), static_cast<std::size_t>(std::max(n, 0)));
}

}  // namespace

Metrics::Metrics(std::size_t workers)
    : count_(std::max<std::size_t>(workers, 1)), shards_(new Shard[count_]) {}

void Metrics::countRequest(std::size_t worker, Route route, Status status, std::uint64_t micros) {
  Shard& shard = shards_[worker];
  bump(shard.requests[static_cast<std::size_t>(route)][static_cast<std::size_t>(status)]);
  const auto bucket = static_cast<std::size_t>(
      std::lower_bound(kLatencyBounds.begin(), kLatencyBounds.end(), micros) -
      kLatencyBounds.begin());
  bump(shard.buckets[bucket]);
  bump(shard.micros, micros);
}

std::string Metrics::text() const {
  std::string out;
  out +=
      "# HELP ziwei_http_requests_total Requests answered, by route and status code.\n"
      "# TYPE ziwei_http_requests_total counter\n";
  for (std::size_t route = 0; route < kRoutes; ++route) {
    for (std::size_t status = 0; status < kStatuses; ++status) {
      std::uint64_t sum = 0;
      for (std::size_t i = 0; i < count_; ++i) {
        sum += shards_[i].requests[route][status].load(std::memory_order_relaxed);
      }
      if (sum == 0) continue;
      out += "ziwei_http_requests_total{route=\"" + std::string(kRouteNames[route]) + "\",code=\"" +
             std::to_string(kStatusCodes[status]) + "\"} " + std::to_string(sum) + "\n";
    }
  }
  out +=
      "# HELP ziwei_http_request_duration_seconds Time from a request's first byte to its "
      "response written.\n"
      "# TYPE ziwei_http_request_duration_seconds histogram\n";
  std::uint64_t cumulative = 0;
  std::uint64_t micros = 0;
  for (std::size_t bucket = 0; bucket <= kLatencyBounds.size(); ++bucket) {
    for (std::size_t i = 0; i < count_; ++i) {
      cumulative += shards_[i].buckets[bucket].load(std::memory_order_relaxed);
    }
    out += "ziwei_http_request_duration_seconds_bucket{le=\"" +
           (bucket < kLatencyBounds.size() ? seconds(kLatencyBounds[bucket]) : "+Inf") + "\"} " +
           std::to_string(cumulative) + "\n";
  }
  for (std::size_t i = 0; i < count_; ++i)
    micros += shards_[i].micros.load(std::memory_order_relaxed);
  out += "ziwei_http_request_duration_seconds_sum " + seconds(micros) + "\n";
  out += "ziwei_http_request_duration_seconds_count " + std::to_string(cumulative) + "\n";
  out +=
      "# HELP ziwei_http_connections_open Connections open (within the bound).\n"
      "# TYPE ziwei_http_connections_open gauge\n"
      "ziwei_http_connections_open " +
      std::to_string(connectionsOpen.load(std::memory_order_relaxed)) +
      "\n"
      "# HELP ziwei_http_connections_refused_total Connections answered 503 past the bound.\n"
      "# TYPE ziwei_http_connections_refused_total counter\n"
      "ziwei_http_connections_refused_total " +
      std::to_string(connectionsRefused.load(std::memory_order_relaxed)) +
      "\n"
      "# HELP ziwei_find_pending Searches queued or running.\n"
      "# TYPE ziwei_find_pending gauge\n"
      "ziwei_find_pending " +
      std::to_string(findsPending.load(std::memory_order_relaxed)) + "\n";
  return out;
}

}  // namespace ziwei::serve
