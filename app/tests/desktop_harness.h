#pragma once
// What the window suites share: settings whose every address is a local
// port that refuses connections, file reading, and answering modal dialogs.
#include <functional>

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QUrl>

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

}  // namespace ziwei::desktop::testing
