#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ziwei {

enum class PageEncoding { Big5, Utf8 };

// A page file that could not be written; what() names the file and the cause.
class PageWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The bytes of a page file: the UTF-8 page encoded as asked, followed by one
// CR LF. Big5 writes characters it cannot hold as "&#N;"; UTF-8 declares
// charset=utf-8 instead of big5.
std::string encodePage(std::string_view utf8Page, PageEncoding encoding);

// Writes `bytes` to `path` atomically: a temporary file in the same
// directory, then renamed over `path`, so that a reader sees the old file or
// the whole new one. Throws PageWriteError and leaves no temporary behind.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Writes the encoded page atomically: a temporary file in the same directory,
// then renamed over `path`. Throws PageWriteError and leaves nothing behind.
void writePageFile(const std::filesystem::path& path, std::string_view utf8Page,
                   PageEncoding encoding);

}  // namespace ziwei
