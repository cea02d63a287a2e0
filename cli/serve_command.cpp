#include "cli/serve_command.h"

#include <array>
#include <chrono>
#include <climits>
#include <exception>

#include "cli/command.h"
#include "cli/exit_status.h"

namespace ziwei::cli {

namespace {

using Row = OptionRow<ServeOptions>;
using std::chrono::milliseconds;
using std::chrono::seconds;

// HOST:PORT, HOST an IPv4 address or an IPv6 one in brackets.
void readListen(ServeOptions& o, const OptionValue& v) {
  const std::string_view text = v.text;
  const std::size_t colon = text.rfind(':');
  const auto refuse = [&] {
    throw Refusal{"--listen: " + shown(text) +
                  " is not HOST:PORT with an IP address (e.g. 127.0.0.1:8080, 0.0.0.0:8080, "
                  "[::1]:8080; port 0 for any free port)"};
  };
  if (colon == std::string_view::npos || colon == 0) refuse();
  std::string_view host = text.substr(0, colon);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
  } else if (host.find(':') != std::string_view::npos) {
    refuse();
  }
  if (!serve::isIpAddress(std::string(host))) refuse();
  o.server.host = std::string(host);
  o.server.port =
      static_cast<std::uint16_t>(readNumber("--listen port", text.substr(colon + 1), 0, 65535));
}

constexpr std::array<Row, 12> kRows{{
    {"listen", 'l', Shape::Text, "HOST:PORT",
     "the address to listen on (default: 127.0.0.1:8080, this machine only; 0.0.0.0:PORT for "
     "every network; port 0 for any free port)",
     readListen},
    {"threads", 't', Shape::Number, "N",
     "worker threads that read and answer (default: one per core)",
     [](ServeOptions& o, const OptionValue& v) {
       o.server.threads = static_cast<unsigned>(v.number);
     },
     nullptr, 1, 256},
    {"max-connections", 0, Shape::Number, "N",
     "connections open at most; past them a connection is answered 503 and closed (default: "
     "4096)",
     [](ServeOptions& o, const OptionValue& v) {
       o.server.maxConnections = static_cast<std::size_t>(v.number);
     },
     nullptr, 1, 1000000},
    {"read-timeout", 0, Shape::Number, "SECONDS",
     "the time a request may take to arrive, from its first byte (default: 10)",
     [](ServeOptions& o, const OptionValue& v) { o.server.readTimeout = seconds(v.number); },
     nullptr, 1, 3600},
    {"write-timeout", 0, Shape::Number, "SECONDS",
     "the time a response may take to be taken by the client (default: 10)",
     [](ServeOptions& o, const OptionValue& v) { o.server.writeTimeout = seconds(v.number); },
     nullptr, 1, 3600},
    {"idle-timeout", 0, Shape::Number, "SECONDS",
     "the time a connection may wait for its next request (default: 30)",
     [](ServeOptions& o, const OptionValue& v) { o.server.idleTimeout = seconds(v.number); },
     nullptr, 1, 86400},
    {"find-threads", 0, Shape::Number, "N", "threads that run searches (default: 1)",
     [](ServeOptions& o, const OptionValue& v) {
       o.server.findThreads = static_cast<unsigned>(v.number);
     },
     nullptr, 1, 256},
    {"find-queue", 0, Shape::Number, "N",
     "searches that may wait for a find thread; past them a search is answered 503 (default: "
     "16)",
     [](ServeOptions& o, const OptionValue& v) {
       o.server.findQueue = static_cast<std::size_t>(v.number);
     },
     nullptr, 0, 100000},
    {"find-limit", 0, Shape::Number, "N",
     "matches one search lists at most; a request's limit may ask fewer (default: 1000)",
     [](ServeOptions& o, const OptionValue& v) {
       o.server.findMatches = static_cast<std::uint64_t>(v.number);
     },
     nullptr, 1, INT_MAX},
    {"find-time", 0, Shape::Number, "MILLISECONDS",
     "the time one search may take; a search cut short says so in the header X-Ziwei-Stopped "
     "(default: 2000)",
     [](ServeOptions& o, const OptionValue& v) { o.server.findTime = milliseconds(v.number); },
     nullptr, 1, 3600000},
    {"no-access-log", 0, Shape::Flag, "", "write no line per request on standard error",
     [](ServeOptions& o, const OptionValue&) { o.server.accessLog = false; }},
    {"help", 'h', Shape::Help, "", "show this help and exit"},
}};

constexpr OptionTable<ServeOptions> kTable{"serve", kRows};

int runServe(const ServeOptions& options) {
  serve::raiseOpenFileLimit();
  try {
    serve::Server server(options.server);
    reportError("serving on " + server.url());
    server.run(true);
  } catch (const std::exception& error) {
    reportError(std::string("serve: ") + error.what());
    return kExitIoError;
  }
  return kExitDone;
}

}  // namespace

Parsed<ServeOptions> parseServeCommand(std::span<const std::string_view> args) {
  return parseOptions(kTable, args, ServeOptions{});
}

std::string serveHelpText() {
  return "Usage: ziwei serve [OPTION]...\n"
         "Answers HTTP/1.1 requests (with keep-alive) on this machine's address\n"
         "127.0.0.1:8080, or the one --listen gives, until SIGTERM or SIGINT; then it\n"
         "stops taking connections, answers the requests that have begun and exits 0.\n"
         "It prints \"ziwei: serving on http://HOST:PORT/\" on standard error once it\n"
         "listens, and one line per request after it:\n"
         "  TIME PEER METHOD TARGET STATUS BYTES MICROSECONDS\n"
         "\n"
         "GET (or HEAD):\n"
         "  /v1/chart?year=1984&month=3&day=20&hour=13&sex=female&format=json\n"
         "      the bytes of `ziwei --format json --year 1984 ...`: every option of the\n"
         "      cast but those of files, as a parameter of the same name; format\n"
         "      json (the default), html (UTF-8), text, markdown or study\n"
         "  /v1/lunar?date=2001-06-08       the lunar date of a Gregorian one (JSON)\n"
         "  /v1/solar?year=2001&month=4&day=17&leap=1   the Gregorian date of a lunar one\n"
         "  /v1/places?q=Taipei             the places a name fits (JSON)\n"
         "  /v1/find?where=...&from=...&to=...   the births that meet the conditions, as\n"
         "      `ziwei find` lists them (jsonl by default), cut at --find-limit matches\n"
         "      and --find-time\n"
         "  /                a web page that casts a chart\n"
         "  /healthz         \"ok\"\n"
         "  /metrics         the counters, in the Prometheus text format\n"
         "A parameter that is wrong is answered 400 with {\"error\":\"MESSAGE\"}, MESSAGE\n"
         "as the command line words it. Other statuses: 404 an unknown path, 405 a\n"
         "method other than GET and HEAD, 408 a request that did not arrive in time,\n"
         "413 a body over 64 KiB, 414 a request target over 8 KiB, 431 header fields\n"
         "over 16 KiB, 503 past the connections or the searches the server takes.\n"
         "\n" +
         optionHelp(kTable) +
         "\n"
         "Exit status: 0 stopped by a signal, 1 the address could not be listened on,\n"
         "2 bad command line.\n";
}

int serveCommand(std::span<const std::string_view> args) {
  return runParsed(parseServeCommand(args), serveHelpText, runServe);
}

}  // namespace ziwei::cli
