#include "birth/birth_time_text.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sexagenary/sexagenary.h"
#include "places/places.h"

namespace ziwei {

namespace {

std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string decimals(double value) {
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), "%.2f", value);
  return text.data();
}

// ---- the steps in English

std::string zoneName(const std::string& zone) {
  return zone.empty() ? "China Standard Time (no zone named)" : zone;
}

std::vector<std::string> englishPlace(const ResolvedBirth& r) {
  return {"place: " + places::describePlace(*r.steps.place)};
}

std::vector<std::string> englishClock(const ResolvedBirth& r) {
  return {"clock time: " + formatClock(r.steps.clock) + " in " + zoneName(r.steps.zone) + " (" +
          formatOffset(r.steps.utcOffset) + ")"};
}

std::vector<std::string> englishDaylightSaving(const ResolvedBirth& r) {
  const BirthTimeSteps& steps = r.steps;
  std::string dst = "daylight saving time: ";
  if (steps.daylightSaving != 0) {
    dst += formatDuration(steps.daylightSaving, Narration::English, false) +
           " removed, standard time " + formatClock(steps.standard) + " (" +
           formatOffset(steps.standardOffset) + ")";
  } else {
    dst += "none, standard time (" + formatOffset(steps.standardOffset) + ")";
  }
  if (steps.localTime != LocalTime::Unique) {
    dst += std::string("; the clock time ") +
           (steps.localTime == LocalTime::Repeated ? "occurred twice" : "did not exist") +
           ", read as " + (*steps.daylight ? "daylight saving time" : "standard time");
  }
  return {dst};
}

std::vector<std::string> englishTrueSolarTime(const ResolvedBirth& r) {
  const BirthTimeSteps& steps = r.steps;
  const double east = *steps.longitude - steps.meridian;
  return {"mean solar time (平太陽時): longitude " + formatLongitude(*steps.longitude) + ", " +
              decimals(std::fabs(east)) + "° " + (east < 0 ? "west" : "east") +
              " of the meridian " + formatLongitude(steps.meridian) + ": " +
              formatDuration(steps.meanTimeCorrection, Narration::English),
          "equation of time: " + formatDuration(steps.equationOfTime, Narration::English) +
              ", true solar time (真太陽時) " + formatClock(steps.trueSolar)};
}

std::vector<std::string> englishLateZi(const ResolvedBirth& r) {
  return {r.steps.lateZiMoved ? "late 子 hour (晚子): 23:00-23:59 counts as the next day's 子 hour "
                                "(rule NextDay): the date moves on one day"
                              : "late 子 hour (晚子): 23:00-23:59 counts as its own day's 子 hour "
                                "(rule SameDay)"};
}

std::vector<std::string> englishLunarDate(const ResolvedBirth& r) {
  const LunarBirth& birth = r.birth;
  const std::string leap = birth.leap ? "leap month " : "month ";
  return {"lunar date: " + std::to_string(birth.year) + ", " + leap + std::to_string(birth.month) +
          ", day " + std::to_string(birth.day) + "; hour " + twoDigits(birth.hour) + ":" +
          twoDigits(birth.minute) + ":" + twoDigits(birth.second) + ", " +
          std::string(kBranchNames[static_cast<std::size_t>(r.steps.hourBranch - 1)]) +
          " hour (branch " + std::to_string(r.steps.hourBranch) + ")"};
}

// ---- the steps in Chinese

std::vector<std::string> none(const ResolvedBirth& /*resolved*/) { return {}; }

std::vector<std::string> chineseDaylightSaving(const ResolvedBirth& r) {
  const BirthTimeSteps& s = r.steps;
  if (s.daylightSaving != 0) {
    const std::string saved = s.daylightSaving % 3600 == 0
                                  ? std::to_string(s.daylightSaving / 3600) + " 小時"
                                  : formatDuration(s.daylightSaving, Narration::Chinese, false);
    return {"扣除夏令時間 " + saved + ",標準時間 " + formatClock(s.standard) + " (" +
            formatOffset(s.standardOffset) + ")"};
  }
  if (s.zone.empty()) return {};
  return {s.zone + " 當時為標準時間 (" + formatOffset(s.standardOffset) + "),無夏令時間"};
}

std::vector<std::string> chineseTrueSolarTime(const ResolvedBirth& r) {
  const BirthTimeSteps& s = r.steps;
  return {"真太陽時 " + formatClock(s.trueSolar) + " (經度 " + formatLongitude(*s.longitude) +
          ",對時區中線 " + formatLongitude(s.meridian) + " " +
          formatDuration(s.meanTimeCorrection, Narration::Chinese) + ";均時差 " +
          formatDuration(s.equationOfTime, Narration::Chinese) + ")"};
}

std::vector<std::string> chineseLateZi(const ResolvedBirth& r) {
  if (!r.steps.lateZiMoved) return {};
  return {"晚子時算次日,農曆日期進一天"};
}

std::vector<std::string> chineseLunarDate(const ResolvedBirth& r) {
  const LunarBirth& b = r.birth;
  return {"農曆 " + std::to_string(b.year) + " 年 " + (b.leap ? "閏 " : "") +
          std::to_string(b.month) + " 月 " + std::to_string(b.day) + " 日 " +
          std::to_string(b.hour) + " 時 " + std::to_string(b.minute) + " 分"};
}

using Narrator = std::vector<std::string> (*)(const ResolvedBirth&);
constexpr std::size_t kStepCount = 6;

// By BirthStep, then by Narration.
constexpr std::array<std::array<Narrator, 2>, kStepCount> kNarrators{{
    {englishPlace, none},
    {englishClock, none},
    {englishDaylightSaving, chineseDaylightSaving},
    {englishTrueSolarTime, chineseTrueSolarTime},
    {englishLateZi, chineseLateZi},
    {englishLunarDate, chineseLunarDate},
}};

}  // namespace

std::string formatClock(const ClockTime& t, char separator) {
  return calendar::format_gregorian(t.date) + separator + twoDigits(t.hour) + ":" +
         twoDigits(t.minute) + ":" + twoDigits(t.second);
}

std::string formatOffset(int seconds) {
  const int magnitude = std::abs(seconds);
  std::string text = std::string("UTC") + (seconds < 0 ? "-" : "+") + twoDigits(magnitude / 3600) +
                     ":" + twoDigits(magnitude / 60 % 60);
  if (magnitude % 60 != 0) text += ":" + twoDigits(magnitude % 60);
  return text;
}

std::string formatDuration(int seconds, Narration language, bool withSign) {
  // The units by Narration: hours, minutes, seconds.
  static constexpr std::array<std::array<std::string_view, 3>, 2> kUnits{{
      {"h", "m", "s"},
      {"時", "分", "秒"},
  }};
  const auto& unit = kUnits[static_cast<std::size_t>(language)];
  const int magnitude = std::abs(seconds);
  std::string text = withSign ? (seconds < 0 ? "-" : "+") : "";
  const std::string secondsPart = twoDigits(magnitude % 60) + std::string(unit[2]);
  if (magnitude >= 3600) {
    return text + std::to_string(magnitude / 3600) + std::string(unit[0]) +
           twoDigits(magnitude / 60 % 60) + std::string(unit[1]) + secondsPart;
  }
  // English leaves out the minutes under a minute; Chinese keeps 0分.
  if (magnitude < 60 && language == Narration::English) {
    return text + std::to_string(magnitude) + std::string(unit[2]);
  }
  return text + std::to_string(magnitude / 60) + std::string(unit[1]) + secondsPart;
}

std::string formatLongitude(double degrees) {
  return decimals(std::fabs(degrees)) + "°" + (degrees < 0 ? "W" : "E");
}

std::vector<BirthStep> stepsTaken(const ResolvedBirth& resolved) {
  const BirthTimeSteps& steps = resolved.steps;
  std::vector<BirthStep> taken;
  if (steps.place != nullptr) taken.push_back(BirthStep::Place);
  if (steps.civil) {
    taken.push_back(BirthStep::Clock);
    taken.push_back(BirthStep::DaylightSaving);
    if (steps.longitude) taken.push_back(BirthStep::TrueSolarTime);
  }
  if (resolved.birth.hour == 23) taken.push_back(BirthStep::LateZi);
  taken.push_back(BirthStep::LunarDate);
  return taken;
}

std::vector<std::string> narrateStep(BirthStep step, const ResolvedBirth& resolved,
                                     Narration language) {
  return kNarrators[static_cast<std::size_t>(step)][static_cast<std::size_t>(language)](resolved);
}

std::vector<std::string> explainBirthTime(const ResolvedBirth& resolved) {
  std::vector<std::string> lines;
  for (const BirthStep step : stepsTaken(resolved)) {
    for (std::string& line : narrateStep(step, resolved, Narration::English)) {
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

std::string chineseHourName(int branch) {
  return std::string(kBranchNames[static_cast<std::size_t>(branch - 1)]) + "時";
}

ChineseBirthTime chineseBirthTime(const ResolvedBirth& resolved) {
  const BirthTimeSteps& s = resolved.steps;
  ChineseBirthTime text;
  const auto join = [](std::string& to, const std::vector<std::string>& lines,
                       std::string_view between) {
    for (const std::string& line : lines) {
      if (!to.empty()) to += between;
      to += line;
    }
  };
  const bool corrected = !s.zone.empty() || s.longitude.has_value();
  for (const BirthStep step : stepsTaken(resolved)) {
    const std::vector<std::string> lines = narrateStep(step, resolved, Narration::Chinese);
    switch (step) {
      case BirthStep::DaylightSaving:
      case BirthStep::TrueSolarTime:
        if (corrected) join(text.corrected, lines, "\n");
        break;
      case BirthStep::LunarDate:
        join(text.lunar, lines, "\n");
        break;
      default:
        break;
    }
  }
  // What the corrections moved, then what the late 子 rule did.
  const ClockTime& chart = s.longitude ? s.trueSolar : s.standard;
  std::vector<std::string> moved;
  if (hourBranch(s.clock.hour).number() != s.hourBranch) {
    moved.push_back("校正使時辰由" + chineseHourName(hourBranch(s.clock.hour).number()) + "改為" +
                    chineseHourName(s.hourBranch));
  }
  if (chart.date != s.clock.date) {
    moved.push_back("校正使日期由 " + calendar::format_gregorian(s.clock.date) + " 移到 " +
                    calendar::format_gregorian(chart.date));
  }
  for (std::string& line : narrateStep(BirthStep::LateZi, resolved, Narration::Chinese)) {
    moved.push_back(std::move(line));
  }
  join(text.moved, moved, ";");
  text.hour = chineseHourName(s.hourBranch);
  return text;
}

}  // namespace ziwei
