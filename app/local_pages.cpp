#include "app/local_pages.h"

#include <array>

#include "page/user_text.h"

namespace ziwei::desktop {

namespace {

// One statement of the profile: plain words, a phrase in red, plain words.
struct Statement {
  std::string_view before;
  std::string_view red;
  std::string_view after;
};

constexpr std::string_view kAuthor = "Tessaro";  // the publisher: no person is named

constexpr std::array<Statement, 7> kStatements{{
    {"排盤依", "農曆生日與出生時辰", "安星, 不以國曆代替。"},
    {"十四主星與輔星", "逐宮列出", ", 並標明廟旺利陷。"},
    {"四化以", "生年天干", "為準, 標於星名之後。"},
    {"大限與小限", "依五行局起運", ", 男女順逆分明。"},
    {"論命先看", "命宮與身宮", ", 再看三方四正。"},
    {"命盤僅供", "參考與學習", ", 人生仍在自己把握。"},
    {"歡迎讀者", "來信討論", ", 共同研究紫微斗數。"},
}};

struct ContactRow {
  std::string_view label;
  std::string_view value;
};

constexpr std::array<ContactRow, 4> kContact{{
    {"地址:", "台北市範例路一段一號"},
    {"聯絡電話:", "(02) 0000-0000"},
    {"行動電話:", "0900-000-000"},
    {"傳真專線:", "(02) 0000-0001"},
}};

}  // namespace

std::string buildProfilePage(std::string_view homePage) {
  const std::string home = escapeUserText(homePage);
  std::string p;
  p += "<html><head><title>Tessaro</title><meta http-equiv='Content-Type' content='text/html; "
       "charset=big5'><style>.page {page-break-before: always;}BODY { margin-bottom: 0em } "
       "</style></head><body bgcolor='' text='#000000' >";
  p += "<table border='1' align='center' cellpadding='8' cellspacing='0' bordercolor='#6633FF'>";
  p += "<tr><td>";

  p += "<table width='600' border='0' cellspacing='0' cellpadding='0'><tr>";
  p += "<td width='30%'>&nbsp;</td><td width='39%'>";
  p += "          <div align='center'><font size='4' color='#999900'>Tessaro</font></div>";
  p += "</td><td width='31%'>&nbsp;</td>";
  p += "</tr></table>";

  p += "<table width='640' border='0' cellspacing='2' cellpadding='2'>";
  p += "<tr><td colspan='2'><font size='5' color='#999900'><b>";
  p += kAuthor;
  p += "</b></font></td></tr>";
  int number = 1;
  for (const Statement& s : kStatements) {
    p += "<tr><td width='24' align='right' valign='top'><font size='2'>";
    p += std::to_string(number++);
    p += ".</font></td><td><font size='2'>";
    p += s.before;
    p += "<font color='#FF0000'>";
    p += s.red;
    p += "</font>";
    p += s.after;
    p += "</font></td></tr>";
  }
  p += "</table>";

  p += "<table width='49%' border='0' align='center' cellspacing='0' cellpadding='2'>";
  for (const ContactRow& row : kContact) {
    p += "<tr><td align='right'><font size='2' color='#999966'>";
    p += row.label;
    p += "</font></td><td><font size='2' color='#996600'>";
    p += row.value;
    p += "</font></td></tr>";
  }
  p += "</table>";

  p += "<p align='center'><a href='";
  p += home;
  p += "' target='_blank'><font size='6'><b>Tessaro網站</b></font></a></p>";
  p += "</td></tr>";
  p += "</table>";
  p += "<div align='center'></div>";
  p += "</body></html>";
  return p;
}

std::string buildOfflinePage(std::string_view homePage) {
  const std::string home = escapeUserText(homePage);
  std::string p;
  p += "<!DOCTYPE HTML PUBLIC '-//W3C//DTD HTML 4.01 Transitional//EN'>";
  p += "<html>";
  p += "<head>";
  p += "<meta http-equiv='Content-Type' content='text/html; charset=big5'>";
  p += "<title>未連結網路</title>";
  p += "</head>";
  p += "<body>";
  p += "<div align='center'>";
  p += "  <p><strong><font color='#FF0000' size='4'><em> 未連結網路 </em></font></strong></p>";
  p += "  <p><font color='#000000'>您現在未連結網路喔!! 建議您連線上網即可得到最大的支援!!</font>"
       "<font color='#0000FF'><br>";
  p += "    <br>";
  p += "    <font size='4'><strong>您不需上網即可使用<font "
       "color='#FF0000'>~紫微斗數排盤~</font></strong></font></font></p>";
  p += "  <p><font color='#0000FF' size='4'><font color='#FF0000'><font color='#000000' "
       "size='3'>如您需要農曆日期換算可連線至<a href='";
  p += home;
  p += "'>Tessaro網站</a>即可線上換算您的<font color='#0000FF'>西元生日</font>及<font "
       "color='#FF0000'>農曆生日</font>!</font></font></font></p>";
  p += "  <p><font color='#999900'><strong>Tessaro</strong></font> <font color='#0000FF' "
       "size='2'>祝您</font> <font color='#FF0000'><em>日日順心 萬事如意</em></font></p>";
  p += "</div>";
  p += "</body>";
  p += "</html>";
  return p;
}

}  // namespace ziwei::desktop
