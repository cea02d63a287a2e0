#pragma once
// The "國曆" dialog: a Gregorian (國曆) birthday and clock time, converted
// offline to the lunar date that the window's selectors take.

#include <optional>

#include <QDate>
#include <QDialog>
#include <QString>
#include <QTime>

#include "birth/lunar_birth.h"
#include "calendar/gregorian.h"

class QDateEdit;
class QLabel;
class QPushButton;
class QTimeEdit;

namespace ziwei::desktop {

// What a Gregorian birthday gives for the window's selectors.
struct SolarConversion {
  // The lunar year, month, leap flag and day with the hour and minute, set
  // when the selectors hold that lunar year (1912..2010).
  std::optional<LunarBirth> birth;
  // The Gregorian date converted.
  calendar::GregorianDate solar;
  // The lunar date and time, e.g. "農曆 2001 年 閏 4 月 17 日 23 時 30 分";
  // empty when the date is outside the calendar.
  QString lunarText;
  // Why the selectors cannot take the date; empty when they can.
  QString problem;
};

// Converts a civil date in China Standard Time and a clock time. Hour 23
// stays on its civil date: it is the 子 hour of that day.
SolarConversion convertSolarBirth(const QDate& date, const QTime& time);

// The first and last Gregorian dates the dialog accepts.
QDate firstSolarDate();  // 1900-01-31
QDate lastSolarDate();   // 2100-12-31

// Modal dialog: a date field, a time field, the lunar date they convert to
// (updated while the user edits) and OK / Cancel. OK is enabled only while
// the date converts to a lunar year the selectors hold; otherwise the dialog
// says why.
class GregorianDialog : public QDialog {
  Q_OBJECT

 public:
  GregorianDialog(const QDate& date, const QTime& time, QWidget* parent = nullptr);

  void setBirth(const QDate& date, const QTime& time);
  const SolarConversion& conversion() const { return conversion_; }

 private:
  void convert();

  QDateEdit* date_ = nullptr;
  QTimeEdit* time_ = nullptr;
  QLabel* lunar_ = nullptr;
  QLabel* problem_ = nullptr;
  QPushButton* ok_ = nullptr;
  SolarConversion conversion_;
};

}  // namespace ziwei::desktop
