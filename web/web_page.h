#pragma once
// The web page of the service: the birth form that shows the study page of
// the chart it casts, and the files it loads, all built into the program.

#include <optional>
#include <string_view>

namespace ziwei::web {

struct Asset {
  std::string_view contentType;  // "text/html; charset=utf-8", ...
  std::string_view body;
};

// The file served at `path` ("/", "/web.css", "/web.js"; the path alone,
// without a query), or nothing for any other path.
std::optional<Asset> webAsset(std::string_view path);

}  // namespace ziwei::web
