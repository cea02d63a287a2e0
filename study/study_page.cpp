#include "study/study_page.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>
#include <utility>

#include "study/study_assets.h"

namespace ziwei {

namespace {

using StudyWord = std::pair<std::string_view, std::string_view StudyWords::*>;

// The page's words by the keys the script reads them by.
constexpr std::array<StudyWord, 27> kStudyWords{{
    {"title", &StudyWords::title},
    {"natal", &StudyWords::natal},
    {"levelSwitch", &StudyWords::levelSwitch},
    {"chart", &StudyWords::chart},
    {"hint", &StudyWords::hint},
    {"noScript", &StudyWords::noScript},
    {"trine", &StudyWords::trine},
    {"flank", &StudyWords::flank},
    {"flights", &StudyWords::flights},
    {"selfMark", &StudyWords::selfMark},
    {"inwardMark", &StudyWords::inwardMark},
    {"self", &StudyWords::self},
    {"inward", &StudyWords::inward},
    {"selected", &StudyWords::selected},
    {"none", &StudyWords::none},
    {"mainStars", &StudyWords::mainStars},
    {"minorStars", &StudyWords::minorStars},
    {"runningStars", &StudyWords::runningStars},
    {"lunar", &StudyWords::lunar},
    {"bureau", &StudyWords::bureau},
    {"lifeMaster", &StudyWords::lifeMaster},
    {"bodyMaster", &StudyWords::bodyMaster},
    {"douJun", &StudyWords::douJun},
    {"target", &StudyWords::target},
    {"age", &StudyWords::age},
    {"selfFlight", &StudyWords::selfFlight},
    {"markGap", &StudyWords::markGap},
}};

// The words of the other blocks the page shows, by key.
using VocabularyWord = std::pair<std::string_view, std::string_view Vocabulary::*>;
constexpr std::array<VocabularyWord, 7> kDateWords{{
    {"bodyPalace", &Vocabulary::bodyPalace},
    {"leapMonth", &Vocabulary::leapMonth},
    {"yearSeparator", &Vocabulary::yearSeparator},
    {"monthSeparator", &Vocabulary::monthSeparator},
    {"daySuffix", &Vocabulary::daySuffix},
    {"hourUnit", &Vocabulary::hourUnit},
    {"ageUnit", &Vocabulary::ageUnit},
}};

// The words are written into the page as they are, as JSON strings and as
// the title: none may hold what JSON or HTML would have to escape.
constexpr bool plainWord(std::string_view word) {
  for (const char c : word) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '\\' || c == '<' || c == '&') {
      return false;
    }
  }
  return true;
}

constexpr bool plainWords(const Vocabulary& words) {
  for (const auto& [key, member] : kStudyWords) {
    if (!plainWord(words.study.*member)) return false;
  }
  for (const auto& [key, member] : kDateWords) {
    if (!plainWord(words.*member)) return false;
  }
  for (const std::string_view name : words.transformations) {
    if (!plainWord(name)) return false;
  }
  for (std::size_t i = 0; i < kPeriodLevelCount; ++i) {
    if (!plainWord(words.levels[i]) || !plainWord(words.levelLabels[i])) return false;
  }
  return true;
}
static_assert(plainWords(kZhHant) && plainWords(kZhHans) && plainWords(kEnglish));

void appendWord(std::string& out, std::string_view key, std::string_view word) {
  out += '"';
  out += key;
  out += "\":\"";
  out += word;
  out += "\",";
}

void appendList(std::string& out, std::string_view key, const auto& names, std::size_t first) {
  out += '"';
  out += key;
  out += "\":[";
  for (std::size_t i = first; i < names.size(); ++i) {
    if (i != first) out += ',';
    out += '"';
    out += names[i];
    out += '"';
  }
  out += ']';
}

// The words as one JSON object: the study words, the date words, "kinds"
// (祿, 權, 科, 忌 as the JSON names them), and "levels" and "levelMarks" by
// PeriodLevel.
void appendWords(std::string& out, const Vocabulary& words) {
  out += '{';
  for (const auto& [key, member] : kStudyWords) appendWord(out, key, words.study.*member);
  for (const auto& [key, member] : kDateWords) appendWord(out, key, words.*member);
  appendList(out, "kinds", words.transformations, 1);
  out += ',';
  appendList(out, "levels", words.levels, 0);
  out += ',';
  appendList(out, "levelMarks", words.levelLabels, 0);
  out += '}';
}

// The chart's document from `start` on, with each "<" (only ever inside a
// string) written as its JSON escape.
void escapeAngles(std::string& out, std::size_t start) {
  constexpr std::string_view kEscaped = "\\u003c";
  const auto angles = static_cast<std::size_t>(
      std::count(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), '<'));
  if (angles == 0) return;
  std::string escaped;
  escaped.reserve(out.size() - start + angles * (kEscaped.size() - 1));
  for (std::size_t i = start; i < out.size(); ++i) {
    if (out[i] == '<') {
      escaped += kEscaped;
    } else {
      escaped += out[i];
    }
  }
  out.replace(start, std::string::npos, escaped);
}

}  // namespace

std::string studyPage(const Chart& chart, const ChartRecord& record, const Vocabulary& words) {
  std::string page;
  page.reserve(65536);
  page += "<!DOCTYPE html>\n<html lang=\"";
  page += kLanguageTags[static_cast<std::size_t>(words.language)];
  page +=
      "\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
  page += words.study.title;
  page += "</title>\n<style>\n";
  page += study_assets::kStudyStyle;
  page += "</style>\n</head>\n<body>\n<noscript><p>";
  page += words.study.noScript;
  page += "</p></noscript>\n<div id=\"study\"></div>\n";
  page += "<script type=\"application/json\" id=\"chart-data\">";
  const std::size_t data = page.size();
  appendChartJson(page, chart, record, words);
  escapeAngles(page, data);
  page += "</script>\n<script type=\"application/json\" id=\"study-words\">";
  appendWords(page, words);
  page += "</script>\n<script>\n";
  page += study_assets::kStudyScript;
  page += "</script>\n</body>\n</html>";
  return page;
}

}  // namespace ziwei
