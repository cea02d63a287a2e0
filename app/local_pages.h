#pragma once

#include <string>
#include <string_view>

namespace ziwei::desktop {

// The two local pages that the window writes beside the chart page. Both are
// UTF-8 HTML on one line, declared as Big5 like the chart page, and link to
// `homePage` (an absolute address, HTML-escaped as user text is).

// The author-profile page: the author (the publisher), seven statements about the method,
// the publisher's contact block and a link to its home page.
std::string buildProfilePage(std::string_view homePage);

// The offline notice, titled "未連結網路", shown when a page cannot be loaded.
std::string buildOfflinePage(std::string_view homePage);

// The caption of the button that shows the profile page.
inline constexpr std::string_view kProfileButtonCaption = "Tessaro簡介";

}  // namespace ziwei::desktop
