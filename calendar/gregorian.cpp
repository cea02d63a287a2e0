#include "calendar/gregorian.h"

#include <cstddef>

#include "calendar/calendar_error.h"

namespace ziwei::calendar {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Value of the digits text[first, first + count); all must be digits.
int digits_value(std::string_view text, std::size_t first, std::size_t count) {
  int value = 0;
  for (std::size_t i = first; i < first + count; ++i) value = value * 10 + (text[i] - '0');
  return value;  // [0, 9999]
}

}  // namespace

GregorianDate parse_gregorian(std::string_view text) {
  const std::string shown = "\"" + std::string(text.substr(0, 40)) + "\"";
  bool shaped = text.size() == 10 && text[4] == '-' && text[7] == '-';
  for (std::size_t i = 0; shaped && i < text.size(); ++i) {
    if (i != 4 && i != 7 && !is_digit(text[i])) shaped = false;
  }
  if (!shaped) throw CalendarError(shown + " is not a date of the form YYYY-MM-DD");
  const GregorianDate date{digits_value(text, 0, 4), digits_value(text, 5, 2),
                           digits_value(text, 8, 2)};
  if (!is_valid(date)) throw CalendarError(shown + " is not an existing date");
  return date;
}

std::string format_gregorian(const GregorianDate& d) {
  if (d.year < 0 || d.year > 9999 || !is_valid(d)) {
    throw CalendarError("year " + std::to_string(d.year) + ", month " + std::to_string(d.month) +
                        ", day " + std::to_string(d.day) + " is not a date of years 0..9999");
  }
  std::string text = "0000-00-00";
  // Writes the decimal digits of value so that they end just before text[end].
  const auto put = [&text](std::size_t end, int value) {
    for (; value > 0; value /= 10) text[--end] = static_cast<char>('0' + value % 10);
  };
  put(4, d.year);
  put(7, d.month);
  put(10, d.day);
  return text;
}

}  // namespace ziwei::calendar
