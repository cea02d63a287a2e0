#pragma once
// The web page of the HTTP service and its assets, built into the program:
// nothing is read from disk.

#include <optional>
#include <string_view>

namespace ziwei::web {

struct Asset {
  std::string_view contentType;
  std::string_view body;
};

// The asset served at `path` ("/" the page; "/web.css", "/web.js" when the
// page has them), or nothing for any other path.
std::optional<Asset> webAsset(std::string_view path);

}  // namespace ziwei::web
