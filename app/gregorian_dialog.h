#pragma once
// The "國曆" dialog: a Gregorian (國曆) birthday and clock time, converted
// offline to the lunar date that the window's selectors take. By default the
// clock is China Standard Time and is taken as it stands; a time zone (with
// its daylight saving history), a place, true solar time and the late 子
// rule are choices of the user, and the dialog shows what each one did.

#include <array>
#include <optional>
#include <string>

#include <QDate>
#include <QDialog>
#include <QString>
#include <QTime>

#include "birth/birth_time.h"
#include "birth/lunar_birth.h"
#include "calendar/gregorian.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStandardItemModel;
class QTimeEdit;

namespace ziwei::desktop {

class DateField;

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
  // The chart's time after the corrections asked for, e.g. "真太陽時
  // 1979-07-01 09:32:25 (...)"; empty without corrections.
  QString correctedText;
  // The 時辰 cast, e.g. "巳時", and what the corrections moved (the hour,
  // the date); `moved` is empty when they moved neither.
  QString hourText;
  QString moved;
  // A zone or a longitude applied: the chart's time has its own seconds.
  bool corrected = false;
  // The clock time was repeated or skipped by the zone and no reading was
  // chosen: the two readings to offer.
  std::optional<LocalTimeError> readings;
  // Why the selectors cannot take the date; empty when they can.
  QString problem;
};

// Converts a Gregorian birth as the dialog records it (`record.solar` and
// the hour and minute of `record.birth`; by default the clock in China
// Standard Time without corrections).
SolarConversion convertSolarBirth(const RecordedBirth& record);
// Converts a civil date in China Standard Time and a clock time. Hour 23
// stays on its civil date: it is the 子 hour of that day.
inline SolarConversion convertSolarBirth(const QDate& date, const QTime& time) {
  RecordedBirth record;
  record.solar = calendar::GregorianDate{date.year(), date.month(), date.day()};
  record.birth.hour = time.hour();
  record.birth.minute = time.minute();
  return convertSolarBirth(record);
}

// The first and last Gregorian dates the dialog accepts.
QDate firstSolarDate();  // 1900-01-31
QDate lastSolarDate();   // 2100-12-31

// The zones offered first, before the rest of the system's database in its
// order: Taiwan, Hong Kong, Macau, mainland China, Singapore, Malaysia.
inline constexpr std::array<const char*, 8> kFirstZones{
    "Asia/Taipei", "Asia/Hong_Kong", "Asia/Macau",        "Asia/Shanghai",
    "Asia/Urumqi", "Asia/Singapore", "Asia/Kuala_Lumpur", "Asia/Kuching"};

// Modal dialog: a date field, a time field, the zone, the place, the true
// solar time switch with its longitude, the late 子 rule, the result (updated
// while the user edits) and OK / Cancel. OK is enabled only while the date
// converts to a lunar year the selectors hold and a place typed names one
// place; otherwise the dialog says why.
class GregorianDialog : public QDialog {
  Q_OBJECT

 public:
  GregorianDialog(const QDate& date, const QTime& time, QWidget* parent = nullptr);
  ~GregorianDialog() override;

  void setBirth(const QDate& date, const QTime& time);
  // The birth as entered (not as corrected), to open the dialog on again.
  const RecordedBirth& entry() const { return entry_; }
  void setEntry(const RecordedBirth& entry);
  // Chooses the 晚子時 rule (and converts again).
  void setLateZi(LateZi rule);
  const SolarConversion& conversion() const { return conversion_; }

 private:
  void convert();
  void findPlaces(const QString& typed);
  void placeChosen(const places::Place* place);
  void placeTyped();
  void showPlace(const places::Place* place);
  std::optional<std::string> chosenZone() const;

  QFormLayout* form_ = nullptr;
  DateField* date_ = nullptr;
  QTimeEdit* time_ = nullptr;
  QComboBox* zone_ = nullptr;
  QLineEdit* placeName_ = nullptr;
  QStandardItemModel* placeList_ = nullptr;
  QLabel* placeInfo_ = nullptr;
  QCheckBox* trueSolar_ = nullptr;
  QDoubleSpinBox* longitude_ = nullptr;
  QButtonGroup* lateZi_ = nullptr;
  QGroupBox* dstChoice_ = nullptr;
  QButtonGroup* dstReading_ = nullptr;
  QRadioButton* onDaylight_ = nullptr;
  QRadioButton* onStandard_ = nullptr;
  QLabel* corrected_ = nullptr;
  QLabel* lunar_ = nullptr;
  QLabel* hour_ = nullptr;
  QLabel* problem_ = nullptr;
  QPushButton* ok_ = nullptr;
  const places::Place* place_ = nullptr;
  QString placeProblem_;  // why the place typed names no place, once finished
  RecordedBirth entry_;
  SolarConversion conversion_;
};

}  // namespace ziwei::desktop
