#include "page/palace_cell.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "page/append_buffer.h"
#include "page/minor_ages.h"
#include "page/page_file.h"
#include "page/period_page.h"

namespace ziwei {

namespace {

// The cell is these fragments and the palace's texts appended in order,
// without line breaks; every leading blank belongs to the fragment.

constexpr std::string_view kCellTable =
    "<table width='155' height='167' border='0' cellpadding='0' cellspacing='0'>";
constexpr std::string_view kStarRowStart =
    "  <tr>"
    "    <td height='25' colspan='6'align='right'><table width='100%' border='0' cellspacing='0' "
    "cellpadding='0'>"
    "        <tr>"
    "          <td width='100%'><div align='right'></div>"
    "          </td>";

// Star cells of the star row: opening, the star's text, closing.
struct StarCell {
  std::string_view open;
  std::string_view close;
};
constexpr StarCell kVoidCell{
    "          <td valign='top'><div align='right'><font color='#FF9900' size='2'><strong>",
    "          </strong></font></div>"
    "          </td>"};
constexpr StarCell kMarkerCell{
    "          <td valign='top'><div align='right'><font color='#006600' size='2'>",
    "          </font></div>"
    "          </td>"};
constexpr StarCell kMinorCell{
    "          <td valign='top'><div align='right'><font color='#0000FF' size='2'>",
    "          </font></div>"
    "         </td>"};  // nine blanks before this closing tag
constexpr StarCell kMainCell{
    "          <td valign='top' width=0><div align='right'><font color='#FF0000' size='2'>",
    "          </font></div>"
    "          </td>"};
constexpr StarCell kCycleCell{
    "          <td valign='top'><div align='right'><font color='#0000FF' size='2'>",
    "          </font></div>"
    "          </td>"};

// A main star's transformation mark opens and closes the word; no
// transformation has the mark of none alone.
constexpr std::string_view kTransformationOpen = "<font color='#0000FF'><strong>";
constexpr std::string_view kTransformationClose = "</strong></font>";
constexpr std::string_view kNoMark = "ˉ";

// The brightness marks after a star's name, by Brightness, in every
// language: ˉ for none, then ◎ ○ △ Ｘ.
constexpr std::array<std::string_view, kBrightnessCount> kBrightnessMarks = {kNoMark, "◎", "○",
                                                                             "△", "Ｘ"};

constexpr std::string_view kStarRowEnd =
    "        </tr>"
    "      </table>"
    "    </td>"
    "  </tr>";

constexpr std::string_view kSpacerToMajorPeriod =
    // Spacer row fixing the six column widths 25, 25, 25, 26, 24, 25.
    "  <tr>"
    "    <td width='25'>&nbsp;</td>"
    "    <td width='25'>&nbsp;</td>"
    "    <td width='25'>&nbsp;</td>"
    "    <td width='26'>&nbsp;</td>"
    "    <td width='24'>&nbsp;</td>"
    "    <td width='25'>&nbsp;</td>"
    "  </tr>"
    // Major-period row.
    "  <tr>"
    "    <td>&nbsp;</td>"
    "    <td>&nbsp;</td>"
    "    <td colspan='2'>"
    "      <div align='center'><font size='2'>";

constexpr std::string_view kMajorPeriodToNameColour =
    "      </font></div></td>"
    "    <td>&nbsp;</td>"
    "    <td>&nbsp;</td>"
    "  </tr>"
    // Palace-name row.
    "  <tr>"
    "    <td colspan='6'><div align='center'><strong><font color='";

constexpr std::string_view kNameRowEndToCycles =
    "    </font></strong></div>"
    "    </td>"
    "  </tr>"
    // Cycle row, left half.
    "  <tr>"
    "    <td colspan='3'>"
    "      <div align='left'>"
    "        <table width='100%' border='0' cellspacing='0' cellpadding='0'>"
    "          <tr>";

constexpr std::string_view kCyclesToGrowth =
    "            <td><div align='right'></div>"
    "            </td>"
    "            <td><div align='right'> </div>"
    "            </td>"
    "            <td width='100%'><div align='right'> </div>"
    "          </tr>"
    "        </table>"
    "      </div>"
    "    </td>"
    // Cycle row, right half: growth phase, stem and branch.
    "    <td colspan='3'><table width='100%' border='0' cellspacing='0' cellpadding='0'>"
    "        <tr>"
    "          <td width='100%'><div align='right'></div>"
    "          </td>"
    "          <td valign='bottom'><div align='right'><font size='2'>";

constexpr std::string_view kGrowthToStemBranch =
    "          </font></div>"
    "          </td>"
    "          <td><div align='right'> </div>"
    "          </td>"
    "          <td><div align='right'> <font color='#990000' size='2'>";

constexpr std::string_view kStemBranchToMinorAges =
    "          </font></div>"
    "          </td>"
    "        </tr>"
    "      </table>"
    "    </td>"
    "  </tr>"
    // Minor-period row.
    "  <tr>"
    "    <td height='20' colspan='6'><div align='center'><font size='2'>";

constexpr std::string_view kCellEnd =
    "    </font></div></td>"
    "  </tr>"
    "</table>";

void appendStar(AppendBuffer& cell, const StarCell& frame, std::string_view text) {
  cell.ascii(frame.open);
  cell += text;
  cell.ascii(frame.close);
}

// A name of the vocabulary, in Big5 encoded once from the page files' code
// table (a Big5 page holds zh-Hant names only).
struct EncodedName {
  std::array<char, 64> bytes{};  // eight bytes of UTF-8 make at most 64 (a reference each)
  std::size_t size = 0;
  std::string_view view() const { return {bytes.data(), size}; }
};

const std::array<EncodedName, kStarCount>& big5StarNames() {
  static const std::array<EncodedName, kStarCount> names = [] {
    std::array<EncodedName, kStarCount> encoded{};
    for (std::size_t i = 0; i < kStarCount; ++i) {
      std::string bytes;
      appendBig5(bytes, kZhHant.stars[i]);
      encoded[i].size = std::min(bytes.size(), encoded[i].bytes.size());
      std::copy_n(bytes.begin(), encoded[i].size, encoded[i].bytes.begin());
    }
    return encoded;
  }();
  return names;
}

// Names hold no "@" (and no star name is longer than its room in Big5).
static_assert(std::ranges::all_of(std::array{&kZhHant, &kZhHans, &kEnglish}, [](const Vocabulary* v) {
  return std::ranges::none_of(v->stars, [](std::string_view name) {
    return name.find('@') != std::string_view::npos;
  });
}));
static_assert(std::ranges::none_of(kZhHant.stars, [](std::string_view name) { return name.size() > 8; }));

void appendStarName(AppendBuffer& out, Star star, const Vocabulary& words) {
  if (out.writesBig5()) {
    out.encoded(big5StarNames()[static_cast<std::size_t>(star)].view());
  } else {
    out.ascii(words(star));
  }
}

// The fragments are copied as they are whatever the page's encoding.
static_assert(isPlainAscii(kCellTable) && isPlainAscii(kStarRowStart) &&
              isPlainAscii(kStarRowEnd) && isPlainAscii(kSpacerToMajorPeriod) &&
              isPlainAscii(kMajorPeriodToNameColour) && isPlainAscii(kNameRowEndToCycles) &&
              isPlainAscii(kCyclesToGrowth) && isPlainAscii(kGrowthToStemBranch) &&
              isPlainAscii(kStemBranchToMinorAges) && isPlainAscii(kCellEnd));
static_assert(std::ranges::all_of(
    std::array{kVoidCell, kMarkerCell, kMinorCell, kMainCell, kCycleCell},
    [](const StarCell& cell) { return isPlainAscii(cell.open) && isPlainAscii(cell.close); }));

// The upper groups stand from their last name on the left to their first
// name on the right.
template <std::size_t Capacity>
void appendRightToLeft(AppendBuffer& cell, const StarCell& frame, const StarRow<Capacity>& row,
                       const Vocabulary& words) {
  for (std::size_t i = row.size; i-- > 0;) {
    cell.ascii(frame.open);
    appendStarName(cell, row.stars[i].star, words);
    cell.ascii(frame.close);
  }
}

// The decade's and the year's transformation marks after a star's natal
// mark on the running-period page: 運祿 ... 流忌 in the level's colour.
void appendRunningMark(AppendBuffer& out, PeriodLevel level, Transformation transformation,
                       const Vocabulary& words) {
  if (transformation == Transformation::None) return;
  const auto at = static_cast<std::size_t>(level);
  out.ascii("<span class='");
  out.ascii(kPeriodLevelClasses[at]);
  out.ascii("'><strong>");
  out += words.runningPrefixes[at];
  out += words(transformation);
  out.ascii("</strong></span>");
}

Transformation transformationAt(const LevelPeriod& level, Star star) {
  if (!level.present) return Transformation::None;
  for (std::size_t i = 0; i < level.transformed.size(); ++i) {
    if (level.transformed[i] == star) return static_cast<Transformation>(i + 1);
  }
  return Transformation::None;
}

}  // namespace

void appendTransformationMark(AppendBuffer& out, Transformation transformation,
                              const Vocabulary& words) {
  if (transformation == Transformation::None) {
    out += kNoMark;
    return;
  }
  out.ascii(kTransformationOpen);
  out += words(transformation);
  out.ascii(kTransformationClose);
}

void appendStarRow(AppendBuffer& out, const ChartPalace& palace, const Vocabulary& words,
                   const RunningPeriods* periods) {
  const PalaceStars& stars = palace.stars;
  out.ascii(kStarRowStart);
  appendRightToLeft(out, kVoidCell, stars.voids, words);
  appendRightToLeft(out, kMarkerCell, stars.markers, words);
  for (std::size_t i = stars.minor.size; i-- > 0;) {
    const PlacedStar& star = stars.minor.stars[i];
    out.ascii(kMinorCell.open);
    appendStarName(out, star.star, words);
    out += kBrightnessMarks[static_cast<std::size_t>(star.brightness)];
    out.ascii(kMinorCell.close);
  }
  for (std::size_t i = stars.main.size; i-- > 0;) {
    const PlacedStar& star = stars.main.stars[i];
    out.ascii(kMainCell.open);
    appendStarName(out, star.star, words);
    out += kBrightnessMarks[static_cast<std::size_t>(star.brightness)];
    appendTransformationMark(out, star.transformation, words);
    if (periods != nullptr) {
      for (const PeriodLevel level : {PeriodLevel::Decade, PeriodLevel::Year}) {
        appendRunningMark(out, level, transformationAt((*periods)[level], star.star), words);
      }
    }
    out.ascii(kMainCell.close);
  }
  out.ascii(kStarRowEnd);
}

void HourInStr(AppendBuffer& out, const Chart& chart, PalaceNum fateNUM, const Vocabulary& words) {
  const ChartPalace& palace = chart[fateNUM];
  out.ascii(kCellTable);
  appendStarRow(out, palace, words, nullptr);
  out.ascii(kSpacerToMajorPeriod);
  out.appendNumber(palace.majorPeriodFirstAge);
  out += '-';
  out.appendNumber(palace.majorPeriodFirstAge + 9);
  out.ascii(kMajorPeriodToNameColour);
  if (palace.stars.redName) out.ascii("#FF0000");
  out.ascii("'>");
  out += words(palace.role);
  out += ' ';
  if (palace.body) out += words.bodyPalace;
  out.ascii(kNameRowEndToCycles);
  for (const Cycle cycle : {Cycle::Doctor, Cycle::General, Cycle::YearFront}) {
    appendStar(out, kCycleCell, words(cycle, palace.cycle(cycle)));
  }
  out.ascii(kCyclesToGrowth);
  out += words(Cycle::Growth, palace.cycle(Cycle::Growth));
  out.ascii(kGrowthToStemBranch);
  out += words(palace.stem);
  out += words(branchOf(fateNUM));
  out.ascii(kStemBranchToMinorAges);
  out.ascii(kMinorAgesInCell[static_cast<std::size_t>(palace.minorPeriodFirstAge)].view());
  out.ascii(kCellEnd);
}

}  // namespace ziwei
