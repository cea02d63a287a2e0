#include "cli/dates.h"

#include <string>

#include "calendar/calendar_error.h"
#include "cli/options.h"
#include "unicode/utf8.h"

namespace ziwei::cli {

calendar::GregorianDate readDate(std::string_view what, std::string_view text) {
  // The calendar's reason quotes the text, and a NUL in it would end the
  // message there: a NUL is handed over as the "\x00" a message shows for it
  // (it cannot be part of a date either way).
  std::string safe;
  for (const char c : text) {
    if (c == '\0') {
      safe += "\\x00";
    } else {
      safe += c;
    }
  }
  try {
    return calendar::parse_gregorian(safe);
  } catch (const calendar::CalendarError& error) {
    throw Refusal{std::string(what) + ": " + oneLine(error.what())};
  }
}

}  // namespace ziwei::cli
