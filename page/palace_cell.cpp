#include "page/palace_cell.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "chart/frame/cyclic_names.h"
#include "chart/frame/numbering.h"
#include "chart/periods/periods.h"
#include "chart/stars/brightness.h"
#include "chart/stars/cycles.h"
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

// The transformation marks by Transformation: none, 祿, 權, 科, 忌.
constexpr std::array<std::string_view, kTransformationCount> kTransformationMarks = {
    "ˉ",
    "<font color='#0000FF'><strong>祿</strong></font>",
    "<font color='#0000FF'><strong>權</strong></font>",
    "<font color='#0000FF'><strong>科</strong></font>",
    "<font color='#0000FF'><strong>忌</strong></font>",
};

// The first `count` UTF-8 characters of `text` (all of it when shorter).
std::string_view leadingCharacters(std::string_view text, int count) {
  std::size_t end = 0;
  for (int n = 0; n < count && end < text.size(); ++n) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return text.substr(0, end);
}

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

// The star names in Big5, encoded once from the page files' code table.
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
      appendBig5(bytes, kStars[i].name);
      encoded[i].size = std::min(bytes.size(), encoded[i].bytes.size());
      std::copy_n(bytes.begin(), encoded[i].size, encoded[i].bytes.begin());
    }
    return encoded;
  }();
  return names;
}

// Star names hold no "@" (and no name is longer than its room in Big5).
static_assert(std::ranges::none_of(kStars, [](const StarInfo& star) {
  return star.name.find('@') != std::string_view::npos || star.name.size() > 8;
}));

void appendStarName(AppendBuffer& out, Star star) {
  if (out.writesBig5()) {
    out.encoded(big5StarNames()[static_cast<std::size_t>(star)].view());
  } else {
    out.ascii(starName(star));
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
void appendRightToLeft(AppendBuffer& cell, const StarCell& frame, const StarRow<Capacity>& row) {
  for (std::size_t i = row.size; i-- > 0;) {
    cell.ascii(frame.open);
    appendStarName(cell, row.stars[i]);
    cell.ascii(frame.close);
  }
}

// The decade's and the year's transformation marks after a star's natal
// mark on the running-period page: 運祿 ... 流忌 in the level's colour.
void appendRunningMark(AppendBuffer& out, PeriodLevel level, Transformation transformation) {
  if (transformation == Transformation::None) return;
  const auto at = static_cast<std::size_t>(level);
  out.ascii("<span class='");
  out.ascii(kPeriodLevelClasses[at]);
  out.ascii("'><strong>");
  out += kRunningStarPrefixes[at];
  out += kTransformationWords[static_cast<std::size_t>(transformation)];
  out.ascii("</strong></span>");
}

Transformation transformationBy(const LevelPeriod& level, Star star) {
  if (!level.present) return Transformation::None;
  for (std::size_t i = 0; i < level.transformed.size(); ++i) {
    if (level.transformed[i] == star) return static_cast<Transformation>(i + 1);
  }
  return Transformation::None;
}

}  // namespace

void appendStarRow(AppendBuffer& out, const ChartState& chart, const PalaceLayout& palace,
                   PalaceNum fateNUM, const RunningPeriods* periods) {
  out.ascii(kStarRowStart);
  appendRightToLeft(out, kVoidCell, palace.voids);
  appendRightToLeft(out, kMarkerCell, palace.markers);
  for (std::size_t i = palace.minor.size; i-- > 0;) {
    const Star star = palace.minor.stars[i];
    out.ascii(kMinorCell.open);
    appendStarName(out, star);
    out += minorStarMark(star, fateNUM);
    out.ascii(kMinorCell.close);
  }
  const bool marked = isStem(chart.YearStemNum);  // else the main stars' texts are empty
  for (std::size_t i = palace.main.size; i-- > 0;) {
    const Star star = palace.main.stars[i];
    out.ascii(kMainCell.open);
    if (marked) {
      appendStarName(out, star);
      out += mainStarMark(star, fateNUM);
      out += transformationMark(transformationOf(chart, star));
      if (periods != nullptr) {
        for (const PeriodLevel level : {PeriodLevel::Decade, PeriodLevel::Year}) {
          appendRunningMark(out, level, transformationBy((*periods)[level], star));
        }
      }
    }
    out.ascii(kMainCell.close);
  }
  out.ascii(kStarRowEnd);
}

void appendPalaceCell(AppendBuffer& out, const ChartState& chart, const PalaceLayout& palace,
                      PalaceNum fateNUM) {
  out.ascii(kCellTable);
  appendStarRow(out, chart, palace, fateNUM, nullptr);
  out.ascii(kSpacerToMajorPeriod);
  if (const int start =
          majorPeriodStart(chart.BureauName, chart.SexText, chart.LifePalaceNum, fateNUM);
      start != 0) {
    out.appendNumber(start);
    out += '-';
    out.appendNumber(start + 9);
  }
  out.ascii(kMajorPeriodToNameColour);
  if (palace.redName) out.ascii("#FF0000");
  out.ascii("'>");
  out += palaceName(chart.LifePalaceNum, fateNUM);
  out += ' ';
  out += getBodyHourse(chart, fateNUM);
  out.ascii(kNameRowEndToCycles);
  for (const std::string_view name : {doctorName(chart, fateNUM, chart.SexText),
                                      generalName(chart, fateNUM), yearFrontName(chart, fateNUM)}) {
    if (!name.empty()) appendStar(out, kCycleCell, name);
  }
  out.ascii(kCyclesToGrowth);
  out += growthName(chart.BureauName, chart.SexText, fateNUM);
  out.ascii(kGrowthToStemBranch);
  out += getSky(chart, fateNUM);
  out += kBranchNames[static_cast<std::size_t>(fateNUM - 1)];
  out.ascii(kStemBranchToMinorAges);
  out.ascii(kMinorAgesInCell[static_cast<std::size_t>(
                                 minorPeriodFirstAge(chart.YearBranchNum, chart.SexNum, fateNUM))]
                .view());
  out.ascii(kCellEnd);
}

std::string HourInStr(const ChartState& chart, PalaceNum fateNUM) {
  std::string cell;
  if (!isPalace(fateNUM)) return cell;
  const ChartLayout layout = layOutPalaces(chart);
  AppendBuffer buffer(cell);
  appendPalaceCell(buffer, chart, layout[static_cast<std::size_t>(fateNUM - 1)], fateNUM);
  buffer.finish();
  return cell;
}

std::string_view transformationMark(Transformation transformation) {
  return kTransformationMarks[static_cast<std::size_t>(transformation)];
}

std::string getSkyOFirstStar(const ChartState& chart, std::string_view strW) {
  if (!isStem(chart.YearStemNum)) return {};
  const std::optional<Star> star = starNamed(leadingCharacters(strW, 2));
  std::string marked(strW);
  marked += transformationMark(star ? transformationOf(chart, *star) : Transformation::None);
  return marked;
}

}  // namespace ziwei
