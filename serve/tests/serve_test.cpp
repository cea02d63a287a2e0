// ziwei serve as a client meets it: the answers against the command line's
// output, each error status, the bounds and timeouts, the graceful stop.

#include <atomic>
#include <random>
#include <thread>

#include "api/answer.h"
#include "api/query.h"
#include "serve/tests/service.h"

namespace ziwei::serve::testing {
namespace {

using Pairs = std::vector<api::Parameter>;

std::string query(const Pairs& pairs) { return api::encodeQuery(pairs); }

// The command line of the same parameters: "--key=value", a flag "--key".
std::vector<std::string> commandLine(std::vector<std::string> args, const Pairs& pairs) {
  args.insert(args.begin(), ZIWEI_EXECUTABLE);
  for (const auto& [key, value] : pairs) {
    args.push_back(value.empty() ? "--" + key : "--" + key + "=" + value);
  }
  return args;
}

const std::string kTaipeiPlace = "Taipei";

// Births of several kinds: lunar with a leap month, Gregorian with a zone
// and daylight saving, a place, a late 子 hour, a target date, each language.
const std::vector<Pairs> kBirths = {
    {{"year", "1984"},
     {"month", "3"},
     {"day", "20"},
     {"hour", "13"},
     {"sex", "female"},
     {"print-date", "2026-12-08"}},
    {{"name", "王小明"},
     {"year", "1955"},
     {"month", "3"},
     {"leap", ""},
     {"day", "14"},
     {"hour", "23"},
     {"minute", "30"},
     {"sex", "male"},
     {"late-zi", "next-day"},
     {"on", "2026-12-07"},
     {"lang", "zh-Hans"},
     {"print-date", "2026-12-08"}},
    {{"solar", "1979-07-01"},
     {"hour", "10"},
     {"minute", "30"},
     {"tz", "Asia/Taipei"},
     {"sex", "female"},
     {"lang", "en"},
     {"print-date", "2026-12-08"}},
    {{"solar", "2001-06-08"},
     {"hour", "9"},
     {"place", kTaipeiPlace},
     {"sex", "male"},
     {"on", "2030-02-01"},
     {"on-time", "14:00"},
     {"lang", "zh-Hant"}},
};

TEST(ServeAnswers, ChartIsTheCommandLinesOutputInEveryFormat) {
  Service service;
  for (const Pairs& birth : kBirths) {
    for (const std::string format : {"json", "html", "text", "markdown", "study"}) {
      Pairs pairs = birth;
      pairs.push_back({"format", format});
      std::vector<std::string> extra;
      if (format == "html") extra = {"--encoding=utf-8"};
      const ProgramRun cli = runProgram(commandLine(extra, pairs));
      ASSERT_EQ(cli.status, 0) << cli.err;
      const Response response = service.get("/v1/chart?" + query(pairs));
      EXPECT_EQ(response.status, 200) << query(pairs) << response.body;
      EXPECT_EQ(response.body, cli.out) << query(pairs);
      const std::string type = format == "json"       ? "application/json"
                               : format == "text"     ? "text/plain; charset=utf-8"
                               : format == "markdown" ? "text/markdown; charset=utf-8"
                                                      : "text/html; charset=utf-8";
      EXPECT_EQ(response.header("content-type"), type);
    }
  }
  // Without format, JSON.
  const Response json = service.get("/v1/chart?" + query(kBirths[0]));
  EXPECT_EQ(json.header("content-type"), "application/json");
  EXPECT_EQ(json.body.substr(0, 9), "{\"input\":");
}

// The documents themselves are the calls' (api's tests read them); a route
// answers what its call does.
TEST(ServeAnswers, CalendarAndPlacesAreTheirCallsAnswers) {
  Service service;
  const std::pair<api::Operation, std::string> calls[] = {
      {api::Operation::Lunar, "date=2001-06-08"},
      {api::Operation::Solar, "year=2001&month=4&day=17&leap=1"},
      {api::Operation::Places, "q=Su&limit=5"}};
  for (const auto& [operation, query] : calls) {
    const std::string name(api::kOperationNames[static_cast<std::size_t>(operation)]);
    const Response response = service.get("/v1/" + name + "?" + query);
    EXPECT_EQ(response.status, 200) << name;
    EXPECT_EQ(response.header("content-type"), "application/json") << name;
    EXPECT_EQ(response.body, api::answer(operation, api::decodeQuery(query).parameters).body);
  }
}

const Pairs kFind = {{"from", "2000-01-01"},
                     {"to", "2000-02-15"},
                     {"where", "命宮 has 紫微"},
                     {"where", "夫妻宮 empty"}};

// A search that meets nothing in the whole range, every hour: seconds of work.
const std::string kLongFind = api::encodeQuery({{"where", "命宮 has 紫微,天府"},
                                                {"where", "夫妻宮 empty"},
                                                {"hours", [] {
                                                   std::string hours = "0";
                                                   for (int hour = 1; hour < 24; ++hour)
                                                     hours += "," + std::to_string(hour);
                                                   return hours;
                                                 }()}});

TEST(ServeAnswers, FindIsTheCommandsLinesCutAtTheServersBounds) {
  {
    Service service;
    for (const std::string format : {"jsonl", "csv", "count"}) {
      Pairs pairs = kFind;
      pairs.push_back({"format", format});
      const ProgramRun cli = runProgram(commandLine({"find", "--jobs=1"}, pairs));
      ASSERT_EQ(cli.status, 0) << cli.err;
      const Response response = service.get("/v1/find?" + query(pairs));
      EXPECT_EQ(response.status, 200);
      EXPECT_EQ(response.body, cli.out) << format;
      EXPECT_FALSE(response.header("x-ziwei-stopped"));
    }
  }
  Service bounded({"--find-limit", "3", "--find-time", "300"});
  const Response limited = bounded.get("/v1/find?" + query(kFind));
  EXPECT_EQ(limited.header("x-ziwei-stopped"), "limit");
  EXPECT_EQ(std::count(limited.body.begin(), limited.body.end(), '\n'), 3);
  // The whole range would take seconds: cut at the time limit.
  const Response timed = bounded.get("/v1/find?" + kLongFind);
  EXPECT_EQ(timed.status, 200);
  EXPECT_EQ(timed.body, "");
  EXPECT_EQ(timed.header("x-ziwei-stopped"), "time");
}

TEST(ServeErrors, EachStatusWithItsJsonMessage) {
  Service service;
  // A parameter refused: the command line's message.
  const Response bad = service.get("/v1/chart?year=1911");
  const ProgramRun cli = runProgram({ZIWEI_EXECUTABLE, "--year=1911"});
  EXPECT_EQ(bad.status, 400);
  EXPECT_EQ(bad.header("content-type"), "application/json");
  ASSERT_EQ(cli.err.rfind("ziwei: ", 0), 0U);
  EXPECT_EQ(
      bad.body, "{\"error\":" + [&] {
        std::string message = cli.err.substr(7, cli.err.find('\n') - 7);
        std::string quoted = "\"";
        for (char c : message) {
          if (c == '"' || c == '\\') quoted += '\\';
          quoted += c;
        }
        return quoted + "\"";
      }() + "}\n");
  EXPECT_EQ(service.get("/v1/chart?year=%zz").status, 400);
  EXPECT_EQ(service.get("/v1/lunar?date=2001-02-30").status, 400);
  EXPECT_EQ(service.get("/v1/places?q=Nowhereville").status, 400);
  EXPECT_EQ(service.get("/v1/find?where=nonsense").status, 400);

  const Response missing = service.get("/v2/chart");
  EXPECT_EQ(missing.status, 404);
  EXPECT_EQ(missing.body, "{\"error\":\"nothing is served at this path\"}\n");
  EXPECT_EQ(service.get("/index.html").status, 404);
  EXPECT_EQ(service.get("/v1/chart/").status, 404);

  for (const std::string method : {"POST", "PUT", "DELETE", "OPTIONS"}) {
    Client client(service.port());
    client.send(method + " /v1/chart HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n");
    const Response response = client.read();
    EXPECT_EQ(response.status, 405) << method;
    EXPECT_EQ(response.header("allow"), "GET, HEAD");
    // The request was whole: the connection serves the next one.
    EXPECT_EQ(client.get("/healthz").status, 200) << method;
  }

  const auto refused = [&](const std::string& request) {
    Client client(service.port());
    client.send(request);
    Response response = client.read();
    EXPECT_EQ(response.header("connection"), "close") << response.status;
    EXPECT_EQ(response.body.substr(0, 10), "{\"error\":\"") << response.status;
    EXPECT_TRUE(client.closedWithin(3s)) << response.status;
    return response.status;
  };
  EXPECT_EQ(refused("GET /v1/chart HTTP/1.1\r\nHost: x\r\nContent-Length: 70000\r\n\r\n"), 413);
  EXPECT_EQ(refused("GET /" + std::string(9000, 'a') + " HTTP/1.1\r\nHost: x\r\n\r\n"), 414);
  EXPECT_EQ(refused("GET /" + std::string(40000, 'a') + " HTTP/1.1\r\nHost: x\r\n\r\n"), 414);
  EXPECT_EQ(refused("GET / HTTP/1.1\r\nHost: x\r\nX-Big: " + std::string(17000, 'b') + "\r\n\r\n"),
            431);
  std::string many = "GET / HTTP/1.1\r\nHost: x\r\n";
  for (int i = 0; i < 2000; ++i) many += "X-Field-" + std::to_string(i) + ": value\r\n";
  EXPECT_EQ(refused(many + "\r\n"), 431);
  EXPECT_EQ(refused("GARBAGE\r\n\r\n"), 400);
  EXPECT_EQ(refused("GET / HTTP/1.1\r\nHost x\r\n\r\n"), 400);
  EXPECT_EQ(refused("GET / HTTP/1.1\r\nContent-Length: -5\r\n\r\n"), 400);
  // A body within the bound is read and passed over.
  Client client(service.port());
  client.send("GET /healthz HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello");
  EXPECT_EQ(client.read().body, "ok\n");
  EXPECT_EQ(client.get("/healthz").body, "ok\n");
}

// The bytes of requests, a NUL and bytes past ASCII among them.
constexpr char kAlphabet[] =
    "\r\n :%?&=/GETHP1.0\x00\xff\x80"
    "aZ9-";

TEST(ServeErrors, HostileBytesAreAnsweredOrDroppedNeverACrash) {
  Service service({"--read-timeout", "1"});
  std::mt19937 random(20);
  const std::vector<std::string> starts = {
      "", "GET / HTTP/1.1\r\n", "GET /v1/chart?",
      "HEAD /metrics HTTP/1.1\r\nTransfer-Encoding: chunked\r\n",
      "GET /healthz HTTP/1.1\r\nContent-Length: 3\r\n\r\n"};
  for (int i = 0; i < 300; ++i) {
    std::string bytes = starts[static_cast<std::size_t>(i) % starts.size()];
    const std::size_t length = random() % (i % 10 == 0 ? 40000 : 300);
    const std::string_view alphabet(kAlphabet, sizeof kAlphabet - 1);
    for (std::size_t j = 0; j < length; ++j) {
      bytes += i % 2 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
    }
    Client client(service.port());
    client.send(bytes + (i % 3 ? "\r\n\r\n" : ""));
    const Response response = client.read(false, 1500ms);
    if (response.status != 0) {
      EXPECT_TRUE(response.status == 200 || response.status >= 400) << response.status;
    }
  }
  EXPECT_EQ(service.get("/healthz").body, "ok\n");
  EXPECT_EQ(service.stop(), 0);
}

TEST(ServeErrors, SaturatedIs503) {
  Service service({"--max-connections", "2", "--find-threads", "1", "--find-queue", "0",
                   "--find-limit", "100000", "--find-time", "1500"});
  Client first(service.port()), second(service.port());
  EXPECT_EQ(first.get("/healthz").status, 200);
  EXPECT_EQ(second.get("/healthz").status, 200);
  {
    Client third(service.port());
    const Response response = third.get("/healthz");
    EXPECT_EQ(response.status, 503);
    EXPECT_NE(response.body.find("bound of 2 connections"), std::string::npos) << response.body;
    EXPECT_EQ(response.header("retry-after"), "1");
  }
  // A long search takes the one find thread; the next search is refused,
  // and a chart is answered meanwhile.
  first.send("GET /v1/find?" + kLongFind + " HTTP/1.1\r\n\r\n");
  std::this_thread::sleep_for(300ms);
  const Response busy = second.get("/v1/find?where=%E5%91%BD%E5%AE%AE+has+%E7%B4%AB%E5%BE%AE");
  EXPECT_EQ(busy.status, 503);
  EXPECT_NE(busy.body.find("searches are running or waiting"), std::string::npos);
  EXPECT_EQ(second.get("/v1/chart?year=1984").status, 200);
  // ... before the search, which runs to its time limit, has answered.
  EXPECT_FALSE(first.closedWithin(1ms));
  EXPECT_EQ(first.unread(), "");
  const Response searched = first.read();
  EXPECT_EQ(searched.status, 200);
  EXPECT_EQ(searched.header("x-ziwei-stopped"), "time");
  // Once it is done the next one runs.
  EXPECT_EQ(second.get("/v1/find?" + query(kFind)).status, 200);
}

TEST(ServeConnections, KeepAlivePipeliningHeadAndHttp10) {
  Service service;
  Client client(service.port());
  client.send(
      "GET /v1/lunar?date=2001-06-08 HTTP/1.1\r\n\r\nHEAD /v1/chart?year=1984 HTTP/1.1\r\n\r\n"
      "GET /v1/chart?year=1984 HTTP/1.1\r\n\r\n");
  EXPECT_EQ(client.read().body.substr(0, 21), "{\"solar\":\"2001-06-08\"");
  const Response head = client.read(true);
  const Response get = client.read();
  EXPECT_EQ(head.status, 200);
  EXPECT_EQ(head.header("content-length"), std::to_string(get.body.size()));
  EXPECT_GT(get.body.size(), 1000U);
  EXPECT_FALSE(client.closedWithin(200ms));

  Client old(service.port());
  old.send("GET /healthz HTTP/1.0\r\n\r\n");
  EXPECT_EQ(old.read().header("connection"), "close");
  EXPECT_TRUE(old.closedWithin(2s));
  Client kept(service.port());
  kept.send("GET /healthz HTTP/1.0\r\nConnection: keep-alive\r\n\r\n");
  EXPECT_EQ(kept.read().header("connection"), "keep-alive");
  EXPECT_EQ(kept.get("/healthz").status, 200);
  Client closing(service.port());
  closing.send("GET /healthz HTTP/1.1\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(closing.read().header("connection"), "close");
  EXPECT_TRUE(closing.closedWithin(2s));
}

TEST(ServeConnections, SlowAndIdleClientsAreCutOffWhileOthersAreServed) {
  Service service({"--read-timeout", "1", "--idle-timeout", "2", "--threads", "1"});
  Client slow(service.port()), idle(service.port());
  EXPECT_EQ(idle.get("/healthz").status, 200);
  const auto start = std::chrono::steady_clock::now();
  const std::string header = "GET /healthz HTTP/1.1\r\nX-Slow: aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa";
  bool cut = false;
  int served = 0;
  for (std::size_t i = 0; i < header.size() && !cut; ++i) {
    slow.send(header.substr(i, 1));
    // Another client is served meanwhile, on the one worker.
    served += service.get("/v1/chart?year=1984").status == 200;
    cut = slow.closedWithin(100ms);
  }
  // Cut off before its header was whole (one byte each 100 ms or more),
  // not before the timeout, and the others served until then.
  EXPECT_TRUE(cut);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 900ms);
  EXPECT_GE(served, 5);
  EXPECT_NE(slow.unread().find("408 Request Timeout"), std::string::npos);
  // The idle one: open until its idle timeout, two seconds after its answer.
  EXPECT_FALSE(idle.closedWithin(300ms));
  EXPECT_TRUE(idle.closedWithin(5s));
  EXPECT_EQ(idle.unread(), "");
}

TEST(ServeStop, SigtermLosesNoAnsweredRequest) {
  Service service({"--find-limit", "100000", "--find-time", "1500"});
  const std::string chartTarget = "/v1/chart?" + query(kBirths[1]);
  const std::string expected = service.get(chartTarget).body;
  ASSERT_GT(expected.size(), 1000U);
  std::atomic<int> answered{0}, wrong{0};
  std::vector<std::thread> clients;
  for (int i = 0; i < 4; ++i) {
    clients.emplace_back([&] {
      Client client(service.port());
      for (;;) {
        const Response response = client.get(chartTarget);
        if (response.status == 0) break;  // closed by the server
        if (response.status != 200 || response.body != expected) ++wrong;
        ++answered;
      }
    });
  }
  // A search in flight when the signal comes.
  Client searching(service.port());
  searching.send("GET /v1/find?" + kLongFind + " HTTP/1.1\r\n\r\n");
  Client idle(service.port());
  EXPECT_EQ(idle.get("/healthz").status, 200);
  std::this_thread::sleep_for(400ms);
  service.terminate();
  // The idle connection is closed, no new one is taken, the search is answered.
  EXPECT_TRUE(idle.closedWithin(1s));
  std::this_thread::sleep_for(100ms);
  Client late(service.port());
  EXPECT_FALSE(late.connected() && late.get("/healthz").status != 0);
  const Response searched = searching.read();
  EXPECT_EQ(searched.status, 200);
  EXPECT_EQ(searched.header("connection"), "close");
  EXPECT_EQ(searched.header("x-ziwei-stopped"), "time");
  for (std::thread& client : clients) client.join();
  EXPECT_EQ(service.wait(), 0);
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_GT(answered.load(), 20);
  // Every request answered is in the log, after the signal too.
  const std::string log = service.log();
  std::size_t logged = 0;
  for (std::size_t at = 0; (at = log.find(" GET /v1/chart?", at)) != std::string::npos; ++at) {
    ++logged;
  }
  EXPECT_EQ(logged, static_cast<std::size_t>(answered.load()) + 1);
}

TEST(ServeMetrics, CountRequestsByRouteAndStatusAndTheirLatency) {
  Service service({"--no-access-log"});
  for (int i = 0; i < 3; ++i) service.get("/v1/chart?year=1984");
  service.get("/v1/chart?year=1");
  service.get("/nowhere");
  Client held(service.port());
  const std::string text = held.get("/metrics").body;
  EXPECT_NE(text.find("ziwei_http_requests_total{route=\"chart\",code=\"200\"} 3\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("ziwei_http_requests_total{route=\"chart\",code=\"400\"} 1\n"),
            std::string::npos);
  EXPECT_NE(text.find("ziwei_http_requests_total{route=\"other\",code=\"404\"} 1\n"),
            std::string::npos);
  EXPECT_NE(text.find("ziwei_http_request_duration_seconds_bucket{le=\"+Inf\"} 5\n"),
            std::string::npos);
  EXPECT_NE(text.find("ziwei_http_request_duration_seconds_count 5\n"), std::string::npos);
  // This one, and those of the requests before it whose close the server
  // may not have seen yet.
  const std::size_t open = text.find("\nziwei_http_connections_open ");
  ASSERT_NE(open, std::string::npos);
  const int connections = std::stoi(text.substr(open + 29));
  EXPECT_GE(connections, 1);
  EXPECT_LE(connections, 6);
  EXPECT_EQ(service.stop(), 0);
  EXPECT_EQ(service.log().find(" GET "), std::string::npos);
}

TEST(ServeLog, OneLinePerRequest) {
  Service service;
  service.get("/healthz");
  // Bytes other than printable ASCII are escaped in the log.
  Client raw(service.port());
  raw.send("GET /v1/chart?name=\xe7\x8e\x8b HTTP/1.1\r\n\r\n");
  EXPECT_EQ(raw.read().status, 200);
  EXPECT_EQ(service.stop(), 0);
  const std::string log = service.log();
  std::istringstream lines(log);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line.rfind("ziwei: serving on http://127.0.0.1:", 0), 0U);
  // The workers' lines may come in either order.
  std::string health, chart;
  while (std::getline(lines, line)) {
    (line.find(" /healthz ") != std::string::npos ? health : chart) = line;
  }
  line = health;
  // TIME PEER METHOD TARGET STATUS BYTES MICROSECONDS
  std::istringstream fields(line);
  std::string time, peer, method, target;
  int status = 0;
  std::size_t bytes = 0, micros = 0;
  fields >> time >> peer >> method >> target >> status >> bytes >> micros;
  EXPECT_EQ(time.size(), 24U) << line;
  EXPECT_EQ(peer.rfind("127.0.0.1:", 0), 0U);
  EXPECT_EQ(method, "GET");
  EXPECT_EQ(target, "/healthz");
  EXPECT_EQ(status, 200);
  EXPECT_GT(bytes, 3U);

  EXPECT_NE(chart.find(" GET /v1/chart?name=%E7%8E%8B 200 "), std::string::npos) << chart;
}

TEST(ServeStart, RefusesAnAddressInUseOrNotAnAddress) {
  Service first;
  const ProgramRun taken = runProgram(
      {ZIWEI_EXECUTABLE, "serve", "--listen", "127.0.0.1:" + std::to_string(first.port())});
  EXPECT_EQ(taken.status, 1);
  EXPECT_NE(taken.err.find("cannot listen on 127.0.0.1:"), std::string::npos) << taken.err;
  for (const std::string bad : {"localhost:80", "127.0.0.1", "127.0.0.1:65536", ":80", "::1:80"}) {
    const ProgramRun refused = runProgram({ZIWEI_EXECUTABLE, "serve", "--listen", bad});
    EXPECT_EQ(refused.status, 2) << bad;
    EXPECT_NE(refused.err.find("--listen"), std::string::npos) << refused.err;
  }
}

}  // namespace
}  // namespace ziwei::serve::testing
