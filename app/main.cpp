// ziwei-desktop: the Zi Wei Dou Shu chart window.
//
// Normal use takes no arguments. Three options serve the project's own
// documentation and tests, with every link pointed at a refusing local port:
//   --screenshot FILE            casts the start-up chart, waits until the pane
//                                shows it and saves a picture of the window;
//   --screenshot-gregorian FILE  the same with the "國曆" dialog open over it;
//   --cast-and-report DIR        uses DIR as the program folder, casts the
//                                start-up chart, prints "page PATH" on standard
//                                output and closes the window when standard
//                                input has a line or ends;
// and --icon SIZE FILE saves the program icon as a PNG.

#include <unistd.h>

#include <cstdio>

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QSocketNotifier>
#include <QStyleFactory>
#include <QTimer>
#include <QWebEngineView>

#include "app/artwork.h"
#include "app/desktop_settings.h"
#include "app/gregorian_dialog.h"
#include "app/main_window.h"
#include "app/work_dir.h"

namespace {

using ziwei::desktop::MainWindow;

constexpr int kGiveUpMs = 60000;

// Casts once the start-up navigation has settled, then calls `shown` once the
// pane has loaded the chart.
template <typename Shown>
void castThen(MainWindow& window, Shown shown) {
  QTimer::singleShot(3000, &window, [&window, shown] {
    QObject::connect(window.pane(), &QWebEngineView::loadFinished, &window, shown,
                     Qt::SingleShotConnection);
    window.castChart();
  });
}

int saveScreenshotAfterChart(MainWindow& window, const QString& file, bool withDialog) {
  int status = 1;
  auto grab = [&window, &file, &status](bool loaded) {
    // Give the pane (and the dialog) a moment to paint.
    QTimer::singleShot(1500, &window, [&window, &file, &status, loaded] {
      const QRect area = window.frameGeometry();
      const QPixmap shot =
          window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
      status = loaded && shot.save(file) ? 0 : 1;
      QApplication::quit();
    });
  };
  castThen(window, [&window, grab, withDialog](bool loaded) {
    if (withDialog) {
      auto* dialog = new ziwei::desktop::GregorianDialog(QDate(2001, 6, 8), QTime(14, 30), &window);
      dialog->setAttribute(Qt::WA_DeleteOnClose);
      dialog->show();
    }
    grab(loaded);
  });
  QTimer::singleShot(kGiveUpMs, &window, [] { QApplication::exit(1); });
  const int rc = QApplication::exec();
  return rc != 0 ? rc : status;
}

int castAndReport(MainWindow& window) {
  QObject::connect(&window, &MainWindow::pageShown, &window, [](const QString& path) {
    if (!path.endsWith(QLatin1String(ziwei::desktop::kChartPageFile))) return;
    std::printf("page %s\n", QFile::encodeName(path).constData());
    std::fflush(stdout);
  });
  QTimer::singleShot(0, &window, &MainWindow::castChart);
  auto* input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &window);
  QObject::connect(input, &QSocketNotifier::activated, &window, [&window, input] {
    input->setEnabled(false);
    char buffer[64];
    [[maybe_unused]] const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    window.close();
  });
  QTimer::singleShot(2 * kGiveUpMs, &window, &MainWindow::close);
  return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  ziwei::desktop::prepareWebEngine();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ziwei-desktop"));
  QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                          .arg(ZIWEI_VERSION_MAJOR)
                                          .arg(ZIWEI_VERSION_MINOR)
                                          .arg(ZIWEI_VERSION_PATCH));
  // Fusion paints the buttons' face colours on every platform.
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  ziwei::desktop::useTaiwaneseChinese();

  const QStringList args = QApplication::arguments();
  if (args.size() == 4 && args[1] == QLatin1String("--icon")) {
    bool ok = false;
    const int size = args[2].toInt(&ok);
    if (!ok || size < 16 || size > 1024) return 2;
    return ziwei::desktop::drawProgramIcon(size).save(args[3]) ? 0 : 1;
  }

  const QString option = args.size() == 3 ? args[1] : QString();
  const bool screenshot = option == QLatin1String("--screenshot");
  const bool dialogShot = option == QLatin1String("--screenshot-gregorian");
  const bool report = option == QLatin1String("--cast-and-report");
  ziwei::desktop::DesktopSettings settings = ziwei::desktop::publisherSettings();
  if (screenshot || dialogShot || report) {
    // Nothing leaves the machine: every link points at a refusing local port.
    const QUrl refused(QStringLiteral("http://127.0.0.1:9/"));
    settings.homePage = refused;
    settings.pictureLinks.fill(refused);
    settings.lunarConverter = refused;
  }
  if (report) settings.programDir = args[2];
  MainWindow window(settings);
  window.show();
  if (screenshot || dialogShot) return saveScreenshotAfterChart(window, args[2], dialogShot);
  if (report) return castAndReport(window);
  return QApplication::exec();
}
