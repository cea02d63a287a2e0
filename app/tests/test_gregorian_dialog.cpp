// The "國曆" dialog: conversions, refusals, and how it sets the window's
// selectors. Every address the window knows points at a local port that
// refuses connections.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QtTest>

#include <cmath>

#include "desktop_harness.h"
#include "gl_drivers.h"

#include "app/date_field.h"
#include "app/gregorian_dialog.h"
#include "app/main_window.h"
#include "app/window_layout.h"
#include "birth/birth_time.h"
#include "places/places.h"

using namespace ziwei;
using namespace ziwei::desktop;
using namespace ziwei::desktop::testing;

namespace {

QPushButton* okButton(GregorianDialog* dialog) {
  return dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}
QDateEdit* dateEdit(QObject* dialog) {
  return dialog->findChild<QDateEdit*>(QStringLiteral("solarDate"));
}
QTimeEdit* timeEdit(QObject* dialog) {
  return dialog->findChild<QTimeEdit*>(QStringLiteral("solarTime"));
}

}  // namespace

class TestGregorianDialog : public QObject, private WindowFixture {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
  void init() { makeProgramDir(); }
  void cleanup() { closeWindow(); }

  void conversions();
  void corrections();
  void dialogFollowsTheEditsAndKeepsItsRange();
  void zonePlaceAndDaylightChoice();
  void okSetsTheSelectors();
  void cancelAndRefusedDatesChangeNothing();
  void shortcutOpensTheDialog();
  void addedControlsSitInFreeSpace();
  void placeMustResolveBeforeApplying();
  void zonesOfTheRegionFirst();
  void longitudeOfThePlace();
  void typedDates();
  void reopensOnTheEntry();

 private:
  MainWindow& openWindow() { return showWindow(loopbackSettings(program_->path())); }
  QString selectorTexts();
};

QString TestGregorianDialog::selectorTexts() {
  QStringList texts;
  for (const char* name : {"cboY", "cboCDM", "cboM", "cboD", "cboH", "cboMU", "cboS"}) {
    texts << child<QComboBox>(name)->currentText();
  }
  return texts.join(QLatin1Char(' '));
}

void TestGregorianDialog::conversions() {
  struct Row {
    QDate date;
    QTime time;
    const char* text;               // the lunar date shown, after "農曆 "
    const char* refusal = nullptr;  // for a refused date, in the explanation
  };
  const char* const kRange = "1900-01-31 至 2100-12-31";
  for (const Row& r : {
           Row{{2001, 6, 8}, {0, 0}, "2001 年 閏 4 月 17 日 0 時 0 分"},
           // Hour 23 is the 子 hour of the same civil date, not of the next day.
           Row{{2001, 6, 8}, {23, 30}, "2001 年 閏 4 月 17 日 23 時 30 分"},
           Row{{1912, 2, 18}, {12, 5}, "1912 年 1 月 1 日 12 時 5 分"},
           Row{{2011, 2, 2}, {7, 59}, "2010 年 12 月 30 日 7 時 59 分"},
           Row{{2000, 2, 29}, {1, 0}, "2000 年 1 月 25 日 1 時 0 分"},
           // Lunar years the selectors do not hold, and dates the calendar lacks.
           Row{{1912, 1, 1}, {0, 0}, "1911 年 11 月 13 日 0 時 0 分", "農曆 1911 年"},
           Row{{1912, 2, 17}, {0, 0}, "1911 年 12 月 30 日 0 時 0 分", "農曆 1911 年"},
           Row{{2011, 2, 3}, {0, 0}, "2011 年 1 月 1 日 0 時 0 分", "農曆 2011 年"},
           Row{{2020, 5, 23}, {0, 0}, "2020 年 閏 4 月 1 日 0 時 0 分", "農曆 2020 年"},
           Row{{2100, 12, 31}, {0, 0}, "2100 年 12 月 1 日 0 時 0 分", "農曆 2100 年"},
           Row{{1900, 1, 30}, {0, 0}, "", kRange},
           Row{QDate(), {0, 0}, "", kRange},
       }) {
    const QString row = r.date.toString(Qt::ISODate);
    const SolarConversion c = convertSolarBirth(r.date, r.time);
    QCOMPARE(c.lunarText,
             *r.text ? QStringLiteral("農曆 ") + QString::fromUtf8(r.text) : QString());
    if (!r.refusal) {
      QVERIFY2(c.problem.isEmpty() && c.birth, qPrintable(row + c.problem));
      // What the selectors get is the date shown.
      QCOMPARE(QStringLiteral("農曆 %1 年 %2%3 月 %4 日 %5 時 %6 分")
                   .arg(c.birth->year)
                   .arg(c.birth->leap ? QStringLiteral("閏 ") : QString())
                   .arg(c.birth->month)
                   .arg(c.birth->day)
                   .arg(c.birth->hour)
                   .arg(c.birth->minute),
               c.lunarText);
      QCOMPARE(calendar::format_gregorian(c.solar), row.toStdString());
    } else {
      QVERIFY2(!c.birth, qPrintable(row));
      QVERIFY2(c.problem.contains(QString::fromUtf8(r.refusal)), qPrintable(row + c.problem));
      if (*r.text) QVERIFY2(c.problem.contains(QStringLiteral("1912 至 2010")), qPrintable(row));
    }
  }
}

// Zones, true solar time and the late 子 rule as the dialog shows them; the
// engine's arithmetic has its own tests, these check what reaches the user.
void TestGregorianDialog::corrections() {
  struct Row {
    QDate date;
    QTime time;
    const char* zone;
    std::optional<double> longitude;
    LateZi lateZi;
    const char* text;       // the lunar date shown, after "農曆 "
    const char* hour;       // the 時辰 cast
    const char* corrected;  // in the correction lines; empty: none shown
    const char* moved;      // what moved; empty: nothing
  };
  for (const Row& r : {
           // Taiwan's summer time: 11:10 on the clock is 10:10 standard time.
           Row{{1979, 7, 1},
               {11, 10},
               "Asia/Taipei",
               {},
               LateZi::SameDay,
               "1979 年 6 月 8 日 10 時 10 分",
               "巳時",
               "扣除夏令時間 1 小時",
               "午時改為巳時"},
           // Urumqi on Beijing time: more than two hours back, into the day before.
           Row{{1990, 3, 1},
               {1, 30},
               "Asia/Shanghai",
               87.6,
               LateZi::SameDay,
               "1990 年 2 月 4 日 23 時 7 分",
               "子時",
               "經度 87.60°E",
               "日期由 1990-03-01 移到 1990-02-28"},
           Row{{1990, 1, 27},
               {12, 0},
               "America/New_York",
               {},
               LateZi::SameDay,
               "1990 年 1 月 1 日 12 時 0 分",
               "午時",
               "標準時間 (UTC-05:00)",
               ""},
           Row{{2001, 6, 8},
               {23, 30},
               "",
               {},
               LateZi::NextDay,
               "2001 年 閏 4 月 18 日 23 時 30 分",
               "子時",
               "",
               "晚子時算次日"},
           Row{{2001, 6, 8},
               {22, 59},
               "",
               {},
               LateZi::NextDay,
               "2001 年 閏 4 月 17 日 22 時 59 分",
               "亥時",
               "",
               ""},
       }) {
    RecordedBirth record;
    record.solar = calendar::GregorianDate{r.date.year(), r.date.month(), r.date.day()};
    record.birth.hour = r.time.hour();
    record.birth.minute = r.time.minute();
    record.zone = r.zone;
    record.longitude = r.longitude;
    record.options.lateZi = r.lateZi;
    const SolarConversion c = convertSolarBirth(record);
    const QString row = r.date.toString(Qt::ISODate) + QLatin1Char(' ') + QString::fromUtf8(r.zone);
    QVERIFY2(c.birth && c.problem.isEmpty(), qPrintable(row + c.problem));
    QCOMPARE(c.lunarText, QStringLiteral("農曆 ") + QString::fromUtf8(r.text));
    QCOMPARE(c.hourText, QString::fromUtf8(r.hour));
    QCOMPARE(c.corrected, *r.zone != 0);
    QVERIFY2(*r.corrected ? c.correctedText.contains(QString::fromUtf8(r.corrected))
                          : c.correctedText.isEmpty(),
             qPrintable(row + c.correctedText));
    QVERIFY2(*r.moved ? c.moved.contains(QString::fromUtf8(r.moved)) : c.moved.isEmpty(),
             qPrintable(row + c.moved));
  }
}

void TestGregorianDialog::zonePlaceAndDaylightChoice() {
  GregorianDialog dialog(QDate(1979, 9, 30), QTime(23, 30));
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  auto* zone = dialog.findChild<QComboBox*>(QStringLiteral("zone"));
  auto* place = dialog.findChild<QLineEdit*>(QStringLiteral("place"));
  auto* choice = dialog.findChild<QWidget*>(QStringLiteral("dstChoice"));
  auto* lunar = dialog.findChild<QLabel*>(QStringLiteral("lunarDate"));
  auto* problem = dialog.findChild<QLabel*>(QStringLiteral("problem"));
  QVERIFY(zone && place && choice && lunar && problem);
  // By default the clock is China Standard Time, taken as it stands.
  QVERIFY(!choice->isVisible());
  QCOMPARE(lunar->text(), QStringLiteral("農曆 1979 年 8 月 10 日 23 時 30 分"));

  // A place by its Chinese name brings its zone: 23:30 on the night Taiwan
  // left summer time came twice, and the dialog asks which one.
  place->setText(QStringLiteral("台北"));
  emit place->textEdited(place->text());  // as typed (keyClicks takes ASCII only)
  QVERIFY(place->completer()->completionCount() > 0);
  QVERIFY(place->completer()->completionModel()->index(0, 0).data().toString().contains(
      QStringLiteral("Taipei")));
  emit place->editingFinished();
  QCOMPARE(zone->currentText(), QStringLiteral("Asia/Taipei"));
  QVERIFY(choice->isVisible());
  QVERIFY(!okButton(&dialog)->isEnabled());
  auto* onDaylight = dialog.findChild<QRadioButton*>(QStringLiteral("onDaylight"));
  auto* onStandard = dialog.findChild<QRadioButton*>(QStringLiteral("onStandard"));
  QVERIFY(onDaylight->text().contains(QStringLiteral("UTC+09:00")) &&
          onDaylight->text().contains(QStringLiteral("1979-09-30 22:30:00")));
  QVERIFY(onStandard->text().contains(QStringLiteral("1979-09-30 23:30:00")));
  onDaylight->click();
  QVERIFY(okButton(&dialog)->isEnabled());
  QCOMPARE(lunar->text(), QStringLiteral("農曆 1979 年 8 月 10 日 22 時 30 分"));
  onStandard->click();
  QVERIFY(!onDaylight->isChecked());
  QCOMPARE(lunar->text(), QStringLiteral("農曆 1979 年 8 月 10 日 23 時 30 分"));
  // An unambiguous time needs no choice; coming back asks again.
  timeEdit(&dialog)->setTime(QTime(12, 0));
  QVERIFY(!choice->isVisible() && okButton(&dialog)->isEnabled());
  timeEdit(&dialog)->setTime(QTime(23, 30));
  QVERIFY(choice->isVisible() && !okButton(&dialog)->isEnabled());

  // An unknown zone is named.
  zone->setEditText(QStringLiteral("Asia/Taipie"));
  QVERIFY(!okButton(&dialog)->isEnabled());
  QVERIFY2(problem->text().contains(QStringLiteral("Asia/Taipie")), qPrintable(problem->text()));
}

// Until a place typed names one place, the dialog neither applies nor keeps
// casting at the place chosen before, and it says why in its error colour.
void TestGregorianDialog::placeMustResolveBeforeApplying() {
  GregorianDialog dialog(QDate(1979, 7, 1), QTime(11, 10));
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  auto* place = dialog.findChild<QLineEdit*>(QStringLiteral("place"));
  auto* problem = dialog.findChild<QLabel*>(QStringLiteral("problem"));
  const auto typePlace = [&](const QString& name) {
    place->setText(name);
    emit place->textEdited(name);
    place->completer()->popup()->hide();
    emit place->editingFinished();
  };
  typePlace(QStringLiteral("臺北"));
  QVERIFY(okButton(&dialog)->isEnabled() && dialog.entry().place != nullptr);

  for (const auto& [typed, says] :
       {std::pair{"Urumchi", "Urumqi"}, std::pair{"Springfield", "不只一處"}}) {
    typePlace(QLatin1String(typed));
    QVERIFY2(!okButton(&dialog)->isEnabled(), typed);
    QVERIFY2(problem->isVisible() && problem->text().contains(QLatin1String(typed)) &&
                 problem->text().contains(QString::fromUtf8(says)),
             qPrintable(problem->text()));
    QCOMPARE(problem->palette().color(QPalette::WindowText), QColor(0xC0, 0x00, 0x00));
    saveShot(&dialog, typed);
    QVERIFY(!dialog.conversion().birth && dialog.entry().place == nullptr);
    // Return in the place field does not apply the dialog.
    place->setFocus();
    QTest::keyClick(place, Qt::Key_Return);
    QVERIFY2(dialog.isVisible() && dialog.result() != QDialog::Accepted, typed);
  }
  // A name being typed is not a place yet either.
  place->setText(QStringLiteral("Taich"));
  emit place->textEdited(place->text());
  QVERIFY(!okButton(&dialog)->isEnabled());
  // Without a place the dialog applies again.
  place->clear();
  emit place->textEdited(QString());
  QVERIFY(okButton(&dialog)->isEnabled() && problem->isHidden());
}

// The zones of the region come first, and a city's name names its zone.
void TestGregorianDialog::zonesOfTheRegionFirst() {
  GregorianDialog dialog(QDate(2001, 6, 8), QTime(12, 0));
  auto* zone = dialog.findChild<QComboBox*>(QStringLiteral("zone"));
  QStringList first;
  for (int i = 1; i <= 8; ++i) first << zone->itemText(i);
  QCOMPARE(first, QStringLiteral("Asia/Taipei Asia/Hong_Kong Asia/Macau Asia/Shanghai Asia/Urumqi "
                                 "Asia/Singapore Asia/Kuala_Lumpur Asia/Kuching")
                      .split(QLatin1Char(' ')));
  QCOMPARE(zone->findText(QStringLiteral("Asia/Taipei")), 1);  // listed once
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  zone->showPopup();
  saveShot(&dialog, "zone-list");
  zone->hidePopup();
  for (const auto& [city, id] :
       {std::pair{"香港", "Asia/Hong_Kong"}, std::pair{"澳門", "Asia/Macau"},
        std::pair{"Kuala Lumpur", "Asia/Kuala_Lumpur"}}) {
    zone->setEditText(QString::fromUtf8(city));
    QVERIFY2(okButton(&dialog)->isEnabled(), city);
    QVERIFY2(dialog.conversion().correctedText.contains(QLatin1String(id)),
             qPrintable(dialog.conversion().correctedText));
    QCOMPARE(dialog.entry().zone, std::string(id));
  }
  zone->setEditText(QStringLiteral("火星"));
  QVERIFY(!okButton(&dialog)->isEnabled());
}

// True solar time from a place uses the gazetteer's longitude, not the two
// decimals the field shows: the same chart time as the command line's.
void TestGregorianDialog::longitudeOfThePlace() {
  GregorianDialog dialog(QDate(1979, 7, 1), QTime(11, 10));
  auto* place = dialog.findChild<QLineEdit*>(QStringLiteral("place"));
  place->setText(QStringLiteral("臺北"));
  emit place->editingFinished();
  dialog.findChild<QCheckBox*>(QStringLiteral("trueSolar"))->setChecked(true);
  const places::Place& taipei = places::findPlace("臺北");
  QVERIFY(std::abs(taipei.longitude * 100 - std::round(taipei.longitude * 100)) > 0.1);
  QCOMPARE(dialog.entry().longitude, std::optional(taipei.longitude));
  RecordedBirth record;
  record.solar = calendar::GregorianDate{1979, 7, 1};
  record.birth.hour = 11;
  record.birth.minute = 10;
  record.place = &taipei;
  record.longitude = taipei.longitude;
  const LunarBirth expected = resolveBirthTime(record, kSelectorYears).birth;
  QVERIFY(dialog.conversion().birth);
  QCOMPARE(dialog.conversion().birth->second, expected.second);
  QCOMPARE(dialog.conversion().birth->minute, expected.minute);
  // A longitude the user sets is taken as set.
  dialog.findChild<QDoubleSpinBox*>(QStringLiteral("longitude"))->setValue(121.0);
  QCOMPARE(dialog.entry().longitude, std::optional(121.0));
}

// A date typed whole, as shown or as eight digits, over a selected date or
// from the field's start.
void TestGregorianDialog::typedDates() {
  GregorianDialog dialog(QDate(2001, 6, 8), QTime(12, 0));
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  auto* date = dateEdit(&dialog);
  date->setFocus();
  QVERIFY(QTest::qWaitFor([&] { return date->hasFocus(); }));
  const auto type = [&](QKeyCombination start, const char* text) {
    QTest::keyClick(date, start.key(), start.keyboardModifiers());
    QTest::keyClicks(date, QLatin1String(text));
  };
  type(Qt::CTRL | Qt::Key_A, "1979-07-01");
  QCOMPARE(date->date(), QDate(1979, 7, 1));
  QCOMPARE(date->text(), QStringLiteral("1979-07-01"));
  type(Qt::Key_Home, "19840202");
  QCOMPARE(date->date(), QDate(1984, 2, 2));
  QCOMPARE(dialog.conversion().lunarText, QStringLiteral("農曆 1984 年 1 月 1 日 12 時 0 分"));
  // Return takes a date typed with one-digit parts; Escape drops a part.
  type(Qt::CTRL | Qt::Key_A, "2001-6-8");
  QCOMPARE(date->date(), QDate(1984, 2, 2));
  QTest::keyClick(date, Qt::Key_Return);
  QCOMPARE(date->date(), QDate(2001, 6, 8));
  // ... and goes on to apply the dialog, as Return does.
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  dialog.setResult(QDialog::Rejected);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  date->setFocus();
  QVERIFY(QTest::qWaitFor([&] { return date->hasFocus(); }));
  type(Qt::Key_Home, "1990-1");
  saveShot(&dialog, "date-typing");
  QTest::keyClick(date, Qt::Key_Escape);
  QCOMPARE(date->date(), QDate(2001, 6, 8));
  QCOMPARE(date->text(), QStringLiteral("2001-06-08"));
  QVERIFY(dialog.isVisible());  // Escape ended the typing, not the dialog
  // Leaving the field takes a whole date and drops a part.
  type(Qt::Key_Home, "2000-2-29");
  dialog.findChild<QTimeEdit*>(QStringLiteral("solarTime"))->setFocus();
  QTRY_COMPARE(date->date(), QDate(2000, 2, 29));
  date->setFocus();
  type(Qt::Key_Home, "2000-02");
  dialog.findChild<QTimeEdit*>(QStringLiteral("solarTime"))->setFocus();
  QTRY_COMPARE(date->text(), QStringLiteral("2000-02-29"));
  // What reads as a whole date.
  QCOMPARE(DateField::readTyped(QStringLiteral("2000-13-01")), QDate());
  QCOMPARE(DateField::readTyped(QStringLiteral("20001301")), QDate());
  QCOMPARE(DateField::readTyped(QStringLiteral("1979-7-1")), QDate(1979, 7, 1));
}

// Opened again, the dialog shows the birth as entered: zone, place and true
// solar time, not the corrected time the selectors got.
void TestGregorianDialog::reopensOnTheEntry() {
  openWindow();
  QString firstResult;
  answerModal<GregorianDialog>([&firstResult](GregorianDialog* dialog) {
    dialog->setBirth(QDate(1979, 7, 1), QTime(11, 10));
    auto* place = dialog->findChild<QLineEdit*>(QStringLiteral("place"));
    place->setText(QStringLiteral("臺北"));
    emit place->editingFinished();
    dialog->findChild<QCheckBox*>(QStringLiteral("trueSolar"))->setChecked(true);
    firstResult = dialog->conversion().lunarText;
    okButton(dialog)->click();
  });
  child<QPushButton>("cmdSolar")->click();
  const QString set = selectorTexts();
  QCOMPARE(set, QStringLiteral("1979 正 6 8 10 12 40"));

  struct Shown {
    QDate date;
    QTime time;
    QString zone, place, lunar;
    bool trueSolar = false;
  };
  const auto reopen = [this]() {
    Shown shown;
    answerModal<GregorianDialog>([&shown](GregorianDialog* dialog) {
      shown.date = dateEdit(dialog)->date();
      shown.time = timeEdit(dialog)->time();
      shown.zone = dialog->findChild<QComboBox*>(QStringLiteral("zone"))->currentText();
      shown.place = dialog->findChild<QLineEdit*>(QStringLiteral("place"))->text();
      shown.trueSolar = dialog->findChild<QCheckBox*>(QStringLiteral("trueSolar"))->isChecked();
      shown.lunar = dialog->conversion().lunarText;
      saveShot(dialog, shown.trueSolar ? "dialog-reopened" : "dialog-reopened-fresh");
      okButton(dialog)->click();
    });
    child<QPushButton>("cmdSolar")->click();
    return shown;
  };
  const Shown again = reopen();
  QCOMPARE(again.date, QDate(1979, 7, 1));
  QCOMPARE(again.time, QTime(11, 10));
  QCOMPARE(again.zone, QStringLiteral("Asia/Taipei"));
  QCOMPARE(again.place, QStringLiteral("臺北"));
  QVERIFY(again.trueSolar);
  QCOMPARE(again.lunar, firstResult);
  QCOMPARE(selectorTexts(), set);  // applied again, the same birth: not corrected twice

  // A selection changed since opens the dialog on the selection, as it stands.
  child<QComboBox>("cboH")->setCurrentText(QStringLiteral("14"));
  const Shown fresh = reopen();
  QCOMPARE(fresh.time, QTime(14, 12));
  QVERIFY(!fresh.trueSolar && fresh.place.isEmpty());
}

void TestGregorianDialog::dialogFollowsTheEditsAndKeepsItsRange() {
  GregorianDialog dialog(QDate(2001, 6, 8), QTime(14, 30));
  auto* date = dateEdit(&dialog);
  auto* time = timeEdit(&dialog);
  auto* lunar = dialog.findChild<QLabel*>(QStringLiteral("lunarDate"));
  auto* problem = dialog.findChild<QLabel*>(QStringLiteral("problem"));
  QVERIFY(date && time && lunar && problem);
  QCOMPARE(date->minimumDate(), QDate(1900, 1, 31));
  QCOMPARE(date->maximumDate(), QDate(2100, 12, 31));
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));

  // As the user edits, the result follows; OK is offered only for an
  // accepted date, and the explanation shows only for a refused one.
  auto expect = [&](const char* text, bool accepted) {
    QCOMPARE(lunar->text(), QString::fromUtf8(text));
    QCOMPARE(okButton(&dialog)->isEnabled(), accepted);
    QCOMPARE(problem->isVisible(), !accepted);
  };
  expect("農曆 2001 年 閏 4 月 17 日 14 時 30 分", true);
  date->setDate(QDate(1912, 1, 1));
  expect("農曆 1911 年 11 月 13 日 14 時 30 分", false);
  QVERIFY(problem->text().contains(QStringLiteral("1911")));
  // The explanation makes room for itself: nothing is squashed or covered.
  QApplication::processEvents();
  for (QWidget* field : std::initializer_list<QWidget*>{date, time, lunar, problem}) {
    QVERIFY2(field->height() >= field->minimumSizeHint().height() &&
                 (!field->hasHeightForWidth() ||
                  field->height() >= field->heightForWidth(field->width())),
             qPrintable(field->objectName()));
  }
  time->setTime(QTime(23, 5));
  date->setDate(QDate(1984, 2, 2));
  expect("農曆 1984 年 1 月 1 日 23 時 5 分", true);

  date->setDate(QDate(1800, 1, 1));  // clamped to the first day the calendar knows
  QCOMPARE(date->date(), QDate(1900, 1, 31));
  QVERIFY(!okButton(&dialog)->isEnabled());
}

void TestGregorianDialog::okSetsTheSelectors() {
  openWindow();
  QDateTime opened;
  auto answer = [&opened](QDate date, QTime time, bool ok) {
    answerModal<GregorianDialog>([=, &opened](GregorianDialog* dialog) {
      opened = QDateTime(dateEdit(dialog)->date(), timeEdit(dialog)->time());
      if (date.isValid()) dateEdit(dialog)->setDate(date);
      if (time.isValid()) timeEdit(dialog)->setTime(time);
      ok ? okButton(dialog)->click() : dialog->reject();
    });
  };
  answer(QDate(2001, 6, 8), QTime(23, 5), true);
  child<QComboBox>("cboS")->setCurrentText(QStringLiteral("42"));
  child<QPushButton>("cmdSolar")->click();  // returns once the dialog is answered
  // The dialog opened on the Gregorian date of the start-up selection.
  QCOMPARE(opened, QDateTime(QDate(2000, 2, 5), QTime(0, 0)));
  QCOMPARE(selectorTexts(), QStringLiteral("2001 閏 4 17 23 5 42"));  // seconds untouched

  // The chart button casts from what the dialog set.
  child<QPushButton>("cmdStart")->click();
  QCOMPARE(window_->chartState().BirthYear, 2001);
  QVERIFY(QFileInfo::exists(program_->filePath(QLatin1String("T010190.htm"))));

  // Opened again, it starts from that selection.
  answer(QDate(), QTime(), false);
  child<QPushButton>("cmdSolar")->click();
  QCOMPARE(opened, QDateTime(QDate(2001, 6, 8), QTime(23, 5)));
}

void TestGregorianDialog::cancelAndRefusedDatesChangeNothing() {
  openWindow();
  const QString before = selectorTexts();
  answerModal<GregorianDialog>([](GregorianDialog* dialog) {
    dateEdit(dialog)->setDate(QDate(1984, 2, 2));
    dialog->reject();
  });
  child<QPushButton>("cmdSolar")->click();
  QCOMPARE(selectorTexts(), before);

  // A refused date: OK does nothing, and the dialog stays open until it is
  // cancelled.
  bool stillOpen = false;
  answerModal<GregorianDialog>([&stillOpen](GregorianDialog* dialog) {
    dateEdit(dialog)->setDate(QDate(1912, 1, 1));
    okButton(dialog)->click();
    stillOpen = dialog->isVisible() && dialog->result() == QDialog::Rejected;
    dialog->reject();
  });
  child<QPushButton>("cmdSolar")->click();
  QVERIFY(stillOpen);
  QCOMPARE(selectorTexts(), before);
}

void TestGregorianDialog::shortcutOpensTheDialog() {
  openWindow();
  auto* button = child<QPushButton>("cmdSolar");
  QVERIFY2(button->toolTip().contains(QStringLiteral("Ctrl+G")), qPrintable(button->toolTip()));
  expectKeyOpens<GregorianDialog>("cboY", Qt::CTRL | Qt::Key_G);
}

// The controls added to the designed window: 國曆 in frame01, the
// running-period controls in Frame02. Each shows where it overlaps nothing,
// and hides where the layout leaves it no room.
void TestGregorianDialog::addedControlsSitInFreeSpace() {
  openWindow();
  auto* button = child<QPushButton>("cmdSolar");
  QCOMPARE(button->parentWidget()->objectName(), QStringLiteral("frame01"));
  QCOMPARE(button->text(), QStringLiteral("國曆"));
  QCOMPARE(button->geometry(), QRect(600, 48, 40, 21));  // on the date row, after the chart button
  // The controls beside it keep their places (the window's start-up test
  // has the chart button's and the last link picture's).
  QCOMPARE(child<QWidget>("Command1")->geometry(), QRect(504, 16, 93, 21));
  QCOMPARE(child<QWidget>("targetDate")->geometry(), QRect(600, 3, 94, 21));
  // Below it, 運限 between the steps: a year and a month back, a month and a year on.
  QCOMPARE(child<QWidget>("cmdYearBack")->geometry(), QRect(600, 26, 15, 21));
  QCOMPARE(child<QWidget>("cmdMonthBack")->geometry(), QRect(616, 26, 15, 21));
  QCOMPARE(child<QWidget>("cmdPeriods")->geometry(), QRect(632, 26, 30, 21));
  QCOMPARE(child<QWidget>("cmdMonthOn")->geometry(), QRect(663, 26, 15, 21));
  QCOMPARE(child<QWidget>("cmdYearOn")->geometry(), QRect(679, 26, 15, 21));

  expectInFreeSpace({{"cmdSolar", solarButtonFits, 721},
                     {"targetDate", periodControlsFit, 724},
                     {"cmdPeriods", periodControlsFit, 724},
                     {"cmdYearBack", periodControlsFit, 724},
                     {"cmdYearOn", periodControlsFit, 724},
                     {"cmdMonthBack", periodControlsFit, 724},
                     {"cmdMonthOn", periodControlsFit, 724}});
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
