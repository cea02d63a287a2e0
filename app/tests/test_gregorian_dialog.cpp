// The "國曆" dialog: conversions, refusals, and how it sets the window's
// selectors. Every address the window knows points at a local port that
// refuses connections.
#include <functional>

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QtTest>

#include "gl_drivers.h"

#include "app/desktop_settings.h"
#include "app/gregorian_dialog.h"
#include "app/main_window.h"
#include "app/window_layout.h"

using namespace ziwei;
using namespace ziwei::desktop;

namespace {

const QUrl kRefused(QStringLiteral("http://127.0.0.1:9/"));

DesktopSettings loopbackSettings(const QString& programDir) {
  DesktopSettings s;
  s.homePage = kRefused;
  s.pictureLinks.fill(kRefused);
  s.lunarConverter = kRefused;
  s.programDir = programDir;
  return s;
}

// Answers the next modal GregorianDialog with `answer`, once it shows.
void answerDialog(std::function<void(GregorianDialog*)> answer) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    if (auto* dialog = qobject_cast<GregorianDialog*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      answer(dialog);
    }
  });
  timer->start(50);
}

QPushButton* okButton(GregorianDialog* dialog) {
  return dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

}  // namespace

class TestGregorianDialog : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void convertsToTheSelectorsLunarDate_data();
  void convertsToTheSelectorsLunarDate();
  void refusesLunarYearsOutsideTheSelectors_data();
  void refusesLunarYearsOutsideTheSelectors();
  void dialogFollowsTheEditsAndKeepsItsRange();
  void okSetsTheSelectors();
  void cancelAndRefusedDatesChangeNothing();
  void shortcutOpensTheDialog();
  void buttonSitsInFreeSpace();

 private:
  MainWindow& openWindow();
  template <typename T>
  T* child(const char* name) {
    T* c = window_->findChild<T*>(QLatin1String(name));
    if (!c) qFatal("no control %s", name);
    return c;
  }
  QStringList selectorTexts();

  std::unique_ptr<QTemporaryDir> program_;
  std::unique_ptr<MainWindow> window_;
};

void TestGregorianDialog::initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

void TestGregorianDialog::init() {
  program_ = std::make_unique<QTemporaryDir>();
  QVERIFY(program_->isValid());
}

void TestGregorianDialog::cleanup() {
  window_.reset();
  program_.reset();
}

MainWindow& TestGregorianDialog::openWindow() {
  window_ = std::make_unique<MainWindow>(loopbackSettings(program_->path()));
  window_->show();
  if (!QTest::qWaitForWindowExposed(window_.get())) qFatal("window not exposed");
  return *window_;
}

QStringList TestGregorianDialog::selectorTexts() {
  QStringList texts;
  for (const char* name : {"cboY", "cboCDM", "cboM", "cboD", "cboH", "cboMU", "cboS"}) {
    texts << child<QComboBox>(name)->currentText();
  }
  return texts;
}

void TestGregorianDialog::convertsToTheSelectorsLunarDate_data() {
  QTest::addColumn<QDate>("date");
  QTest::addColumn<QTime>("time");
  QTest::addColumn<int>("year");
  QTest::addColumn<bool>("leap");
  QTest::addColumn<int>("month");
  QTest::addColumn<int>("day");
  QTest::addColumn<QString>("text");
  QTest::newRow("leap 4th month") << QDate(2001, 6, 8) << QTime(0, 0) << 2001 << true << 4 << 17
                                  << QStringLiteral("農曆 2001 年 閏 4 月 17 日 0 時 0 分");
  // Hour 23 is the 子 hour of the same civil date, not of the next day.
  QTest::newRow("hour 23 keeps its date")
      << QDate(2001, 6, 8) << QTime(23, 30) << 2001 << true << 4 << 17
      << QStringLiteral("農曆 2001 年 閏 4 月 17 日 23 時 30 分");
  QTest::newRow("first day of the selectors")
      << QDate(1912, 2, 18) << QTime(12, 5) << 1912 << false << 1 << 1
      << QStringLiteral("農曆 1912 年 1 月 1 日 12 時 5 分");
  QTest::newRow("last day of the selectors")
      << QDate(2011, 2, 2) << QTime(7, 59) << 2010 << false << 12 << 30
      << QStringLiteral("農曆 2010 年 12 月 30 日 7 時 59 分");
  QTest::newRow("leap day") << QDate(2000, 2, 29) << QTime(1, 0) << 2000 << false << 1 << 25
                            << QStringLiteral("農曆 2000 年 1 月 25 日 1 時 0 分");
}

void TestGregorianDialog::convertsToTheSelectorsLunarDate() {
  QFETCH(QDate, date);
  QFETCH(QTime, time);
  const SolarConversion c = convertSolarBirth(date, time);
  QVERIFY2(c.problem.isEmpty(), qPrintable(c.problem));
  QVERIFY(c.birth.has_value());
  QTEST(c.birth->year, "year");
  QTEST(c.birth->leap, "leap");
  QTEST(c.birth->month, "month");
  QTEST(c.birth->day, "day");
  QCOMPARE(c.birth->hour, time.hour());
  QCOMPARE(c.birth->minute, time.minute());
  QCOMPARE(c.birth->solar.value_or(""), date.toString(Qt::ISODate).toStdString());
  QTEST(c.lunarText, "text");
}

void TestGregorianDialog::refusesLunarYearsOutsideTheSelectors_data() {
  QTest::addColumn<QDate>("date");
  QTest::addColumn<QString>("text");      // the lunar date still shown
  QTest::addColumn<QString>("mentions");  // in the explanation
  QTest::newRow("1912-01-01 is lunar 1911")
      << QDate(1912, 1, 1) << QStringLiteral("農曆 1911 年 11 月 13 日 0 時 0 分")
      << QStringLiteral("農曆 1911 年");
  QTest::newRow("eve of lunar 1912")
      << QDate(1912, 2, 17) << QStringLiteral("農曆 1911 年 12 月 30 日 0 時 0 分")
      << QStringLiteral("農曆 1911 年");
  QTest::newRow("lunar 2011 new year")
      << QDate(2011, 2, 3) << QStringLiteral("農曆 2011 年 1 月 1 日 0 時 0 分")
      << QStringLiteral("農曆 2011 年");
  QTest::newRow("leap 4th month of 2020")
      << QDate(2020, 5, 23) << QStringLiteral("農曆 2020 年 閏 4 月 1 日 0 時 0 分")
      << QStringLiteral("農曆 2020 年");
  QTest::newRow("last day of the calendar")
      << QDate(2100, 12, 31) << QStringLiteral("農曆 2100 年 12 月 1 日 0 時 0 分")
      << QStringLiteral("農曆 2100 年");
  QTest::newRow("before the calendar")
      << QDate(1900, 1, 30) << QString() << QStringLiteral("1900-01-31 至 2100-12-31");
  QTest::newRow("no date") << QDate() << QString() << QStringLiteral("1900-01-31 至 2100-12-31");
}

void TestGregorianDialog::refusesLunarYearsOutsideTheSelectors() {
  QFETCH(QDate, date);
  QFETCH(QString, mentions);
  const SolarConversion c = convertSolarBirth(date, QTime(0, 0));
  QVERIFY(!c.birth.has_value());
  QTEST(c.lunarText, "text");
  QVERIFY2(c.problem.contains(mentions), qPrintable(c.problem));
  if (!c.lunarText.isEmpty()) {
    QVERIFY2(c.problem.contains(QStringLiteral("1912 至 2010")), qPrintable(c.problem));
  }
}

void TestGregorianDialog::dialogFollowsTheEditsAndKeepsItsRange() {
  GregorianDialog dialog(QDate(2001, 6, 8), QTime(14, 30));
  auto* date = dialog.findChild<QDateEdit*>(QStringLiteral("solarDate"));
  auto* time = dialog.findChild<QTimeEdit*>(QStringLiteral("solarTime"));
  auto* lunar = dialog.findChild<QLabel*>(QStringLiteral("lunarDate"));
  auto* problem = dialog.findChild<QLabel*>(QStringLiteral("problem"));
  QVERIFY(date && time && lunar && problem);
  QCOMPARE(date->minimumDate(), QDate(1900, 1, 31));
  QCOMPARE(date->maximumDate(), QDate(2100, 12, 31));
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));

  QCOMPARE(lunar->text(), QStringLiteral("農曆 2001 年 閏 4 月 17 日 14 時 30 分"));
  QVERIFY(okButton(&dialog)->isEnabled());
  QVERIFY(problem->isHidden());

  date->setDate(QDate(1912, 1, 1));  // as the user edits, the result follows
  QCOMPARE(lunar->text(), QStringLiteral("農曆 1911 年 11 月 13 日 14 時 30 分"));
  QVERIFY(!okButton(&dialog)->isEnabled());
  QVERIFY(problem->isVisible());
  QVERIFY(problem->text().contains(QStringLiteral("1911")));

  time->setTime(QTime(23, 5));
  date->setDate(QDate(1984, 2, 2));
  QCOMPARE(lunar->text(), QStringLiteral("農曆 1984 年 1 月 1 日 23 時 5 分"));
  QVERIFY(okButton(&dialog)->isEnabled());
  QVERIFY(problem->isHidden());

  date->setDate(QDate(1800, 1, 1));  // clamped to the first day the calendar knows
  QCOMPARE(date->date(), QDate(1900, 1, 31));
  QVERIFY(!okButton(&dialog)->isEnabled());
}

void TestGregorianDialog::okSetsTheSelectors() {
  openWindow();
  QDate opened;
  QTime openedTime;
  answerDialog([&](GregorianDialog* dialog) {
    opened = dialog->findChild<QDateEdit*>(QStringLiteral("solarDate"))->date();
    openedTime = dialog->findChild<QTimeEdit*>(QStringLiteral("solarTime"))->time();
    dialog->findChild<QDateEdit*>(QStringLiteral("solarDate"))->setDate(QDate(2001, 6, 8));
    dialog->findChild<QTimeEdit*>(QStringLiteral("solarTime"))->setTime(QTime(23, 5));
    okButton(dialog)->click();
  });
  child<QComboBox>("cboS")->setCurrentText(QStringLiteral("42"));
  child<QPushButton>("cmdSolar")->click();  // returns once the dialog is answered
  // The dialog opened on the Gregorian date of the start-up selection.
  QCOMPARE(opened, QDate(2000, 2, 5));
  QCOMPARE(openedTime, QTime(0, 0));
  QCOMPARE(selectorTexts(),
           (QStringList{QStringLiteral("2001"), QStringLiteral("閏"), QStringLiteral("4"),
                        QStringLiteral("17"), QStringLiteral("23"), QStringLiteral("5"),
                        QStringLiteral("42")}));  // seconds untouched

  // The chart button casts from what the dialog set.
  child<QPushButton>("cmdStart")->click();
  QCOMPARE(window_->chartState().BirthYear, 2001);
  QVERIFY(QFileInfo::exists(program_->filePath(QLatin1String("T010190.htm"))));

  // Opened again, it starts from that selection.
  answerDialog([&](GregorianDialog* dialog) {
    opened = dialog->findChild<QDateEdit*>(QStringLiteral("solarDate"))->date();
    openedTime = dialog->findChild<QTimeEdit*>(QStringLiteral("solarTime"))->time();
    dialog->reject();
  });
  child<QPushButton>("cmdSolar")->click();
  QCOMPARE(opened, QDate(2001, 6, 8));
  QCOMPARE(openedTime, QTime(23, 5));
}

void TestGregorianDialog::cancelAndRefusedDatesChangeNothing() {
  openWindow();
  const QStringList before = selectorTexts();
  answerDialog([](GregorianDialog* dialog) {
    dialog->findChild<QDateEdit*>(QStringLiteral("solarDate"))->setDate(QDate(1984, 2, 2));
    dialog->reject();
  });
  child<QPushButton>("cmdSolar")->click();
  QCOMPARE(selectorTexts(), before);

  // A refused date: OK does nothing, and the dialog stays open until it is
  // cancelled.
  bool stillOpen = false;
  answerDialog([&stillOpen](GregorianDialog* dialog) {
    dialog->findChild<QDateEdit*>(QStringLiteral("solarDate"))->setDate(QDate(1912, 1, 1));
    okButton(dialog)->click();
    stillOpen = dialog->isVisible() && dialog->result() == QDialog::Rejected;
    dialog->reject();
  });
  child<QPushButton>("cmdSolar")->click();
  QVERIFY(stillOpen);
  QCOMPARE(selectorTexts(), before);
}

void TestGregorianDialog::shortcutOpensTheDialog() {
  MainWindow& w = openWindow();
  auto* button = child<QPushButton>("cmdSolar");
  QVERIFY2(button->toolTip().contains(QStringLiteral("Ctrl+G")), qPrintable(button->toolTip()));
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  bool opened = false;
  answerDialog([&opened](GregorianDialog* dialog) {
    opened = true;
    dialog->reject();
  });
  QTimer::singleShot(0, &w, [&w] { QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier); });
  QTRY_VERIFY_WITH_TIMEOUT(opened, 10000);
}

void TestGregorianDialog::buttonSitsInFreeSpace() {
  MainWindow& w = openWindow();
  auto* button = child<QPushButton>("cmdSolar");
  QCOMPARE(button->parentWidget()->objectName(), QStringLiteral("frame01"));
  QCOMPARE(button->text(), QStringLiteral("國曆"));
  QCOMPARE(button->geometry(), QRect(600, 48, 40, 21));  // on the date row, after the chart button
  // The controls beside it keep their places.
  QCOMPARE(child<QWidget>("cmdStart")->geometry(), QRect(504, 48, 93, 21));
  QCOMPARE(child<QWidget>("Command1")->geometry(), QRect(504, 16, 93, 21));

  // At the design size and wider it shows and overlaps nothing; narrower,
  // where the close button moves over its place, it hides.
  for (const QSize size :
       {QSize(724, 569), QSize(1000, 700), QSize(721, 569), QSize(700, 560), QSize(640, 480)}) {
    w.resize(size);
    QTRY_COMPARE(w.size(), size);
    const bool fits = solarButtonFits(w.controlsInTwips());
    QCOMPARE(button->isVisible(), fits);
    if (size.width() >= 724)
      QVERIFY2(fits, qPrintable(QStringLiteral("width %1").arg(size.width())));
    if (size.width() <= 700) QVERIFY(!fits);
    if (!fits) continue;
    for (const QWidget* other :
         button->parentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      if (other == button || !other->isVisible()) continue;
      QVERIFY2(
          !button->geometry().intersects(other->geometry()),
          qPrintable(QStringLiteral("%1 at width %2").arg(other->objectName()).arg(size.width())));
    }
  }
  // Keyboard users reach it after the close button, at the end of the tab order.
  QCOMPARE(child<QWidget>("cmdExit")->nextInFocusChain(), button);
}

int main(int argc, char* argv[]) {
  prepareWebEngine();
  QApplication app(argc, argv);
  TestGregorianDialog test;
  const int status = QTest::qExec(&test, argc, argv);
  keepGlDriversLoaded();
  return status;
}

#include "test_gregorian_dialog.moc"
