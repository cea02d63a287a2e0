#pragma once
// The names of everything a chart holds, in each language the writers offer:
// zh-Hant (the default, the names the pages have always shown), zh-Hans
// (converted from zh-Hant by OpenCC) and English (names of this program's
// own). Every table is indexed by the engine's number or enum.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "calendar/solar_terms.h"
#include "chart/frame/numbering.h"
#include "chart/periods/running_periods.h"
#include "chart/stars/brightness.h"
#include "chart/stars/cycles.h"
#include "chart/stars/star_names.h"
#include "chart/stars/year_stem_stars.h"

namespace ziwei {

enum class Language : std::uint8_t { ZhHant, ZhHans, En };
inline constexpr std::size_t kLanguageCount = 3;
// The tags that name them (BCP 47), by Language.
inline constexpr std::array<std::string_view, kLanguageCount> kLanguageTags = {"zh-Hant", "zh-Hans",
                                                                               "en"};

// The number of template texts a language replaces (pageTexts).
inline constexpr std::size_t kPageTextCount = 23;

// The labels of the chart as text and Markdown (report/): the frame's
// fields, a palace's, the running periods' and the words between names.
struct ReportWords {
  std::string_view chartTitle;
  std::string_view name;
  std::string_view sex;
  std::string_view lunarBirth;
  std::string_view solarBirth;
  std::string_view birthYear;
  std::string_view bureau;
  std::string_view lifePalace;
  std::string_view bodyPalace;
  std::string_view lifeMaster;
  std::string_view bodyMaster;
  std::string_view douJun;
  std::string_view rules;
  std::string_view printDate;
  std::string_view brightness;     // the label of brightnessKey
  std::string_view brightnessKey;  // what the brightness names say (empty: they are words)
  std::string_view palacesTitle;
  std::string_view mainStars;
  std::string_view otherStars;
  std::string_view cycles;
  std::array<std::string_view, kCycleCount> cycleTitles;  // by Cycle
  std::string_view trine;
  std::string_view flank;
  std::string_view flies;
  std::string_view self;
  std::string_view inward;
  std::string_view majorPeriod;
  std::string_view minorAges;
  std::string_view transformationPrefix;  // before 祿, 權, 科 and 忌 (化祿)
  std::string_view none;                  // an empty list
  std::string_view stemBranchJoin;        // between a stem and a branch (丙寅, Bing Yin)
  std::string_view periodsTitle;
  std::string_view target;
  std::string_view targetLunar;
  std::string_view age;
  std::array<std::string_view, 4> levelColumns;  // level, its 命宮, stem-branch, span
  std::string_view transformations;
  std::string_view runningStars;
  std::string_view decadeYears;
  std::string_view namesTitle;
  std::string_view palaceColumn;
  std::string_view natalColumn;
  std::string_view yearGeneral;
  std::string_view yearFront;
};

// The words of the study page (its labels, legends and the descriptions it
// gives a screen reader), one block of their own.
struct StudyWords {
  std::string_view title;        // of the page, before the name
  std::string_view natal;        // the natal level in the level switch
  std::string_view levelSwitch;  // the switch's legend
  std::string_view chart;        // the grid's accessible name
  std::string_view hint;         // how to select a palace
  std::string_view noScript;     // shown when scripts do not run
  std::string_view trine;        // 三方四正
  std::string_view flank;        // the flanking palaces
  std::string_view flights;      // the four flying transformations
  std::string_view selfMark;     // the short mark of 離心自化 on a star
  std::string_view inwardMark;   // the short mark of 向心自化 on a star
  std::string_view self;         // 離心自化 in the legend and descriptions
  std::string_view inward;       // 向心自化
  std::string_view selected;     // the selected palace
  std::string_view none;         // an empty list
  std::string_view mainStars;
  std::string_view minorStars;
  std::string_view runningStars;
  std::string_view lunar;  // before the lunar birth date
  std::string_view bureau;
  std::string_view lifeMaster;
  std::string_view bodyMaster;
  std::string_view douJun;
  std::string_view target;      // before the target date
  std::string_view age;         // before the age
  std::string_view selfFlight;  // a flight that ends in its own palace
  std::string_view markGap;     // between a mark's prefix and its kind (自祿, self prosperity)
};

struct Vocabulary {
  Language language;
  std::array<std::string_view, 10> stems;
  std::array<std::string_view, 12> branches;
  std::array<std::string_view, 12> animals;
  std::array<std::string_view, kPalaceRoleCount> palaces;
  std::string_view bodyPalace;
  std::array<std::string_view, kSexLabelCount> sexLabels;
  std::array<std::string_view, kBureauCount> bureaus;
  std::array<std::string_view, kStarCount> stars;
  std::array<std::string_view, kBrightnessCount> brightness;  // as JSON names them
  std::array<std::string_view, kTransformationCount> transformations;
  std::array<std::array<std::string_view, kCycleLength>, kCycleCount> cycles;
  std::array<std::string_view, kPeriodLevelCount> levels;
  std::array<std::string_view, kPeriodLevelCount> levelLabels;
  std::array<std::string_view, kPeriodLevelCount> runningPrefixes;
  std::array<std::string_view, kRunningStarCount> runningStars;
  std::string_view childhood;
  std::string_view pastLastDecade;
  std::string_view ageUnit;
  std::string_view yearUnit;
  std::string_view monthUnit;
  std::string_view dayUnit;
  std::string_view hourUnit;
  std::string_view leapMonth;
  std::string_view yearSeparator;
  std::string_view monthSeparator;
  std::string_view daySuffix;
  std::string_view lifeLabel;
  std::array<std::string_view, calendar::kSolarTermCount> solarTerms;
  // The texts of the page templates as zh-Hant has them, and what this
  // language puts in their place; a style sheet its pages add.
  std::array<std::string_view, kPageTextCount> pageTexts;
  std::string_view pageStyle;
  ReportWords report;
  StudyWords study;

  std::string_view operator()(Stem stem) const { return stems[stem.index()]; }
  std::string_view operator()(Branch branch) const { return branches[branch.index()]; }
  std::string_view operator()(Star star) const { return stars[static_cast<std::size_t>(star)]; }
  std::string_view operator()(PalaceRole role) const {
    return palaces[static_cast<std::size_t>(role)];
  }
  std::string_view operator()(SexLabel label) const {
    return sexLabels[static_cast<std::size_t>(label)];
  }
  std::string_view operator()(Bureau bureau) const {
    return bureaus[static_cast<std::size_t>(bureau)];
  }
  std::string_view operator()(Brightness grade) const {
    return brightness[static_cast<std::size_t>(grade)];
  }
  std::string_view operator()(Transformation transformation) const {
    return transformations[static_cast<std::size_t>(transformation)];
  }
  std::string_view operator()(Cycle cycle, CycleStep step) const {
    return cycles[static_cast<std::size_t>(cycle)][step];
  }
  std::string_view operator()(PeriodLevel level) const {
    return levels[static_cast<std::size_t>(level)];
  }
  std::string_view animal(Branch branch) const { return animals[branch.index()]; }
  std::string_view operator()(calendar::SolarTerm term) const {
    return solarTerms[static_cast<std::size_t>(term)];
  }
};

inline constexpr Vocabulary kZhHant = {
    .language = Language::ZhHant,
#include "vocabulary/zh_hant.inc"
};
inline constexpr Vocabulary kZhHans = {
    .language = Language::ZhHans,
#include "vocabulary/zh_hans.inc"
};
inline constexpr Vocabulary kEnglish = {
    .language = Language::En,
#include "vocabulary/en.inc"
};

constexpr const Vocabulary& vocabularyOf(Language language) {
  switch (language) {
    case Language::ZhHans:
      return kZhHans;
    case Language::En:
      return kEnglish;
    case Language::ZhHant:
      break;
  }
  return kZhHant;
}

// The language of a tag (exactly as in kLanguageTags), if any.
constexpr std::optional<Language> languageTagged(std::string_view tag) {
  for (std::size_t i = 0; i < kLanguageCount; ++i) {
    if (kLanguageTags[i] == tag) return static_cast<Language>(i);
  }
  return std::nullopt;
}

}  // namespace ziwei
