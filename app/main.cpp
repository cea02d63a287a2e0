// ziwei-desktop: the Zi Wei Dou Shu chart window.
//
// Normal use takes no arguments. Two options serve the project's own
// documentation: --screenshot FILE casts the start-up chart (with every link
// pointed at a refusing local port), waits until the pane shows it and saves
// a picture of the window; --icon SIZE FILE saves the program icon as a PNG.

#include <QApplication>
#include <QScreen>
#include <QStyleFactory>
#include <QTimer>
#include <QWebEngineView>

#include "app/artwork.h"
#include "app/desktop_settings.h"
#include "app/main_window.h"

namespace {

int saveScreenshotAfterChart(ziwei::desktop::MainWindow& window, const QString& file) {
  int status = 1;
  auto grab = [&window, &file, &status](bool loaded) {
    // Give the pane a moment to paint the page it has loaded.
    QTimer::singleShot(1500, &window, [&window, &file, &status, loaded] {
      const QPixmap shot = window.screen()->grabWindow(window.winId());
      status = loaded && shot.save(file) ? 0 : 1;
      QApplication::quit();
    });
  };
  // Cast once the start-up navigation has settled.
  QTimer::singleShot(3000, &window, [&window, grab] {
    QObject::connect(window.pane(), &QWebEngineView::loadFinished, &window, grab,
                     Qt::SingleShotConnection);
    window.castChart();
  });
  QTimer::singleShot(60000, &window, [] { QApplication::exit(1); });
  const int rc = QApplication::exec();
  return rc != 0 ? rc : status;
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

  const QStringList args = QApplication::arguments();
  if (args.size() == 4 && args[1] == QLatin1String("--icon")) {
    bool ok = false;
    const int size = args[2].toInt(&ok);
    if (!ok || size < 16 || size > 1024) return 2;
    return ziwei::desktop::drawProgramIcon(size).save(args[3]) ? 0 : 1;
  }

  const bool screenshot = args.size() == 3 && args[1] == QLatin1String("--screenshot");
  ziwei::desktop::DesktopSettings settings = ziwei::desktop::publisherSettings();
  if (screenshot) {
    // Nothing leaves the machine: every link points at a refusing local port.
    const QUrl refused(QStringLiteral("http://127.0.0.1:9/"));
    settings.homePage = refused;
    settings.pictureLinks.fill(refused);
    settings.lunarConverter = refused;
  }
  ziwei::desktop::MainWindow window(settings);
  window.show();
  if (screenshot) return saveScreenshotAfterChart(window, args[2]);
  return QApplication::exec();
}
