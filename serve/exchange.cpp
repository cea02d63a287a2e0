#include "serve/exchange.h"

#include <charconv>
#include <exception>

#include "web/web_page.h"

namespace ziwei::serve {

namespace {

struct RoutePath {
  std::string_view path;
  Route route;
};
constexpr std::array<RoutePath, 7> kPaths{{
    {"/v1/chart", Route::Chart},
    {"/v1/lunar", Route::Lunar},
    {"/v1/solar", Route::Solar},
    {"/v1/places", Route::Places},
    {"/v1/find", Route::Find},
    {"/healthz", Route::Health},
    {"/metrics", Route::Metrics},
}};

// By Route: the operation it answers with, if any.
constexpr std::array<std::optional<api::Operation>, kRoutes> kOperations = {
    api::Operation::Chart,  api::Operation::Lunar, api::Operation::Solar,
    api::Operation::Places, api::Operation::Find,  std::nullopt,
    std::nullopt,           std::nullopt,          std::nullopt};

}  // namespace

Reply errorReply(Status status, std::string_view message) {
  Reply reply;
  reply.status = status;
  reply.held = api::errorDocument(message);
  return reply;
}

Target splitTarget(std::string_view target) {
  const std::size_t mark = target.find('?');
  if (mark == std::string_view::npos) return {target, {}};
  return {target.substr(0, mark), target.substr(mark + 1)};
}

Route routeOf(std::string_view path) {
  for (const RoutePath& known : kPaths) {
    if (known.path == path) return known.route;
  }
  return web::webAsset(path) ? Route::Page : Route::Other;
}

std::optional<api::Operation> operationOf(Route route) {
  return kOperations[static_cast<std::size_t>(route)];
}

Reply queryReply(api::Operation operation, std::string_view query, const api::Limits& limits) {
  try {
    api::Answer answer = api::answerQuery(operation, query, limits);
    Reply reply;
    reply.status = answer.outcome == api::Outcome::Done      ? Status::Ok
                   : answer.outcome == api::Outcome::Refused ? Status::BadRequest
                                                             : Status::InternalError;
    reply.contentType = answer.outcome == api::Outcome::Done ? answer.contentType
                                                             : std::string_view("application/json");
    reply.held = std::move(answer.body);
    reply.stopped = answer.stopped;
    return reply;
  } catch (const std::exception& error) {
    return errorReply(Status::InternalError, std::string("internal error: ") + error.what());
  }
}

Reply fixedReply(Route route, Method method, std::string_view path, std::string metrics) {
  if (route == Route::Other) return errorReply(Status::NotFound, "nothing is served at this path");
  if (method == Method::Other) {
    Reply reply = errorReply(Status::MethodNotAllowed, "only GET and HEAD are served here");
    reply.allow = true;
    return reply;
  }
  Reply reply;
  reply.fixedBody = true;
  if (route == Route::Health) {
    reply.contentType = "text/plain; charset=utf-8";
    reply.fixed = "ok\n";
  } else if (route == Route::Metrics) {
    reply.contentType = "text/plain; version=0.0.4; charset=utf-8";
    reply.fixedBody = false;
    reply.held = std::move(metrics);
  } else if (const std::optional<web::Asset> asset = web::webAsset(path)) {
    reply.contentType = asset->contentType;
    reply.fixed = asset->body;
  } else {
    return errorReply(Status::NotFound, "nothing is served at this path");
  }
  return reply;
}

void appendHead(std::string& out, const Reply& reply, std::string_view date, bool keepAlive,
                bool http10) {
  out += kStatusLines[static_cast<std::size_t>(reply.status)];
  out += "Date: ";
  out += date;
  out += "\r\nContent-Type: ";
  out += reply.contentType;
  out += "\r\nContent-Length: ";
  std::array<char, 24> digits{};
  const std::size_t length = reply.body().size();
  out.append(digits.data(),
             std::to_chars(digits.data(), digits.data() + digits.size(), length).ptr);
  out += "\r\n";
  if (!reply.stopped.empty()) {
    out += "X-Ziwei-Stopped: ";
    out += reply.stopped;
    out += "\r\n";
  }
  if (reply.allow) out += "Allow: GET, HEAD\r\n";
  if (reply.status == Status::Unavailable) out += "Retry-After: 1\r\n";
  if (!keepAlive) {
    out += "Connection: close\r\n";
  } else if (http10) {
    out += "Connection: keep-alive\r\n";
  }
  out += "\r\n";
}

}  // namespace ziwei::serve
