#include "web/web_page.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace ziwei::web {
namespace {

TEST(WebAsset, ServesThePageItsStyleSheetAndScript) {
  const auto page = webAsset("/");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->contentType, "text/html; charset=utf-8");
  EXPECT_TRUE(page->body.starts_with("<!DOCTYPE html>\n<html lang=\"zh-Hant\">"));
  const auto style = webAsset("/web.css");
  ASSERT_TRUE(style);
  EXPECT_EQ(style->contentType, "text/css; charset=utf-8");
  EXPECT_NE(style->body.find("#chart"), std::string_view::npos);
  const auto script = webAsset("/web.js");
  ASSERT_TRUE(script);
  EXPECT_EQ(script->contentType, "text/javascript; charset=utf-8");
  EXPECT_NE(script->body.find("/v1/chart?"), std::string_view::npos);
}

TEST(WebAsset, NothingElse) {
  for (const char* path : {"", "/index.html", "/web.css?v=1", "/WEB.CSS", "/web.css/", "//web.css",
                           "/../web.js", "/web", "/favicon.ico", "web.js"}) {
    EXPECT_FALSE(webAsset(path)) << path;
  }
}

// The page loads only what is built in: each address it names is one of the
// service's own paths, and nothing points to another host.
TEST(WebAsset, ThePageNeedsNoOtherServer) {
  const std::regex address(R"re((?:href|src|action)="([^"]*)")re");
  const std::string page(webAsset("/")->body);
  int files = 0;
  for (std::sregex_iterator it(page.begin(), page.end(), address), end; it != end; ++it) {
    const std::string target = (*it)[1];
    SCOPED_TRACE(target);
    if (target == "data:,") continue;  // no icon, and no request for one
    ASSERT_TRUE(target.starts_with("/") && !target.starts_with("//"));
    const std::string path = target.substr(0, target.find('?'));
    if (path.starts_with("/v1/")) {
      EXPECT_EQ(path, "/v1/chart");
    } else {
      EXPECT_TRUE(webAsset(path));
      ++files;
    }
  }
  EXPECT_EQ(files, 2);
  for (const auto& path : {"/", "/web.css", "/web.js"}) {
    const std::string body(webAsset(path)->body);
    EXPECT_EQ(body.find("://"), std::string::npos) << path;
    EXPECT_EQ(body.find("@import"), std::string::npos) << path;
    EXPECT_EQ(body.find("url("), std::string::npos) << path;
  }
}

}  // namespace
}  // namespace ziwei::web
