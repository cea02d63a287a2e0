#pragma once
// The parameters of a call from another program: a query string as a URL
// carries it ("year=1984&sex=female&where=%E5%91%BD%E5%AE%AE+has+%E7%B4%AB%E5%BE%AE")
// or key/value pairs given one by one, in the order given.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ziwei::api {

struct Parameter {
  std::string key;
  std::string value;
  friend bool operator==(const Parameter&, const Parameter&) = default;
};

using Parameters = std::vector<Parameter>;

// The most parameters a query may hold.
inline constexpr std::size_t kMostParameters = 256;

// Decodes an application/x-www-form-urlencoded query: pieces separated by
// "&", each "key=value" or a bare "key" (an empty value); "+" is a blank and
// "%XX" the byte of two hex digits, in keys and values. Empty pieces are
// skipped. Returns the parameters, or a message naming the fault: a "%" not
// followed by two hex digits, a key or value that is not UTF-8 once decoded,
// a control character in a key, an empty key, more than kMostParameters.
struct DecodedQuery {
  Parameters parameters;
  std::optional<std::string> fault;
};
DecodedQuery decodeQuery(std::string_view query);

// The query of `parameters` with every byte but letters, digits and "-._~"
// escaped: decodeQuery gives the parameters back.
std::string encodeQuery(const Parameters& parameters);

}  // namespace ziwei::api
