// ziwei-desktop: the Zi Wei Dou Shu chart window.
//
// Normal use takes no arguments. These options serve the project's own
// documentation and tests, with every link pointed at a refusing local port:
//   --screenshot FILE            casts the start-up chart, waits until the pane
//                                shows it and saves a picture of the window;
//   --screenshot-gregorian FILE  the same with the "國曆" dialog open over it,
//                                set to a summer-time birth in Taipei;
//   --screenshot-preview FILE    ... with the print preview of the chart;
//   --screenshot-close FILE      ... with the close question;
//   --screenshot-years FILE      ... with the year list dropped down;
//   --screenshot-periods FILE    ... with the running periods of today shown
//                                instead, in a window of 960 x 720;
//   --cast-and-report DIR        uses DIR as the program folder, casts the
//                                start-up chart, prints "page PATH" on standard
//                                output and closes the window when standard
//                                input has a line or ends;
//   --timings ROUNDS             measures, ROUNDS times each, how long the
//                                chart button, the 運限 button and the print
//                                preview take until what they show is painted,
//                                and prints the times (scripts/desktop-timings.sh);
// and --icon SIZE FILE saves the program icon as a PNG.

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGraphicsView>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
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

// What a screenshot shows over the window with its start-up chart.
enum class Shot { Window, Gregorian, Preview, CloseQuestion, YearList, Periods };

struct ShotOption {
  const char* option;
  Shot shot;
};
constexpr std::array<ShotOption, 6> kShotOptions{{
    {"--screenshot", Shot::Window},
    {"--screenshot-gregorian", Shot::Gregorian},
    {"--screenshot-preview", Shot::Preview},
    {"--screenshot-close", Shot::CloseQuestion},
    {"--screenshot-years", Shot::YearList},
    {"--screenshot-periods", Shot::Periods},
}};

void openOverWindow(MainWindow& window, Shot shot) {
  switch (shot) {
    case Shot::Window:
      break;
    case Shot::Gregorian: {
      // A summer-time birth in Taipei, on true solar time.
      auto* dialog = new ziwei::desktop::GregorianDialog(QDate(1979, 7, 1), QTime(11, 10), &window);
      dialog->setAttribute(Qt::WA_DeleteOnClose);
      auto* place = dialog->findChild<QLineEdit*>(QStringLiteral("place"));
      place->setText(QStringLiteral("臺北"));
      emit place->editingFinished();
      dialog->findChild<QCheckBox*>(QStringLiteral("trueSolar"))->setChecked(true);
      dialog->show();
      break;
    }
    // The modal ones run their own event loop: they open from the event loop.
    case Shot::Preview:
      QTimer::singleShot(0, &window, &MainWindow::showPrintPreview);
      break;
    case Shot::CloseQuestion:
      QTimer::singleShot(0, &window, &MainWindow::askToClose);
      break;
    case Shot::YearList:
      window.findChild<QComboBox*>(QStringLiteral("cboY"))->showPopup();
      break;
    case Shot::Periods:
      // Larger than designed, for a readable page.
      window.resize(960, 720);
      window.showPeriods();
      break;
  }
}

int saveScreenshotAfterChart(MainWindow& window, const QString& file, Shot shot) {
  int status = 1;
  auto grab = [&window, &file, &status, shot](bool loaded) {
    // Once what was opened shows, give it and the pane a moment to paint.
    auto* wait = new QTimer(&window);
    QObject::connect(
        wait, &QTimer::timeout, &window, [&window, &file, &status, shot, loaded, wait] {
          const bool modal = shot == Shot::Preview || shot == Shot::CloseQuestion;
          if (modal && QApplication::activeModalWidget() == nullptr) return;
          wait->stop();
          QTimer::singleShot(1500, &window, [&window, &file, &status, loaded] {
            QRect area = window.frameGeometry();
            for (const QWidget* over :
                 {QApplication::activeModalWidget(), QApplication::activePopupWidget()}) {
              if (over != nullptr) area |= over->frameGeometry();
            }
            const QPixmap picture =
                window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
            status = loaded && picture.save(file) ? 0 : 1;
            QApplication::quit();
          });
        });
    wait->start(50);
  };
  castThen(window, [&window, grab, shot](bool loaded) {
    openOverWindow(window, shot);
    grab(loaded);
  });
  QTimer::singleShot(kGiveUpMs, &window, [] { QApplication::exit(1); });
  const int rc = QApplication::exec();
  return rc != 0 ? rc : status;
}

// How long the window takes from a button press until what it shows is
// painted: the chart page and the running-period page until the pane paints
// them after loading, the print preview until its first page is painted.
class Timings : public QObject {
 public:
  Timings(MainWindow& window, int rounds) : window_(window), rounds_(rounds) {}

  void start() {
    QTimer::singleShot(3000, this, [this] { next(); });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched == painted_) {
      painted_->removeEventFilter(this);
      painted_ = nullptr;
      // The paint event is delivered before the widget paints: the time is
      // taken once it has returned.
      QTimer::singleShot(0, this, [this] { finish(); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  enum Step { Chart, Periods, Preview };
  static constexpr std::array<const char*, 3> kNames{"chart", "periods", "preview"};

  void next() {
    if (round_ == rounds_) {
      report();
      QApplication::quit();
      return;
    }
    // A pause between measurements, so that each starts from an idle window.
    QTimer::singleShot(300, this, [this] {
      clock_.start();
      switch (step_) {
        case Chart:
        case Periods:
          QObject::connect(
              window_.pane(), &QWebEngineView::loadFinished, this, [this] { waitForFrames(); },
              Qt::SingleShotConnection);
          step_ == Chart ? window_.castChart() : window_.showPeriods();
          break;
        case Preview:
          QTimer::singleShot(0, &window_, &MainWindow::showPrintPreview);
          pollPreview();
          break;
      }
    });
  }

  // Two animation frames of the page after its load: the first has then
  // been drawn, and the pane's next paint shows it.
  void waitForFrames() {
    window_.pane()->page()->runJavaScript(
        QStringLiteral("window.zwDrawn=false;requestAnimationFrame(()=>requestAnimationFrame(()=>{"
                       "window.zwDrawn=true;}));"));
    pollFrames();
  }

  void pollFrames() {
    window_.pane()->page()->runJavaScript(QStringLiteral("window.zwDrawn"),
                                          [this](const QVariant& v) {
                                            if (v.toBool()) {
                                              watchPaint(window_.pane()->focusProxy());
                                            } else {
                                              QTimer::singleShot(1, this, [this] { pollFrames(); });
                                            }
                                          });
  }

  void pollPreview() {
    auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    auto* widget = dialog ? dialog->findChild<QPrintPreviewWidget*>() : nullptr;
    if (widget != nullptr && widget->pageCount() > 0) {
      preview_ = dialog;
      QGraphicsView* view = widget->findChild<QGraphicsView*>();
      watchPaint(view ? view->viewport() : static_cast<QWidget*>(widget));
      return;
    }
    QTimer::singleShot(1, this, [this] { pollPreview(); });
  }

  void watchPaint(QWidget* widget) {
    painted_ = widget;
    widget->installEventFilter(this);
    widget->update();
  }

  void finish() {
    times_[static_cast<std::size_t>(step_)].push_back(static_cast<double>(clock_.nsecsElapsed()) /
                                                      1e9);
    if (preview_ != nullptr) {
      preview_->reject();
      preview_ = nullptr;
    }
    if (step_ == Preview) {
      step_ = Chart;
      ++round_;
    } else {
      step_ = static_cast<Step>(step_ + 1);
    }
    // The preview's own event loop ends before the next step starts.
    QTimer::singleShot(0, this, [this] { next(); });
  }

  void report() const {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
      std::vector<double> t = times_[i];
      std::sort(t.begin(), t.end());
      std::printf("%-8s median %.3f s  min %.3f s  max %.3f s  (", kNames[i], t[t.size() / 2],
                  t.front(), t.back());
      for (std::size_t k = 0; k < times_[i].size(); ++k) {
        std::printf(k == 0 ? "%.3f" : " %.3f", times_[i][k]);
      }
      std::printf(")\n");
    }
    std::fflush(stdout);
  }

  MainWindow& window_;
  int rounds_;
  int round_ = 0;
  Step step_ = Chart;
  QElapsedTimer clock_;
  QWidget* painted_ = nullptr;
  QPrintPreviewDialog* preview_ = nullptr;
  std::array<std::vector<double>, 3> times_;
};

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
  const auto* const shot =
      std::find_if(kShotOptions.begin(), kShotOptions.end(),
                   [&option](const ShotOption& s) { return option == QLatin1String(s.option); });
  const bool screenshot = shot != kShotOptions.end();
  const bool report = option == QLatin1String("--cast-and-report");
  const bool timings = option == QLatin1String("--timings");
  ziwei::desktop::DesktopSettings settings = ziwei::desktop::publisherSettings();
  if (screenshot || report || timings) {
    // Nothing leaves the machine: every link points at a refusing local port.
    const QUrl refused(QStringLiteral("http://127.0.0.1:9/"));
    settings.homePage = refused;
    settings.pictureLinks.fill(refused);
    settings.lunarConverter = refused;
  }
  if (report) settings.programDir = args[2];
  MainWindow window(settings);
  window.show();
  if (screenshot) return saveScreenshotAfterChart(window, args[2], shot->shot);
  if (report) return castAndReport(window);
  if (timings) {
    bool ok = false;
    const int rounds = args[2].toInt(&ok);
    if (!ok || rounds < 1 || rounds > 1000) return 2;
    Timings run(window, rounds);
    run.start();
    return QApplication::exec();
  }
  return QApplication::exec();
}
