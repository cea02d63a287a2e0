// Windows of several ziwei-desktop processes running at once in one program
// folder: none overwrites or deletes another's page files, whichever closes
// first, and a crashed window does not keep the folder from the next one.
// Each process runs on this test's X server with every link pointed at a
// refusing local port (its --cast-and-report mode).
#include <csignal>
#include <memory>

#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest>

#include "desktop_harness.h"

#include "app/work_dir.h"

using namespace ziwei::desktop;
using ziwei::desktop::testing::readAll;

namespace {

constexpr int kStartTimeout = 90000;
constexpr int kCloseTimeout = 30000;

QStringList entries(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
}

// One running window and the chart page it reported.
struct Instance {
  std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
  QString page;
};

}  // namespace

class TestTwoInstances : public QObject {
  Q_OBJECT

 private slots:
  void windowsKeepTheirOwnPages();

 private:
  // Starts a window on `programDir`; returns it once it has cast its chart.
  static Instance start(const QString& programDir);
  // Asks the window to close and waits for a clean end.
  static void close(Instance& instance);
};

Instance TestTwoInstances::start(const QString& programDir) {
  Instance i;
  i.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  // Under the sanitizers the whole program leaves 240 bytes at exit that
  // LeakSanitizer reports from a library already unloaded by then: with no
  // module name, no suppression can single it out. Leaks of this program's
  // own code are checked by the window tests, which run it in-process; here
  // the program's exit status tells only how it closed.
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  if (environment.contains(QStringLiteral("ASAN_OPTIONS"))) {
    environment.insert(
        QStringLiteral("ASAN_OPTIONS"),
        environment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
  }
  i.process->setProcessEnvironment(environment);
  i.process->start(QStringLiteral(ZIWEI_DESKTOP),
                   {QStringLiteral("--cast-and-report"), programDir});
  QElapsedTimer waited;
  waited.start();
  while (!i.process->canReadLine() && i.process->state() != QProcess::NotRunning &&
         waited.elapsed() < kStartTimeout) {
    i.process->waitForReadyRead(1000);
  }
  const QByteArray line = i.process->readLine().trimmed();
  if (line.startsWith("page ")) i.page = QFile::decodeName(line.mid(5));
  return i;
}

void TestTwoInstances::close(Instance& instance) {
  instance.process->write("close\n");
  QVERIFY(instance.process->waitForFinished(kCloseTimeout));
  QCOMPARE(instance.process->exitStatus(), QProcess::NormalExit);
  QCOMPARE(instance.process->exitCode(), 0);
}

void TestTwoInstances::windowsKeepTheirOwnPages() {
  QTemporaryDir program;
  QVERIFY(program.isValid());
  const QString shared = pageFilePath(program.path(), kChartPageFile);
  const QString lock = pageFilePath(program.path(), kLockFileName);

  // The first window writes into the program folder, the second into a
  // private folder inside it.
  Instance a = start(program.path());
  QCOMPARE(a.page, shared);
  Instance b = start(program.path());
  QVERIFY2(!b.page.isEmpty(), "the second window reported no page");
  const QString bDir = QFileInfo(b.page).absolutePath();
  QCOMPARE(QFileInfo(bDir).absolutePath(), program.path());
  QVERIFY(QFileInfo(bDir).fileName().startsWith(QStringLiteral("ziwei-")));
  QCOMPARE(QFileInfo(b.page).fileName(), QLatin1String(kChartPageFile));
  const QByteArray bPage = readAll(b.page);
  QVERIFY(bPage.contains("big5"));
  QCOMPARE(readAll(a.page), bPage);  // the same start-up chart, twice

  // The first window closes: its pages and the lock go, the second's page stays.
  close(a);
  QVERIFY(!QFileInfo::exists(shared));
  QVERIFY(!QFileInfo::exists(lock));
  QCOMPARE(readAll(b.page), bPage);

  // A window opened now takes the free program folder again.
  Instance c = start(program.path());
  QCOMPARE(c.page, shared);

  // The private window closes: its folder goes, the third window's page stays.
  close(b);
  QVERIFY(!QFileInfo::exists(bDir));
  QCOMPARE(readAll(c.page), bPage);

  // A crash leaves the lock file, but the lock died with the process: the
  // next window takes the program folder and tidies it at its close.
  QVERIFY(::kill(static_cast<pid_t>(c.process->processId()), SIGKILL) == 0);
  QVERIFY(c.process->waitForFinished(kCloseTimeout));
  QVERIFY(QFileInfo::exists(lock));
  Instance d = start(program.path());
  QCOMPARE(d.page, shared);
  close(d);
  QCOMPARE(entries(program.path()), QStringList());
}

QTEST_GUILESS_MAIN(TestTwoInstances)
#include "test_two_instances.moc"
