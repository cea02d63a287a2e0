#include "page/page_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "page/big5.h"

namespace ziwei {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kBig5Meta =
    "<meta http-equiv='Content-Type' content='text/html; charset=big5'>";
constexpr std::string_view kUtf8Meta =
    "<meta http-equiv='Content-Type' content='text/html; charset=utf-8'>";

std::string encodeBig5Page(std::string_view page) {
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

std::string encodePage(std::string_view utf8Page, PageEncoding encoding) {
  return encoding == PageEncoding::Big5 ? encodeBig5Page(utf8Page) : encodeUtf8(utf8Page);
}

}  // namespace ziwei
