// The window under a real X server: start-up state, chart requests, the
// offline page, the profile button, layout, closing, the name box and the
// print preview. Every address the window knows points at a local port that
// refuses connections, so nothing leaves the machine.
#include <functional>
#include <string>

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>
#include <QtTest>

#include "gl_drivers.h"

#include "app/desktop_settings.h"
#include "app/local_pages.h"
#include "app/main_window.h"
#include "app/name_box.h"
#include "app/work_dir.h"
#include "chart/frame/chart_frame.h"
#include "page/chart_page.h"
#include "page/page_file.h"
#include "page/page_template.h"

using namespace ziwei;
using namespace ziwei::desktop;

namespace {

const QUrl kRefused(QStringLiteral("http://127.0.0.1:9/"));
constexpr int kLoadTimeout = 30000;

DesktopSettings loopbackSettings(const QString& programDir) {
  DesktopSettings s;
  s.homePage = kRefused;
  s.pictureLinks.fill(kRefused);
  s.lunarConverter = QUrl(QStringLiteral("http://127.0.0.1:9/convert.htm"));
  s.programDir = programDir;
  return s;
}

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray bytes(const std::string& s) { return {s.data(), static_cast<qsizetype>(s.size())}; }

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

// Answers the next modal dialog of type T with `answer`, once it shows.
template <typename T>
void answerModal(std::function<void(T*)> answer) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      answer(dialog);
    }
  });
  timer->start(50);
}

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void startUpState();
  void failedStartUpNavigationShowsOfflinePageOnce();
  void linkButtonsEndOnTheOfflinePage();
  void offlinePageThatCannotBeWrittenEndsTheRound();
  void offlinePageThatFailsToLoadEndsTheRound();
  void statusLineFollowsThePane();
  void chartRequestFromStartUpSelection();
  void chartRequestFromOtherSelections();
  void unwritableChartPageIsReported();
  void profileButton();
  void layoutFollowsTheWindowSize();
  void closeBoxDeletesPageFiles();
  void closeQuestion();
  void nameBoxSelection();
  void printPreviewShowsThePage();
  void pagePrintLinkOpensThePrintDialog();
  void tabOrder();

 private:
  // The window, after its start-up navigation has failed and the offline
  // page is in the pane.
  MainWindow& openWindow();
  void waitForPane(const QString& path);
  QString workFile(const char* name) const { return pageFilePath(program_->path(), name); }
  template <typename T>
  T* child(const char* name) {
    T* c = window_->findChild<T*>(QLatin1String(name));
    if (!c) qFatal("no control %s", name);
    return c;
  }
  void castAndCompare(const BirthSelection& selection, const QString& name);

  std::unique_ptr<QTemporaryDir> program_;
  std::unique_ptr<MainWindow> window_;
  int offlineLoads_ = 0;
  int failures_ = 0;
};

void TestMainWindow::initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

void TestMainWindow::init() {
  program_ = std::make_unique<QTemporaryDir>();
  QVERIFY(program_->isValid());
  offlineLoads_ = 0;
  failures_ = 0;
}

void TestMainWindow::cleanup() {
  window_.reset();
  program_.reset();
}

MainWindow& TestMainWindow::openWindow() {
  window_ = std::make_unique<MainWindow>(loopbackSettings(program_->path()));
  const QUrl offline = QUrl::fromLocalFile(workFile(kOfflinePageFile));
  connect(
      window_->pane()->page(), &QWebEnginePage::loadingChanged, window_.get(),
      [this, offline](const QWebEngineLoadingInfo& info) {
        if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus) ++failures_;
        if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus && info.url() == offline) {
          ++offlineLoads_;
        }
      });
  window_->show();
  if (!QTest::qWaitForWindowExposed(window_.get())) qFatal("window not exposed");
  return *window_;
}

void TestMainWindow::waitForPane(const QString& path) {
  const QUrl url = QUrl::fromLocalFile(path);
  QTRY_VERIFY_WITH_TIMEOUT(window_->pane()->url() == url && !window_->pane()->page()->isLoading(),
                           kLoadTimeout);
}

void TestMainWindow::startUpState() {
  MainWindow& w = openWindow();
  QCOMPARE(w.windowTitle(), QStringLiteral("Tessaro紫微斗數"));
  QCOMPARE(child<QLabel>("lbVer")->text(), QStringLiteral("V" ZIWEI_VERSION_TEXT));
  QVERIFY(!w.windowIcon().isNull());

  struct Expected {
    const char* name;
    int first;
    int count;
    int selected;
  };
  for (const Expected& e :
       {Expected{"cboY", 1912, 99, 88}, Expected{"cboM", 1, 12, 0}, Expected{"cboD", 1, 30, 0},
        Expected{"cboH", 0, 24, 0}, Expected{"cboMU", 0, 60, 0}, Expected{"cboS", 0, 60, 0}}) {
    auto* box = child<QComboBox>(e.name);
    QVERIFY2(!box->isEditable(), e.name);
    QCOMPARE(box->count(), e.count);
    for (int i = 0; i < e.count; ++i) QCOMPARE(box->itemText(i), QString::number(e.first + i));
    QCOMPARE(box->currentIndex(), e.selected);
  }
  QCOMPARE(child<QComboBox>("cboY")->currentText(), QStringLiteral("2000"));
  auto* leap = child<QComboBox>("cboCDM");
  QCOMPARE(leap->count(), 2);
  QCOMPARE(leap->itemText(0), QStringLiteral("正"));
  QCOMPARE(leap->itemText(1), QStringLiteral("閏"));
  QCOMPARE(leap->currentText(), QStringLiteral("正"));
  QCOMPARE(child<QLineEdit>("txtNAME")->text(), QStringLiteral("您的姓名"));
  QVERIFY(child<QRadioButton>("optSEX0")->isChecked());
  QVERIFY(!child<QRadioButton>("optSEX1")->isChecked());

  QCOMPARE(child<QPushButton>("cmdStart")->text(), QStringLiteral("紫微斗數排盤"));
  QCOMPARE(child<QPushButton>("Command1")->text(), QStringLiteral("預覽列印"));
  QCOMPARE(child<QPushButton>("cmdGetC")->text(), QStringLiteral("農曆日期查詢"));
  // The narrow close button shows its caption on two lines.
  QCOMPARE(child<QPushButton>("cmdExit")->text().remove(QLatin1Char('\n')),
           QStringLiteral("關閉程式"));
  for (int i = 1; i <= 7; ++i) {
    auto* b = child<QPushButton>(QStringLiteral("cmdB0%1").arg(i).toLatin1().constData());
    QCOMPARE(b->iconSize(), QSize(80, 30));
    QVERIFY(!b->icon().isNull());
  }
  // Design-time rectangles at 15 twips per pixel.
  QCOMPARE(child<QPushButton>("cmdStart")->geometry(), QRect(504, 48, 93, 21));
  QCOMPARE(child<QComboBox>("cboY")->geometry(), QRect(60, 48, 65, 20));
  QCOMPARE(child<QPushButton>("cmdB07")->geometry(), QRect(512, 12, 85, 33));

  QCOMPARE(w.windowTexts().WorkDir, program_->path());
  QVERIFY(!QFileInfo::exists(workFile(kProfilePageFile)));  // the write test left nothing
  QCOMPARE(w.windowTexts().PageTemplate, buildPageTemplate());
}

void TestMainWindow::failedStartUpNavigationShowsOfflinePageOnce() {
  MainWindow& w = openWindow();
  waitForPane(workFile(kOfflinePageFile));
  QCOMPARE(w.pane()->title(), QStringLiteral("未連結網路"));
  QVERIFY(plainText(w.pane()->page()).contains(QStringLiteral("您不需上網即可使用")));
  QCOMPARE(readAll(workFile(kOfflinePageFile)),
           bytes(encodePage(w.windowTexts().OfflinePage, PageEncoding::Big5)));
  QTest::qWait(1500);  // nothing more happens
  QCOMPARE(failures_, 1);
  QCOMPARE(offlineLoads_, 1);
  QCOMPARE(child<QLabel>("lbStatus")->text(), QString());
}

void TestMainWindow::linkButtonsEndOnTheOfflinePage() {
  MainWindow& w = openWindow();
  waitForPane(workFile(kOfflinePageFile));
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
  MainWindow& w = openWindow();
  auto* status = child<QLabel>("lbStatus");
  QTRY_VERIFY_WITH_TIMEOUT(status->text().contains(QStringLiteral("無法寫入")), kLoadTimeout);
  QTest::qWait(1500);
  QCOMPARE(failures_, 1);
  QCOMPARE(offlineLoads_, 0);
  QVERIFY(w.pane()->url() != QUrl::fromLocalFile(workFile(kOfflinePageFile)));
}

void TestMainWindow::offlinePageThatFailsToLoadEndsTheRound() {
  MainWindow& w = openWindow();
  const QString offline = workFile(kOfflinePageFile);
  waitForPane(offline);
  QTRY_COMPARE_WITH_TIMEOUT(offlineLoads_, 1, kLoadTimeout);
  QVERIFY(QFile::remove(offline));
  w.navigate(QUrl::fromLocalFile(offline));  // fails: the file is gone
  auto* status = child<QLabel>("lbStatus");
  QTRY_VERIFY_WITH_TIMEOUT(status->text().contains(QStringLiteral("無法顯示離線網頁")),
                           kLoadTimeout);
  QTest::qWait(1500);
  QCOMPARE(failures_, 2);
  QCOMPARE(offlineLoads_, 1);
  QVERIFY(!QFileInfo::exists(offline));  // not written again for another round
}

void TestMainWindow::statusLineFollowsThePane() {
  MainWindow& w = openWindow();
  auto* status = child<QLabel>("lbStatus");
  QString whileLoading;
  connect(w.pane()->page(), &QWebEnginePage::loadingChanged, &w,
          [&whileLoading, status](const QWebEngineLoadingInfo& info) {
            if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
              whileLoading = status->text();
            }
          });
  waitForPane(workFile(kOfflinePageFile));
  QVERIFY2(whileLoading.startsWith(QStringLiteral("開啟網頁 file://")), qPrintable(whileLoading));
  QTRY_COMPARE(status->text(), QString());  // done loading

  // A hovered link shows its address; leaving it clears the line.
  emit w.pane()->page()->linkHovered(QStringLiteral("http://127.0.0.1:9/a.htm"));
  QCOMPARE(status->text(), QStringLiteral("http://127.0.0.1:9/a.htm"));
  emit w.pane()->page()->linkHovered(QString());
  QCOMPARE(status->text(), QString());
}

void TestMainWindow::castAndCompare(const BirthSelection& selection, const QString& name) {
  // The window prints today's date; retry once should the date change
  // while the chart is cast.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const std::string date = todayShortDate();
    QSignalSpy loaded(window_->pane(), &QWebEngineView::loadFinished);
    child<QPushButton>("cmdStart")->click();
    if (todayShortDate() != date) continue;

    const std::string expected = encodePage(
        assembleChartPage(castFrame(selection), buildPageTemplate(), name.toStdString(), date),
        PageEncoding::Big5);
    QCOMPARE(readAll(workFile(kChartPageFile)), bytes(expected));
#ifdef ZIWEI_CLI
    QTemporaryDir out;
    const QString cliFile = out.filePath(QStringLiteral("cli.htm"));
    QStringList args{QStringLiteral("--name"),
                     name,
                     QStringLiteral("--sex"),
                     selection.male ? QStringLiteral("male") : QStringLiteral("female"),
                     QStringLiteral("--year"),
                     QString::fromStdString(selection.year),
                     QStringLiteral("--month"),
                     QString::fromStdString(selection.month),
                     QStringLiteral("--day"),
                     QString::fromStdString(selection.day),
                     QStringLiteral("--hour"),
                     QString::fromStdString(selection.hour),
                     QStringLiteral("--minute"),
                     QString::fromStdString(selection.minute),
                     QStringLiteral("--second"),
                     QString::fromStdString(selection.second),
                     QStringLiteral("--print-date"),
                     QString::fromStdString(date),
                     QStringLiteral("-o"),
                     cliFile};
    if (selection.leap == "閏") args << QStringLiteral("--leap");
    QProcess cli;
    cli.start(QStringLiteral(ZIWEI_CLI), args);
    QVERIFY(cli.waitForFinished(20000));
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(readAll(workFile(kChartPageFile)), readAll(cliFile));
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

void TestMainWindow::chartRequestFromStartUpSelection() {
  openWindow();
  waitForPane(workFile(kOfflinePageFile));
  castAndCompare(BirthSelection{}, QStringLiteral("您的姓名"));
  QCOMPARE(window_->chartState().BirthYear, 2000);
  QCOMPARE(window_->chartState().YearStem, std::string("庚"));
}

void TestMainWindow::chartRequestFromOtherSelections() {
  openWindow();
  waitForPane(workFile(kOfflinePageFile));
  castAndCompare(BirthSelection{}, QStringLiteral("您的姓名"));

  // A leap 12th month after its 15th day counts as the 1st month.
  child<QComboBox>("cboY")->setCurrentText(QStringLiteral("1984"));
  child<QComboBox>("cboCDM")->setCurrentIndex(1);
  child<QComboBox>("cboM")->setCurrentText(QStringLiteral("12"));
  child<QComboBox>("cboD")->setCurrentText(QStringLiteral("16"));
  child<QComboBox>("cboH")->setCurrentText(QStringLiteral("23"));
  child<QComboBox>("cboMU")->setCurrentText(QStringLiteral("45"));
  child<QComboBox>("cboS")->setCurrentText(QStringLiteral("59"));
  child<QRadioButton>("optSEX1")->click();
  const QString name = QStringLiteral("王<小>明 & @CYY@");
  child<QLineEdit>("txtNAME")->setText(name);

  BirthSelection other;
  other.year = "1984";
  other.leap = "閏";
  other.month = "12";
  other.day = "16";
  other.hour = "23";
  other.minute = "45";
  other.second = "59";
  other.male = false;
  castAndCompare(other, name);
  QCOMPARE(window_->chartState().BirthMonth, 1);
  QCOMPARE(window_->chartState().SexText, std::string("陽女"));
}

void TestMainWindow::unwritableChartPageIsReported() {
  MainWindow& w = openWindow();
  waitForPane(workFile(kOfflinePageFile));
  QVERIFY(QDir(program_->path()).mkdir(QLatin1String(kChartPageFile)));
  child<QPushButton>("cmdStart")->click();
  QVERIFY(child<QLabel>("lbStatus")->text().contains(QStringLiteral("無法寫入")));
  QTest::qWait(500);
  QCOMPARE(w.pane()->url(), QUrl::fromLocalFile(workFile(kOfflinePageFile)));
}

void TestMainWindow::profileButton() {
  MainWindow& w = openWindow();
  waitForPane(workFile(kOfflinePageFile));
  const QByteArray expected = bytes(encodePage(w.windowTexts().ProfilePage, PageEncoding::Big5));
  auto* about = child<QPushButton>("cmdAboutMe");
  QCOMPARE(about->text(), QString::fromUtf8(kProfileButtonCaption.data(),
                                            static_cast<qsizetype>(kProfileButtonCaption.size())));
  for (int press = 0; press < 2; ++press) {  // the second press writes and loads it again
    QSignalSpy loaded(w.pane(), &QWebEngineView::loadFinished);
    about->click();
    QCOMPARE(readAll(workFile(kProfilePageFile)), expected);
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), kLoadTimeout);
    waitForPane(workFile(kProfilePageFile));
    QCOMPARE(w.pane()->title(), QStringLiteral("Tessaro"));
  }
  QVERIFY(plainText(w.pane()->page()).contains(QStringLiteral("傳真專線:")));

  // Its home-page link asks for a new window; the pane follows it instead,
  // and the refused address ends on the offline page.
  const int offlineBefore = offlineLoads_;
  w.pane()->page()->runJavaScript(
      QStringLiteral("document.querySelector(\"a[target='_blank']\").click();"));
  QTRY_COMPARE_WITH_TIMEOUT(offlineLoads_, offlineBefore + 1, kLoadTimeout);
  QCOMPARE(w.pane()->url(), QUrl::fromLocalFile(workFile(kOfflinePageFile)));
}

void TestMainWindow::layoutFollowsTheWindowSize() {
  MainWindow& w = openWindow();
  auto pixels = [](const TwipsRect& r) {
    return QRect(twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width),
                 twipsToPixels(r.height));
  };
  for (const QSize size : {QSize(800, 600), QSize(1000, 700), QSize(724, 569)}) {
    w.resize(size);
    QTRY_COMPARE(w.size(), size);
    const QSize outer = w.frameGeometry().size();
    const ResizableControls c =
        fitControls(kDesignControls, pixelsToTwips(outer.width()), pixelsToTwips(outer.height()));
    QCOMPARE(w.controlsInTwips(), c);
    QCOMPARE(w.pane()->geometry(), pixels(c.WebBrowser1));
    QCOMPARE(child<QWidget>("frame01")->geometry(), pixels(c.frame01));
    QCOMPARE(child<QWidget>("Frame02")->geometry(), pixels(c.Frame02));
    QCOMPARE(child<QWidget>("lbStatus")->geometry(), pixels(c.lbStatus));
    QCOMPARE(child<QWidget>("cmdExit")->geometry(), pixels(c.cmdExit));
    QCOMPARE(child<QWidget>("lbVer")->geometry(), pixels(c.lbVer));
  }
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
  waitForPane(workFile(kOfflinePageFile));
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
  waitForPane(workFile(kOfflinePageFile));
  child<QPushButton>("cmdStart")->click();
  child<QPushButton>("cmdAboutMe")->click();

  QString text;
  QString title;
  QMessageBox::Icon icon = QMessageBox::Information;
  QMessageBox::StandardButtons buttons;
  answerModal<QMessageBox>([&](QMessageBox* box) {
    text = box->text();
    title = box->windowTitle();
    icon = box->icon();
    buttons = box->standardButtons();
    box->button(QMessageBox::No)->click();
  });
  child<QPushButton>("cmdExit")->click();  // returns once the question is answered
  QCOMPARE(text, QStringLiteral("確定關閉本程式?"));
  QCOMPARE(title, QStringLiteral("關閉"));
  QCOMPARE(icon, QMessageBox::NoIcon);
  QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
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
  openWindow();
  auto* name = child<NameBox>("txtNAME");
  auto focusIn = [name] {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(name, &out);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(name, &in);
  };
  name->setCursorPosition(0);
  focusIn();
  QCOMPARE(name->selectedText(), QStringLiteral("您的姓名"));

  name->setText(QStringLiteral("一二三四五六七八九十甲乙"));  // 12 characters
  name->setCursorPosition(0);
  focusIn();
  QCOMPARE(name->selectedText(), QStringLiteral("一二三四五六七八九十"));

  name->setCursorPosition(5);
  focusIn();
  QCOMPARE(name->selectedText(), QStringLiteral("六七八九十甲乙"));  // cut at the end

  name->setCursorPosition(12);
  focusIn();
  QVERIFY(!name->hasSelectedText());
  QCOMPARE(name->cursorPosition(), 12);
}

void TestMainWindow::printPreviewShowsThePage() {
  openWindow();
  waitForPane(workFile(kOfflinePageFile));
  child<QPushButton>("cmdStart")->click();
  waitForPane(workFile(kChartPageFile));

  int pages = -1;
  answerModal<QPrintPreviewDialog>([&pages](QPrintPreviewDialog* dialog) {
    if (auto* preview = dialog->findChild<QPrintPreviewWidget*>()) pages = preview->pageCount();
    dialog->reject();
  });
  child<QPushButton>("Command1")->click();
  QVERIFY2(pages >= 1, qPrintable(QStringLiteral("preview pages: %1").arg(pages)));
}

void TestMainWindow::pagePrintLinkOpensThePrintDialog() {
  openWindow();
  waitForPane(workFile(kOfflinePageFile));
  child<QPushButton>("cmdStart")->click();
  waitForPane(workFile(kChartPageFile));

  bool asked = false;
  answerModal<QPrintDialog>([&asked](QPrintDialog* dialog) {
    asked = true;
    dialog->reject();
  });
  // What the page's own "列印本頁" link does.
  window_->pane()->page()->runJavaScript(QStringLiteral("window.print();"));
  QTRY_VERIFY_WITH_TIMEOUT(asked, kLoadTimeout);
}

void TestMainWindow::tabOrder() {
  MainWindow& w = openWindow();
  const QStringList expected{
      QStringLiteral("txtNAME"),    QStringLiteral("optSEX0"),  QStringLiteral("optSEX1"),
      QStringLiteral("cboY"),       QStringLiteral("cboCDM"),   QStringLiteral("cboM"),
      QStringLiteral("cboD"),       QStringLiteral("cboH"),     QStringLiteral("cboMU"),
      QStringLiteral("cboS"),       QStringLiteral("cmdStart"), QStringLiteral("Command1"),
      QStringLiteral("cmdAboutMe"), QStringLiteral("cmdB01"),   QStringLiteral("cmdB02"),
      QStringLiteral("cmdB03"),     QStringLiteral("cmdB04"),   QStringLiteral("cmdB05"),
      QStringLiteral("cmdB06"),     QStringLiteral("cmdB07"),   QStringLiteral("cmdGetC"),
      QStringLiteral("cmdExit")};
  QStringList seen;
  QWidget* start = child<QWidget>("txtNAME");
  QWidget* at = start;
  do {
    if (expected.contains(at->objectName())) seen << at->objectName();
    at = at->nextInFocusChain();
  } while (at != start && seen.size() < expected.size());
  QCOMPARE(seen, expected);
  Q_UNUSED(w);
}

int main(int argc, char* argv[]) {
  prepareWebEngine();
  QApplication app(argc, argv);
  TestMainWindow test;
  const int status = QTest::qExec(&test, argc, argv);
  keepGlDriversLoaded();
  return status;
}

#include "test_main_window.moc"
