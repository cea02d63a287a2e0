#include "page/page_template.h"

#include <array>
#include <string_view>

#include "page/period_page.h"
#include "page/publisher.h"

namespace ziwei {

namespace {

// The template is these fragments appended in order, without line breaks:
// the head, the title bar and the grid up to the centre block, the centre
// block (its heading, lines, the four boxes and the publisher's notice), the
// rest of the grid and the note. The running-period page shares all but the
// title, its own style rules and the centre block's lines.
constexpr auto kHeadStart = std::to_array<std::string_view>({"<html>", "<head>"});
constexpr std::string_view kChartTitle = "<title>Tessaro紫微斗數</title>";
constexpr auto kHeadStyle = std::to_array<std::string_view>({
    "<meta http-equiv='Content-Type' content='text/html; charset=big5'>",
    "<style>",
    ".page {page-break-before: always;}",
    "BODY { margin-bottom: 0em } ",
});
constexpr auto kHeadEndToCentre = std::to_array<std::string_view>({
    "</style>",
    "</head>",
    "<body bgcolor='#FFFFFF' text='#000000' >",
    // Title bar: print date, title, print link.
    "<table width='600' border='0' align='center'>",
    "  <tr> ",
    "    <td width='30%'>@PrintDate@</td>",
    "    <td width='39%'> ",
    "      <div align='center'><font size='4' "
    "color='#999900'><strong>@Title@</strong></font></div>",
    "    </td>",
    "    <td width='31%'> ",
    "      <div align='right'><a href='JAVASCRIPT:window.print();'>列印本頁</a></div>",
    "    </td>",
    "  </tr>",
    "</table>",
    // The grid, row 1: 巳 午 未 申.
    "<table width='640' border='1' align='center' cellpadding='0' cellspacing='0' "
    "bordercolor='#666699'>",
    "  <tr>",
    "    <td width='157'>@HourseNUM06@",
    "    </td>",
    "    <td width='157'>@HourseNUM07@ </td>",
    "    <td width='158'>@HourseNUM08@ </td>",
    "    <td width='158'>@HourseNUM09@ </td>",
    "  </tr>",
    // Row 2: 辰, then the centre block.
    "  <tr>",
    "    <td width='157'>@HourseNUM05@ </td>",
    "    <td colspan='2' rowspan='2' valign='top'><table width='100%' border='0' cellspacing='0' "
    "cellpadding='0'>",
});
constexpr auto kCentreHeading = std::to_array<std::string_view>({
    // Centre line 1: the chart heading.
    "        <tr>",
    "          <td colspan='6'><div align='center'><font color='#000000'><br>",
    "                    <font color='#6600FF'> <strong>~ @FateName@ ~ </strong> "
    "</font></font></div>",
    "          </td>",
    "        </tr>",
});
// Centre line 3: sex label, name, animal; the name's cell differs by page.
constexpr auto kSexCell = std::to_array<std::string_view>({
    "        <tr>",
    "          <td width='16%'>&nbsp;</td>",
    "          <td width='16%'><div align='center'><font color='#6633FF'>@SEXTEXT@</font></div>",
    "          </td>",
});
constexpr auto kAnimalCell = std::to_array<std::string_view>({
    "          </td>",
    "          <td width='16%'><div align='center'><font "
    "color='#FF0000'>肖@getAnimal@</font></div>",
    "          </td>",
    "          <td width='20%'>&nbsp;</td>",
    "        </tr>",
});

constexpr auto kChartLine2 = std::to_array<std::string_view>({
    // Centre line 2: empty.
    "        <tr>",
    "          <td colspan='6'><div align='center'><font color='#0000FF'><br>",
    "              </font></div>",
    "          </td>",
    "        </tr>",
});
constexpr auto kChartName = std::to_array<std::string_view>({
    "          <td colspan='2' nowrap><div align='center'><font color='#0000FF'>[",
    "                @txtNAME@ ]</font></div>",
});
constexpr auto kChartLunarToBoxes = std::to_array<std::string_view>({
    // Centre line 4: the lunar birth date and time.
    "        <tr>",
    "          <td colspan='6'><div align='center'><font "
    "color='#FF0000'>農曆:@CYY@年@CMM@月@CDD@日@CHH@時@CMU@分</font></div>",
    "          </td>",
    "        </tr>",
    // Centre line 5: the four boxes.
    "        <tr>",
    "          <td colspan='6'><br>",
    "              <table width='70%' height='100' border='1' align='center' cellpadding='0' "
    "cellspacing='0' bordercolor='#666699'>",
    "                <tr valign='top'>",
});

// One box of centre line 5: three lines of its own between shared fragments.
struct Box {
  std::string_view firstLine;
  std::string_view secondLine;
  std::string_view valueLine;
};

// Dou Jun, Body master, Life master, bureau; left to right.
constexpr std::array<Box, 4> kBoxes{{
    {"                        <td><font color=#660033>斗<br>", "                        君<br>",
     "                        @getLifeDStart@</font></td>"},
    {"                        <td><font color=#006600>身<br>", "                        主<br>",
     "                        @getBodyStart@</font></td>"},
    {"                        <td><font color=#FF0000>命<br>", "                        主<br>",
     "                        @LiftHourseM@</font></td>"},
    {"                        <td><font color=#0000FF>命<br>", "                        局<br>",
     "                        @FiveHourse@</font></td>"},
}};

constexpr std::string_view kBoxStart =
    "                  <td width='25%'><table width='1' border='0' cellspacing='0' cellpadding='0' "
    "align='center'>";
constexpr std::string_view kBoxRowStart = "                      <tr>";
constexpr std::string_view kBoxColon = "                        ：<br>";
constexpr auto kBoxEnd = std::to_array<std::string_view>({
    "                      </tr>",
    "                    </table>",
    "                  </td>",
});

constexpr auto kBoxesEnd = std::to_array<std::string_view>({
    // End of centre line 5.
    "                </tr>",
    "              </table>",
    "          </td>",
    "        </tr>",
});
constexpr auto kNoticeStart = std::to_array<std::string_view>({
    // Centre line 6: the publisher's notice.
    "        <tr>",
    "          <td colspan='6'>",
});
constexpr auto kNoticeEnd = std::to_array<std::string_view>({
    "          </td>",
    "        </tr>",
});

constexpr auto kAfterCentre = std::to_array<std::string_view>({
    // End of the centre block, rest of row 2: 酉.
    "      </table>",
    "    </td>",
    "    <td width='158'>@HourseNUM10@ </td>",
    "  </tr>",
    // Row 3: 卯 and 戌.
    "  <tr>",
    "    <td width='157'>",
    "      @HourseNUM04@",
    "    </td>",
    "    <td width='158'>@HourseNUM11@ </td>",
    "  </tr>",
    // Row 4: 寅 丑 子 亥.
    "  <tr>",
    "    <td width='157'>",
    "      @HourseNUM03@",
    "    </td>",
    "    <td width='157'>@HourseNUM02@ </td>",
    "    <td width='158'>@HourseNUM01@ </td>",
    "    <td width='158'>@HourseNUM12@ </td>",
    "  </tr>",
    "</table>",
    // The note below the grid.
    "<table width='640' border='0' align='center' cellpadding='0' cellspacing='0'>",
    "  <tr>",
    "    <td><font color='#0000FF' size='2'><pre>@PAGENOTE@</pre></font></td>",
    "  </tr>",
    "</table>",
    "</body>",
    "</html>",
});

// The site's address as the notice shows it: the home page without its
// scheme and trailing slash.
constexpr std::string_view siteAddress(std::string_view url) {
  if (const auto scheme = url.find("://"); scheme != std::string_view::npos) {
    url.remove_prefix(scheme + 3);
  }
  if (!url.empty() && url.back() == '/') url.remove_suffix(1);
  return url;
}

void append(std::string& text, const auto& fragments) {
  for (const std::string_view fragment : fragments) text += fragment;
}

// The centre block's last line: the notice, one centred line in font size
// 2, then the home-page link.
void appendNotice(std::string& text) {
  append(text, kNoticeStart);
  text +=
      "            <div align='center'><font size='2'>本命盤僅供參考，更多命理服務請上本站："
      "</font><br>";
  text += "            <a href='";
  text += publisher::kHomePage;
  text += "' target='_blank'><font color='#0000FF' size='2'>";
  text += siteAddress(publisher::kHomePage);
  text += "</font></a></div>";
  append(text, kNoticeEnd);
}

// The running-period page's centre lines after the heading: sex label, name
// (wrapping) and animal; the lunar birth and the bureau; the target and the
// age; the table of levels; the legend of the labels and the colours.
constexpr std::string_view kPeriodName =
    "          <td colspan='2' class='nm'><div align='center'><font color='#0000FF'>[ @txtNAME@ "
    "]</font></div>";
constexpr auto kPeriodCentre = std::to_array<std::string_view>({
    "        <tr>",
    "          <td colspan='6'><div align='center'><font "
    "color='#FF0000'>農曆:@CYY@年@CMM@月@CDD@日@CHH@時@CMU@分 @FiveHourse@</font></div>",
    "          </td>",
    "        </tr>",
    "        <tr>",
    "          <td colspan='6'><div align='center' class='tg'>運限: 國曆@TargetDate@<br>農曆"
    "@TargetLunar@ 虛歲@Age@歲</div>",
    "          </td>",
    "        </tr>",
    "        <tr>",
    "          <td colspan='6'><table class='lv' align='center' border='1' cellspacing='0' "
    "cellpadding='0' bordercolor='#666699'><tr><th>運限</th><th>命宮</th><th>干支</th><th>"
    "期間</th></tr>@PeriodRows@</table>",
    "          </td>",
    "        </tr>",
    "        <tr>",
    "          <td colspan='6'><div class='key'>宮名: <span class='lb pd'>大</span>大限 "
    "<span class='lb pn'>小</span>小限 <span class='lb py'>年</span>流年 <span class='lb "
    "pm'>月</span>流月 <span class='lb pa'>日</span>流日@HourLabelKey@, "
    "後接宮名首字 (命兄夫子財疾遷僕官田福父)<br>流曜: <span class='pd'>運</span> <span "
    "class='py'>流</span> <span class='pm'>月</span> <span class='pa'>日</span> "
    "@HourStarKey@魁鉞祿羊陀昌曲馬鸞喜; 星後 <span class='pd'>運祿</span> <span "
    "class='py'>流忌</span> 等為大限、流年四化; <span class='py'>將前 歲前</span>為流年</div>",
    "          </td>",
    "        </tr>",
});

}  // namespace

std::string buildPageTemplate() {
  std::string text;
  text.reserve(8192);
  append(text, kHeadStart);
  text += kChartTitle;
  append(text, kHeadStyle);
  append(text, kHeadEndToCentre);
  append(text, kCentreHeading);
  append(text, kChartLine2);
  append(text, kSexCell);
  append(text, kChartName);
  append(text, kAnimalCell);
  append(text, kChartLunarToBoxes);
  for (const Box& box : kBoxes) {
    text += kBoxStart;
    text += kBoxRowStart;
    text += box.firstLine;
    text += box.secondLine;
    text += kBoxColon;
    text += box.valueLine;
    append(text, kBoxEnd);
  }
  append(text, kBoxesEnd);
  appendNotice(text);
  append(text, kAfterCentre);
  return text;
}

std::string buildPeriodPageTemplate() {
  std::string text;
  text.reserve(12288);
  append(text, kHeadStart);
  text += "<title>Tessaro紫微斗數運限</title>";
  append(text, kHeadStyle);
  text += periodPageStyle();
  append(text, kHeadEndToCentre);
  append(text, kCentreHeading);
  append(text, kSexCell);
  text += kPeriodName;
  append(text, kAnimalCell);
  append(text, kPeriodCentre);
  appendNotice(text);
  append(text, kAfterCentre);
  return text;
}

}  // namespace ziwei
