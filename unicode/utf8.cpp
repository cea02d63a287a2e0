#include "unicode/utf8.h"

#include <string>

namespace ziwei {

namespace {

// Shape of a UTF-8 sequence by its lead byte: its length and the range that
// its second byte must lie in (which rules out overlong forms, surrogates
// and code points above U+10FFFF).
struct LeadByte {
  int length;
  unsigned char secondMin;
  unsigned char secondMax;
  unsigned char payloadMask;
};

constexpr LeadByte leadByte(unsigned char lead) {
  if (lead < 0x80) return {1, 0, 0, 0x7F};
  if (lead < 0xC2) return {0, 0, 0, 0};  // continuation byte or overlong
  if (lead < 0xE0) return {2, 0x80, 0xBF, 0x1F};
  if (lead == 0xE0) return {3, 0xA0, 0xBF, 0x0F};
  if (lead == 0xED) return {3, 0x80, 0x9F, 0x0F};  // no surrogates
  if (lead < 0xF0) return {3, 0x80, 0xBF, 0x0F};
  if (lead == 0xF0) return {4, 0x90, 0xBF, 0x07};
  if (lead < 0xF4) return {4, 0x80, 0xBF, 0x07};
  if (lead == 0xF4) return {4, 0x80, 0x8F, 0x07};
  return {0, 0, 0, 0};
}

}  // namespace

std::optional<char32_t> takeCodePoint(std::string_view& text) {
  const auto byteAt = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const LeadByte lead = leadByte(byteAt(0));
  const auto length = static_cast<std::size_t>(lead.length);
  bool valid = length != 0 && text.size() >= length;
  if (valid && length > 1) {
    valid = byteAt(1) >= lead.secondMin && byteAt(1) <= lead.secondMax;
    for (std::size_t i = 2; valid && i < length; ++i) valid = (byteAt(i) & 0xC0) == 0x80;
  }
  if (!valid) {
    text.remove_prefix(1);
    return std::nullopt;
  }
  char32_t codePoint = byteAt(0) & lead.payloadMask;
  for (std::size_t i = 1; i < length; ++i) codePoint = (codePoint << 6) | (byteAt(i) & 0x3Fu);
  text.remove_prefix(length);
  return codePoint;
}

bool isValidUtf8(std::string_view text) {
  while (!text.empty()) {
    if (static_cast<unsigned char>(text.front()) < 0x80) {
      text.remove_prefix(1);
    } else if (!takeCodePoint(text)) {
      return false;
    }
  }
  return true;
}

std::string utf8Of(char32_t c) {
  const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
  if (c < 0x80) return {byte(c)};
  if (c < 0x800) return {byte(0xC0 | (c >> 6)), byte(0x80 | (c & 0x3F))};
  if (c < 0x10000) {
    return {byte(0xE0 | (c >> 12)), byte(0x80 | ((c >> 6) & 0x3F)), byte(0x80 | (c & 0x3F))};
  }
  return {byte(0xF0 | (c >> 18)), byte(0x80 | ((c >> 12) & 0x3F)), byte(0x80 | ((c >> 6) & 0x3F)),
          byte(0x80 | (c & 0x3F))};
}

std::string oneLine(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string line;
  line.reserve(text.size());
  while (!text.empty()) {
    std::string_view rest = text;
    const std::optional<char32_t> c = takeCodePoint(rest);
    const std::string_view bytes = text.substr(0, text.size() - rest.size());
    if (!c || *c < 0x20 || (*c >= 0x7F && *c < 0xA0)) {
      for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        line += "\\x";
        line += kHex[b >> 4];
        line += kHex[b & 0xF];
      }
    } else {
      line += bytes;
    }
    text = rest;
  }
  return line;
}

std::size_t utf8CutWithin(std::string_view text, std::size_t most) {
  if (text.size() <= most) return text.size();
  std::size_t cut = most;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

std::optional<TextFlaw> firstFlaw(std::string_view text) {
  TextFlaw flaw;
  for (std::string_view rest = text; !rest.empty(); ++flaw.character) {
    flaw.byte = text.size() - rest.size();
    const std::optional<char32_t> c = takeCodePoint(rest);
    if (!c) return flaw;
    if (*c < 0x20 || (*c >= 0x7F && *c < 0xA0)) {
      flaw.code = c;
      return flaw;
    }
  }
  return std::nullopt;
}

std::string describeFlaw(const TextFlaw& flaw) {
  if (!flaw.code) {
    return "the text is not valid UTF-8 (byte " + std::to_string(flaw.byte + 1) + ", character " +
           std::to_string(flaw.character) + ")";
  }
  constexpr std::string_view kHex = "0123456789ABCDEF";
  std::string code = "U+00";
  code += kHex[(*flaw.code >> 4) & 0xF];
  code += kHex[*flaw.code & 0xF];
  return "the text holds the control character " + code + " (character " +
         std::to_string(flaw.character) + ")";
}

std::string quotedForMessage(std::string_view text) {
  if (text.size() <= kShownBytes) return '"' + oneLine(text) + '"';
  return '"' + oneLine(text.substr(0, utf8CutWithin(text, kShownBytes))) + "\"... (" +
         std::to_string(text.size()) + " bytes)";
}

}  // namespace ziwei
