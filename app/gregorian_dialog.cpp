#include "app/gregorian_dialog.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTimeEdit>
#include <QTimeZone>
#include <QVBoxLayout>

#include "app/artwork.h"
#include "app/control_style.h"
#include "app/date_field.h"
#include "birth/birth_time_text.h"
#include "birth/gregorian_birth.h"
#include "calendar/lunar.h"
#include "places/places.h"

namespace ziwei::desktop {

namespace {

QDate toQDate(const calendar::GregorianDate& d) { return {d.year, d.month, d.day}; }

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString clockText(const ClockTime& t) { return QString::fromStdString(formatClock(t)); }

QString offsetText(int seconds) { return QString::fromStdString(formatOffset(seconds)); }

QString rangeProblem() {
  return QStringLiteral("國曆日期須在 %1 至 %2 之間")
      .arg(firstSolarDate().toString(Qt::ISODate), lastSolarDate().toString(Qt::ISODate));
}

constexpr int kPlaceRole = Qt::UserRole + 1;  // index into places::allPlaces()
constexpr int kPlaceNameRole = Qt::UserRole + 2;
constexpr std::size_t kPlaceCompletions = 15;

// The shortest name that finds `place` again: its Chinese name when that
// names it alone, else its qualified Latin name.
QString nameOf(const places::Place& place) {
  if (!place.traditional.empty()) {
    try {
      if (&places::findPlace(place.traditional) == &place) return fromUtf8(place.traditional);
    } catch (const places::PlaceError&) {
    }
  }
  return QString::fromStdString(places::qualifiedName(place));
}

}  // namespace

QDate firstSolarDate() { return toQDate(calendar::kFirstDate); }
QDate lastSolarDate() { return toQDate(calendar::kLastDate); }

SolarConversion convertSolarBirth(const RecordedBirth& record) {
  SolarConversion result;
  result.solar = record.solar.value_or(calendar::GregorianDate{});
  using Outcome = GregorianConversion::Outcome;
  const GregorianConversion converted = convertGregorianBirth(record, kSelectorYears);
  switch (converted.outcome) {
    case Outcome::NeedsReading:
      result.readings = converted.readings;
      result.problem = QStringLiteral("請在上面選擇這個時刻的讀法");
      return result;
    case Outcome::Refused:
      result.problem = QString::fromStdString(converted.refusal);
      return result;
    case Outcome::OutsideCalendar:
      result.problem = rangeProblem();
      return result;
    case Outcome::Taken:
    case Outcome::OtherYear:
      break;
  }
  const LunarBirth& input = converted.resolved->birth;
  const BirthTimeSteps& steps = converted.resolved->steps;
  result.corrected = !steps.zone.empty() || steps.longitude.has_value();
  const ChineseBirthTime text = chineseBirthTime(*converted.resolved);
  if (result.corrected) result.correctedText = QString::fromStdString(text.corrected);
  result.hourText = QString::fromStdString(text.hour);
  result.moved = QString::fromStdString(text.moved);
  result.lunarText = QString::fromStdString(text.lunar);
  if (converted.outcome == Outcome::OtherYear) {
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

  date_ = new DateField(QDate(), this);
  date_->setObjectName(QStringLiteral("solarDate"));
  date_->setDateRange(firstSolarDate(), lastSolarDate());
  date_->setCalendarPopup(true);

  time_ = new QTimeEdit(this);
  time_->setObjectName(QStringLiteral("solarTime"));
  time_->setDisplayFormat(QStringLiteral("HH:mm"));

  // The zone: China Standard Time as the clock stands, or a zone of the
  // system's database, typed with completion or picked from the list.
  zone_ = new QComboBox(this);
  zone_->setObjectName(QStringLiteral("zone"));
  zone_->setEditable(true);
  zone_->setInsertPolicy(QComboBox::NoInsert);
  zone_->addItem(QStringLiteral("中國標準時間 UTC+8 (不換算)"), QString());
  for (const char* id : kFirstZones) zone_->addItem(QLatin1String(id), QLatin1String(id));
  for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) {
    const QString name = QString::fromLatin1(id);
    if (id.contains('/') && zone_->findData(name) < 0) zone_->addItem(name, name);
  }
  zone_->setToolTip(QStringLiteral("時區名稱,或城市名稱 (例如 香港、Asia/Hong_Kong)"));
  zone_->completer()->setFilterMode(Qt::MatchContains);
  zone_->completer()->setCompletionMode(QCompleter::PopupCompletion);
  zone_->completer()->setCaseSensitivity(Qt::CaseInsensitive);

  placeName_ = new QLineEdit(this);
  placeName_->setObjectName(QStringLiteral("place"));
  placeName_->setPlaceholderText(QStringLiteral("城市名稱,中文或英文,例如 台北、Urumqi"));
  placeList_ = new QStandardItemModel(this);
  auto* placeCompleter = new QCompleter(placeList_, this);
  placeCompleter->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  placeCompleter->setCompletionRole(kPlaceNameRole);
  placeName_->setCompleter(placeCompleter);
  // Wide enough for a place's description with its coordinates and zone.
  const QFontMetrics popupText = placeCompleter->popup()->fontMetrics();
  placeCompleter->popup()->setMinimumWidth(
      popupText.horizontalAdvance(QStringLiteral(
          "Urumqi 烏魯木齊 乌鲁木齐 (Xinjiang Uygur, China; 43.80°N 87.58°E; Asia/Shanghai)")) +
      6 * popupText.averageCharWidth());
  placeInfo_ = new QLabel(this);
  placeInfo_->setObjectName(QStringLiteral("placeInfo"));
  placeInfo_->setTextFormat(Qt::PlainText);

  trueSolar_ = new QCheckBox(QStringLiteral("依經度換算"), this);
  trueSolar_->setObjectName(QStringLiteral("trueSolar"));
  longitude_ = new QDoubleSpinBox(this);
  longitude_->setObjectName(QStringLiteral("longitude"));
  longitude_->setRange(-180.0, 180.0);
  longitude_->setDecimals(2);
  longitude_->setValue(120.0);
  longitude_->setSuffix(QStringLiteral("°"));
  longitude_->setToolTip(QStringLiteral("經度,東經為正,西經為負"));
  longitude_->setEnabled(false);
  auto* solarRow = new QHBoxLayout;
  solarRow->addWidget(trueSolar_);
  solarRow->addWidget(new QLabel(QStringLiteral("經度 (東經為正)"), this));
  solarRow->addWidget(longitude_);
  solarRow->addStretch();

  auto* sameDay = new QRadioButton(QStringLiteral("算當天"), this);
  sameDay->setObjectName(QStringLiteral("lateZiSameDay"));
  auto* nextDay = new QRadioButton(QStringLiteral("算次日 (早子、晚子分日)"), this);
  nextDay->setObjectName(QStringLiteral("lateZiNextDay"));
  sameDay->setChecked(true);
  lateZi_ = new QButtonGroup(this);
  lateZi_->addButton(sameDay, static_cast<int>(LateZi::SameDay));
  lateZi_->addButton(nextDay, static_cast<int>(LateZi::NextDay));
  auto* lateZiRow = new QHBoxLayout;
  lateZiRow->addWidget(sameDay);
  lateZiRow->addWidget(nextDay);
  lateZiRow->addStretch();

  // A clock time that the zone repeated or skipped: both readings to pick.
  dstChoice_ = new QGroupBox(this);
  dstChoice_->setObjectName(QStringLiteral("dstChoice"));
  onDaylight_ = new QRadioButton(dstChoice_);
  onDaylight_->setObjectName(QStringLiteral("onDaylight"));
  onStandard_ = new QRadioButton(dstChoice_);
  onStandard_->setObjectName(QStringLiteral("onStandard"));
  dstReading_ = new QButtonGroup(this);
  dstReading_->setExclusive(false);  // none checked until the user picks
  dstReading_->addButton(onDaylight_, 1);
  dstReading_->addButton(onStandard_, 0);
  auto* dstLayout = new QVBoxLayout(dstChoice_);
  dstLayout->addWidget(onDaylight_);
  dstLayout->addWidget(onStandard_);

  corrected_ = new QLabel(this);
  corrected_->setObjectName(QStringLiteral("corrected"));
  corrected_->setTextFormat(Qt::PlainText);
  lunar_ = new QLabel(this);
  lunar_->setObjectName(QStringLiteral("lunarDate"));
  lunar_->setTextFormat(Qt::PlainText);
  lunar_->setMinimumWidth(lunar_->fontMetrics().horizontalAdvance(
      QStringLiteral("農曆 2000 年 閏 12 月 30 日 23 時 59 分")));
  hour_ = new QLabel(this);
  hour_->setObjectName(QStringLiteral("hourBranch"));
  hour_->setTextFormat(Qt::PlainText);
  hour_->setWordWrap(true);

  auto* note = new QLabel(QStringLiteral("未選時區時,國曆日期以 UTC+8 時區為準,時間不換算;"
                                         "晚子時 (23 時) 預設仍算當天的子時,日期不進到下一天。"),
                          this);
  note->setWordWrap(true);

  problem_ = problemLabel(this);
  QPalette blue = hour_->palette();
  blue.setColor(QPalette::WindowText, QColor(0x00, 0x30, 0xA0));
  corrected_->setPalette(blue);
  hour_->setPalette(blue);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setText(QStringLiteral("帶入農曆生日"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));

  form_ = new QFormLayout;
  QFormLayout* form = form_;
  form->addRow(QStringLiteral("國曆生日"), date_);
  form->addRow(QStringLiteral("出生時間"), time_);
  form->addRow(QStringLiteral("時區"), zone_);
  form->addRow(QStringLiteral("出生地"), placeName_);
  form->addRow(QString(), placeInfo_);
  form->addRow(QStringLiteral("真太陽時"), solarRow);
  form->addRow(QStringLiteral("晚子時"), lateZiRow);
  form->addRow(dstChoice_);
  form->addRow(QStringLiteral("校正"), corrected_);
  form->addRow(QStringLiteral("換算結果"), lunar_);
  form->addRow(QStringLiteral("時辰"), hour_);
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
  connect(zone_, &QComboBox::currentTextChanged, this, &GregorianDialog::convert);
  connect(placeName_, &QLineEdit::textEdited, this, &GregorianDialog::findPlaces);
  connect(placeName_, &QLineEdit::editingFinished, this, &GregorianDialog::placeTyped);
  connect(placeCompleter, qOverload<const QModelIndex&>(&QCompleter::activated), this,
          [this](const QModelIndex& index) {
            placeChosen(&places::allPlaces()[index.data(kPlaceRole).value<std::size_t>()]);
          });
  connect(trueSolar_, &QCheckBox::toggled, longitude_, &QWidget::setEnabled);
  connect(trueSolar_, &QCheckBox::toggled, this, &GregorianDialog::convert);
  connect(longitude_, &QDoubleSpinBox::valueChanged, this, &GregorianDialog::convert);
  connect(lateZi_, &QButtonGroup::idToggled, this, &GregorianDialog::convert);
  connect(dstReading_, &QButtonGroup::buttonClicked, this, [this](QAbstractButton* picked) {
    // One reading at a time.
    for (QAbstractButton* b : dstReading_->buttons()) b->setChecked(b == picked);
    convert();
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form_->setRowVisible(placeInfo_, false);
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

void GregorianDialog::findPlaces(const QString& typed) {
  // A typed name names no place until it is picked or finished.
  place_ = nullptr;
  placeProblem_.clear();
  form_->setRowVisible(placeInfo_, false);
  placeList_->clear();
  const std::span<const places::Place> all = places::allPlaces();
  for (const places::Place* p :
       places::searchPlaces(typed.trimmed().toStdString(), kPlaceCompletions)) {
    auto* item = new QStandardItem(QString::fromStdString(places::describePlace(*p)));
    item->setData(QVariant::fromValue(static_cast<std::size_t>(p - all.data())), kPlaceRole);
    item->setData(nameOf(*p), kPlaceNameRole);
    placeList_->appendRow(item);
  }
  // The list is made here, after the line edit has asked its completer.
  if (placeList_->rowCount() > 0) {
    placeName_->completer()->complete();
  } else {
    placeName_->completer()->popup()->hide();
  }
  convert();
}

void GregorianDialog::placeTyped() {
  const QString typed = placeName_->text().trimmed();
  if (place_ != nullptr || typed.isEmpty()) return;
  try {
    placeChosen(&places::findPlace(typed.toStdString()));
  } catch (const places::PlaceError& e) {
    QStringList candidates;
    for (const places::Place* p : e.candidates()) {
      if (candidates.size() == 3) break;
      candidates << QString::fromStdString(places::qualifiedName(*p));
    }
    placeProblem_ = (e.ambiguous() ? QStringLiteral("出生地「%1」不只一處,請從清單中選擇: %2")
                                   : QStringLiteral("找不到出生地「%1」%2"))
                        .arg(typed, candidates.isEmpty()
                                        ? QString()
                                        : (e.ambiguous() ? QString() : QStringLiteral(",相近: ")) +
                                              candidates.join(QStringLiteral("、")));
    convert();
  }
}

void GregorianDialog::showPlace(const places::Place* place) {
  place_ = place;
  placeProblem_.clear();
  placeInfo_->setText(place ? QString::fromStdString(places::describePlace(*place)) : QString());
  form_->setRowVisible(placeInfo_, place != nullptr);
}

void GregorianDialog::placeChosen(const places::Place* place) {
  showPlace(place);
  {
    // The place gives the zone and the longitude; both stay the user's to change.
    const QSignalBlocker zoneSignals(zone_);
    const QSignalBlocker longitudeSignals(longitude_);
    const int zone = zone_->findData(fromUtf8(places::zoneOf(*place)));
    if (zone >= 0) zone_->setCurrentIndex(zone);
    longitude_->setValue(place->longitude);
  }
  convert();
}

std::optional<std::string> GregorianDialog::chosenZone() const {
  const QString typed = zone_->currentText().trimmed();
  const int index = zone_->findText(typed, Qt::MatchFixedString);
  if (index >= 0) return zone_->itemData(index).toString().toStdString();
  // A city of the gazetteer names its zone, in Chinese or in English.
  try {
    return std::string(places::zoneOf(places::findPlace(typed.toStdString())));
  } catch (const places::PlaceError&) {
    return std::nullopt;
  }
}

// A field that loses the focus while the dialog is taken down (closing hides
// it, which moves the focus) must not reach a dialog that is no longer one.
GregorianDialog::~GregorianDialog() {
  for (QObject* child : findChildren<QObject*>())
    QObject::disconnect(child, nullptr, this, nullptr);
}

void GregorianDialog::setEntry(const RecordedBirth& entry) {
  {
    const QSignalBlocker dateSignals(date_);
    const QSignalBlocker timeSignals(time_);
    const QSignalBlocker zoneSignals(zone_);
    const QSignalBlocker solarSignals(trueSolar_);
    const QSignalBlocker longitudeSignals(longitude_);
    const QSignalBlocker lateZiSignals(lateZi_);
    if (entry.solar) date_->setDate(toQDate(*entry.solar));
    time_->setTime(QTime(entry.birth.hour, entry.birth.minute));
    const int zone = zone_->findData(QString::fromStdString(entry.zone));
    zone_->setCurrentIndex(std::max(zone, 0));
    placeName_->setText(entry.place ? nameOf(*entry.place) : QString());
    showPlace(entry.place);
    trueSolar_->setChecked(entry.longitude.has_value());
    longitude_->setEnabled(entry.longitude.has_value());
    if (entry.longitude) longitude_->setValue(*entry.longitude);
    lateZi_->button(static_cast<int>(entry.options.lateZi))->setChecked(true);
    onDaylight_->setChecked(entry.daylight == true);
    onStandard_->setChecked(entry.daylight == false);
  }
  convert();
}

void GregorianDialog::setLateZi(LateZi rule) {
  {
    const QSignalBlocker lateZiSignals(lateZi_);
    lateZi_->button(static_cast<int>(rule))->setChecked(true);
  }
  convert();
}

void GregorianDialog::convert() {
  const QDate date = date_->date();
  RecordedBirth record;
  record.solar = calendar::GregorianDate{date.year(), date.month(), date.day()};
  record.birth.hour = time_->time().hour();
  record.birth.minute = time_->time().minute();
  record.place = place_;
  record.options.lateZi = static_cast<LateZi>(lateZi_->checkedId());
  if (trueSolar_->isChecked()) {
    // The field shows two decimals; the place's own longitude is the one
    // meant while the field still shows it.
    const double shown = longitude_->value();
    const bool placeShown = place_ != nullptr && std::abs(shown - place_->longitude) < 0.005;
    record.longitude = placeShown ? place_->longitude : shown;
  }
  const std::optional<std::string> zone = chosenZone();
  if (zone) {
    record.zone = *zone;
    conversion_ = convertSolarBirth(record);
    if (conversion_.readings) {
      const LocalTimeError& e = *conversion_.readings;
      const bool repeated = e.kind() == LocalTime::Repeated;
      dstChoice_->setTitle(QStringLiteral("%1 在 %2 %3,請選擇讀法:")
                               .arg(date_->date().toString(Qt::ISODate) + QLatin1Char(' ') +
                                        time_->time().toString(QStringLiteral("HH:mm")),
                                    QString::fromStdString(record.zone),
                                    repeated ? QStringLiteral("出現兩次 (夏令時間結束,時鐘撥回)")
                                             : QStringLiteral("不存在 (夏令時間開始,時鐘撥快)")));
      const auto reading = [](const QString& name, const LocalTimeError::Reading& r) {
        return QStringLiteral("%1 (%2),標準時間 %3")
            .arg(name, offsetText(r.utcOffset), clockText(r.standard));
      };
      onDaylight_->setText(reading(QStringLiteral("夏令時間"), e.daylightReading()));
      onStandard_->setText(reading(QStringLiteral("標準時間"), e.standardReading()));
      if (QAbstractButton* picked = dstReading_->checkedButton()) {
        record.daylight = picked == onDaylight_;
        conversion_ = convertSolarBirth(record);
      }
    } else {
      for (QAbstractButton* b : dstReading_->buttons()) b->setChecked(false);
    }
    form_->setRowVisible(dstChoice_,
                         record.daylight.has_value() || conversion_.readings.has_value());
  } else {
    conversion_ = SolarConversion{};
    conversion_.problem = QStringLiteral("未知的時區「%1」,請從清單中選擇 (例如 Asia/Taipei)")
                              .arg(zone_->currentText());
    form_->setRowVisible(dstChoice_, false);
  }
  entry_ = record;
  // A place typed must name one place before the dialog applies.
  const QString placeTyped = placeName_->text().trimmed();
  if (place_ == nullptr && !placeTyped.isEmpty()) {
    conversion_.birth.reset();
    conversion_.problem =
        placeProblem_.isEmpty()
            ? QStringLiteral("出生地「%1」尚未確定,請從清單中選擇,或清除出生地").arg(placeTyped)
            : placeProblem_;
  }
  corrected_->setText(conversion_.correctedText);
  form_->setRowVisible(corrected_, !conversion_.correctedText.isEmpty());
  lunar_->setText(conversion_.lunarText.isEmpty() ? QStringLiteral("—") : conversion_.lunarText);
  hour_->setText(conversion_.hourText.isEmpty() ? QStringLiteral("—")
                 : conversion_.moved.isEmpty()  ? conversion_.hourText
                                                : conversion_.hourText + QStringLiteral(" (") +
                                                     conversion_.moved + QLatin1Char(')'));
  problem_->setText(conversion_.problem);
  problem_->setVisible(!conversion_.problem.isEmpty());
  ok_->setEnabled(conversion_.birth.has_value());
}

}  // namespace ziwei::desktop
