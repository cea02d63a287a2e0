#include "page/palace_cell.h"

#include <gtest/gtest.h>

#include <string>

#include "example_charts.h"
#include "ordered_replacement.h"

namespace ziwei {
namespace {

// The star row of a cell: from the filler cell to the end of the row.
std::string starRow(const std::string& cell) {
  const std::string filler = "          <td width='100%'><div align='right'></div>          </td>";
  const auto begin = cell.find(filler) + filler.size();
  return cell.substr(begin, cell.find("        </tr>", begin) - begin);
}

// The palace-name row's text between the colour attribute and the closing tags.
std::string nameRow(const std::string& cell) {
  const std::string open = "<strong><font color='";
  const auto begin = cell.find(open) + open.size();
  return cell.substr(begin, cell.find("    </font></strong>", begin) - begin);
}

// The 紫微 palace of the first example, 酉, composed independently from the
// layout description: 天使 (green), five minor stars with their brightness
// (blue, last first), 貪狼 and 紫微 (red) with brightness and the 甲-year
// transformation mark, then periods, name, cycles, growth, stem and branch.
constexpr std::string_view kFirstExampleZiWeiCell =
    "<table width='155' height='167' border='0' cellpadding='0' cellspacing='0'>  <tr>    <td"
    " height='25' colspan='6'align='right'><table width='100%' border='0' cellspacing='0' cel"
    "lpadding='0'>        <tr>          <td width='100%'><div align='right'></div>          <"
    "/td>          <td valign='top'><div align='right'><font color='#006600' size='2'>天使   "
    "       </font></div>          </td>          <td valign='top'><div align='right'><font c"
    "olor='#0000FF' size='2'>恩光ˉ          </font></div>         </td>          <td valign='"
    "top'><div align='right'><font color='#0000FF' size='2'>咸池ˉ          </font></div>     "
    "    </td>          <td valign='top'><div align='right'><font color='#0000FF' size='2'>天"
    "喜ˉ          </font></div>         </td>          <td valign='top'><div align='right'><f"
    "ont color='#0000FF' size='2'>天福ˉ          </font></div>         </td>          <td val"
    "ign='top'><div align='right'><font color='#0000FF' size='2'>天刑◎          </font></div>"
    "         </td>          <td valign='top' width=0><div align='right'><font color='#FF0000"
    "' size='2'>貪狼△ˉ          </font></div>          </td>          <td valign='top' width="
    "0><div align='right'><font color='#FF0000' size='2'>紫微○ˉ          </font></div>       "
    "   </td>        </tr>      </table>    </td>  </tr>  <tr>    <td width='25'>&nbsp;</td> "
    "   <td width='25'>&nbsp;</td>    <td width='25'>&nbsp;</td>    <td width='26'>&nbsp;</td"
    ">    <td width='24'>&nbsp;</td>    <td width='25'>&nbsp;</td>  </tr>  <tr>    <td>&nbsp;"
    "</td>    <td>&nbsp;</td>    <td colspan='2'>      <div align='center'><font size='2'>76-"
    "85      </font></div></td>    <td>&nbsp;</td>    <td>&nbsp;</td>  </tr>  <tr>    <td col"
    "span='6'><div align='center'><strong><font color='#FF0000'>疾厄宮     </font></strong></"
    "div>    </td>  </tr>  <tr>    <td colspan='3'>      <div align='left'>        <table wid"
    "th='100%' border='0' cellspacing='0' cellpadding='0'>          <tr>          <td valign="
    "'top'><div align='right'><font color='#0000FF' size='2'>喜神          </font></div>     "
    "     </td>          <td valign='top'><div align='right'><font color='#0000FF' size='2'>"
    "咸池          </font></div>          </td>          <td valign='top'><div align='right'>"
    "<font color='#0000FF' size='2'>天德          </font></div>          </td>            <td"
    "><div align='right'></div>            </td>            <td><div align='right'> </div>   "
    "         </td>            <td width='100%'><div align='right'> </div>          </tr>    "
    "    </table>      </div>    </td>    <td colspan='3'><table width='100%' border='0' cell"
    "spacing='0' cellpadding='0'>        <tr>          <td width='100%'><div align='right'></"
    "div>          </td>          <td valign='bottom'><div align='right'><font size='2'>死   "
    "       </font></div>          </td>          <td><div align='right'> </div>          </t"
    "d>          <td><div align='right'> <font color='#990000' size='2'>癸酉          </font>"
    "</div>          </td>        </tr>      </table>    </td>  </tr>  <tr>    <td height='20"
    "' colspan='6'><div align='center'><font size='2'> 12 24 36 48 60 72 84 96 108    </font>"
    "</div></td>  </tr></table>";

TEST(PalaceCell, MatchesTheZiWeiPalaceOfTheFirstExampleByteForByte) {
  EXPECT_EQ(test::cellText(test::firstExample(), 10), kFirstExampleZiWeiCell);
}

TEST(PalaceCell, StarRowStandsRightToLeftInGroupOrder) {
  // 甲 year: 陀羅 and then 天魁 lie in 丑 after 廉貞 and 七殺; the first
  // gathered stands rightmost, so the row reads 天魁 陀羅 七殺 廉貞.
  const Chart chart = test::firstExample();
  const std::string row = starRow(test::cellText(chart, 2));
  const auto kuei = row.find("天魁ˉˉ");
  const auto tuoluo = row.find("陀羅◎ˉ");
  const auto qisha = row.find("七殺◎ˉ");
  const auto lianzhen = row.find("廉貞△<font color='#0000FF'><strong>祿</strong></font>");
  ASSERT_NE(kuei, std::string::npos);
  EXPECT_LT(kuei, tuoluo);
  EXPECT_LT(tuoluo, qisha);
  EXPECT_LT(qisha, lianzhen);
  // The minor group stands left of the main group, 天空 (second) left of 天姚.
  EXPECT_LT(row.find("天空◎"), row.find("天姚Ｘ"));
  EXPECT_LT(row.find("天姚Ｘ"), kuei);
}

TEST(PalaceCell, GroupsStandVoidMarkerMinorMainFromLeftToRight) {
  // Second example, 酉: 旬空 (orange), minor stars, then four main stars.
  const Chart chart = test::secondExample();
  const std::string row = starRow(test::cellText(chart, 10));
  EXPECT_TRUE(
      row.starts_with("          <td valign='top'><div align='right'><font color='#FF9900' "
                      "size='2'><strong>旬空          </strong></font></div>          </td>"));
  EXPECT_LT(row.find("#FF9900"), row.find("#0000FF"));
  EXPECT_LT(row.rfind("#0000FF' size='2'>"), row.find("#FF0000"));
  EXPECT_TRUE(row.ends_with("廉貞△ˉ          </font></div>          </td>"));
  // 截空 in 未 is a green marker cell.
  EXPECT_NE(starRow(test::cellText(chart, 8))
                .find("<font color='#006600' size='2'>截空          </font></div>          </td>"),
            std::string::npos);
}

TEST(PalaceCell, PalaceWithoutUpperStarsShowsOnlyTheFiller) {
  const Chart chart = test::chartOf(LunarBirth{1913, 2, false, 1, 6, 0, 0, true});
  const std::string cell = test::cellText(chart, 5);
  EXPECT_EQ(starRow(cell), "");
  EXPECT_NE(cell.find("<font color=''>"), std::string::npos);
}

// The name is red for main-group stars and for 祿存 (with 左輔), not for
// auxiliaries alone (擎羊; 右弼; 陀羅 and 天鉞; nothing); the Body palace is marked.
TEST(PalaceCell, PalaceNameColourAndBodyMark) {
  const Chart first = test::firstExample();
  const Chart second = test::secondExample();
  const struct {
    const Chart& chart;
    int num;
    const char* row;
  } rows[] = {{first, 1, "#FF0000'>夫妻宮 "},  {first, 3, "#FF0000'>命宮 身宮"},
              {first, 4, "'>父母宮 "},         {second, 7, "'>疾厄宮 "},
              {second, 8, "'>財帛宮 "},        {second, 11, "'>兄弟宮 "},
              {second, 9, "#FF0000'>子女宮 "}, {second, 2, "#FF0000'>福德宮 身宮"},
              {second, 12, "#FF0000'>命宮 "}};
  for (const auto& row : rows) EXPECT_EQ(nameRow(test::cellText(row.chart, row.num)), row.row);
}

TEST(PalaceCell, TransformationMarks) {
  const auto mark = [](Transformation transformation, const Vocabulary& words) {
    std::string text;
    AppendBuffer buffer(text);
    appendTransformationMark(buffer, transformation, words);
    buffer.finish();
    return text;
  };
  EXPECT_EQ(mark(Transformation::Lu, kZhHant), "<font color='#0000FF'><strong>祿</strong></font>");
  EXPECT_EQ(mark(Transformation::Ji, kZhHant), "<font color='#0000FF'><strong>忌</strong></font>");
  EXPECT_EQ(mark(Transformation::None, kZhHant), "ˉ");
  EXPECT_EQ(mark(Transformation::Quan, kZhHans), "<font color='#0000FF'><strong>权</strong></font>");
  EXPECT_EQ(mark(Transformation::None, kEnglish), "ˉ");  // the marks are the same in every language
}

}  // namespace
}  // namespace ziwei
