// The window under a real X server: start-up state, chart requests, the
// offline page, the profile button, layout, closing, the name box and
// printing. Every address the window knows points at a local port that
// refuses connections, so nothing leaves the machine.
#include <optional>
#include <string>
#include <tuple>

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>
#include <QtTest>

#include "desktop_harness.h"
#include "gl_drivers.h"

#include "app/local_pages.h"
#include "app/main_window.h"
#include "app/name_box.h"
#include "app/pane_page.h"
#include "app/selection.h"
#include "app/work_dir.h"
#include "birth/target_moment.h"
#include "chart/chart.h"
#include "chart/periods/running_periods.h"
#include "page/chart_page.h"
#include "page/page_file.h"
#include "page/page_template.h"
#include "page/period_page.h"
#include "page/tests/example_charts.h"

using namespace ziwei;
using namespace ziwei::desktop;
using namespace ziwei::desktop::testing;

namespace {

using ziwei::test::chartOf;

QString plainText(QWebEnginePage* page) {
  QString text;
  bool done = false;
  page->toPlainText([&](const QString& t) {
    text = t;
    done = true;
  });
  if (!QTest::qWaitFor([&done] { return done; }, 10000)) return QStringLiteral("(no text)");
  return text;
}

// True when there are loading statuses and each names one of `addresses`.
bool namesOnly(const QStringList& statuses, const QList<QUrl>& addresses) {
  for (const QString& status : statuses) {
    const bool named = std::any_of(addresses.begin(), addresses.end(), [&](const QUrl& url) {
      return status.startsWith(QStringLiteral("開啟網頁 ") + url.toDisplayString());
    });
    if (!named) {
      qWarning("loading status %s", qPrintable(status));
      return false;
    }
  }
  return !statuses.isEmpty();
}

}  // namespace

class TestMainWindow : public QObject, private WindowFixture {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
  void init();
  void cleanup() { closeWindow(); }

  void startUpState();
  void faceColoursAndFrames();
  void longDropDownsShowTwentyItems();
  void secondWindowDoesNotHideTheFirst();
  void failedStartUpNavigationShowsOfflinePageOnce();
  void linkButtonsEndOnTheOfflinePage();
  void offlinePageThatCannotBeWrittenEndsTheRound();
  void offlinePageThatFailsToLoadEndsTheRound();
  void chartRequestsWriteWhatTheCommandLineWrites();
  void unwritableChartPageIsReported();
  void nameWithAControlCharacterIsRefused();
  void profileButton();
  void runningPeriods();
  void layoutFollowsTheWindowSize();
  void closeBoxDeletesPageFiles();
  void closeQuestion();
  void nameBoxSelection();
  void enterPressesButtonsAndCasts();
  void printing();
  void linksForANewWindow();
  void paneMenu();
  void linkAddressLeavesWithThePointer();
  void printsTextToPdf();

 private:
  // Opens the window; with `offline`, waits until its failed start-up
  // navigation has put the offline page in the pane.
  MainWindow& openWindow(bool offline = true);
  void castAndCompare(const BirthSelection& selection, const QString& name);
  void expectLinkWindow(const QString& shown);

  int offlineLoads_ = 0;
  int failures_ = 0;
  QStringList loadingStatus_;  // the status line at each step of a load
};

void TestMainWindow::init() {
  makeProgramDir();
  offlineLoads_ = failures_ = 0;
  loadingStatus_.clear();
}

MainWindow& TestMainWindow::openWindow(bool offline) {
  window_ = std::make_unique<MainWindow>(loopbackSettings(program_->path()));
  const QUrl offlineUrl = QUrl::fromLocalFile(workFile(kOfflinePageFile));
  auto* status = child<QLabel>("lbStatus");
  connect(
      window_->pane()->page(), &QWebEnginePage::loadingChanged, window_.get(),
      [this, offlineUrl, status](const QWebEngineLoadingInfo& info) {
        if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
          loadingStatus_ << status->text();
        if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus) ++failures_;
        if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus && info.url() == offlineUrl)
          ++offlineLoads_;
      });
  connect(window_->pane()->page(), &QWebEnginePage::loadProgress, window_.get(),
          [this, status](int percent) {
            if (percent < 100) loadingStatus_ << status->text();
          });
  window_->show();
  if (!QTest::qWaitForWindowExposed(window_.get())) qFatal("window not exposed");
  if (offline) waitForPane(workFile(kOfflinePageFile));
  return *window_;
}

void TestMainWindow::startUpState() {
  MainWindow& w = openWindow(false);
  QCOMPARE(w.windowTitle(), QStringLiteral("Tessaro紫微斗數"));
  QCOMPARE(child<QLabel>("lbVer")->text(), QStringLiteral("V" ZIWEI_VERSION_TEXT));
  QVERIFY(!w.windowIcon().isNull());

  struct Selector {
    const char* name;
    int first, count;
    QString selected;
  };
  for (const Selector& e :
       {Selector{"cboY", 1912, 99, "2000"}, Selector{"cboM", 1, 12, "1"},
        Selector{"cboD", 1, 30, "1"}, Selector{"cboH", 0, 24, "0"}, Selector{"cboMU", 0, 60, "0"},
        Selector{"cboS", 0, 60, "0"}, Selector{"cboCDM", 0, 0, "正"}}) {
    auto* box = child<QComboBox>(e.name);
    QStringList items, expected;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    for (int i = 0; i < e.count; ++i) expected << QString::number(e.first + i);
    if (e.count == 0) expected = QStringList{QStringLiteral("正"), QStringLiteral("閏")};
    QVERIFY2(!box->isEditable(), e.name);
    QCOMPARE(items, expected);
    QCOMPARE(box->currentText(), e.selected);
  }
  QCOMPARE(child<QLineEdit>("txtNAME")->text(), QStringLiteral("您的姓名"));
  QVERIFY(child<QRadioButton>("optSEX0")->isChecked());
  QVERIFY(!child<QRadioButton>("optSEX1")->isChecked());

  // The narrow close button shows its caption on two lines.
  for (const auto& [name, caption] :
       {std::pair{"cmdStart", "紫微斗數排盤"}, std::pair{"Command1", "預覽列印"},
        std::pair{"cmdGetC", "農曆日期查詢"}, std::pair{"cmdExit", "關閉程式"}}) {
    QCOMPARE(child<QPushButton>(name)->text().remove(QLatin1Char('\n')),
             QString::fromUtf8(caption));
  }
  for (const char* name : {"cmdB01", "cmdB02", "cmdB03", "cmdB04", "cmdB05", "cmdB06", "cmdB07"}) {
    QCOMPARE(child<QPushButton>(name)->iconSize(), QSize(80, 30));
    QVERIFY2(!child<QPushButton>(name)->icon().isNull(), name);
  }
  // Design-time rectangles at 15 twips per pixel.
  QCOMPARE(child<QPushButton>("cmdStart")->geometry(), QRect(504, 48, 93, 21));
  QCOMPARE(child<QComboBox>("cboY")->geometry(), QRect(60, 48, 65, 20));
  QCOMPARE(child<QPushButton>("cmdB07")->geometry(), QRect(512, 12, 85, 33));

  QCOMPARE(w.windowTexts().WorkDir, program_->path());
  QVERIFY(!QFileInfo::exists(workFile(kProfilePageFile)));  // the write test left nothing
  QCOMPARE(w.windowTexts().PageTemplate, buildPageTemplate());

  // Keyboard order of the controls, as the window reads: the birth data to
  // the chart and 國曆 buttons, the buttons above them and 設定, the close button at
  // the right end and 研讀 under it, the link pictures, the running-period controls.
  const QStringList order =
      QStringLiteral(
          "txtNAME optSEX0 optSEX1 cboY cboCDM cboM cboD cboH cboMU cboS cmdStart cmdSolar "
          "cmdGetC cmdAboutMe Command1 cmdRules cmdExit cmdStudy cmdB01 cmdB02 cmdB03 cmdB04 "
          "cmdB05 cmdB06 cmdB07 targetDate cmdYearBack cmdMonthBack cmdPeriods cmdMonthOn "
          "cmdYearOn")
          .split(QLatin1Char(' '));
  QStringList seen;
  QWidget* at = child<QWidget>("txtNAME");
  do {
    if (order.contains(at->objectName())) seen << at->objectName();
    at = at->nextInFocusChain();
  } while (at != child<QWidget>("txtNAME") && seen.size() < order.size());
  QCOMPARE(seen, order);
  // Tab itself goes that way through the controls that show.
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  child<QWidget>("cboS")->setFocus();
  QStringList tabbed;
  for (int i = 0; i < 9; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    tabbed << QApplication::focusWidget()->objectName();
  }
  QCOMPARE(tabbed, order.mid(order.indexOf(QStringLiteral("cmdStart")), 9));
  child<QWidget>("cmdB07")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("targetDate"));
}

void TestMainWindow::faceColoursAndFrames() {
  openWindow(false);
  // A button's face shows its colour as given, beside its border.
  for (const auto& [name, face] :
       {std::pair{"cmdStart", 0xFFC0FF}, std::pair{"Command1", 0xFFFFC0},
        std::pair{"cmdAboutMe", 0xC0FFFF}, std::pair{"cmdGetC", 0xFFE0C0},
        std::pair{"cmdExit", 0xFF8080}, std::pair{"cmdSolar", 0xFFE0C0}}) {
    auto* button = child<QPushButton>(name);
    const QImage shot = button->grab().toImage();
    for (const QPoint at : {QPoint(3, shot.height() / 2), QPoint(shot.width() - 4, 3)}) {
      QCOMPARE(shot.pixelColor(at).name(), QColor(QRgb(face)).name());
    }
  }
  // The frames' borders stand out from the olive background.
  for (const char* name : {"frame01", "Frame02"}) {
    const QImage shot = child<QWidget>(name)->grab().toImage();
    int contrast = 0;
    for (int x = 0; x < 4; ++x) {
      const QColor c = shot.pixelColor(x, shot.height() / 2);
      contrast = std::max(
          {contrast, std::abs(c.red() - 0x80), std::abs(c.green() - 0x80), std::abs(c.blue())});
    }
    QVERIFY2(contrast >= 0x40, qPrintable(QStringLiteral("%1: %2").arg(name).arg(contrast)));
  }
}

void TestMainWindow::longDropDownsShowTwentyItems() {
  openWindow(false);
  for (const char* name : {"cboY", "cboD", "cboMU"}) {
    auto* box = child<QComboBox>(name);
    box->showPopup();
    QTRY_VERIFY(box->view()->isVisible());
    const int rows = box->view()->height() / box->view()->sizeHintForRow(0);
    box->hidePopup();
    QVERIFY2(rows >= 19 && rows <= 20, qPrintable(QStringLiteral("%1: %2").arg(name).arg(rows)));
  }
}

void TestMainWindow::secondWindowDoesNotHideTheFirst() {
  MainWindow& first = openWindow(false);
  MainWindow second(loopbackSettings(program_->path()));
  second.show();
  QVERIFY(QTest::qWaitForWindowExposed(&second));
  const QPoint moved = second.pos() - first.pos();
  QVERIFY2(moved.x() >= 15 && moved.y() >= 15,
           qPrintable(QStringLiteral("%1, %2").arg(moved.x()).arg(moved.y())));
  QVERIFY(second.screen()->availableGeometry().contains(second.frameGeometry()));
}

void TestMainWindow::failedStartUpNavigationShowsOfflinePageOnce() {
  MainWindow& w = openWindow();
  auto* status = child<QLabel>("lbStatus");
  QCOMPARE(w.pane()->title(), QStringLiteral("未連結網路"));
  QVERIFY(plainText(w.pane()->page()).contains(QStringLiteral("您不需上網即可使用")));
  QCOMPARE(readAll(workFile(kOfflinePageFile)),
           bytes(encodePage(w.windowTexts().OfflinePage, PageEncoding::Big5)));
  QTest::qWait(1500);  // nothing more happens
  QCOMPARE(failures_, 1);
  QCOMPARE(offlineLoads_, 1);
  // The status line named the page being loaded, and is empty after.
  QVERIFY(namesOnly(loadingStatus_, {kRefused, QUrl::fromLocalFile(workFile(kOfflinePageFile))}));
  QCOMPARE(status->text(), QString());
  // A hovered link shows its address; leaving it clears the line.
  emit w.pane()->page()->linkHovered(QStringLiteral("http://127.0.0.1:9/a.htm"));
  QCOMPARE(status->text(), QStringLiteral("http://127.0.0.1:9/a.htm"));
  emit w.pane()->page()->linkHovered(QString());
  QCOMPARE(status->text(), QString());
}

void TestMainWindow::linkButtonsEndOnTheOfflinePage() {
  MainWindow& w = openWindow();
  QTRY_COMPARE_WITH_TIMEOUT(offlineLoads_, 1, kLoadTimeout);
  child<QPushButton>("cmdB03")->click();
  QTRY_COMPARE_WITH_TIMEOUT(offlineLoads_, 2, kLoadTimeout);
  child<QPushButton>("cmdGetC")->click();
  QTRY_COMPARE_WITH_TIMEOUT(offlineLoads_, 3, kLoadTimeout);
  QTest::qWait(1000);
  QCOMPARE(failures_, 3);
  QCOMPARE(offlineLoads_, 3);
  QCOMPARE(w.pane()->title(), QStringLiteral("未連結網路"));
}

void TestMainWindow::offlinePageThatCannotBeWrittenEndsTheRound() {
  // A directory in the way of the offline page: it cannot be written, so
  // the pane is not sent to it and no further failure follows.
  QVERIFY(QDir(program_->path()).mkdir(QLatin1String(kOfflinePageFile)));
  MainWindow& w = openWindow(false);
  QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>("lbStatus")->text().contains(QStringLiteral("無法寫入")),
                           kLoadTimeout);
  QTest::qWait(1500);
  QCOMPARE(failures_, 1);
  QCOMPARE(offlineLoads_, 0);
  QVERIFY(w.pane()->url() != QUrl::fromLocalFile(workFile(kOfflinePageFile)));
}

void TestMainWindow::offlinePageThatFailsToLoadEndsTheRound() {
  MainWindow& w = openWindow();
  const QString offline = workFile(kOfflinePageFile);
  QTRY_COMPARE_WITH_TIMEOUT(offlineLoads_, 1, kLoadTimeout);
  QVERIFY(QFile::remove(offline));
  w.navigate(QUrl::fromLocalFile(offline));  // fails: the file is gone
  QTRY_VERIFY_WITH_TIMEOUT(
      child<QLabel>("lbStatus")->text().contains(QStringLiteral("無法顯示離線網頁")), kLoadTimeout);
  QTest::qWait(1500);
  QCOMPARE(failures_, 2);
  QCOMPARE(offlineLoads_, 1);
  QVERIFY(!QFileInfo::exists(offline));  // not written again for another round
}

void TestMainWindow::castAndCompare(const BirthSelection& selection, const QString& name) {
  // The window prints today's date; retry once should the date change
  // while the chart is cast.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const std::string date = todayShortDate();
    QSignalSpy loaded(window_->pane(), &QWebEngineView::loadFinished);
    child<QPushButton>("cmdStart")->click();
    if (todayShortDate() != date) continue;

    const QByteArray written = readAll(workFile(kChartPageFile));
    QCOMPARE(written, bytes(encodePage(
                          assembleChartPage(chartOf(readSelection(selection), name.toStdString()),
                                            buildPageTemplate(), date),
                          PageEncoding::Big5)));
#ifdef ZIWEI_CLI
    QTemporaryDir out;
    const QString cliFile = out.filePath(QStringLiteral("cli.htm"));
    QStringList args{QStringLiteral("--name"), name, QStringLiteral("--sex"),
                     selection.male ? QStringLiteral("male") : QStringLiteral("female")};
    for (const auto& [flag, value] :
         {std::pair{"--year", selection.year}, std::pair{"--month", selection.month},
          std::pair{"--day", selection.day}, std::pair{"--hour", selection.hour},
          std::pair{"--minute", selection.minute}, std::pair{"--second", selection.second},
          std::pair{"--print-date", date}}) {
      args << QLatin1String(flag) << qs(value);
    }
    args << QStringLiteral("-o") << cliFile;
    if (selection.leap == "閏") args << QStringLiteral("--leap");
    QProcess cli;
    cli.start(QStringLiteral(ZIWEI_CLI), args);
    QVERIFY(cli.waitForFinished(20000));
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(written, readAll(cliFile));
#endif
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), kLoadTimeout);  // a fresh load, not the last one
    waitForPane(workFile(kChartPageFile));
    QVERIFY(window_->pane()->title().startsWith(QStringLiteral("Tessaro")));
    const QString shown = plainText(window_->pane()->page());
    QVERIFY(shown.contains(QStringLiteral("Tessaro紫微斗數命盤")));
    QVERIFY(shown.contains(name));
    return;
  }
  QFAIL("the date changed twice while casting");
}

void TestMainWindow::chartRequestsWriteWhatTheCommandLineWrites() {
  openWindow();
  castAndCompare(BirthSelection{}, QStringLiteral("您的姓名"));  // the start-up selection
  auto* status = child<QLabel>("lbStatus");
  // The four pillars, by hand: lunar 2000-01-01 子 is 2000-02-05 00:00, after
  // 立春 (02-04 20:40): 庚辰 year, 寅 month 戊寅 by the five tigers of 庚, a 癸巳
  // day (2000-01-01 戊午 + 35 days), its 子 hour 壬子 by the five rats of 癸.
  QTRY_COMPARE_WITH_TIMEOUT(status->text(),
                            QStringLiteral("四柱 (節氣) 庚辰年 戊寅月 癸巳日 壬子時 ‧ (農曆) "
                                           "庚辰年 戊寅月 癸巳日 壬子時"),
                            kLoadTimeout);
  QCOMPARE(window_->chartState().BirthYear, 2000);
  QCOMPARE(window_->chartState().YearStem, Stem(7));  // 庚

  // A leap 12th month after its 15th day counts as the 1st month.
  const BirthSelection other{"1984", "12", "閏", "16", "23", "45", "59", false};
  for (const auto& [box, text] :
       {std::pair{"cboY", other.year}, std::pair{"cboCDM", other.leap},
        std::pair{"cboM", other.month}, std::pair{"cboD", other.day}, std::pair{"cboH", other.hour},
        std::pair{"cboMU", other.minute}, std::pair{"cboS", other.second}}) {
    child<QComboBox>(box)->setCurrentText(qs(text));
  }
  child<QRadioButton>("optSEX1")->click();
  const QString name = QStringLiteral("王<小>明 & @CYY@");
  child<QLineEdit>("txtNAME")->setText(name);
  castAndCompare(other, name);
  // 1984 has no leap 12th month: cast as chosen, and said so.
  QTRY_COMPARE_WITH_TIMEOUT(
      status->text(), QStringLiteral("注意:曆法中沒有農曆 1984 年閏 12 月 16 日,已依所選日期排盤"),
      kLoadTimeout);
  QCOMPARE(window_->chartState().BirthMonth, 1);
  QCOMPARE(static_cast<int>(window_->chartState().BirthSecond), 59);  // not on the page
  QCOMPARE(window_->chartState().SexText, SexLabel::YangFemale);
}

void TestMainWindow::unwritableChartPageIsReported() {
  MainWindow& w = openWindow();
  QVERIFY(QDir(program_->path()).mkdir(QLatin1String(kChartPageFile)));
  child<QPushButton>("cmdStart")->click();
  QVERIFY(child<QLabel>("lbStatus")->text().contains(QStringLiteral("無法寫入")));
  QTest::qWait(500);
  QCOMPARE(w.pane()->url(), QUrl::fromLocalFile(workFile(kOfflinePageFile)));
}

void TestMainWindow::nameWithAControlCharacterIsRefused() {
  openWindow();
  child<QLineEdit>("txtNAME")->setText(QStringLiteral("王小") + QChar(0x80));
  child<QPushButton>("cmdStart")->click();
  QCOMPARE(child<QLabel>("lbStatus")->text(),
           QStringLiteral("姓名的第 3 個字是控制字元 U+0080,請刪除後再排盤"));
  QVERIFY(!QFile::exists(workFile(kChartPageFile)));
}

void TestMainWindow::profileButton() {
  MainWindow& w = openWindow();
  const QByteArray expected = bytes(encodePage(w.windowTexts().ProfilePage, PageEncoding::Big5));
  auto* about = child<QPushButton>("cmdAboutMe");
  QCOMPARE(about->text(), qs(kProfileButtonCaption));
  for (int press = 0; press < 2; ++press) {  // the second press writes and loads it again
    QSignalSpy loaded(w.pane(), &QWebEngineView::loadFinished);
    loadingStatus_.clear();
    about->click();
    QCOMPARE(readAll(workFile(kProfilePageFile)), expected);
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), kLoadTimeout);
    waitForPane(workFile(kProfilePageFile));
    QVERIFY(namesOnly(loadingStatus_, {QUrl::fromLocalFile(workFile(kProfilePageFile))}));
    QCOMPARE(w.pane()->title(), QStringLiteral("Tessaro"));
  }
  QVERIFY(plainText(w.pane()->page()).contains(QStringLiteral("傳真專線:")));

  // Its home-page link opens a window of its own (see linksForANewWindow).
  expectLinkWindow(workFile(kProfilePageFile));
}

// A link that asks for a new window, on the profile page or the publisher's
// link on the chart page, opens a window of its own: the pane keeps its page.
// The refused address ends on the offline page there.
void TestMainWindow::expectLinkWindow(const QString& shown) {
  const QUrl paneUrl = QUrl::fromLocalFile(shown);
  QVERIFY(window_->findChildren<LinkWindow*>().isEmpty());
  window_->pane()->page()->runJavaScript(
      QStringLiteral("document.querySelector(\"a[target='_blank']\").click();"));
  QTRY_COMPARE_WITH_TIMEOUT(window_->findChildren<LinkWindow*>().size(), 1, kLoadTimeout);
  LinkWindow* link = window_->findChildren<LinkWindow*>().constFirst();
  QVERIFY(link->isWindow() && link->isVisible());
  QTRY_COMPARE_WITH_TIMEOUT(link->url(), QUrl::fromLocalFile(workFile(kOfflinePageFile)),
                            kLoadTimeout);
  QTRY_COMPARE_WITH_TIMEOUT(link->title(), QStringLiteral("未連結網路"), kLoadTimeout);
  QCOMPARE(window_->pane()->url(), paneUrl);
  QTest::qWait(300);
  saveShot(link, "link-window");
  link->close();
  QTRY_VERIFY(window_->findChildren<LinkWindow*>().isEmpty());
}

void TestMainWindow::linksForANewWindow() {
  openWindow();
  child<QPushButton>("cmdStart")->click();
  waitForPane(workFile(kChartPageFile));
  expectLinkWindow(workFile(kChartPageFile));
  // Closing the window closes the windows its links opened.
  window_->pane()->page()->runJavaScript(
      QStringLiteral("document.querySelector(\"a[target='_blank']\").click();"));
  QTRY_COMPARE_WITH_TIMEOUT(window_->findChildren<LinkWindow*>().size(), 1, kLoadTimeout);
  QPointer<LinkWindow> link = window_->findChildren<LinkWindow*>().constFirst();
  window_->close();
  QTRY_VERIFY(link.isNull());
}

void TestMainWindow::runningPeriods() {
  MainWindow& w = openWindow(true);
  auto* target = child<QDateEdit>("targetDate");
  QCOMPARE(target->date(), QDate::currentDate());
  const QString file = workFile(kPeriodPageFile);
  auto expectPage = [&](QDate on) {
    const Chart chart =
        chartOf(LunarBirth{}, "您的姓名", targetOnSolar({on.year(), on.month(), on.day()}));
    QCOMPARE(readAll(file), QByteArray::fromStdString(
                                periodPageFile(chart, todayShortDate(), PageEncoding::Big5)));
  };
  // The date typed whole over the field's date, then Return.
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  target->setFocus();
  QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(target, QStringLiteral("2023-01-22"));  // lunar 2023-1-1
  QCOMPARE(target->date(), QDate(2023, 1, 22));
  QTest::keyClick(target, Qt::Key_Return);
  waitForPane(file);
  expectPage(target->date());
  QVERIFY(!QFileInfo::exists(workFile(kChartPageFile)));  // the natal page is not touched

  // At the window's first size every step shows, named with its key.
  for (const auto& [name, caption, key] : {std::tuple{"cmdYearBack", "上一年", "Ctrl+Shift+PgUp"},
                                           std::tuple{"cmdYearOn", "下一年", "Ctrl+Shift+PgDown"},
                                           std::tuple{"cmdMonthBack", "上一月", "Ctrl+PgUp"},
                                           std::tuple{"cmdMonthOn", "下一月", "Ctrl+PgDown"}}) {
    auto* button = child<QPushButton>(name);
    QVERIFY2(button->isVisible(), name);
    QCOMPARE(button->toolTip(),
             QStringLiteral("%1 (%2)").arg(QString::fromUtf8(caption), QLatin1String(key)));
  }

  // Each button steps by lunar years or months (birth/tests has the
  // calendar's cases) and shows the page at once.
  struct Step {
    const char* button;
    QDate to;
  };
  for (const Step& step : {
           Step{"cmdYearOn", {2024, 2, 10}},     // 2024-1-1, although 2024-01-22 is still 2023
           Step{"cmdMonthBack", {2024, 1, 11}},  // 2023-12-1
           Step{"cmdMonthOn", {2024, 2, 10}},
           Step{"cmdYearBack", {2023, 1, 22}},
       }) {
    child<QPushButton>(step.button)->click();
    QCOMPARE(target->date(), step.to);
    expectPage(step.to);
  }
  // The day chosen stays through a shorter month: 2023-12-30 shows as
  // 2024-1-29, and a month back is on the 30th again.
  target->setDate(QDate(2024, 2, 9));  // 2023-12-30
  child<QPushButton>("cmdMonthOn")->click();
  QCOMPARE(target->date(), QDate(2024, 3, 9));  // 2024-1-29
  child<QPushButton>("cmdMonthBack")->click();
  QCOMPARE(target->date(), QDate(2024, 2, 9));
  // The keys do what the buttons do, wherever the focus is in the window.
  for (QWidget* focus : {static_cast<QWidget*>(target), child<QWidget>("txtNAME")}) {
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(target->date(), QDate(2024, 3, 9));
    QTest::keyClick(focus, Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(target->date(), QDate(2025, 2, 27));  // 2025-1-30
    QTest::keyClick(focus, Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(focus, Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(target->date(), QDate(2024, 2, 9));
  }
  expectPage(target->date());

  // Refusals are told whole, in Chinese, and leave the field and the page
  // as they were.
  saveShot(target, "period-steps");
  const auto refusal = [](QPushButton* button) {
    const auto text = answerMessage(QStringLiteral("target-refused-") + button->objectName());
    button->click();
    return *text;
  };
  const QByteArray shown = readAll(file);
  target->setDate(QDate(2100, 12, 31));
  QString told = refusal(child<QPushButton>("cmdMonthOn"));
  QVERIFY2(told.contains(QStringLiteral("2100-12-31")) && told.contains(QStringLiteral("移一個月")),
           qPrintable(told));
  QCOMPARE(target->date(), QDate(2100, 12, 31));
  target->setDate(QDate(1999, 1, 1));  // lunar 1998, before the birth year 2000
  told = refusal(child<QPushButton>("cmdPeriods"));
  QVERIFY2(
      told.contains(QStringLiteral("1999-01-01")) && told.contains(QStringLiteral("2000-02-05")),
      qPrintable(told));
  QCOMPARE(readAll(file), shown);
  // A step into the year before the birth: the field stays with the page.
  target->setDate(QDate(2000, 2, 5));  // lunar 2000-1-1
  child<QPushButton>("cmdPeriods")->click();
  QTRY_COMPARE(readAll(file), [&] {
    const Chart chart = chartOf(LunarBirth{}, "您的姓名", targetOnSolar({2000, 2, 5}));
    return QByteArray::fromStdString(periodPageFile(chart, todayShortDate(), PageEncoding::Big5));
  }());
  QTRY_VERIFY_WITH_TIMEOUT(plainText(w.pane()->page()).contains(QStringLiteral("國曆2000年2月5日")),
                           kLoadTimeout);
  told = refusal(child<QPushButton>("cmdMonthBack"));
  QVERIFY2(told.contains(QStringLiteral("1999")), qPrintable(told));
  QCOMPARE(target->date(), QDate(2000, 2, 5));
  expectPage(QDate(2000, 2, 5));
  QTest::qWait(300);
  QVERIFY(plainText(w.pane()->page()).contains(QStringLiteral("國曆2000年2月5日")));
}

void TestMainWindow::layoutFollowsTheWindowSize() {
  MainWindow& w = openWindow(false);
  auto pixels = [](const TwipsRect& r) {
    return QRect(twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width),
                 twipsToPixels(r.height));
  };
  const ResizableControls opened = w.controlsInTwips();
  for (const QSize size : {QSize(800, 600), QSize(1000, 700), QSize(724, 569)}) {
    w.resize(size);
    QTRY_COMPARE(w.size(), size);
    const ResizableControls c =
        fitToClientArea(kDesignControls, pixelsToTwips(size.width()), pixelsToTwips(size.height()));
    QCOMPARE(w.controlsInTwips(), c);
    QCOMPARE(w.pane()->geometry(), pixels(c.WebBrowser1));
    for (const auto& [name, rect] :
         {std::pair{"frame01", c.frame01}, std::pair{"Frame02", c.Frame02},
          std::pair{"lbStatus", c.lbStatus}, std::pair{"cmdExit", c.cmdExit},
          std::pair{"lbVer", c.lbVer}}) {
      QCOMPARE(child<QWidget>(name)->geometry(), pixels(rect));
    }
    // The strips reach down to the window's bottom edge, and no further.
    const int bottom = child<QWidget>("lbStatus")->geometry().bottom();
    QVERIFY2(bottom < size.height() && bottom >= size.height() - 3,
             qPrintable(QString::number(bottom)));
  }
  // Back at the size it opened with, it has the layout of its first show.
  QCOMPARE(w.controlsInTwips(), opened);
  // Too low for the pane: everything stays where it was.
  const ResizableControls before = w.controlsInTwips();
  const QRect paneBefore = w.pane()->geometry();
  w.resize(600, 150);
  QTRY_COMPARE(w.size(), QSize(600, 150));
  QCOMPARE(w.controlsInTwips(), before);
  QCOMPARE(w.pane()->geometry(), paneBefore);
}

void TestMainWindow::closeBoxDeletesPageFiles() {
  MainWindow& w = openWindow();
  child<QPushButton>("cmdAboutMe")->click();
  QVERIFY(QFileInfo::exists(workFile(kProfilePageFile)));
  QVERIFY(QFileInfo::exists(workFile(kOfflinePageFile)));
  QVERIFY(!QFileInfo::exists(workFile(kChartPageFile)));  // never cast: ignored
  QVERIFY(w.close());                                     // no question asked
  QVERIFY(!w.isVisible());
  QVERIFY(QDir(program_->path()).isEmpty());
}

void TestMainWindow::closeQuestion() {
  MainWindow& w = openWindow();
  child<QPushButton>("cmdStart")->click();
  child<QPushButton>("cmdAboutMe")->click();

  QString text, title;
  QMessageBox::Icon icon = QMessageBox::Information;
  QMessageBox::StandardButtons buttons;
  QStringList yesNo;  // in Chinese, as the rest of the window
  answerModal<QMessageBox>([&](QMessageBox* box) {
    text = box->text();
    title = box->windowTitle();
    icon = box->icon();
    buttons = box->standardButtons();
    yesNo =
        QStringList{box->button(QMessageBox::Yes)->text(), box->button(QMessageBox::No)->text()};
    box->button(QMessageBox::No)->click();
  });
  child<QPushButton>("cmdExit")->click();  // returns once the question is answered
  QCOMPARE(text, QStringLiteral("確定關閉本程式?"));
  QCOMPARE(title, QStringLiteral("關閉"));
  QCOMPARE(icon, QMessageBox::NoIcon);
  QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
  QCOMPARE(yesNo, QStringList({QStringLiteral("是(&Y)"), QStringLiteral("否(&N)")}));
  QVERIFY(w.isVisible());
  for (const char* name : {kChartPageFile, kProfilePageFile, kOfflinePageFile}) {
    QVERIFY2(QFileInfo::exists(workFile(name)), name);
  }

  answerModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
  child<QPushButton>("cmdExit")->click();
  QVERIFY(!w.isVisible());
  QVERIFY(QDir(program_->path()).isEmpty());
}

void TestMainWindow::nameBoxSelection() {
  MainWindow& w = openWindow(false);
  auto* name = child<NameBox>("txtNAME");
  // The window opens with the default name selected: typing replaces it.
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QVERIFY(name->hasFocus());
  QCOMPARE(name->selectedText(), QStringLiteral("您的姓名"));
  child<QWidget>("cboY")->setFocus(Qt::TabFocusReason);  // leaving and coming back
  name->setFocus(Qt::BacktabFocusReason);
  QCOMPARE(name->selectedText(), QStringLiteral("您的姓名"));
  QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QStringLiteral("王"), Qt::NoModifier);
  QCOMPARE(name->text(), QStringLiteral("王"));
  name->setText(QStringLiteral("您的姓名"));
  // Focus selects up to ten characters from the cursor, cut at the end.
  struct Row {
    const char* text;  // empty: keep the start-up name
    int cursor;
    const char* selected;
  };
  for (const Row& r :
       {Row{"", 0, "您的姓名"}, Row{"一二三四五六七八九十甲乙", 0, "一二三四五六七八九十"},
        Row{"一二三四五六七八九十甲乙", 5, "六七八九十甲乙"},
        Row{"一二三四五六七八九十甲乙", 12, ""}}) {
    if (*r.text) name->setText(QString::fromUtf8(r.text));
    name->setCursorPosition(r.cursor);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(name, &out);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(name, &in);
    QCOMPARE(name->selectedText(), QString::fromUtf8(r.selected));
    if (!*r.selected) QCOMPARE(name->cursorPosition(), r.cursor);
  }
}

void TestMainWindow::enterPressesButtonsAndCasts() {
  openWindow();
  QSignalSpy shown(window_.get(), &MainWindow::pageShown);
  // Return and the keypad's Enter press the focused button; in the birth
  // data they cast the chart.
  for (const auto& [name, keypad, page] :
       {std::tuple{"cmdAboutMe", false, kProfilePageFile},
        std::tuple{"cmdStart", true, kChartPageFile},
        std::tuple{"cmdAboutMe", true, kProfilePageFile},
        std::tuple{"txtNAME", false, kChartPageFile}, std::tuple{"cboD", true, kChartPageFile},
        std::tuple{"optSEX1", false, kChartPageFile}}) {
    QWidget* control = child<QWidget>(name);
    control->setFocus();
    shown.clear();
    QTest::keyClick(control, keypad ? Qt::Key_Enter : Qt::Key_Return,
                    keypad ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).at(0).toString(), workFile(page));
  }
}

void TestMainWindow::printing() {
  openWindow();
  child<QPushButton>("cmdStart")->click();
  waitForPane(workFile(kChartPageFile));

  // The preview button shows the pane's page. While the pages are made,
  // the cursor and the status line say so, and the button is ignored.
  QList<int> previews;  // the page count of each preview shown
  QString previewTitle;
  std::optional<Qt::CursorShape> busyCursor;
  QString busyStatus;
  auto* button = child<QPushButton>("Command1");
  QTimer watch;
  connect(&watch, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
      previews << dialog->findChild<QPrintPreviewWidget*>()->pageCount();
      previewTitle = dialog->windowTitle();
      dialog->reject();
    } else if (QApplication::overrideCursor() && !busyCursor) {
      busyCursor = QApplication::overrideCursor()->shape();
      busyStatus = child<QLabel>("lbStatus")->text();
      QTimer::singleShot(0, button, &QPushButton::click);  // pressed again
    }
  });
  watch.start(20);
  button->click();
  QTest::qWait(500);
  watch.stop();
  QCOMPARE(previews.size(), 1);
  QVERIFY2(previews[0] >= 1, qPrintable(QStringLiteral("preview pages: %1").arg(previews[0])));
  QCOMPARE(busyCursor, std::optional(Qt::WaitCursor));
  QVERIFY2(busyStatus.contains(QStringLiteral("準備列印")), qPrintable(busyStatus));
  QVERIFY(!QApplication::overrideCursor());
  QCOMPARE(previewTitle, QStringLiteral("列印預覽"));
  QCOMPARE(child<QLabel>("lbStatus")->text(), QString());
  // The page's own "列印本頁" link: printsTextToPdf.
}

// The pane's right-click menu offers what works there, in Chinese, and no
// history of pages.
void TestMainWindow::paneMenu() {
  openWindow();
  child<QPushButton>("cmdStart")->click();
  waitForPane(workFile(kChartPageFile));
  const auto openMenu = [this]() -> QMenu* {
    QWidget* page = window_->pane()->focusProxy();
    QTest::mouseClick(page, Qt::RightButton, {}, QPoint(360, 300));
    QMenu* menu = nullptr;
    const bool shown = QTest::qWaitFor(
        [&menu] {
          menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
          return menu != nullptr;
        },
        kLoadTimeout);
    return shown ? menu : nullptr;
  };
  const auto action = [](QMenu* menu, const char* caption) -> QAction* {
    for (QAction* a : menu->actions())
      if (a->text() == QString::fromUtf8(caption)) return a;
    return nullptr;
  };
  QMenu* menu = openMenu();
  QVERIFY(menu);
  saveShot(menu, "pane-menu");
  QStringList captions;
  for (const QAction* a : menu->actions())
    if (!a->isSeparator()) captions << a->text();
  QCOMPARE(captions, QStringLiteral("複製 全選 預覽列印 列印…").split(QLatin1Char(' ')));
  QVERIFY(!action(menu, "複製")->isEnabled());  // nothing selected yet
  action(menu, "全選")->trigger();
  menu->close();
  QApplication::clipboard()->clear();
  QTest::qWait(300);
  menu = openMenu();
  QVERIFY(menu && action(menu, "複製")->isEnabled());
  action(menu, "複製")->trigger();
  menu->close();
  QTRY_VERIFY_WITH_TIMEOUT(
      QApplication::clipboard()->text().contains(QStringLiteral("紫微斗數命盤")), kLoadTimeout);
  // The print preview from the menu.
  bool previewed = false;
  answerModal<QPrintPreviewDialog>([&previewed](QPrintPreviewDialog* dialog) {
    previewed = true;
    dialog->reject();
  });
  menu = openMenu();
  QVERIFY(menu);
  QTimer::singleShot(0, action(menu, "預覽列印"), &QAction::trigger);
  QTRY_VERIFY_WITH_TIMEOUT(previewed, kLoadTimeout);
}

// The status line shows a link's address only while the link is pointed at
// or focused in the pane.
void TestMainWindow::linkAddressLeavesWithThePointer() {
  MainWindow& w = openWindow();
  child<QPushButton>("cmdStart")->click();
  waitForPane(workFile(kChartPageFile));
  auto* status = child<QLabel>("lbStatus");
  QWidget* page = w.pane()->focusProxy();
  // The pointer over the page's print link, then away from the pane.
  QRect link;
  bool measured = false;
  w.pane()->page()->runJavaScript(
      QStringLiteral("(function(){const r=document.querySelector(\"a[href^='JAVASCRIPT']\")"
                     ".getBoundingClientRect();return [r.left,r.top,r.width,r.height];})()"),
      [&](const QVariant& v) {
        const QVariantList r = v.toList();
        if (r.size() == 4) link = QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt());
        measured = true;
      });
  QTRY_VERIFY_WITH_TIMEOUT(measured && link.isValid(), kLoadTimeout);
  QTest::mouseMove(page, link.center());
  QTRY_VERIFY_WITH_TIMEOUT(status->text().contains(QStringLiteral("window.print")), kLoadTimeout);
  saveShot(status, "status-link-pointed");
  QTest::mouseMove(child<QWidget>("frame01"), QPoint(20, 20));
  QTRY_COMPARE_WITH_TIMEOUT(status->text(), QString(), 5000);
  saveShot(status, "status-link-left");

  // Focus on the link, then on a control of the window.
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  page->setFocus();
  QTRY_VERIFY(page->hasFocus());
  emit w.pane()->page()->linkHovered(QStringLiteral("javascript:window.print();"));
  QCOMPARE(status->text(), QStringLiteral("javascript:window.print();"));
  child<QWidget>("txtNAME")->setFocus();
  QCOMPARE(status->text(), QString());
  // Other texts of the status line stay when the focus moves.
  page->setFocus();
  QTRY_VERIFY(page->hasFocus());
  emit w.pane()->page()->linkHovered(QStringLiteral("javascript:window.print();"));
  bool asked = false;
  answerModal<QPrintDialog>([&asked](QPrintDialog* dialog) {
    asked = true;
    dialog->reject();
  });
  w.pane()->page()->runJavaScript(QStringLiteral("window.print();"));
  QTRY_VERIFY_WITH_TIMEOUT(asked, kLoadTimeout);
  QTRY_COMPARE(status->text(), QString());
}

// Printed to a PDF file, the page keeps its text as text.
void TestMainWindow::printsTextToPdf() {
  openWindow();
  child<QPushButton>("cmdStart")->click();
  waitForPane(workFile(kChartPageFile));
  QTemporaryDir out;
  const QString pdf = out.filePath(QStringLiteral("chart.pdf"));
  answerModal<QPrintDialog>([pdf](QPrintDialog* dialog) {
    dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
    dialog->printer()->setOutputFileName(pdf);
    dialog->done(QDialog::Accepted);  // as set here, not as the dialog's fields say
  });
  window_->pane()->page()->runJavaScript(QStringLiteral("window.print();"));
  QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(pdf).size() > 0, kLoadTimeout);
  QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>("lbStatus")->text(), QString(), kLoadTimeout);
  const QByteArray bytes = readAll(pdf);
  if (const QString shots = qEnvironmentVariable("ZIWEI_TEST_SHOTS"); !shots.isEmpty())
    QFile::copy(pdf, QDir(shots).filePath(QStringLiteral("chart.pdf")));
  QVERIFY(bytes.startsWith("%PDF"));
  QVERIFY2(bytes.contains("/FontDescriptor"), "no font: the text was not kept");
  QVERIFY2(!bytes.contains("/Subtype /Image"), "the page was printed as a picture");
}

int main(int argc, char* argv[]) {
  prepareWebEngine();
  QApplication app(argc, argv);
  useTaiwaneseChinese();
  TestMainWindow test;
  const int status = QTest::qExec(&test, argc, argv);
  keepGlDriversLoaded();
  return status;
}

#include "test_main_window.moc"
