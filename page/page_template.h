#pragma once

#include <string>

namespace ziwei {

// The chart page template: one line of HTML declared as Big5, holding the 28
// placeholders "@Title@" ... "@HourseNUM12@" once each.
std::string buildPageTemplate();

}  // namespace ziwei
