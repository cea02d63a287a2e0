// Query strings as the service and the library receive them: decoded, and
// the parameters answered by every operation. Invariants: the decoding gives
// back what encoding the parameters makes; every answer is done or a refusal
// with a one-line message in a JSON error document; nothing crashes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "api/answer.h"
#include "api/query.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ziwei;
  using fuzz::require;
  if (size == 0) return 0;
  const auto operation = static_cast<api::Operation>(data[0] % api::kOperationNames.size());
  const std::string_view query(reinterpret_cast<const char*>(data) + 1, size - 1);
  const api::DecodedQuery decoded = api::decodeQuery(query);
  if (decoded.fault) {
    require(decoded.parameters.empty(), "a fault leaves no parameters");
    require(fuzz::printable(*decoded.fault), "the fault is one printable line");
    return 0;
  }
  require(api::decodeQuery(api::encodeQuery(decoded.parameters)).parameters == decoded.parameters,
          "encoding the parameters gives them back");
  const api::Answer answer =
      api::answer(operation, decoded.parameters, {5, std::chrono::milliseconds(5)});
  require(answer.outcome != api::Outcome::Failed, "no call fails");
  require(!answer.contentType.empty(), "every answer has a type");
  if (answer.outcome == api::Outcome::Refused) {
    require(fuzz::printable(answer.message), "the refusal is one printable line");
    require(answer.body.starts_with("{\"error\":\"") && answer.body.ends_with("\"}\n"),
            "the refusal is a JSON error document");
  }
  return 0;
}
