#include "serve/server.h"

#include <sys/resource.h>

#include <atomic>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/thread_pool.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <csignal>
#include <cstdio>
#include <exception>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "serve/access_log.h"
#include "serve/exchange.h"
#include "serve/metrics.h"
#include "serve/request_reader.h"

namespace ziwei::serve {

namespace {

namespace net = boost::asio;
using tcp = net::ip::tcp;
using Clock = std::chrono::steady_clock;
using boost::system::error_code;

constexpr std::size_t kReadSize = 8 * 1024;
// Connections answered 503 for the bound at the same time, at most; past
// them a connection is closed at once.
constexpr std::size_t kMostRefusing = 1024;
constexpr std::chrono::milliseconds kSweepEvery{100};
// How long a connection that is closing may take to send what it still sends.
constexpr std::chrono::milliseconds kMostLinger{2'000};

class Connection;

// A worker thread: its event loop, the connections it owns and what it
// counts and logs. Only its own thread touches it, but for the posts that
// hand it a connection or the answer of a search.
struct Worker {
  Worker(std::size_t number, bool log) : index(number), accessLog(log) {}
  std::size_t index;
  Connection* first = nullptr;  // the connections, linked through them
  WallClock clock;
  AccessLog accessLog;
  bool stopping = false;
  // Last, so that the connections its handlers hold, released when it is
  // destroyed, find the rest of the worker still there.
  net::io_context context{1};
  net::steady_timer sweeper{context};
};

std::string peerText(const tcp::socket& socket) {
  error_code ec;
  const tcp::endpoint peer = socket.remote_endpoint(ec);
  if (ec) return "-";
  const std::string address = peer.address().to_string();
  return (peer.address().is_v6() ? "[" + address + "]" : address) + ":" +
         std::to_string(peer.port());
}

std::string secondsText(std::chrono::milliseconds time) {
  const auto ms = time.count();
  return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

}  // namespace

struct Server::State {
  explicit State(const ServerOptions& given);

  // What a connection counts in is made before the workers and gone after
  // them; the objects of a worker's event loop go before it.
  ServerOptions options;
  Metrics metrics;
  std::atomic<bool> stopping{false};
  std::atomic<std::size_t> refusing{0};
  std::size_t nextWorker = 0;
  tcp::endpoint local;
  std::vector<std::unique_ptr<Worker>> workers;
  tcp::acceptor acceptor;
  net::steady_timer acceptPause;
  net::signal_set signals;
  net::thread_pool findPool;

  void accept();
  void startSweeping(Worker& worker);
  void stopWorker(Worker& worker);
  void requestStop();
};

namespace {

class Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(Server::State& server, Worker& worker, tcp::socket socket, bool refuse)
      : server_(server), worker_(worker), socket_(std::move(socket)), refuse_(refuse) {
    next_ = worker_.first;
    if (next_ != nullptr) next_->previous_ = this;
    worker_.first = this;
  }
  ~Connection() {
    if (previous_ != nullptr) previous_->next_ = next_;
    if (next_ != nullptr) next_->previous_ = previous_;
    if (worker_.first == this) worker_.first = next_;
    if (refuse_) {
      server_.refusing.fetch_sub(1, std::memory_order_relaxed);
    } else {
      server_.metrics.connectionsOpen.fetch_sub(1, std::memory_order_relaxed);
    }
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  Connection* next() const { return next_; }

  void start() {
    if (worker_.stopping) {
      close();
      return;
    }
    error_code ignored;
    socket_.set_option(tcp::no_delay(true), ignored);
    peer_ = peerText(socket_);
    beginRequest(Clock::now());
  }

  // From the worker's sweeper: closes the connection when its time is up, or
  // when the server stops and it waits for a request that has not begun.
  void sweep(Clock::time_point now) {
    if (phase_ == Phase::Idle && worker_.stopping) {
      close();
      return;
    }
    if (phase_ == Phase::Answering || phase_ == Phase::Closed || now < deadline_) return;
    if (phase_ == Phase::Reading) timeOutRequest();
    close();
  }

 private:
  enum class Phase { Idle, Reading, Answering, Writing, Lingering, Closed };

  void beginRequest(Clock::time_point now) {
    reader_.next();
    route_ = Route::Other;
    method_ = Method::Other;
    started_ = now;
    if (buffer_.size() > 0) {
      phase_ = Phase::Reading;
      deadline_ = now + server_.options.readTimeout;
      parse();
    } else {
      phase_ = Phase::Idle;
      deadline_ = now + server_.options.idleTimeout;
      read();
    }
  }

  void read() {
    socket_.async_read_some(
        buffer_.prepare(kReadSize),
        [self = shared_from_this()](error_code ec, std::size_t n) { self->onRead(ec, n); });
  }

  void onRead(error_code ec, std::size_t n) {
    if (ec || phase_ == Phase::Closed) {
      close();
      return;
    }
    buffer_.commit(n);
    if (phase_ == Phase::Lingering) {
      buffer_.consume(buffer_.size());
      read();
      return;
    }
    if (phase_ == Phase::Idle) {
      phase_ = Phase::Reading;
      started_ = Clock::now();
      deadline_ = started_ + server_.options.readTimeout;
    }
    parse();
  }

  void parse() {
    switch (reader_.read(buffer_)) {
      case RequestReader::State::NeedMore:
        read();
        return;
      case RequestReader::State::Refused:
        send(std::move(reader_.refusal()), true);
        return;
      case RequestReader::State::Whole:
        answer();
        return;
    }
  }

  void answer() {
    method_ = reader_.method();
    keepAlive_ = reader_.keepAlive();
    http10_ = reader_.http10();
    if (refuse_) {
      send(errorReply(Status::Unavailable, "the server is at its bound of " +
                                               std::to_string(server_.options.maxConnections) +
                                               " connections; try again later"),
           true);
      return;
    }
    const Target target = splitTarget(reader_.target());
    route_ = routeOf(target.path);
    const std::optional<api::Operation> operation = operationOf(route_);
    if (operation && method_ != Method::Other) {
      if (*operation == api::Operation::Find) {
        search(target.query);
      } else {
        send(queryReply(*operation, target.query, {}), false);
      }
      return;
    }
    send(fixedReply(route_, method_, target.path,
                    route_ == Route::Metrics ? server_.metrics.text() : std::string()),
         false);
  }

  // A search runs on the find pool; its answer comes back to this worker.
  void search(std::string_view query) {
    const ServerOptions& options = server_.options;
    const auto most = static_cast<std::int64_t>(options.findThreads + options.findQueue);
    if (server_.metrics.findsPending.fetch_add(1) >= most) {
      server_.metrics.findsPending.fetch_sub(1);
      send(errorReply(Status::Unavailable, "the server is busy: " + std::to_string(most) +
                                               " searches are running or waiting; try again later"),
           false);
      return;
    }
    phase_ = Phase::Answering;
    net::post(server_.findPool, [self = shared_from_this(), query = std::string(query),
                                 guard = net::make_work_guard(worker_.context)]() mutable {
      const ServerOptions& o = self->server_.options;
      Reply reply = queryReply(api::Operation::Find, query, {o.findMatches, o.findTime});
      self->server_.metrics.findsPending.fetch_sub(1);
      Worker& worker = self->worker_;
      // The connection is released on its own worker only.
      net::post(worker.context, [self = std::move(self), reply = std::move(reply),
                                 guard = std::move(guard)]() mutable {
        if (self->phase_ == Phase::Closed) return;
        self->send(std::move(reply), false);
      });
    });
  }

  void send(Reply reply, bool thenClose) {
    reply_ = std::move(reply);
    if (thenClose || worker_.stopping) keepAlive_ = false;
    millis_ = worker_.clock.refresh();
    head_.clear();
    appendHead(head_, reply_, worker_.clock.httpDate(), keepAlive_, http10_);
    phase_ = Phase::Writing;
    deadline_ = Clock::now() + server_.options.writeTimeout;
    const std::string_view body = method_ == Method::Head ? std::string_view() : reply_.body();
    const std::array<net::const_buffer, 2> buffers{net::buffer(head_),
                                                   net::buffer(body.data(), body.size())};
    net::async_write(socket_, buffers, [self = shared_from_this()](error_code ec, std::size_t n) {
      self->onWritten(ec, n);
    });
  }

  void onWritten(error_code ec, std::size_t bytes) {
    const Clock::time_point now = Clock::now();
    const auto micros = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(now - started_).count());
    server_.metrics.countRequest(worker_.index, route_, reply_.status, micros);
    if (worker_.accessLog.enabled()) {
      std::string_view method, target;
      if (reader_.headRead()) {
        method = reader_.methodText();
        target = reader_.target();
      }
      worker_.accessLog.add(worker_.clock, millis_, peer_, method, target,
                            kStatusCodes[static_cast<std::size_t>(reply_.status)], bytes, micros);
    }
    if (ec || phase_ == Phase::Closed) {
      close();
      return;
    }
    if (!keepAlive_ || worker_.stopping) {
      linger(now);
      return;
    }
    reply_ = Reply{};
    beginRequest(now);
  }

  // Sends FIN and reads what the peer still sends until it closes (or a
  // little while), so that unread bytes do not make the kernel reset the
  // connection before the peer has read the response.
  void linger(Clock::time_point now) {
    error_code ignored;
    socket_.shutdown(tcp::socket::shutdown_send, ignored);
    phase_ = Phase::Lingering;
    deadline_ = now + std::min<Clock::duration>(kMostLinger, server_.options.readTimeout);
    buffer_.consume(buffer_.size());
    read();
  }

  // A request that did not arrive in time: a 408 if the socket takes it at
  // once, without waiting for a peer that may not read.
  void timeOutRequest() {
    Reply reply = errorReply(Status::RequestTimeout, "the request did not arrive within " +
                                                         secondsText(server_.options.readTimeout));
    worker_.clock.refresh();
    std::string bytes;
    appendHead(bytes, reply, worker_.clock.httpDate(), false, false);
    bytes += reply.body();
    error_code ec;
    socket_.non_blocking(true, ec);
    if (!ec) socket_.write_some(net::buffer(bytes), ec);
    millis_ = worker_.clock.refresh();
    reply_ = std::move(reply);
    route_ = Route::Other;
    server_.metrics.countRequest(
        worker_.index, route_, reply_.status,
        static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started_)
                .count()));
    worker_.accessLog.add(worker_.clock, millis_, peer_, {}, {}, 408, ec ? 0 : bytes.size(), 0);
  }

  void close() {
    if (phase_ == Phase::Closed) return;
    phase_ = Phase::Closed;
    error_code ignored;
    socket_.close(ignored);
  }

  Server::State& server_;
  Worker& worker_;
  tcp::socket socket_;
  bool refuse_;
  Connection* previous_ = nullptr;
  Connection* next_ = nullptr;
  std::string peer_;
  Phase phase_ = Phase::Idle;
  Clock::time_point started_;
  Clock::time_point deadline_;
  boost::beast::flat_buffer buffer_;
  RequestReader reader_;
  Route route_ = Route::Other;
  Method method_ = Method::Other;
  bool keepAlive_ = true;
  bool http10_ = false;
  Reply reply_;
  std::string head_;
  int millis_ = 0;
};

std::vector<std::unique_ptr<Worker>> makeWorkers(const ServerOptions& options) {
  std::vector<std::unique_ptr<Worker>> workers;
  for (unsigned i = 0; i < options.threads; ++i) {
    workers.push_back(std::make_unique<Worker>(i, options.accessLog));
  }
  return workers;
}

ServerOptions settled(ServerOptions options) {
  if (options.threads == 0) options.threads = std::max(1U, std::thread::hardware_concurrency());
  options.findThreads = std::max(1U, options.findThreads);
  options.maxConnections = std::max<std::size_t>(1, options.maxConnections);
  return options;
}

}  // namespace

Server::State::State(const ServerOptions& given)
    : options(settled(given)),
      metrics(options.threads),
      workers(makeWorkers(options)),
      acceptor(workers.front()->context),
      acceptPause(workers.front()->context),
      signals(workers.front()->context),
      findPool(options.findThreads) {
  error_code ec;
  const net::ip::address address = net::ip::make_address(options.host, ec);
  const std::string where = (address.is_v6() ? "[" + options.host + "]" : options.host) + ":" +
                            std::to_string(options.port);
  if (ec) throw std::runtime_error("cannot listen on " + where + ": not an IP address");
  const tcp::endpoint endpoint(address, options.port);
  const auto fail = [&](const error_code& e) {
    if (e) throw std::runtime_error("cannot listen on " + where + ": " + e.message());
  };
  acceptor.open(endpoint.protocol(), ec);
  fail(ec);
  acceptor.set_option(net::socket_base::reuse_address(true), ec);
  fail(ec);
  acceptor.bind(endpoint, ec);
  fail(ec);
  acceptor.listen(net::socket_base::max_listen_connections, ec);
  fail(ec);
  local = acceptor.local_endpoint(ec);
  fail(ec);
}

void Server::State::accept() {
  Worker& target = *workers[nextWorker];
  nextWorker = (nextWorker + 1) % workers.size();
  acceptor.async_accept(target.context, [this, &target](error_code ec, tcp::socket socket) {
    if (ec == net::error::operation_aborted || stopping.load()) return;
    if (ec) {
      // Out of descriptors, or a connection reset before it was taken: try
      // again in a moment rather than spin.
      acceptPause.expires_after(std::chrono::milliseconds(50));
      acceptPause.async_wait([this](error_code e) {
        if (!e && !stopping.load()) accept();
      });
      return;
    }
    bool refuse = false;
    if (metrics.connectionsOpen.fetch_add(1, std::memory_order_relaxed) >=
        static_cast<std::int64_t>(options.maxConnections)) {
      metrics.connectionsOpen.fetch_sub(1, std::memory_order_relaxed);
      metrics.connectionsRefused.fetch_add(1, std::memory_order_relaxed);
      refuse = true;
      if (refusing.fetch_add(1, std::memory_order_relaxed) >= kMostRefusing) {
        refusing.fetch_sub(1, std::memory_order_relaxed);
        error_code ignored;
        socket.close(ignored);
        accept();
        return;
      }
    }
    net::post(target.context, [this, &target, socket = std::move(socket), refuse]() mutable {
      std::make_shared<Connection>(*this, target, std::move(socket), refuse)->start();
    });
    accept();
  });
}

void Server::State::startSweeping(Worker& worker) {
  worker.sweeper.expires_after(kSweepEvery);
  worker.sweeper.async_wait([this, &worker](error_code ec) {
    if (ec) return;
    const Clock::time_point now = Clock::now();
    for (Connection* connection = worker.first; connection != nullptr;) {
      // A connection closed here is released later, by its handlers.
      Connection* const next = connection->next();
      connection->sweep(now);
      connection = next;
    }
    worker.accessLog.flush();
    if (worker.stopping && worker.first == nullptr) return;
    startSweeping(worker);
  });
}

void Server::State::stopWorker(Worker& worker) {
  worker.stopping = true;
  const Clock::time_point now = Clock::now();
  for (Connection* connection = worker.first; connection != nullptr;) {
    Connection* const next = connection->next();
    connection->sweep(now);
    connection = next;
  }
}

void Server::State::requestStop() {
  if (stopping.exchange(true)) return;
  net::post(workers.front()->context, [this] {
    error_code ignored;
    acceptor.close(ignored);
    acceptPause.cancel();
    signals.cancel();
  });
  for (const auto& worker : workers) {
    net::post(worker->context, [this, w = worker.get()] { stopWorker(*w); });
  }
}

Server::Server(const ServerOptions& options) : state_(std::make_unique<State>(options)) {}

Server::~Server() = default;

std::string Server::url() const {
  const std::string address = state_->local.address().to_string();
  return "http://" + (state_->local.address().is_v6() ? "[" + address + "]" : address) + ":" +
         std::to_string(state_->local.port()) + "/";
}

std::uint16_t Server::port() const { return state_->local.port(); }

void Server::run(bool onSignals) {
  State& state = *state_;
  // A peer gone is an error of the write, not a signal that ends the process.
  std::signal(SIGPIPE, SIG_IGN);
  if (onSignals) {
    state.signals.add(SIGINT);
    state.signals.add(SIGTERM);
    state.signals.async_wait([&state](error_code ec, int) {
      if (!ec) state.requestStop();
    });
  }
  if (!state.stopping.load()) state.accept();
  for (const auto& worker : state.workers) state.startSweeping(*worker);
  const auto loop = [](Worker& worker) {
    for (;;) {
      try {
        worker.context.run();
        break;
      } catch (const std::exception& error) {
        const std::string line = std::string("ziwei: serve: ") + error.what() + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
      }
    }
    worker.accessLog.flush();
  };
  std::vector<std::thread> threads;
  for (std::size_t i = 1; i < state.workers.size(); ++i) {
    threads.emplace_back(loop, std::ref(*state.workers[i]));
  }
  loop(*state.workers.front());
  for (std::thread& thread : threads) thread.join();
  state.findPool.join();
}

void Server::stop() { state_->requestStop(); }

bool isIpAddress(const std::string& host) {
  error_code ec;
  net::ip::make_address(host, ec);
  return !ec;
}

std::uint64_t raiseOpenFileLimit() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return 0;
  if (limit.rlim_cur < limit.rlim_max) {
    rlimit raised = limit;
    raised.rlim_cur = limit.rlim_max;
    if (::setrlimit(RLIMIT_NOFILE, &raised) == 0) limit = raised;
  }
  return static_cast<std::uint64_t>(limit.rlim_cur);
}

}  // namespace ziwei::serve
