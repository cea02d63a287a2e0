#pragma once
// The HTTP service: HTTP/1.1 with keep-alive on Boost.Beast's parser and
// Boost.Asio, answering the routes of serve/exchange.h.
//
// Threads: `threads` workers, each with an event loop of its own that owns
// the connections given to it (no lock between them); searches run on a
// small pool of their own so that a long one never holds up a chart. Bounds:
// the connections open (past the bound a connection is answered 503 and
// closed), the searches queued (past it a search is answered 503), the size
// of a request (414, 431, 413) and the time a request may take to arrive, a
// response to be taken and a connection to sit idle between requests.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace ziwei::serve {

struct ServerOptions {
  std::string host = "127.0.0.1";  // an IPv4 or IPv6 address
  std::uint16_t port = 8080;       // 0: any free port
  unsigned threads = 0;            // 0: one per core
  std::size_t maxConnections = 4096;
  std::chrono::milliseconds readTimeout{10'000};   // a whole request, from its first byte
  std::chrono::milliseconds writeTimeout{10'000};  // a whole response
  std::chrono::milliseconds idleTimeout{30'000};   // between requests on a connection
  unsigned findThreads = 1;
  std::size_t findQueue = 16;  // searches waiting for a find thread, at most
  std::uint64_t findMatches = 1000;
  std::chrono::milliseconds findTime{2'000};
  bool accessLog = true;
};

// Whether `host` is an IP address the server can listen on.
bool isIpAddress(const std::string& host);

class Server {
 public:
  // Listens on the address of `options`; throws std::runtime_error naming
  // the address and the reason when it cannot.
  explicit Server(const ServerOptions& options);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // The address listened on, as a URL: "http://127.0.0.1:8080/".
  std::string url() const;
  std::uint16_t port() const;

  // Serves until stop() or, when `onSignals`, SIGTERM or SIGINT; then stops
  // accepting, closes the idle connections, lets the requests in flight be
  // answered and written, and returns once every connection is closed.
  void run(bool onSignals);
  // Asks run() to stop as above; safe from any thread.
  void stop();

  struct State;  // the implementation's

 private:
  std::unique_ptr<State> state_;
};

// Raises the soft limit of open files to the hard limit, so that thousands
// of connections fit; returns the limit now in force.
std::uint64_t raiseOpenFileLimit();

}  // namespace ziwei::serve
