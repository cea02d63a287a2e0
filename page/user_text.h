#pragma once

#include <string>
#include <string_view>

#include "unicode/utf8.h"

namespace ziwei {

// The text as it may stand in a page: & < > " ' become &amp; &lt; &gt;
// &quot; &#39;, "@" becomes &#64; so that no placeholder can be formed, and
// control characters (line breaks included) become "&#N;", so that the page
// stays one line of markup the user cannot change.
std::string escapeUserText(std::string_view text);

}  // namespace ziwei
