// The bytes of a connection as the service reads them: requests one after
// another, each refused within the bounds or answered (but searches, which
// the query fuzzer covers), and the head of each response. Invariants: a
// refusal ends the connection and is an error document of 400, 413, 414 or
// 431; a head is a status line, fields and a blank line; nothing crashes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "serve/exchange.h"
#include "serve/request_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ziwei::serve;
  using ziwei::fuzz::require;
  boost::beast::flat_buffer buffer;
  const auto room = buffer.prepare(size);
  if (size > 0) std::memcpy(room.data(), data, size);
  buffer.commit(size);
  RequestReader reader;
  std::string head;
  for (int request = 0; request < 16; ++request) {
    const RequestReader::State state = reader.read(buffer);
    if (state == RequestReader::State::NeedMore) break;
    Reply reply;
    bool keepAlive = false;
    if (state == RequestReader::State::Refused) {
      reply = std::move(reader.refusal());
      require(reply.close, "a refusal closes the connection");
      require(reply.status == Status::BadRequest || reply.status == Status::PayloadTooLarge ||
                  reply.status == Status::UriTooLong || reply.status == Status::HeadersTooLarge,
              "a refusal is 400, 413, 414 or 431");
    } else {
      require(reader.target().size() <= kMostTargetBytes, "a target read is within the bound");
      keepAlive = reader.keepAlive();
      const Target target = splitTarget(reader.target());
      const Route route = routeOf(target.path);
      const auto operation = operationOf(route);
      if (operation && reader.method() != Method::Other) {
        if (*operation == ziwei::api::Operation::Find) break;
        reply = queryReply(*operation, target.query, {});
        require(reply.status != Status::InternalError, "no answer fails");
      } else {
        reply = fixedReply(route, reader.method(), target.path, "");
      }
    }
    if (reply.status != Status::Ok) {
      require(reply.body().starts_with("{\"error\":\"") && reply.body().ends_with("\"}\n"),
              "an error is a JSON error document");
    }
    head.clear();
    appendHead(head, reply, "Thu, 01 Jan 1970 00:00:00 GMT", keepAlive && !reply.close, false);
    require(head.starts_with("HTTP/1.1 ") && head.ends_with("\r\n\r\n") &&
                head.find("\r\n\r\n") == head.size() - 4,
            "a head is a status line, fields and a blank line");
    if (state == RequestReader::State::Refused) break;
    reader.next();
  }
  return 0;
}
