#include "serve/request_reader.h"

namespace ziwei::serve {

namespace {

namespace http = boost::beast::http;

// The whole head of a request, its line and its fields, as the parser bounds
// it; past it the request is refused as 414 or 431 by the part too long.
constexpr std::size_t kMostHeadBytes = kMostTargetBytes + kMostHeaderBytes + 512;

constexpr std::string_view kUriTooLong = "the request target is over 8 KiB";
constexpr std::string_view kHeadersTooLarge = "the request's header fields are over 16 KiB";

std::string_view viewOf(boost::beast::string_view text) { return {text.data(), text.size()}; }

}  // namespace

void RequestReader::next() {
  parser_.emplace();
  parser_->header_limit(static_cast<std::uint32_t>(kMostHeadBytes));
  parser_->body_limit(kMostBodyBytes);
  headChecked_ = false;
}

RequestReader::State RequestReader::read(boost::beast::flat_buffer& buffer) {
  while (buffer.size() > 0) {
    boost::system::error_code ec;
    const std::size_t used = parser_->put(buffer.data(), ec);
    buffer.consume(used);
    if (ec == http::error::need_more) return State::NeedMore;
    if (ec) return refuse(buffer, ec);
    if (!headChecked_ && parser_->is_header_done()) {
      headChecked_ = true;
      const auto& request = parser_->get();
      if (request.target().size() > kMostTargetBytes) {
        return refuse(Status::UriTooLong, kUriTooLong);
      }
      std::size_t bytes = 0;
      for (const auto& field : request) {
        bytes += field.name_string().size() + field.value().size() + 4;
      }
      if (bytes > kMostHeaderBytes) return refuse(Status::HeadersTooLarge, kHeadersTooLarge);
    }
    if (parser_->is_done()) return State::Whole;
  }
  return State::NeedMore;
}

RequestReader::State RequestReader::refuse(const boost::beast::flat_buffer& buffer,
                                           boost::system::error_code ec) {
  if (ec == http::error::header_limit) {
    // The parser keeps the head until it is whole: its first line is the
    // request line.
    const std::string_view head(static_cast<const char*>(buffer.data().data()), buffer.size());
    const std::size_t end = head.find('\n');
    const bool longLine = end == std::string_view::npos || end > kMostTargetBytes + 64;
    return longLine ? refuse(Status::UriTooLong, kUriTooLong)
                    : refuse(Status::HeadersTooLarge, kHeadersTooLarge);
  }
  if (ec == http::error::body_limit) {
    return refuse(Status::PayloadTooLarge, "the request's body is over 64 KiB");
  }
  return refuse(Status::BadRequest, "malformed request: " + ec.message());
}

RequestReader::State RequestReader::refuse(Status status, std::string_view message) {
  refusal_ = errorReply(status, message);
  refusal_.close = true;
  return State::Refused;
}

Method RequestReader::method() const {
  const http::verb verb = parser_->get().method();
  return verb == http::verb::get    ? Method::Get
         : verb == http::verb::head ? Method::Head
                                    : Method::Other;
}

std::string_view RequestReader::methodText() const {
  return viewOf(parser_->get().method_string());
}

std::string_view RequestReader::target() const { return viewOf(parser_->get().target()); }

}  // namespace ziwei::serve
