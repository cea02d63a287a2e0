#pragma once
// What the window suites share: settings whose every address is a local
// port that refuses connections, file reading, answering modal dialogs, and
// a window over a fresh program folder.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>
#include <QWidget>
#include <QtTest>

#include "app/desktop_settings.h"
#include "app/main_window.h"
#include "app/work_dir.h"

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

inline QByteArray bytes(const std::string& s) {
  return {s.data(), static_cast<qsizetype>(s.size())};
}
inline QString qs(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
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

// The text of the next message box, answered with OK; with `shot`, a
// picture of it over its window is saved first (see saveShot).
inline std::shared_ptr<QString> answerMessage(const QString& shot = QString()) {
  auto text = std::make_shared<QString>();
  answerModal<QMessageBox>([text, shot](QMessageBox* box) {
    *text = box->text();
    if (!shot.isEmpty())
      saveShot(box->parentWidget() ? box->parentWidget() : box, qPrintable(shot));
    box->accept();
  });
  return text;
}

// A main window over a program folder of its own, made afresh for each test:
// a suite calls makeProgramDir() from init() and closeWindow() from cleanup().
class WindowFixture {
 protected:
  void makeProgramDir() {
    program_ = std::make_unique<QTemporaryDir>();
    QVERIFY(program_->isValid());
  }
  void closeWindow() {
    window_.reset();
    program_.reset();
  }
  MainWindow& showWindow(const DesktopSettings& settings) {
    window_ = std::make_unique<MainWindow>(settings);
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get())) qFatal("window not exposed");
    return *window_;
  }
  template <typename T>
  T* child(const char* name) {
    T* c = window_->findChild<T*>(QLatin1String(name));
    if (!c) qFatal("no control %s", name);
    return c;
  }
  QString workFile(const char* name) const { return pageFilePath(program_->path(), name); }
  void waitForPane(const QString& path) {
    const QUrl url = QUrl::fromLocalFile(path);
    QTRY_VERIFY_WITH_TIMEOUT(window_->pane()->url() == url && !window_->pane()->page()->isLoading(),
                             kLoadTimeout);
  }
  // The value of `script` run in the pane's page.
  QVariant evaluate(const QString& script) {
    QVariant result;
    bool done = false;
    window_->pane()->page()->runJavaScript(script, [&](const QVariant& value) {
      result = value;
      done = true;
    });
    if (!QTest::qWaitFor([&done] { return done; }, kLoadTimeout))
      qWarning("no answer from the pane");
    return result;
  }

  // `key` pressed with the focus on control `from` opens a modal dialog of
  // type T, which is then cancelled.
  template <typename T>
  void expectKeyOpens(const char* from, QKeyCombination key) {
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    QWidget* focus = child<QWidget>(from);
    focus->setFocus();
    auto opened = std::make_shared<bool>(false);
    answerModal<T>([opened](T* dialog) {
      *opened = true;
      dialog->reject();
    });
    QTest::keyClick(focus, key.key(), key.keyboardModifiers());
    QTRY_VERIFY_WITH_TIMEOUT(*opened, 10000);
  }

  // A control added to the designed window, the layout rule that has room
  // for it, and the window width in pixels from which that room is there.
  struct AddedControl {
    const char* name;
    bool (*fits)(const ResizableControls&);
    int showsFrom;
  };
  // At narrow and wide sizes each control shows exactly where its rule gives
  // it room, and there it lies inside its frame's border and overlaps nothing
  // else that shows in the frame.
  void expectInFreeSpace(std::initializer_list<AddedControl> added) {
    for (const QSize size : {QSize(724, 569), QSize(1000, 700), QSize(723, 569), QSize(721, 569),
                             QSize(720, 569), QSize(600, 480)}) {
      window_->resize(size);
      QTRY_COMPARE(window_->size(), size);
      for (const AddedControl& a : added) {
        auto* control = child<QWidget>(a.name);
        const bool fits = a.fits(window_->controlsInTwips());
        const QString row =
            QStringLiteral("%1 at width %2").arg(QLatin1String(a.name)).arg(size.width());
        QVERIFY2(control->isVisible() == fits, qPrintable(row));
        QVERIFY2(fits == (size.width() >= a.showsFrom), qPrintable(row));
        if (!fits) continue;
        const QWidget* frame = control->parentWidget();
        QVERIFY2(frame->rect().adjusted(1, 1, -1, -1).contains(control->geometry()),
                 qPrintable(row));
        for (const QWidget* other :
             frame->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
          if (other != control && other->isVisible())
            QVERIFY2(!control->geometry().intersects(other->geometry()),
                     qPrintable(other->objectName() + QLatin1Char(' ') + row));
        }
      }
    }
  }

  std::unique_ptr<QTemporaryDir> program_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace ziwei::desktop::testing
