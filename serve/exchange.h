#pragma once
// What the HTTP service answers to one request, apart from the connection
// that carries it: the route of a path, the reply of each route, the error
// documents, and the head of a response as it goes on the wire.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "api/answer.h"

namespace ziwei::serve {

// The paths served; the metrics count requests by route.
enum class Route : std::uint8_t {
  Chart,
  Lunar,
  Solar,
  Places,
  Find,
  Page,  // "/" and the page's assets
  Health,
  Metrics,
  Other,  // unknown paths and requests that could not be read
};
inline constexpr std::size_t kRoutes = 9;
inline constexpr std::array<std::string_view, kRoutes> kRouteNames = {
    "chart", "lunar", "solar", "places", "find", "page", "healthz", "metrics", "other"};

// The statuses the service answers with; by Status the code and reason.
enum class Status : std::uint8_t {
  Ok,
  BadRequest,
  NotFound,
  MethodNotAllowed,
  RequestTimeout,
  PayloadTooLarge,
  UriTooLong,
  HeadersTooLarge,
  InternalError,
  Unavailable,
};
inline constexpr std::size_t kStatuses = 10;
inline constexpr std::array<int, kStatuses> kStatusCodes = {200, 400, 404, 405, 408,
                                                            413, 414, 431, 500, 503};
inline constexpr std::array<std::string_view, kStatuses> kStatusLines = {
    "HTTP/1.1 200 OK\r\n",
    "HTTP/1.1 400 Bad Request\r\n",
    "HTTP/1.1 404 Not Found\r\n",
    "HTTP/1.1 405 Method Not Allowed\r\n",
    "HTTP/1.1 408 Request Timeout\r\n",
    "HTTP/1.1 413 Content Too Large\r\n",
    "HTTP/1.1 414 URI Too Long\r\n",
    "HTTP/1.1 431 Request Header Fields Too Large\r\n",
    "HTTP/1.1 500 Internal Server Error\r\n",
    "HTTP/1.1 503 Service Unavailable\r\n"};

// The bounds of a request.
inline constexpr std::size_t kMostTargetBytes = 8 * 1024;   // the request target
inline constexpr std::size_t kMostHeaderBytes = 16 * 1024;  // the header fields
inline constexpr std::size_t kMostBodyBytes = 64 * 1024;    // a body (read and ignored)

enum class Method : std::uint8_t { Get, Head, Other };

// A response before it is written: its status and headers, and its body,
// either held (an answer) or built into the program (a page, a message).
struct Reply {
  Status status = Status::Ok;
  std::string_view contentType = "application/json";
  std::string held;
  std::string_view fixed;
  bool fixedBody = false;
  std::string_view stopped;  // for find: why the search was cut short
  bool allow = false;        // the Allow header of a 405
  bool close = false;        // the connection closes after it

  std::string_view body() const { return fixedBody ? fixed : std::string_view(held); }
};

Reply errorReply(Status status, std::string_view message);

// The path of a request target and its query (after "?"; empty when none).
struct Target {
  std::string_view path;
  std::string_view query;
};
Target splitTarget(std::string_view target);

// The route of `path`; Other when nothing is served there.
Route routeOf(std::string_view path);
// The operation of an API route.
std::optional<api::Operation> operationOf(Route route);

// The reply of an operation to its query: decodes the query and asks
// api::answer; a fault of the query is a 400 naming it, a refusal a 400 with
// the command line's message, a failure (or an exception) a 500.
Reply queryReply(api::Operation operation, std::string_view query, const api::Limits& limits);

// The reply of a route that is not an operation (Page, Health, Other) or a
// method that is not served; `metrics` is the text of /metrics.
Reply fixedReply(Route route, Method method, std::string_view path, std::string metrics);

// Appends the head of `reply` to `out`: the status line, Date (`date`, an
// IMF-fixdate), Content-Type, Content-Length of the body, the headers the
// reply asks for, "Connection: close" or (for HTTP/1.0) "Connection:
// keep-alive", and the blank line.
void appendHead(std::string& out, const Reply& reply, std::string_view date, bool keepAlive,
                bool http10);

}  // namespace ziwei::serve
