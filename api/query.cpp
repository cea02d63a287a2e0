#include "api/query.h"

#include "unicode/utf8.h"

namespace ziwei::api {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The piece `text` decoded into `out`; else the fault, naming `what`.
std::optional<std::string> decodePiece(std::string_view what, std::string_view text,
                                       std::string& out) {
  out.clear();
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      out += ' ';
    } else if (c != '%') {
      out += c;
    } else {
      const int high = i + 1 < text.size() ? hexValue(text[i + 1]) : -1;
      const int low = i + 2 < text.size() ? hexValue(text[i + 2]) : -1;
      if (high < 0 || low < 0) {
        return std::string(what) + ": \"%\" must be followed by two hex digits (at byte " +
               std::to_string(i + 1) + " of " + std::string(what) + ")";
      }
      out += static_cast<char>(high * 16 + low);
      i += 2;
    }
  }
  if (!isValidUtf8(out)) return std::string(what) + " is not UTF-8 once decoded";
  return std::nullopt;
}

}  // namespace

DecodedQuery decodeQuery(std::string_view query) {
  DecodedQuery decoded;
  std::size_t count = 0;
  for (std::size_t begin = 0; begin <= query.size();) {
    const std::size_t end = std::min(query.find('&', begin), query.size());
    const std::string_view piece = query.substr(begin, end - begin);
    begin = end + 1;
    if (piece.empty()) continue;
    if (++count > kMostParameters) {
      decoded.fault = "too many parameters (at most " + std::to_string(kMostParameters) + ")";
      break;
    }
    const std::size_t equals = piece.find('=');
    Parameter parameter;
    const std::string position = "parameter " + std::to_string(count);
    if (auto fault = decodePiece(position, piece.substr(0, equals), parameter.key)) {
      decoded.fault = std::move(fault);
      break;
    }
    if (parameter.key.empty()) {
      decoded.fault = position + ": the name is empty (give NAME=VALUE)";
      break;
    }
    if (const std::optional<TextFlaw> flaw = firstFlaw(parameter.key)) {
      decoded.fault = position + ": " + describeFlaw(*flaw);
      break;
    }
    if (equals != std::string_view::npos) {
      if (auto fault = decodePiece(parameter.key, piece.substr(equals + 1), parameter.value)) {
        decoded.fault = std::move(fault);
        break;
      }
    }
    decoded.parameters.push_back(std::move(parameter));
  }
  if (decoded.fault) decoded.parameters.clear();
  return decoded;
}

namespace {

void appendEncoded(std::string& out, std::string_view text) {
  constexpr std::string_view kHex = "0123456789ABCDEF";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                       (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
    if (plain) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
}

}  // namespace

std::string encodeQuery(const Parameters& parameters) {
  std::string query;
  for (const Parameter& parameter : parameters) {
    if (!query.empty()) query += '&';
    appendEncoded(query, parameter.key);
    query += '=';
    appendEncoded(query, parameter.value);
  }
  return query;
}

}  // namespace ziwei::api
