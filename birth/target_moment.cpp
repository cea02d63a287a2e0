#include "birth/target_moment.h"

#include <algorithm>
#include <vector>

#include "birth/solar_birth.h"
#include "calendar/calendar_error.h"
#include "unicode/utf8.h"

namespace ziwei {

namespace {

using calendar::CalendarError;

const std::string kSolarAllowed = "(allowed: YYYY-MM-DD from " +
                                  calendar::format_gregorian(calendar::kFirstDate) + " to " +
                                  calendar::format_gregorian(calendar::kLastDate) + ")";
constexpr std::string_view kLunarAllowed =
    "(allowed: Y-M-D, lunar years 1900 to 2100, months 1 to 12, days 1 to 30)";
constexpr std::string_view kTimeAllowed = "(allowed: HH:MM from 00:00 to 23:59)";

// A whole number of 1 to `maxDigits` ASCII digits, the whole of `text`.
std::optional<int> digits(std::string_view text, std::size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

ClockOfDay readTime(std::string_view text) {
  const std::optional<int> hour =
      text.size() == 5 && text[2] == ':' ? digits(text.substr(0, 2), 2) : std::nullopt;
  const std::optional<int> minute = hour ? digits(text.substr(3), 2) : std::nullopt;
  if (!minute || *hour > 23 || *minute > 59) {
    throw TargetError("on-time",
                      quotedForMessage(text) + " is not a clock time " + std::string(kTimeAllowed));
  }
  return {*hour, *minute};
}

calendar::LunarDate readLunarDate(std::string_view text, bool leap) {
  const std::size_t first = text.find('-');
  const std::size_t second = first == std::string_view::npos ? first : text.find('-', first + 1);
  std::optional<int> year, month, day;
  if (second != std::string_view::npos) {
    year = digits(text.substr(0, first), 4);
    month = digits(text.substr(first + 1, second - first - 1), 2);
    day = digits(text.substr(second + 1), 2);
  }
  if (!year || !month || !day) {
    throw TargetError(
        "on-lunar", quotedForMessage(text) + " is not a lunar date " + std::string(kLunarAllowed));
  }
  return {*year, *month, leap, *day};
}

}  // namespace

TargetError::TargetError(std::string field, const std::string& detail)
    : std::invalid_argument(field.empty() ? detail : field + ": " + detail),
      field_(std::move(field)) {}

std::string_view TargetError::detail() const noexcept {
  std::string_view text = what();
  if (!field_.empty()) text.remove_prefix(field_.size() + 2);
  return text;
}

TargetMoment targetOnSolar(const calendar::GregorianDate& date, std::optional<ClockOfDay> time) {
  if (time && (time->hour < 0 || time->hour > 23 || time->minute < 0 || time->minute > 59)) {
    throw TargetError("on-time", std::to_string(time->hour) + ":" + std::to_string(time->minute) +
                                     " is not a clock time " + std::string(kTimeAllowed));
  }
  if (!calendar::is_valid(date) || date < calendar::kFirstDate || date > calendar::kLastDate) {
    const std::string shown = calendar::is_valid(date) && date.year >= 0 && date.year <= 9999
                                  ? quotedForMessage(calendar::format_gregorian(date))
                                  : "year " + std::to_string(date.year) + ", month " +
                                        std::to_string(date.month) + ", day " +
                                        std::to_string(date.day);
    throw TargetError("on", shown + " is not allowed " + kSolarAllowed);
  }
  const calendar::LunarDate lunar = calendar::to_lunar(date);
  return {{lunar.year, lunar.month, lunar.leap, lunar.day}, {date.year, date.month, date.day}, time};
}

TargetMoment targetOnLunar(const calendar::LunarDate& date, std::optional<ClockOfDay> time) {
  calendar::GregorianDate solar;
  try {
    solar = calendar::to_gregorian(date);
  } catch (const CalendarError& error) {
    throw TargetError("on-lunar", error.what());  // it says what the calendar has
  }
  return targetOnSolar(solar, time);
}

void checkTargetAfterBirth(const TargetMoment& target, int birthYear) {
  if (target.lunar.year >= birthYear) return;
  std::string allowed = "from lunar year " + std::to_string(birthYear);
  const calendar::LunarDate newYear{birthYear, 1, false, 1};
  if (calendar::is_valid(newYear)) {
    allowed += " on, its first day " + calendar::format_gregorian(calendar::to_gregorian(newYear)) +
               " to " + calendar::format_gregorian(calendar::kLastDate);
  }
  throw TargetError("", "the target " + calendar::format_gregorian(solarDateOf(target)) +
                            " falls in lunar year " + std::to_string(target.lunar.year) +
                            ", before the birth year " + std::to_string(birthYear) +
                            " (allowed: " + allowed + ")");
}

std::optional<TargetMoment> readTarget(const TargetTexts& texts) {
  if (texts.solar && texts.lunar) {
    throw TargetError("on-lunar",
                      "a lunar date cannot be given together with a Gregorian one "
                      "(allowed: either --on or --on-lunar)");
  }
  if (texts.leap && !texts.lunar) {
    throw TargetError("on-leap", "marks the month of a lunar date (allowed: with --on-lunar)");
  }
  if (!texts.solar && !texts.lunar) {
    if (texts.time) {
      throw TargetError("on-time", "needs a date (allowed: with --on or --on-lunar)");
    }
    return std::nullopt;
  }
  const std::optional<ClockOfDay> time =
      texts.time ? std::optional(readTime(*texts.time)) : std::nullopt;
  if (texts.lunar) return targetOnLunar(readLunarDate(*texts.lunar, texts.leap), time);
  calendar::GregorianDate date;
  try {
    date = readGregorianDate(*texts.solar);
  } catch (const CalendarError& error) {
    throw TargetError("on", std::string(error.what()) + " " + kSolarAllowed);
  }
  return targetOnSolar(date, time);
}

std::optional<TargetMoment> readTargetField(std::string_view field) {
  if (field.empty()) return std::nullopt;
  std::vector<std::string_view> parts;
  for (std::size_t from = 0;;) {
    const std::size_t blank = field.find(' ', from);
    parts.push_back(field.substr(from, blank - from));
    if (blank == std::string_view::npos) break;
    from = blank + 1;
  }
  TargetTexts texts;
  std::size_t next = 0;
  const bool lunar = parts[next] == "lunar";
  if (lunar) ++next;
  if (next < parts.size()) (lunar ? texts.lunar : texts.solar) = std::string(parts[next++]);
  if (lunar && next < parts.size() && parts[next] == "leap") {
    texts.leap = true;
    ++next;
  }
  if (next < parts.size()) texts.time = std::string(parts[next++]);
  const bool shaped = next == parts.size() && (!lunar || texts.lunar) &&
                      std::ranges::none_of(parts, [lunar](std::string_view part) {
                        return part.empty() || (!lunar && part == "leap");
                      });
  if (!shaped) {
    throw TargetError("on", quotedForMessage(field) +
                                " is not a target (allowed: [lunar] DATE [leap] [HH:MM], e.g. "
                                "2026-05-14 13:30 or lunar 2026-3-28)");
  }
  try {
    return readTarget(texts);
  } catch (const TargetError& error) {
    throw TargetError("on", std::string(error.detail()));
  }
}

}  // namespace ziwei
