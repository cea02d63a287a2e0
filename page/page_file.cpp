#include "page/page_file.h"

#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <system_error>
#include <vector>

#include "page/user_text.h"

namespace ziwei {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kBig5Meta =
    "<meta http-equiv='Content-Type' content='text/html; charset=big5'>";
constexpr std::string_view kUtf8Meta =
    "<meta http-equiv='Content-Type' content='text/html; charset=utf-8'>";

// The C library's converter from UTF-8 to Big5.
class Big5Converter {
 public:
  Big5Converter() : cd_(iconv_open("BIG5", "UTF-8")) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::system_error(errno, std::generic_category(),
                              "the C library cannot convert UTF-8 to Big5");
    }
  }
  ~Big5Converter() { iconv_close(cd_); }
  Big5Converter(const Big5Converter&) = delete;
  Big5Converter& operator=(const Big5Converter&) = delete;

  // Converts as much of `utf8` as it can into `out` (resized to what was
  // written); returns the number of input bytes consumed.
  std::size_t convert(std::string_view utf8, std::string& out) {
    out.resize(2 * utf8.size());
    char* in = const_cast<char*>(utf8.data());  // iconv's interface; it only reads
    std::size_t inLeft = utf8.size();
    char* to = out.data();
    std::size_t toLeft = out.size();
    iconv(cd_, &in, &inLeft, &to, &toLeft);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.resize(out.size() - toLeft);
    return utf8.size() - inLeft;
  }

  // The Big5 bytes of one character; empty when Big5 cannot hold it (the C
  // library drops some characters, such as language tags, without error:
  // they count as not held).
  std::string character(char32_t codePoint) {
    const std::string utf8 = utf8Of(codePoint);
    std::string out;
    if (convert(utf8, out) != utf8.size()) out.clear();
    return out;
  }

 private:
  iconv_t cd_;
};

// The Big5 code of every character of the Basic Multilingual Plane, taken
// once from the C library: 0 when Big5 cannot hold the character, a value
// below 0x100 for a one-byte code, else the two bytes.
class Big5Table {
 public:
  static const Big5Table& instance() {
    static const Big5Table table;
    return table;
  }

  std::uint16_t code(char32_t codePoint) const { return codes_[codePoint]; }
  std::span<const std::uint16_t, 0x10000> codes() const {
    return std::span<const std::uint16_t, 0x10000>(codes_.data(), 0x10000);
  }

 private:
  Big5Table() : codes_(0x10000) {
    // The characters found are encoded in blocks, so that each gets the code
    // the encoder gives it; a block that does not come out as two bytes a
    // character is taken one character at a time.
    const std::vector<char32_t> held = decodableCharacters();
    Big5Converter converter;
    std::string utf8;
    std::string big5;
    constexpr std::size_t kBlock = 256;
    for (std::size_t first = 0; first < held.size(); first += kBlock) {
      const std::size_t count = std::min(kBlock, held.size() - first);
      utf8.clear();
      for (std::size_t i = 0; i < count; ++i) utf8 += utf8Of(held[first + i]);
      if (converter.convert(utf8, big5) == utf8.size() && big5.size() == 2 * count) {
        for (std::size_t i = 0; i < count; ++i) {
          codes_[held[first + i]] = twoBytes(big5[2 * i], big5[2 * i + 1]);
        }
      } else {
        for (std::size_t i = 0; i < count; ++i) store(held[first + i], converter);
      }
    }
    // Browsers decode Big5 by the WHATWG table, which reads the codes that
    // the C library gives the private-use characters U+E000..U+F8FF (ETEN
    // extensions such as U+F6B1 -> C6A1, read as U+2460) and U+2593 (F9FE,
    // read as U+FFED) as other characters. These are written as references,
    // so that the page shows the character that was given.
    std::fill(codes_.begin() + 0xE000, codes_.begin() + 0xF900, std::uint16_t{0});
    codes_[0x2593] = 0;
  }

  static std::uint16_t twoBytes(char lead, char trail) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(lead) << 8 |
                                      static_cast<unsigned char>(trail));
  }

  void store(char32_t c, Big5Converter& converter) {
    const std::string bytes = converter.character(c);
    if (bytes.size() == 1) codes_[c] = static_cast<unsigned char>(bytes[0]);
    if (bytes.size() == 2) codes_[c] = twoBytes(bytes[0], bytes[1]);
  }

  // The characters that some Big5 code decodes to, in rising order: every
  // byte from 0x80 and every pair of a lead byte 0x81..0xFE and a trail byte
  // 0x40..0x7E or 0xA1..0xFE, decoded by the C library.
  static std::vector<char32_t> decodableCharacters() {
    iconv_t cd = iconv_open("UTF-32LE", "BIG5");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
      throw std::system_error(errno, std::generic_category(), "the C library cannot convert Big5");
    }
    std::vector<bool> found(0x10000);
    // Decodes codes of `width` bytes each, skipping those it refuses.
    std::vector<char> out;
    const auto decode = [&](std::string_view codes, std::size_t width) {
      out.resize(2 * codes.size() + 4);
      char* in = const_cast<char*>(codes.data());  // iconv's interface; it only reads
      std::size_t inLeft = codes.size();
      char* to = out.data();
      std::size_t toLeft = out.size();
      while (inLeft != 0 && iconv(cd, &in, &inLeft, &to, &toLeft) == static_cast<std::size_t>(-1)) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const std::size_t skip = std::min(inLeft, width);
        in += skip;
        inLeft -= skip;
      }
      for (const char* at = out.data(); at + 4 <= to; at += 4) {
        char32_t c = 0;
        for (int i = 3; i >= 0; --i) c = c << 8 | static_cast<unsigned char>(at[i]);
        if (c < found.size()) found[c] = true;
      }
    };
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
      const char one = static_cast<char>(byte);
      decode({&one, 1}, 1);
    }
    std::string pairs;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail > 0x7E && trail < 0xA1) continue;
        pairs += static_cast<char>(lead);
        pairs += static_cast<char>(trail);
      }
    }
    decode(pairs, 2);
    iconv_close(cd);
    std::vector<char32_t> held;
    for (char32_t c = 0x80; c < found.size(); ++c) {
      if (found[c]) held.push_back(c);
    }
    return held;
  }

  std::vector<std::uint16_t> codes_;
};

// Copies the ASCII run that starts at `from` to `to` and returns its length.
// `to` has room for as many bytes as remain in the input.
std::size_t copyAsciiRun(const char* from, const char* end, char* to) {
  const char* at = from;
#if defined(__SSE2__)
  // Sixteen bytes a step, stored before they are looked at: the bytes beyond
  // the run are written over afterwards.
  for (; end - at >= 16; at += 16, to += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), bytes);
    if (const int high = _mm_movemask_epi8(bytes); high != 0) {
      return static_cast<std::size_t>(at - from) +
             static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(high)));
    }
  }
#endif
  while (at != end && static_cast<unsigned char>(*at) < 0x80) *to++ = *at++;
  return static_cast<std::size_t>(at - from);
}

std::string reference(char32_t codePoint) {
  return "&#" + std::to_string(static_cast<std::uint32_t>(codePoint)) + ";";
}

// The code point of the UTF-8 sequence at `at` (not ASCII), and moves `at`
// past it; nothing (one byte passed) when the sequence is malformed. The
// three-byte sequences of U+1000..U+FFFF outside the surrogates, where the
// page's Chinese lies, are read directly.
std::optional<char32_t> takeNonAscii(const char*& at, const char* end) {
  const auto byte = [at](std::ptrdiff_t i) { return static_cast<unsigned char>(at[i]); };
  if (end - at >= 3 && byte(0) >= 0xE1 && byte(0) <= 0xEF && byte(0) != 0xED &&
      (byte(1) & 0xC0) == 0x80 && (byte(2) & 0xC0) == 0x80) {
    const auto codePoint =
        static_cast<char32_t>((byte(0) & 0x0Fu) << 12 | (byte(1) & 0x3Fu) << 6 | (byte(2) & 0x3Fu));
    at += 3;
    return codePoint;
  }
  std::string_view rest(at, static_cast<std::size_t>(end - at));
  const std::optional<char32_t> codePoint = takeCodePoint(rest);
  at = end - rest.size();
  return codePoint;
}

std::string encodeBig5(std::string_view page) {
  std::string out;
  out.reserve(page.size() + kLineEnd.size());
  appendBig5(out, page);
  out += kLineEnd;
  return out;
}

std::string encodeUtf8(std::string_view page) {
  std::string out;
  out.reserve(page.size() + kLineEnd.size());
  if (const std::size_t meta = page.find(kBig5Meta); meta != std::string_view::npos) {
    out.append(page.substr(0, meta));
    out += kUtf8Meta;
    out.append(page.substr(meta + kBig5Meta.size()));
  } else {
    out.append(page);
  }
  out += kLineEnd;
  return out;
}

}  // namespace

// A character's Big5 code is never longer than its UTF-8 sequence, so the
// text is written into room the size of the input; a "&#N;" reference makes
// more room for itself.
void appendBig5(std::string& out, std::string_view utf8) {
  const Big5Table& table = Big5Table::instance();
  std::size_t written = out.size();
  out.resize(written + utf8.size());
  const char* at = utf8.data();
  const char* const end = at + utf8.size();
  while (at != end) {
    // ASCII is the same in Big5: copied in runs.
    const std::size_t run = copyAsciiRun(at, end, out.data() + written);
    at += run;
    written += run;
    if (at == end) break;
    const std::optional<char32_t> codePoint = takeNonAscii(at, end);
    const std::uint16_t code = codePoint && *codePoint < 0x10000 ? table.code(*codePoint) : 0;
    if (code != 0) {
      if (code > 0xFF) out[written++] = static_cast<char>(code >> 8);
      out[written++] = static_cast<char>(code & 0xFF);
    } else {
      // What Big5 cannot hold, and malformed UTF-8 as U+FFFD.
      const std::string text = reference(codePoint ? *codePoint : U'\uFFFD');
      out.resize(out.size() + text.size());
      std::memcpy(out.data() + written, text.data(), text.size());
      written += text.size();
    }
  }
  out.resize(written);
}

std::span<const std::uint16_t, 0x10000> big5Codes() { return Big5Table::instance().codes(); }

std::string encodePage(std::string_view utf8Page, PageEncoding encoding) {
  return encoding == PageEncoding::Big5 ? encodeBig5(utf8Page) : encodeUtf8(utf8Page);
}

}  // namespace ziwei
