#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ziwei {

enum class PageEncoding { Big5, Utf8 };

// The bytes of a page file: the UTF-8 page encoded as asked, followed by one
// CR LF. Big5 writes characters it cannot hold as "&#N;"; UTF-8 declares
// charset=utf-8 instead of big5.
std::string encodePage(std::string_view utf8Page, PageEncoding encoding);


}  // namespace ziwei
