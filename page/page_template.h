#pragma once

#include <string>

namespace ziwei {

// The chart page template: one line of HTML declared as Big5, holding the 28
// placeholders "@Title@" ... "@HourseNUM12@" once each.
std::string buildPageTemplate();

// The running-period page's template: the same head, title bar, grid and
// note, its own title, style rules and centre lines, holding the 29
// placeholders of kPeriodPagePlaceholders (page/period_page.h) once each.
std::string buildPeriodPageTemplate();

}  // namespace ziwei
