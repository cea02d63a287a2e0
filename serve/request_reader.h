#pragma once
// The requests of a connection read out of its bytes one at a time, by
// Boost.Beast's parser within the bounds of serve/exchange.h: a request
// whole, or the reply that refuses it (400, 413, 414, 431; the connection
// closes after it), or the need of more bytes.

#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>
#include <optional>
#include <string_view>

#include "serve/exchange.h"

namespace ziwei::serve {

class RequestReader {
 public:
  enum class State { NeedMore, Whole, Refused };

  RequestReader() { next(); }

  // Forgets the request read, for the next one.
  void next();

  // Parses the bytes of `buffer`, consuming those it takes. A refusal is
  // final: call next() only after a whole request.
  State read(boost::beast::flat_buffer& buffer);

  // The refusal, after read() says Refused.
  Reply& refusal() { return refusal_; }

  // Of the request (its head, once read): the method, the target, whether the
  // connection stays open after it (HTTP/1.1 unless "Connection: close",
  // HTTP/1.0 with "Connection: keep-alive"), whether it is HTTP/1.0.
  bool headRead() const { return parser_->is_header_done(); }
  Method method() const;
  std::string_view methodText() const;
  std::string_view target() const;
  bool keepAlive() const { return parser_->get().keep_alive(); }
  bool http10() const { return parser_->get().version() == 10; }

 private:
  State refuse(const boost::beast::flat_buffer& buffer, boost::system::error_code ec);
  State refuse(Status status, std::string_view message);

  std::optional<boost::beast::http::request_parser<boost::beast::http::string_body>> parser_;
  bool headChecked_ = false;
  Reply refusal_;
};

}  // namespace ziwei::serve
