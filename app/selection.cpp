#include "app/selection.h"

#include <charconv>
#include <string_view>
#include <utility>

#include "unicode/utf8.h"

namespace ziwei::desktop {

namespace {

std::string rangeText(const BirthNumberField& field) {
  return std::to_string(field.first) + " to " + std::to_string(field.last);
}

// One or more ASCII digits, nothing else, within the field's range.
int readNumber(const BirthNumberField& field, const std::string& text) {
  int value = 0;
  const char* const end = text.data() + text.size();
  const bool digitsOnly =
      !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (!digitsOnly || ec != std::errc{} || ptr != end || value < field.first || value > field.last) {
    throw SelectionError(std::string(field.name), text, rangeText(field));
  }
  return value;
}

std::string_view trimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace

SelectionError::SelectionError(std::string field, std::string given, std::string allowed)
    : std::invalid_argument(field + ": " + quotedForMessage(given) +
                            " is not allowed (allowed: " + allowed + ")"),
      field_(std::move(field)),
      given_(std::move(given)),
      allowed_(std::move(allowed)) {}

LunarBirth readSelection(const BirthSelection& selection, YearRange years) {
  const auto& [year, month, day, hour, minute, second] = kBirthNumberFields;
  LunarBirth birth;
  birth.year = readNumber(withYears(year, years), selection.year);
  birth.month = readNumber(month, selection.month);
  const std::string_view leap = trimBlanks(selection.leap);
  if (leap != "正" && leap != "閏") throw SelectionError("leap", selection.leap, "正 or 閏");
  birth.leap = leap == "閏";
  birth.day = readNumber(day, selection.day);
  birth.hour = readNumber(hour, selection.hour);
  birth.minute = readNumber(minute, selection.minute);
  birth.second = readNumber(second, selection.second);
  birth.male = selection.male;
  return birth;
}

}  // namespace ziwei::desktop
