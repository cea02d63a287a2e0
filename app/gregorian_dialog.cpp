#include "app/gregorian_dialog.h"

#include <string>

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "app/artwork.h"
#include "birth/solar_birth.h"
#include "calendar/calendar_error.h"
#include "calendar/lunar.h"

namespace ziwei::desktop {

namespace {

QDate toQDate(const calendar::GregorianDate& d) { return {d.year, d.month, d.day}; }

}  // namespace

QDate firstSolarDate() { return toQDate(calendar::kFirstDate); }
QDate lastSolarDate() { return toQDate(calendar::kLastDate); }

SolarConversion convertSolarBirth(const QDate& date, const QTime& time) {
  SolarConversion result;
  result.solar = {date.year(), date.month(), date.day()};
  LunarBirth input;
  input.hour = time.hour();
  input.minute = time.minute();
  // Every lunar year of the calendar converts; the selectors' years are
  // checked below, so that the dialog can name the lunar year it got.
  constexpr YearRange kCalendarYears{calendar::kFirstLunarYear, calendar::kLastLunarYear};
  try {
    input = lunarBirthOn(result.solar, input, kCalendarYears);
  } catch (const calendar::CalendarError&) {
    result.problem =
        QStringLiteral("國曆日期須在 %1 至 %2 之間")
            .arg(firstSolarDate().toString(Qt::ISODate), lastSolarDate().toString(Qt::ISODate));
    return result;
  }
  result.lunarText = QStringLiteral("農曆 %1 年 %2%3 月 %4 日 %5 時 %6 分")
                         .arg(input.year)
                         .arg(input.leap ? QStringLiteral("閏 ") : QString())
                         .arg(input.month)
                         .arg(input.day)
                         .arg(input.hour)
                         .arg(input.minute);
  if (input.year < kSelectorYears.first || input.year > kSelectorYears.last) {
    result.problem = QStringLiteral("農曆 %1 年不在年份選單 (%2 至 %3 年) 之內,無法帶入。")
                         .arg(input.year)
                         .arg(kSelectorYears.first)
                         .arg(kSelectorYears.last);
    return result;
  }
  result.birth = input;
  return result;
}

GregorianDialog::GregorianDialog(const QDate& date, const QTime& time, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("gregorianDialog"));
  setWindowTitle(QStringLiteral("國曆生日換算"));
  setModal(true);
  QFont chinese(chineseFontFamily());
  chinese.setPointSize(10);
  setFont(chinese);

  date_ = new QDateEdit(this);
  date_->setObjectName(QStringLiteral("solarDate"));
  date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  date_->setDateRange(firstSolarDate(), lastSolarDate());
  date_->setCalendarPopup(true);

  time_ = new QTimeEdit(this);
  time_->setObjectName(QStringLiteral("solarTime"));
  time_->setDisplayFormat(QStringLiteral("HH:mm"));

  lunar_ = new QLabel(this);
  lunar_->setObjectName(QStringLiteral("lunarDate"));
  lunar_->setTextFormat(Qt::PlainText);
  lunar_->setMinimumWidth(lunar_->fontMetrics().horizontalAdvance(
      QStringLiteral("農曆 2000 年 閏 12 月 30 日 23 時 59 分")));

  auto* note = new QLabel(QStringLiteral("國曆日期以 UTC+8 時區為準;23 時出生仍算當天的子時,"
                                         "日期不進到下一天。"),
                          this);
  note->setWordWrap(true);

  problem_ = new QLabel(this);
  problem_->setObjectName(QStringLiteral("problem"));
  problem_->setTextFormat(Qt::PlainText);
  problem_->setWordWrap(true);
  QPalette red = problem_->palette();
  red.setColor(QPalette::WindowText, QColor(0xC0, 0x00, 0x00));
  problem_->setPalette(red);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setText(QStringLiteral("帶入農曆生日"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("國曆生日"), date_);
  form->addRow(QStringLiteral("出生時間"), time_);
  form->addRow(QStringLiteral("換算結果"), lunar_);
  auto* layout = new QVBoxLayout(this);
  // The dialog takes the height that its texts need, and grows when the
  // explanation shows instead of squashing the fields.
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addLayout(form);
  layout->addWidget(note);
  layout->addWidget(problem_);
  layout->addWidget(buttons);

  connect(date_, &QDateEdit::dateChanged, this, &GregorianDialog::convert);
  connect(time_, &QTimeEdit::timeChanged, this, &GregorianDialog::convert);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  setBirth(date, time);
}

void GregorianDialog::setBirth(const QDate& date, const QTime& time) {
  {
    const QSignalBlocker dateSignals(date_);
    const QSignalBlocker timeSignals(time_);
    date_->setDate(date);
    time_->setTime(time);
  }
  convert();
}

void GregorianDialog::convert() {
  conversion_ = convertSolarBirth(date_->date(), time_->time());
  lunar_->setText(conversion_.lunarText.isEmpty() ? QStringLiteral("—") : conversion_.lunarText);
  problem_->setText(conversion_.problem);
  problem_->setVisible(!conversion_.problem.isEmpty());
  ok_->setEnabled(conversion_.birth.has_value());
}

}  // namespace ziwei::desktop
