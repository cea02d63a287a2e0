// A long session in one window: many chart requests with changing
// selections, each page written and shown. Built with the sanitizers, the
// leak checker runs when the process ends; the resident memory after a few
// requests and after all of them is reported either way. The number of
// requests is 200, or ZIWEI_CHART_REQUESTS when set (for measurements).
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWebEngineView>
#include <QtTest>

#include "desktop_harness.h"
#include "gl_drivers.h"

#include "app/main_window.h"
#include "app/work_dir.h"

using namespace ziwei::desktop;
using namespace ziwei::desktop::testing;

namespace {

// Resident memory of this process in KiB, from /proc; -1 when unknown.
long residentKiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  }
  return -1;
}

}  // namespace

class TestManyCharts : public QObject, private WindowFixture {
  Q_OBJECT

 private slots:
  void manyChartRequestsInOneWindow();
};

void TestManyCharts::manyChartRequestsInOneWindow() {
  QApplication::setQuitOnLastWindowClosed(false);
  bool ok = false;
  int requests = qEnvironmentVariableIntValue("ZIWEI_CHART_REQUESTS", &ok);
  if (!ok || requests < 20) requests = 200;

  makeProgramDir();
  const QString chartFile = workFile(kChartPageFile);
  long afterTen = -1;
  {
    MainWindow& window = showWindow(loopbackSettings(program_->path()));
    waitForPane(workFile(kOfflinePageFile));
    auto *year = child<QComboBox>("cboY"), *leap = child<QComboBox>("cboCDM"),
         *month = child<QComboBox>("cboM"), *day = child<QComboBox>("cboD"),
         *hour = child<QComboBox>("cboH");
    auto* name = child<QLineEdit>("txtNAME");
    auto* female = child<QRadioButton>("optSEX1");
    auto* male = child<QRadioButton>("optSEX0");
    auto* cast = child<QPushButton>("cmdStart");

    for (int i = 0; i < requests; ++i) {
      year->setCurrentIndex(i * 37 % year->count());
      leap->setCurrentIndex(i % 7 == 0 ? 1 : 0);
      month->setCurrentIndex(i % month->count());
      day->setCurrentIndex(i * 11 % day->count());
      hour->setCurrentIndex(i % hour->count());
      (i % 2 == 0 ? male : female)->setChecked(true);
      name->setText(QStringLiteral("測試<%1>&\"名\"").arg(i));

      QSignalSpy loaded(window.pane(), &QWebEngineView::loadFinished);
      cast->click();
      QCOMPARE(window.chartState().BirthYear, year->currentText().toInt());
      QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), kLoadTimeout);
      QVERIFY2(loaded.first().first().toBool(), qPrintable(QStringLiteral("request %1").arg(i)));
      QCOMPARE(window.pane()->url(), QUrl::fromLocalFile(chartFile));
      if (i == 9) afterTen = residentKiB();
    }
    const long afterAll = residentKiB();
    qInfo("resident memory: %ld KiB after 10 chart requests, %ld KiB after %d", afterTen, afterAll,
          requests);
    QVERIFY(afterTen > 0 && afterAll > 0);
#ifndef __SANITIZE_ADDRESS__
    // Without the sanitizers' own bookkeeping, a session does not grow: a
    // page or chart kept per request would add megabytes over the session.
    constexpr long kAllowedGrowthKiB = 16 * 1024;
    QVERIFY2(afterAll - afterTen < kAllowedGrowthKiB,
             qPrintable(QStringLiteral("grew by %1 KiB").arg(afterAll - afterTen)));
#endif
    QVERIFY(window.close());
  }
  window_.reset();
  QVERIFY(!QFileInfo::exists(chartFile));
  closeWindow();
}

int main(int argc, char* argv[]) {
  prepareWebEngine();
  QApplication app(argc, argv);
  TestManyCharts test;
  const int status = QTest::qExec(&test, argc, argv);
  keepGlDriversLoaded();
  return status;
}

#include "test_many_charts.moc"
