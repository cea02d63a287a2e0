#include "cli/dates.h"

#include <string>

#include "birth/solar_birth.h"
#include "calendar/calendar_error.h"
#include "cli/options.h"
#include "unicode/utf8.h"

namespace ziwei::cli {

calendar::GregorianDate readDate(std::string_view what, std::string_view text) {
  try {
    return readGregorianDate(text);
  } catch (const calendar::CalendarError& error) {
    throw Refusal{std::string(what) + ": " + oneLine(error.what())};
  }
}

}  // namespace ziwei::cli
