#include "web/web_page.h"

namespace ziwei::web {

namespace {

constexpr std::string_view kPage =
    "<!DOCTYPE html>\n"
    "<html lang=\"en\">\n"
    "<head><meta charset=\"utf-8\"><title>ziwei</title></head>\n"
    "<body>\n"
    "<h1>ziwei</h1>\n"
    "<p>A chart as JSON: <a href=\"/v1/chart?year=1984&amp;month=3&amp;day=20&amp;hour=13&amp;"
    "sex=female\">/v1/chart?year=1984&amp;month=3&amp;day=20&amp;hour=13&amp;sex=female</a></p>\n"
    "</body>\n"
    "</html>\n";

}  // namespace

std::optional<Asset> webAsset(std::string_view path) {
  if (path == "/") return Asset{"text/html; charset=utf-8", kPage};
  return std::nullopt;
}

}  // namespace ziwei::web
