#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ziwei {

enum class PageEncoding { Big5, Utf8 };

// The bytes of a page file: the UTF-8 page encoded as asked, followed by one
// CR LF. Big5 writes characters it cannot hold as "&#N;"; UTF-8 declares
// charset=utf-8 instead of big5.
std::string encodePage(std::string_view utf8Page, PageEncoding encoding);

// Appends the Big5 bytes of `utf8` to `out` as encodePage writes them
// (without the line end). Text encoded in pieces comes out the same as in one
// piece when no piece begins inside a character.
void appendBig5(std::string& out, std::string_view utf8);

// The Big5 code of every character U+0000..U+FFFF as the page files write
// it: 0 when Big5 cannot hold the character, a value below 0x100 for a
// one-byte code, else the two bytes. Taken from the C library on first use.
std::span<const std::uint16_t, 0x10000> big5Codes();

}  // namespace ziwei
