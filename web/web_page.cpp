#include "web/web_page.h"

#include <array>

#include "web/web_assets.h"

namespace ziwei::web {

namespace {

struct Served {
  std::string_view path;
  Asset asset;
};

constexpr std::array<Served, 3> kServed{{
    {"/", {"text/html; charset=utf-8", web_assets::kPage}},
    {"/web.css", {"text/css; charset=utf-8", web_assets::kStyle}},
    {"/web.js", {"text/javascript; charset=utf-8", web_assets::kScript}},
}};

}  // namespace

std::optional<Asset> webAsset(std::string_view path) {
  for (const Served& served : kServed) {
    if (served.path == path) return served.asset;
  }
  return std::nullopt;
}

}  // namespace ziwei::web
