// The profile and offline pages: their fixed fragments, their links, and
// that every character of them has a Big5 code.
#include <string>
#include <string_view>
#include <vector>

#include <QtTest>

#include "app/local_pages.h"
#include "page/page_file.h"

using namespace ziwei::desktop;

namespace {

constexpr std::string_view kHome = "http://127.0.0.1:9/";

// True when every fragment occurs, each after the previous one.
bool inOrder(const std::string& text, const std::vector<std::string_view>& fragments) {
  std::size_t from = 0;
  for (const std::string_view f : fragments) {
    const std::size_t at = text.find(f, from);
    if (at == std::string::npos) return false;
    from = at + f.size();
  }
  return true;
}

std::size_t count(const std::string& text, std::string_view what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

class TestLocalPages : public QObject {
  Q_OBJECT

 private slots:
  void offlinePageFragments();
  void profilePageFrameAndContents();
  void everyCharacterHasABig5Code();
  void homeAddressCannotBreakOutOfItsAttribute();
};

void TestLocalPages::offlinePageFragments() {
  const std::string page = buildOfflinePage(kHome);
  QVERIFY(page.starts_with(
      "<!DOCTYPE HTML PUBLIC '-//W3C//DTD HTML 4.01 Transitional//EN'><html><head><meta "
      "http-equiv='Content-Type' content='text/html; charset=big5'><title>未連結網路</title>"
      "</head><body><div align='center'>  <p><strong><font color='#FF0000' size='4'><em> "
      "未連結網路 </em></font></strong></p>"));
  QVERIFY(inOrder(page,
                  {"  <p><font color='#000000'>您現在未連結網路喔!! 建議您連線上網即可得到"
                   "最大的支援!!</font><font color='#0000FF'><br>    <br>    <font "
                   "size='4'><strong>您不需上網即可使用<font color='#FF0000'>~紫微斗數排盤~"
                   "</font></strong></font></font></p>",
                   "如您需要農曆日期換算可連線至", "<a href='http://127.0.0.1:9/'>Tessaro網站</a>",
                   "即可線上換算您的", "西元生日", "及", "農曆生日", "!",
                   "  <p><font color='#999900'><strong>Tessaro</strong></font> <font "
                   "color='#0000FF' size='2'>祝您</font> <font color='#FF0000'><em>日日順心 "
                   "萬事如意</em></font></p></div></body></html>"}));
  QVERIFY(page.ends_with("</div></body></html>"));
  QCOMPARE(page.find('\n'), std::string::npos);
  QCOMPARE(page.find("target="), std::string::npos);  // the link opens in the pane
  // Every font tag opened is closed.
  QCOMPARE(count(page, "<font"), count(page, "</font>"));
}

void TestLocalPages::profilePageFrameAndContents() {
  const std::string page = buildProfilePage(kHome);
  QVERIFY(page.starts_with(
      "<html><head><title>Tessaro</title><meta http-equiv='Content-Type' content='text/html; "
      "charset=big5'><style>.page {page-break-before: always;}BODY { margin-bottom: 0em } "
      "</style></head><body bgcolor='' text='#000000' ><table border='1' align='center' "
      "cellpadding='8' cellspacing='0' bordercolor='#6633FF'>"));
  QVERIFY(page.ends_with("</table><div align='center'></div></body></html>"));
  QCOMPARE(page.find('\n'), std::string::npos);
  QVERIFY(inOrder(page, {"<table width='600'", "<td width='30%'>", "<td width='39%'>",
                         "          <div align='center'><font size='4' "
                         "color='#999900'>Tessaro</font></div>",
                         "<td width='31%'>", "<table width='640'",
                         "<font size='5' color='#999900'><b>Tessaro</b>"}));
  // The author is the publisher, on the page and on the button.
  QVERIFY(kProfileButtonCaption.starts_with("Tessaro"));
  QVERIFY(inOrder(page, {">1.<", ">2.<", ">3.<", ">4.<", ">5.<", ">6.<", ">7.<"}));
  QCOMPARE(page.find(">8.<"), std::string::npos);
  QCOMPARE(count(page, "<font color='#FF0000'>"), std::size_t{7});
  QVERIFY(inOrder(page, {"<table width='49%'", "color='#999966'>地址:", "color='#996600'>",
                         "color='#999966'>聯絡電話:", "color='#999966'>行動電話:",
                         "color='#999966'>傳真專線:"}));
  QVERIFY(inOrder(page, {"<a href='http://127.0.0.1:9/' target='_blank'>", "Tessaro網站"}));
  QCOMPARE(count(page, "<table"), count(page, "</table>"));
  QCOMPARE(count(page, "<font"), count(page, "</font>"));
}

void TestLocalPages::everyCharacterHasABig5Code() {
  // A character without a Big5 code would be written as "&#N;".
  for (const std::string& page : {buildOfflinePage(kHome), buildProfilePage(kHome)}) {
    const std::string bytes = ziwei::encodePage(page, ziwei::PageEncoding::Big5);
    QCOMPARE(bytes.find("&#"), std::string::npos);
    QVERIFY(bytes.ends_with("\r\n"));
  }
  const std::string caption =
      ziwei::encodePage(std::string(kProfileButtonCaption), ziwei::PageEncoding::Big5);
  QCOMPARE(caption.find("&#"), std::string::npos);
}

void TestLocalPages::homeAddressCannotBreakOutOfItsAttribute() {
  constexpr std::string_view hostile = "http://127.0.0.1:9/?a='><script>x</script>&b=\"";
  for (const std::string& page : {buildOfflinePage(hostile), buildProfilePage(hostile)}) {
    QCOMPARE(page.find("<script>"), std::string::npos);
    QVERIFY(page.find("href='http://127.0.0.1:9/?a=&#39;&gt;&lt;script&gt;x&lt;/script&gt;&amp;"
                      "b=&quot;'") != std::string::npos);
  }
}

QTEST_APPLESS_MAIN(TestLocalPages)
#include "test_local_pages.moc"
