#include "page/user_text.h"

#include <string>

namespace ziwei {

std::string escapeUserText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&#39;";
        break;
      case '@':
        escaped += "&#64;";
        break;
      default:
        if (const auto byte = static_cast<unsigned char>(c); byte < 0x20 || byte == 0x7F) {
          escaped += "&#";
          escaped += std::to_string(byte);
          escaped += ';';
        } else {
          escaped += c;
        }
    }
  }
  return escaped;
}

}  // namespace ziwei
