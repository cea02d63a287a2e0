#pragma once
// What the window suites share: settings whose every address is a local
// port that refuses connections, file reading, and answering modal dialogs.
#include <functional>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "app/desktop_settings.h"

namespace ziwei::desktop::testing {

inline const QUrl kRefused(QStringLiteral("http://127.0.0.1:9/"));
constexpr int kLoadTimeout = 30000;

inline DesktopSettings loopbackSettings(const QString& programDir) {
  DesktopSettings s;
  s.homePage = kRefused;
  s.pictureLinks.fill(kRefused);
  s.lunarConverter = QUrl(QStringLiteral("http://127.0.0.1:9/convert.htm"));
  s.programDir = programDir;
  return s;
}

inline QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// With ZIWEI_TEST_SHOTS naming a folder, saves a picture of the screen
// around `widget`'s window and whatever popup or modal dialog is open over
// it as NAME.png there, for a person to look at; otherwise does nothing.
inline void saveShot(const QWidget* widget, const char* name) {
  const QString dir = qEnvironmentVariable("ZIWEI_TEST_SHOTS");
  if (dir.isEmpty() || widget == nullptr) return;
  QApplication::processEvents();
  QRect area = widget->window()->frameGeometry();
  for (const QWidget* over :
       {QApplication::activeModalWidget(), QApplication::activePopupWidget()}) {
    if (over != nullptr) area |= over->frameGeometry();
  }
  const QPixmap picture =
      widget->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  picture.save(QDir(dir).filePath(QLatin1String(name) + QStringLiteral(".png")));
}

// Answers the next modal dialog of type T with `answer`, once it shows. (The
// application owns the timer: one that no dialog answers goes with it.)
template <typename T>
void answerModal(std::function<void(T*)> answer) {
  auto* timer = new QTimer(QCoreApplication::instance());
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      answer(dialog);
    }
  });
  timer->start(50);
}

}  // namespace ziwei::desktop::testing
