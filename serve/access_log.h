#pragma once
// The access log: one line per request on standard error,
//   TIME PEER METHOD TARGET STATUS BYTES MICROSECONDS
// e.g. "2026-12-08T13:48:33.123Z 127.0.0.1:50412 GET /v1/chart?year=1984 200 5321 41".
// Each worker thread gathers its lines in a buffer of its own and writes
// them in whole lines, at most PIPE_BUF bytes a write, so that the lines of
// two threads never mix even on a pipe; the buffer is written when it fills
// and by the worker's timer, a few times a second.

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace ziwei::serve {

// The wall-clock time of a worker, formatted once a second: the Date header
// and the time of a log line.
class WallClock {
 public:
  // Reads the clock; returns the milliseconds within the second.
  int refresh();
  std::string_view httpDate() const { return {httpDate_, httpLength_}; }
  std::string_view isoSecond() const { return {iso_, isoLength_}; }

 private:
  std::time_t second_ = -1;
  char httpDate_[40] = {};
  std::size_t httpLength_ = 0;
  char iso_[32] = {};
  std::size_t isoLength_ = 0;
};

class AccessLog {
 public:
  explicit AccessLog(bool enabled) : enabled_(enabled) {}
  AccessLog(const AccessLog&) = delete;
  AccessLog& operator=(const AccessLog&) = delete;
  ~AccessLog() { flush(); }

  bool enabled() const { return enabled_; }
  // Adds a line; `method` and `target` may be empty (a request that could
  // not be read), shown as "-". The method is cut at 32 bytes, the target at 1000, and bytes
  // other than printable ASCII are shown as %XX.
  void add(const WallClock& clock, int millis, std::string_view peer, std::string_view method,
           std::string_view target, int status, std::uint64_t bytes, std::uint64_t micros);
  void flush();

 private:
  bool enabled_;
  std::string buffer_;
};

}  // namespace ziwei::serve
