#pragma once
// Gregorian dates as the commands read them from arguments and fields.

#include <string_view>

#include "calendar/gregorian.h"

namespace ziwei::cli {

// The date "YYYY-MM-DD" `text`; else throws a Refusal "what: " and the
// calendar's reason, which shows the text on one line.
calendar::GregorianDate readDate(std::string_view what, std::string_view text);

}  // namespace ziwei::cli
