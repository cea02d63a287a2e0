#include "app/main_window.h"

#include <algorithm>
#include <exception>
#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QEventLoop>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QStyle>
#include <QWebEngineLoadingInfo>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "app/artwork.h"
#include "app/control_style.h"
#include "app/date_field.h"
#include "app/gregorian_dialog.h"
#include "app/local_pages.h"
#include "app/name_box.h"
#include "app/pane_page.h"
#include "app/pillars_note.h"
#include "app/rules_dialog.h"
#include "app/selection.h"
#include "app/work_dir.h"
#include "birth/birth_time.h"
#include "birth/target_moment.h"
#include "birth/target_step.h"
#include "calendar/gregorian.h"
#include "calendar/lunar.h"
#include "chart/chart.h"
#include "chart/periods/running_periods.h"
#include "output/output_file.h"
#include "page/chart_page.h"
#include "page/page_file.h"
#include "page/page_template.h"
#include "page/period_page.h"
#include "study/study_page.h"
#include "unicode/utf8.h"

namespace ziwei::desktop {

namespace {

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect toPixels(const TwipsRect& r) {
  return {twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width),
          twipsToPixels(r.height)};
}

void placeAt(QWidget* widget, const TwipsRect& r) { widget->setGeometry(toPixels(r)); }

void setTextColour(QWidget* widget, QColor colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::Text, colour);
  palette.setColor(QPalette::ButtonText, colour);
  widget->setPalette(palette);
}

void setFaceColour(QPushButton* button, QColor colour) {
  button->setStyle(controlStyle());
  QPalette palette = button->palette();
  palette.setColor(QPalette::Button, colour);
  palette.setColor(QPalette::ButtonText, Qt::black);
  button->setPalette(palette);
}

QPushButton* faceButton(QWidget* parent, const char* name, const QString& caption,
                        const TwipsRect& r, QColor face) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QLatin1String(name));
  b->setAutoDefault(true);  // Return and Enter press it, like Space
  setFaceColour(b, face);
  placeAt(b, r);
  return b;
}

const QColor kOlive(0x80, 0x80, 0x00);

// The pane hands the printer each page as an image of this resolution:
// sharp on paper, and a fraction of the time and memory of 1200 dpi. The
// preview on screen gets its pages at a lower one, in a fraction of the time.
constexpr int kPrintResolution = 300;
constexpr int kPreviewResolution = 150;
constexpr const char* kPreparingPages = "正在準備列印頁面…";

// Rectangles of the controls that the layout does not move.
constexpr TwipsRect kLabel8{180, 300, 480, 240};
constexpr TwipsRect kTxtName{720, 240, 1515, 315};
constexpr TwipsRect kOptMale{2580, 300, 675, 180};
constexpr TwipsRect kOptFemale{3240, 300, 675, 180};
constexpr TwipsRect kCmdStart{7560, 720, 1395, 315};
constexpr TwipsRect kCommand1{7560, 240, 1395, 315};
constexpr TwipsRect kCmdAboutMe{5760, 240, 1455, 315};
constexpr TwipsRect kCmdGetC{4080, 240, 1455, 315};
constexpr std::array<int, 7> kPictureLefts{120, 1380, 2640, 3900, 5160, 6420, 7680};
constexpr int kPictureTop = 180;
constexpr int kPictureWidth = 1275;
constexpr int kPictureHeight = 495;

// The date row: a caption label before the year, a unit label after each
// selector, and the selectors themselves.
struct DateLabel {
  const char* name;
  const char* caption;
  TwipsRect rect;
};
constexpr std::array<DateLabel, 7> kDateLabels{{
    {"Label1", "農曆", {300, 720, 480, 240}},
    {"Label2", "年", {1860, 720, 240, 240}},
    {"Label3", "月", {3360, 720, 240, 240}},
    {"Label4", "日", {4260, 720, 240, 240}},
    {"Label5", "時", {5280, 720, 240, 240}},
    {"Label6", "分", {6240, 720, 240, 240}},
    {"Label7", "秒", {7200, 720, 240, 240}},
}};

struct NumberList {
  int first;
  int last;
  int selected;  // index selected at start-up
};
constexpr NumberList kMonths{1, 12, 0};
constexpr NumberList kDays{1, 30, 0};
constexpr NumberList kHours{0, 23, 0};
constexpr NumberList kMinutes{0, 59, 0};
constexpr NumberList kSeconds{0, 59, 0};
constexpr int kStartYear = 2000;
constexpr int kVisibleListItems = 20;  // a drop-down list shows this many items at most

// The step buttons, in the order of kStepButtons: lunar years, lunar months.
// Each shows an arrow; its name and its key are in its tooltip.
struct StepButton {
  const char* name;
  const char* arrow;
  const char* caption;
  int years;
  int months;
  QKeyCombination key;
};
constexpr std::array<StepButton, 4> kStepButtonsShown{{
    {"cmdYearBack", "«", "上一年", -1, 0, Qt::CTRL | Qt::SHIFT | Qt::Key_PageUp},
    {"cmdYearOn", "»", "下一年", 1, 0, Qt::CTRL | Qt::SHIFT | Qt::Key_PageDown},
    {"cmdMonthBack", "‹", "上一月", 0, -1, Qt::CTRL | Qt::Key_PageUp},
    {"cmdMonthOn", "›", "下一月", 0, 1, Qt::CTRL | Qt::Key_PageDown},
}};

void fillNumbers(QComboBox* box, const NumberList& list) {
  for (int n = list.first; n <= list.last; ++n) box->addItem(QString::number(n));
  box->setCurrentIndex(list.selected);
}

}  // namespace

MainWindow::MainWindow(DesktopSettings settings, QWidget* parent)
    : QWidget(parent), settings_(std::move(settings)) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Tessaro紫微斗數"));
  setWindowIcon(QIcon(QPixmap::fromImage(drawProgramIcon(50))));
  buildControls();
  resize(twipsToPixels(kDesignClientWidth), twipsToPixels(kDesignClientHeight));

  // Start-up: version label, selectors, first navigation, the three page
  // texts, then the work directory.
  lbVer_->setText(QStringLiteral("V%1.%2.%3")
                      .arg(ZIWEI_VERSION_MAJOR)
                      .arg(ZIWEI_VERSION_MINOR)
                      .arg(ZIWEI_VERSION_PATCH));
  fillSelectors();
  navigate(settings_.homePage);
  const std::string home = settings_.homePage.toEncoded().toStdString();
  texts_.ProfilePage = buildProfilePage(home);
  texts_.OfflinePage = buildOfflinePage(home);
  texts_.PageTemplate = buildPageTemplate();
  // Another window may already be writing its pages into the settled
  // directory: this one then gets a private folder inside it.
  workDir_ = WorkDirClaim::claim(settleWorkDir(settings_.programDir));
  texts_.WorkDir = workDir_.dir();
  if (texts_.WorkDir.isEmpty()) setStatus(QStringLiteral("找不到可寫入網頁檔的資料夾"));
  placeOnScreen();
}

void MainWindow::placeOnScreen() {
  const QScreen* s = screen();
  if (s == nullptr) return;
  // In the centre; windows of the program that are already open (here, or
  // in another process that holds the work folder) push this one a title
  // bar's height down and right for each, so that it does not hide them.
  int others = 0;
  for (const QWidget* w : QApplication::topLevelWidgets()) {
    if (w != this && qobject_cast<const MainWindow*>(w) != nullptr && w->isVisible()) ++others;
  }
  others = std::max(others, workDir_.isPrivate() ? 1 : 0);
  const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const QRect free = s->availableGeometry();
  QPoint at = free.center() - rect().center() + QPoint(others * step, others * step);
  at.setX(std::clamp(at.x(), free.left(), std::max(free.left(), free.right() - width())));
  at.setY(std::clamp(at.y(), free.top(), std::max(free.top(), free.bottom() - height())));
  move(at);
}

// The focus watch ends with the window itself: focus moves while the widgets
// are taken down, when this is no longer a MainWindow.
MainWindow::~MainWindow() { QObject::disconnect(focusWatch_); }

void MainWindow::buildControls() {
  QPalette olive = palette();
  olive.setColor(QPalette::Window, kOlive);
  setPalette(olive);
  setAutoFillBackground(true);

  QFont windowFont(chineseFontFamily());
  windowFont.setPointSize(9);
  setFont(windowFont);
  const QFont labels = labelFont();
  // The selectors and the name box keep plain black on white, whatever the
  // frame around them uses.
  QPalette inputs = QApplication::palette();
  for (const QPalette::ColorRole role :
       {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
    inputs.setColor(role, Qt::black);
  }
  inputs.setColor(QPalette::Base, Qt::white);

  frame01_ = new QGroupBox(
      QStringLiteral("請輸入您的農曆生日點選[紫微斗數排盤]---如您不知道農曆生日可利用[農曆日期查"
                     "詢]直接線上換算您的農曆生日!"),
      this);
  frame01_->setObjectName(QStringLiteral("frame01"));
  frame01_->setStyle(controlStyle());
  setTextColour(frame01_, QColor(0xFF, 0xC0, 0xC0));

  auto label = [&](const char* name, const QString& text, const TwipsRect& r, QColor colour) {
    auto* l = new QLabel(text, frame01_);
    l->setObjectName(QLatin1String(name));
    l->setFont(labels);
    setTextColour(l, colour);
    placeAt(l, r);
    return l;
  };
  Label8_ = label("Label8", QStringLiteral("姓名"), kLabel8, QColor(0x00, 0xFF, 0xFF));

  txtNAME_ = new NameBox(QStringLiteral("您的姓名"), frame01_);
  txtNAME_->setObjectName(QStringLiteral("txtNAME"));
  txtNAME_->setPalette(inputs);
  placeAt(txtNAME_, kTxtName);

  optSEX0_ = new QRadioButton(QStringLiteral("男"), frame01_);
  optSEX0_->setObjectName(QStringLiteral("optSEX0"));
  setTextColour(optSEX0_, QColor(0x00, 0xFF, 0xFF));
  optSEX0_->setChecked(true);
  placeAt(optSEX0_, kOptMale);
  optSEX1_ = new QRadioButton(QStringLiteral("女"), frame01_);
  optSEX1_->setObjectName(QStringLiteral("optSEX1"));
  setTextColour(optSEX1_, QColor(0xFF, 0x80, 0x80));
  placeAt(optSEX1_, kOptFemale);

  for (const DateLabel& d : kDateLabels) {
    label(d.name, QString::fromUtf8(d.caption), d.rect, QColor(0xFF, 0xC0, 0x80));
  }
  auto selector = [&](const char* name, const TwipsRect& r) {
    auto* box = new QComboBox(frame01_);  // not editable: a drop-down list
    box->setObjectName(QLatin1String(name));
    box->setStyle(controlStyle());
    box->setMaxVisibleItems(kVisibleListItems);
    box->setPalette(inputs);
    placeAt(box, r);
    return box;
  };
  cboY_ = selector("cboY", {900, 720, 975, 300});
  cboCDM_ = selector("cboCDM", {2220, 720, 555, 300});
  cboM_ = selector("cboM", {2760, 720, 615, 300});
  cboD_ = selector("cboD", {3660, 720, 615, 300});
  cboH_ = selector("cboH", {4680, 720, 615, 300});
  cboMU_ = selector("cboMU", {5640, 720, 615, 300});
  cboS_ = selector("cboS", {6600, 720, 615, 300});

  auto button = [&](const char* name, const QString& caption, const TwipsRect& r, QColor face) {
    return faceButton(frame01_, name, caption, r, face);
  };
  cmdStart_ =
      button("cmdStart", QStringLiteral("紫微斗數排盤"), kCmdStart, QColor(0xFF, 0xC0, 0xFF));
  Command1_ = button("Command1", QStringLiteral("預覽列印"), kCommand1, QColor(0xFF, 0xFF, 0xC0));
  cmdAboutMe_ =
      button("cmdAboutMe", fromUtf8(kProfileButtonCaption), kCmdAboutMe, QColor(0xC0, 0xFF, 0xFF));
  cmdGetC_ = button("cmdGetC", QStringLiteral("農曆日期查詢"), kCmdGetC, QColor(0xFF, 0xE0, 0xC0));
  cmdExit_ =
      button("cmdExit", QStringLiteral("關閉\n程式"), controls_.cmdExit, QColor(0xFF, 0x80, 0x80));

  const QKeySequence solarKey(Qt::CTRL | Qt::Key_G);
  cmdSolar_ = button("cmdSolar", QStringLiteral("國曆"), kSolarButton, QColor(0xFF, 0xE0, 0xC0));
  cmdSolar_->setToolTip(QStringLiteral("以國曆(西元)生日帶入農曆生日 (%1)")
                            .arg(solarKey.toString(QKeySequence::NativeText)));
  auto* solarShortcut = new QShortcut(solarKey, this);
  connect(solarShortcut, &QShortcut::activated, this, &MainWindow::askForGregorianBirthday);

  // The chart rules: a button above 國曆, Ctrl+, (the desktop's key for a
  // program's settings) and the window's context menu.
  const QKeySequence rulesKey(Qt::CTRL | Qt::Key_Comma);
  cmdRules_ = button("cmdRules", QStringLiteral("設定"), kRulesButton, QColor(0xE0, 0xE0, 0xFF));
  cmdRules_->setToolTip(
      QStringLiteral("排盤規則與四化表 (%1)").arg(rulesKey.toString(QKeySequence::NativeText)));
  auto* rulesAction = new QAction(QStringLiteral("設定(&S)…"), this);
  rulesAction->setObjectName(QStringLiteral("rulesAction"));
  rulesAction->setShortcut(rulesKey);
  rulesAction->setShortcutContext(Qt::WindowShortcut);
  addAction(rulesAction);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(rulesAction, &QAction::triggered, this, &MainWindow::askForRules);

  // The study page: a button under the close button, Ctrl+R and the
  // window's context menu.
  const QKeySequence studyKey(Qt::CTRL | Qt::Key_R);
  cmdStudy_ = button("cmdStudy", QStringLiteral("研讀"), studyButtonRect(controls_),
                     QColor(0xC0, 0xFF, 0xC0));
  cmdStudy_->setToolTip(QStringLiteral("研讀盤: 點選宮位看三方四正、夾宮與飛化 (%1)")
                            .arg(studyKey.toString(QKeySequence::NativeText)));
  auto* studyAction = new QAction(QStringLiteral("研讀(&R)"), this);
  studyAction->setObjectName(QStringLiteral("studyAction"));
  studyAction->setShortcut(studyKey);
  studyAction->setShortcutContext(Qt::WindowShortcut);
  addAction(studyAction);
  connect(studyAction, &QAction::triggered, this, &MainWindow::showStudy);

  lbVer_ = new QLabel(frame01_);
  lbVer_->setObjectName(QStringLiteral("lbVer"));
  QFont small = font();
  small.setPixelSize(10);
  lbVer_->setFont(small);
  setTextColour(lbVer_, QColor(0xFF, 0xFF, 0x00));

  WebBrowser1_ = new PaneView(this);
  WebBrowser1_->setObjectName(QStringLiteral("WebBrowser1"));
  WebBrowser1_->setPage(new PanePage(WebBrowser1_, [this] {
    const std::optional<QString> path = writePage(kOfflinePageFile, texts_.OfflinePage);
    return path ? QUrl::fromLocalFile(*path) : QUrl();
  }));
  connect(WebBrowser1_, &PaneView::previewRequested, this, &MainWindow::showPrintPreview);
  connect(WebBrowser1_, &PaneView::printRequestedFromMenu, this, &MainWindow::printFromPage);
  WebBrowser1_->installEventFilter(this);
  // A failed load is answered with the program's own offline page.
  WebBrowser1_->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);

  Frame02_ = new QGroupBox(this);
  Frame02_->setObjectName(QStringLiteral("Frame02"));
  Frame02_->setStyle(controlStyle());

  // The running periods: the target date (today), 運限 and the steps.
  targetDate_ = new DateField(QDate::currentDate(), Frame02_);
  targetDate_->setObjectName(QStringLiteral("targetDate"));
  targetDate_->setDateRange(firstSolarDate(), lastSolarDate());
  targetDate_->setCalendarPopup(true);
  targetDate_->setToolTip(QStringLiteral("運限的目標日期 (國曆)"));
  targetDate_->setPalette(inputs);
  placeAt(targetDate_, kTargetDate);
  cmdPeriods_ = faceButton(Frame02_, "cmdPeriods", QStringLiteral("運限"), kPeriodsButton,
                           QColor(0xC0, 0xFF, 0xC0));
  cmdPeriods_->setToolTip(QStringLiteral("目標日期的大限、小限、流年、流月、流日"));
  connect(cmdPeriods_, &QPushButton::clicked, this, &MainWindow::showPeriods);
  for (std::size_t i = 0; i < kStepButtonsShown.size(); ++i) {
    const StepButton& step = kStepButtonsShown[i];
    cmdSteps_[i] = faceButton(Frame02_, step.name, QString::fromUtf8(step.arrow), kStepButtons[i],
                              QColor(0xE0, 0xE0, 0xFF));
    const QKeySequence key(step.key);
    cmdSteps_[i]->setAccessibleName(QString::fromUtf8(step.caption));
    cmdSteps_[i]->setToolTip(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(step.caption),
                                                           key.toString(QKeySequence::NativeText)));
    connect(cmdSteps_[i], &QPushButton::clicked, this,
            [this, step] { stepTarget(step.years, step.months); });
    connect(new QShortcut(key, this), &QShortcut::activated, this,
            [this, step] { stepTarget(step.years, step.months); });
  }
  const std::array<const char*, 7> pictureWords{"八字學", "姓名學",   "紫微斗數", "六爻卦",
                                                "農民曆", "命理教學", "綜合排盤"};
  for (std::size_t i = 0; i < cmdB_.size(); ++i) {
    auto* b = new QPushButton(Frame02_);
    b->setObjectName(QStringLiteral("cmdB0%1").arg(i + 1));
    b->setAutoDefault(true);
    b->setIcon(QIcon(QPixmap::fromImage(
        drawLinkPicture(QString::fromUtf8(pictureWords[i]), static_cast<int>(i) * 50 % 360))));
    b->setIconSize(QSize(80, 30));
    b->setToolTip(QString::fromUtf8(pictureWords[i]));
    placeAt(b, {kPictureLefts[i], kPictureTop, kPictureWidth, kPictureHeight});
    connect(b, &QPushButton::clicked, this, [this, i] { navigate(settings_.pictureLinks[i]); });
    cmdB_[i] = b;
  }

  lbStatus_ = new QLabel(this);
  lbStatus_->setObjectName(QStringLiteral("lbStatus"));
  lbStatus_->setTextFormat(Qt::PlainText);

  connect(cmdStart_, &QPushButton::clicked, this, &MainWindow::castChart);
  connect(Command1_, &QPushButton::clicked, this, &MainWindow::showPrintPreview);
  connect(cmdAboutMe_, &QPushButton::clicked, this, &MainWindow::showProfile);
  connect(cmdGetC_, &QPushButton::clicked, this, [this] { navigate(settings_.lunarConverter); });
  connect(cmdExit_, &QPushButton::clicked, this, &MainWindow::askToClose);
  connect(cmdSolar_, &QPushButton::clicked, this, &MainWindow::askForGregorianBirthday);
  connect(cmdRules_, &QPushButton::clicked, this, &MainWindow::askForRules);
  connect(cmdStudy_, &QPushButton::clicked, this, &MainWindow::showStudy);

  QWebEnginePage* page = WebBrowser1_->page();
  connect(page, &QWebEnginePage::loadingChanged, this, &MainWindow::onLoadingChanged);
  connect(page, &QWebEnginePage::linkHovered, this, &MainWindow::showLink);
  // A link's address stays only while the link is pointed at or focused in
  // the pane: leaving the pane clears it.
  focusWatch_ =
      connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        const auto inPane = [this](const QWidget* w) {
          return w != nullptr && (w == WebBrowser1_ || WebBrowser1_->isAncestorOf(w));
        };
        if (inPane(old) && !inPane(now)) clearLink();
      });
  connect(page, &QWebEnginePage::loadProgress, this, [this](int percent) {
    // The pane's url() is still the page being left until the new one commits.
    if (percent < 100 && !loading_.isEmpty()) {
      setStatus(QStringLiteral("開啟網頁 %1 (%2%)").arg(loading_.toDisplayString()).arg(percent));
    }
  });
  connect(WebBrowser1_, &QWebEngineView::printRequested, this, &MainWindow::printFromPage);

  chainTabOrder();
  applyLayout();
}

void MainWindow::fillSelectors() {
  for (int year = kSelectorYears.first; year <= kSelectorYears.last; ++year) {
    cboY_->addItem(QString::number(year));
  }
  cboY_->setCurrentIndex(kStartYear - kSelectorYears.first);
  fillNumbers(cboM_, kMonths);
  fillNumbers(cboD_, kDays);
  fillNumbers(cboH_, kHours);
  fillNumbers(cboMU_, kMinutes);
  fillNumbers(cboS_, kSeconds);
  cboCDM_->addItem(QStringLiteral("正"));
  cboCDM_->addItem(QStringLiteral("閏"));
  cboCDM_->setCurrentIndex(0);
}

void MainWindow::chainTabOrder() {
  // As the window reads: the name and the sex, the date row to the chart
  // and 國曆 buttons, the buttons above it from the left, the close button at
  // the right end and 研讀 under it; then the link pictures and the running-period controls
  // from the left.
  const std::array<QWidget*, 30> order{
      txtNAME_, optSEX0_,    optSEX1_,     cboY_,        cboCDM_,     cboM_,
      cboD_,    cboH_,       cboMU_,       cboS_,        cmdStart_,   cmdSolar_,
      cmdGetC_, cmdAboutMe_, Command1_,    cmdRules_,    cmdExit_,    cmdStudy_,
      cmdB_[0], cmdB_[1],    cmdB_[2],     cmdB_[3],     cmdB_[4],    cmdB_[5],
      cmdB_[6], targetDate_, cmdSteps_[0], cmdSteps_[2], cmdPeriods_, cmdSteps_[3]};
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
  QWidget::setTabOrder(cmdSteps_[3], cmdSteps_[1]);
}

void MainWindow::applyLayout() {
  placeAt(frame01_, controls_.frame01);
  placeAt(WebBrowser1_, controls_.WebBrowser1);
  placeAt(Frame02_, controls_.Frame02);
  placeAt(lbStatus_, controls_.lbStatus);
  placeAt(cmdExit_, controls_.cmdExit);
  placeAt(lbVer_, controls_.lbVer);
  cmdSolar_->setVisible(solarButtonFits(controls_));
  cmdRules_->setVisible(rulesButtonFits(controls_));
  placeAt(cmdStudy_, studyButtonRect(controls_));
  cmdStudy_->setVisible(studyButtonFits(controls_));
  const bool periods = periodControlsFit(controls_);
  targetDate_->setVisible(periods);
  cmdPeriods_->setVisible(periods);
  for (QPushButton* step : cmdSteps_) step->setVisible(periods);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // From the client area, so that the first layout (before the window
  // manager has framed the window) is the one every later resize gives.
  controls_ = fitToClientArea(controls_, pixelsToTwips(width()), pixelsToTwips(height()));
  applyLayout();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // Return or Enter in the birth data casts the chart; the buttons take
  // these keys themselves.
  const std::array<const QWidget*, 10> birthData{txtNAME_, optSEX0_, optSEX1_, cboY_,  cboCDM_,
                                                 cboM_,    cboD_,    cboH_,    cboMU_, cboS_};
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && std::find(birthData.begin(), birthData.end(), focusWidget()) != birthData.end()) {
    castChart();
    return;
  }
  if (enter && focusWidget() == targetDate_) {
    showPeriods();
    return;
  }
  QWidget::keyPressEvent(event);
}

void MainWindow::navigate(const QUrl& url) { WebBrowser1_->load(url); }

void MainWindow::setStatus(const QString& text) {
  lbStatus_->setText(text);
  showsLink_ = false;
}

void MainWindow::showLink(const QString& url) {
  setStatus(url);
  showsLink_ = !url.isEmpty();
}

void MainWindow::clearLink() {
  if (showsLink_) setStatus(QString());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == WebBrowser1_ && event->type() == QEvent::Leave) clearLink();
  return QWidget::eventFilter(watched, event);
}

std::optional<QString> MainWindow::writePage(const char* fileName, const std::string& page,
                                             PageEncoding encoding) {
  if (texts_.WorkDir.isEmpty()) {
    setStatus(QStringLiteral("無法寫入網頁檔 %1: 沒有可寫入的資料夾").arg(QLatin1String(fileName)));
    return std::nullopt;
  }
  const QString path = pageFilePath(texts_.WorkDir, fileName);
  try {
    writeOutputFile(std::filesystem::path(QFile::encodeName(path).toStdString()),
                    encodePage(page, encoding), LinkRule::Replace, Durability::Scratch);
  } catch (const std::exception& e) {
    setStatus(QStringLiteral("無法寫入網頁檔: %1").arg(QString::fromLocal8Bit(e.what())));
    return std::nullopt;
  }
  return path;
}

void MainWindow::showPageFile(const char* fileName, const std::string& page,
                              PageEncoding encoding) {
  if (const std::optional<QString> path = writePage(fileName, page, encoding)) {
    navigate(QUrl::fromLocalFile(*path));
    emit pageShown(*path);
  }
}

bool MainWindow::castFromSelectors() {
  // A name with a control character is refused, as the command line refuses
  // it: a page would show it as another character (U+0080 as €).
  if (const std::optional<TextFlaw> flaw = firstFlaw(txtNAME_->text().toStdString())) {
    const QString code =
        flaw->code ? QString::number(static_cast<uint>(*flaw->code), 16).toUpper() : QString();
    setStatus(
        flaw->code
            ? QStringLiteral("姓名的第 %1 個字是控制字元 U+%2,請刪除後再排盤")
                  .arg(flaw->character)
                  .arg(code.rightJustified(4, QLatin1Char('0')))
            : QStringLiteral("姓名的第 %1 個字不是有效的字元,請刪除後再排盤").arg(flaw->character));
    return false;
  }
  BirthSelection selection;
  selection.year = cboY_->currentText().toStdString();
  selection.month = cboM_->currentText().toStdString();
  selection.leap = cboCDM_->currentText().toStdString();
  selection.day = cboD_->currentText().toStdString();
  selection.hour = cboH_->currentText().toStdString();
  selection.minute = cboMU_->currentText().toStdString();
  selection.second = cboS_->currentText().toStdString();
  selection.male = optSEX0_->isChecked();
  LunarBirth birth;
  try {
    birth = readSelection(selection);
  } catch (const SelectionError& e) {
    setStatus(QString::fromUtf8(e.what()));
    return false;
  }
  ChartRequest request;
  request.options = settings_.rules;
  // While the selectors hold what the 國曆 dialog set, the birth is its
  // instant (the dialog applied its own 晚子時 choice); otherwise the late 子
  // rule moves a selected 23:00-23:59 on to the next lunar day.
  const bool fromDialog = solarEntry_ && selectorsHold(solarEntry_->second);
  try {
    if (fromDialog) {
      request.birthInstant = recordedInstant(resolveBirthTime(solarEntry_->first).steps);
    } else if (request.options.lateZi == LateZi::NextDay && birth.hour == 23) {
      RecordedBirth record;
      record.birth = birth;
      record.options = request.options;
      birth = resolveBirthTime(record, kSelectorYears).birth;
    }
  } catch (const std::exception& e) {
    setStatus(
        QStringLiteral("晚子時算次日,所選日期無法移到次日:%1").arg(QString::fromUtf8(e.what())));
    return false;
  }
  request.birth = birth;
  request.name = txtNAME_->text().toStdString();
  chart_ = cast(request);
  // The selectors offer dates the calendar lacks; the chart is cast as
  // chosen, and the status line says so once the page is shown.
  // The page leaves no room for the four pillars; the status line shows
  // them once the page is shown.
  pageNote_ = calendar::is_valid(lunarDateOf(birth))
                  ? pillarsNote(chart_)
                  : QStringLiteral("注意:曆法中沒有農曆 %1 年%2 %3 月 %4 日,已依所選日期排盤")
                        .arg(birth.year)
                        .arg(birth.leap ? QStringLiteral("閏") : QString())
                        .arg(birth.month)
                        .arg(birth.day);
  return true;
}

void MainWindow::castChart() {
  if (!castFromSelectors()) return;
  showCast(kChartPageFile);
}

void MainWindow::showCast(const char* fileName) {
  if (fileName == kStudyPageFile) {  // UTF-8, as the page declares
    shownCast_.emplace(fileName, chart_.request);
    showPageFile(fileName, studyPage(chart_), PageEncoding::Utf8);
    return;
  }
  const std::string page = fileName == kChartPageFile
                               ? assembleChartPage(chart_, texts_.PageTemplate, todayShortDate())
                               : assemblePeriodPage(chart_, todayShortDate());
  shownCast_.emplace(fileName, chart_.request);
  showPageFile(fileName, page);
}

void MainWindow::showPeriods() { showPeriodsOn(targetDate_->date()); }

bool MainWindow::showPeriodsOn(const QDate& date) {
  if (!castFromSelectors()) return false;
  const TargetMoment target = targetOnSolar({date.year(), date.month(), date.day()});
  const int birthYear = chart_.request.birth.year;
  if (target.lunar.year < birthYear) {  // a target before the birth year
    const calendar::GregorianDate first = calendar::to_gregorian({birthYear, 1, false, 1});
    refuseTarget(
        QStringLiteral("目標日期 %1 是農曆 %2 年,在出生年 (農曆 %3 年) 之前,無法排出運限。\n"
                       "請選擇農曆 %3 年正月初一 (國曆 %4) 以後的日期。")
            .arg(date.toString(Qt::ISODate))
            .arg(target.lunar.year)
            .arg(birthYear)
            .arg(QString::fromStdString(calendar::format_gregorian(first))));
    return false;
  }
  ChartRequest request = chart_.request;
  request.target = target;
  chart_ = cast(request);
  showCast(kPeriodPageFile);
  return true;
}

void MainWindow::showStudy() {
  if (!castFromSelectors()) return;
  const QDate date = targetDate_->date();
  const TargetMoment target = targetOnSolar({date.year(), date.month(), date.day()});
  if (target.lunar.year >= chart_.request.birth.year) {
    ChartRequest request = chart_.request;
    request.target = target;
    chart_ = cast(request);
  } else {
    // Not refused as 運限 refuses it: the natal chart is still to be read.
    pageNote_ = QStringLiteral("目標日期 %1 在出生年之前,研讀盤只有本命 · %2")
                    .arg(date.toString(Qt::ISODate), pageNote_);
  }
  showCast(kStudyPageFile);
}

void MainWindow::refuseTarget(const QString& why) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("運限"), why, QMessageBox::Ok, this);
  box.setObjectName(QStringLiteral("targetRefusal"));
  box.exec();
}

void MainWindow::stepTarget(int years, int months) {
  const QDate from = targetDate_->date();
  const calendar::GregorianDate shown{from.year(), from.month(), from.day()};
  // The steps go on from the day chosen while the field shows where they
  // landed; a date chosen in the field starts afresh.
  const calendar::LunarDate start =
      keptTarget_ && keptTarget_->shown == shown ? keptTarget_->kept : calendar::to_lunar(shown);
  TargetStep step;
  try {
    step = ziwei::stepTarget(start, years, months);
  } catch (const calendar::CalendarError&) {
    refuseTarget(QStringLiteral("目標日期只能在國曆 %1 至 %2 之間,無法再%3。")
                     .arg(targetDate_->minimumDate().toString(Qt::ISODate),
                          targetDate_->maximumDate().toString(Qt::ISODate),
                          years != 0 ? QStringLiteral("移一年") : QStringLiteral("移一個月")));
    return;
  }
  const QDate to(step.shown.year, step.shown.month, step.shown.day);
  // The field moves only with the page: a refused date leaves both as they were.
  if (!showPeriodsOn(to)) return;
  targetDate_->setDate(to);
  keptTarget_ = step;
}

void MainWindow::askForRules() {
  RulesDialog dialog(settings_.rules, this);
  if (dialog.exec() == QDialog::Accepted) applyRules(dialog.rules());
}

void MainWindow::applyRules(const ChartOptions& rules) {
  settings_.rules = rules;
  if (!settings_.rulesStore.isEmpty()) {
    QSettings store(settings_.rulesStore, QSettings::IniFormat);
    storeRules(store, rules);
    store.sync();
    if (store.status() != QSettings::NoError) {
      setStatus(
          QStringLiteral("無法寫入設定檔 %1,新的規則只用到關閉程式為止").arg(settings_.rulesStore));
    }
  }
  recastShown();
}

void MainWindow::recastShown() {
  // Only while the pane still shows what was cast: the chart of the birth
  // it was cast for, not what the selectors hold now.
  if (!shownCast_ || WebBrowser1_->url().fileName() != QLatin1String(shownCast_->first)) return;
  ChartRequest request = shownCast_->second;
  request.options = settings_.rules;
  chart_ = cast(request);
  showCast(shownCast_->first);
}

void MainWindow::showProfile() { showPageFile(kProfilePageFile, texts_.ProfilePage); }

void MainWindow::onLoadingChanged(const QWebEngineLoadingInfo& info) {
  switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
      loading_ = info.url();
      setStatus(QStringLiteral("開啟網頁 %1").arg(loading_.toDisplayString()));
      break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
      loading_.clear();
      setStatus(info.url().fileName() == QLatin1String(kChartPageFile) ||
                        info.url().fileName() == QLatin1String(kPeriodPageFile) ||
                        info.url().fileName() == QLatin1String(kStudyPageFile)
                    ? pageNote_
                    : QString());
      break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:  // replaced by a newer navigation
      loading_.clear();
      setStatus(QString());
      break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
      loading_.clear();
      setStatus(QString());
      handleNavigationError(info.url());
      break;
  }
}

void MainWindow::handleNavigationError(const QUrl& failed) {
  // The offline page goes to the settled work directory, which is known to
  // be writable. When the offline page itself cannot be shown, the round
  // ends here instead of failing again and again.
  const QUrl offline = QUrl::fromLocalFile(pageFilePath(texts_.WorkDir, kOfflinePageFile));
  if (failed.matches(offline, QUrl::NormalizePathSegments)) {
    setStatus(QStringLiteral("無法顯示離線網頁 %1").arg(offline.toLocalFile()));
    return;
  }
  showPageFile(kOfflinePageFile, texts_.OfflinePage);
}

void MainWindow::printDocument(QPrinter* printer) {
  // The pane prints asynchronously; the preview needs the pages now. Until
  // they are made, a second request would only get an empty document.
  const QScopedValueRollback<bool> busy(printing_, true);
  setStatus(QString::fromUtf8(kPreparingPages));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QEventLoop loop;
  bool printed = false;
  const auto done = [&](bool success) {
    printed = success;
    loop.quit();
  };
  if (printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty()) {
    // A PDF file is written by the pane itself, with its text kept as text
    // (the printer path would get the pages as pictures).
    connect(WebBrowser1_->page(), &QWebEnginePage::pdfPrintingFinished, &loop,
            [&done](const QString&, bool success) { done(success); });
    WebBrowser1_->page()->printToPdf(printer->outputFileName(), printer->pageLayout(),
                                     printer->pageRanges());
  } else {
    // The preview records the pages as pictures; a printer prints them.
    const QPaintEngine* engine = printer->paintEngine();
    const bool preview = engine != nullptr && engine->type() == QPaintEngine::Picture;
    printer->setResolution(preview ? kPreviewResolution : kPrintResolution);
    connect(WebBrowser1_, &QWebEngineView::printFinished, &loop, done);
    WebBrowser1_->print(printer);
  }
  loop.exec();
  QApplication::restoreOverrideCursor();
  setStatus(printed ? QString() : QStringLiteral("無法列印本頁"));
}

void MainWindow::showPrintPreview() {
  if (printing_) return;
  // Feedback before the preview window is built.
  setStatus(QString::fromUtf8(kPreparingPages));
  lbStatus_->repaint();
  QPrinter printer;
  printer.setResolution(kPrintResolution);
  QPrintPreviewDialog preview(&printer, this);
  preview.setObjectName(QStringLiteral("printPreview"));
  connect(&preview, &QPrintPreviewDialog::paintRequested, this, &MainWindow::printDocument);
  preview.exec();
}

void MainWindow::printFromPage() {
  // The print link the pane asked from no longer holds the pointer.
  clearLink();
  if (printing_) return;
  QPrinter printer;
  printer.setResolution(kPrintResolution);
  QPrintDialog dialog(&printer, this);
  dialog.setObjectName(QStringLiteral("printDialog"));
  if (dialog.exec() == QDialog::Accepted) printDocument(&printer);
}

void MainWindow::askToClose() {
  QMessageBox question(QMessageBox::NoIcon, QStringLiteral("關閉"),
                       QStringLiteral("確定關閉本程式?"), QMessageBox::Yes | QMessageBox::No, this);
  question.setObjectName(QStringLiteral("closeQuestion"));
  if (question.exec() != QMessageBox::Yes) return;
  if (close()) QCoreApplication::quit();
}

void MainWindow::askForGregorianBirthday() {
  // The dialog opens on the Gregorian date of the current selection when
  // that lunar date exists, and on its hour and minute.
  QDate date(2000, 1, 1);
  const calendar::LunarDate selected{cboY_->currentText().toInt(), cboM_->currentText().toInt(),
                                     cboCDM_->currentIndex() == 1, cboD_->currentText().toInt()};
  if (calendar::is_valid(selected)) {
    const calendar::GregorianDate g = calendar::to_gregorian(selected);
    date = QDate(g.year, g.month, g.day);
  }
  const QTime time(cboH_->currentText().toInt(), cboMU_->currentText().toInt());
  GregorianDialog dialog(date, time, this);
  // While the selectors hold what the dialog set, it opens on the birth as
  // it was entered there: its zone, place and corrections, not the result;
  // otherwise on the 晚子時 rule of the settings.
  if (solarEntry_ && selectorsHold(solarEntry_->second)) {
    dialog.setEntry(solarEntry_->first);
  } else {
    dialog.setLateZi(settings_.rules.lateZi);
  }
  if (dialog.exec() != QDialog::Accepted) return;
  const SolarConversion& conversion = dialog.conversion();
  if (!conversion.birth) return;
  selectLunarBirth(*conversion.birth, conversion.solar, conversion.corrected);
  LunarBirth set = *conversion.birth;
  if (!conversion.corrected) set.second = cboS_->currentText().toInt();
  solarEntry_.emplace(dialog.entry(), set);
}

bool MainWindow::selectorsHold(const LunarBirth& birth) const {
  return cboY_->currentText() == QString::number(birth.year) &&
         (cboCDM_->currentIndex() == 1) == birth.leap &&
         cboM_->currentText() == QString::number(birth.month) &&
         cboD_->currentText() == QString::number(birth.day) &&
         cboH_->currentText() == QString::number(birth.hour) &&
         cboMU_->currentText() == QString::number(birth.minute) &&
         cboS_->currentText() == QString::number(birth.second);
}

void MainWindow::selectLunarBirth(const LunarBirth& birth, const calendar::GregorianDate& solar,
                                  bool corrected) {
  const auto select = [](QComboBox* box, const QString& text) {
    const int index = box->findText(text);
    if (index >= 0) box->setCurrentIndex(index);
  };
  select(cboY_, QString::number(birth.year));
  cboCDM_->setCurrentIndex(birth.leap ? 1 : 0);
  select(cboM_, QString::number(birth.month));
  select(cboD_, QString::number(birth.day));
  select(cboH_, QString::number(birth.hour));
  select(cboMU_, QString::number(birth.minute));
  // A corrected time has its own seconds; the clock time as typed has none
  // and leaves the seconds as they were.
  if (corrected) select(cboS_, QString::number(birth.second));
  setStatus(QStringLiteral("已帶入國曆 %1 的農曆生日,請確認後按[紫微斗數排盤]")
                .arg(QString::fromStdString(calendar::format_gregorian(solar))));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The windows its links opened go with it.
  for (LinkWindow* link : findChildren<LinkWindow*>()) link->close();
  // The pages go first: once the directory is given up, another window may
  // start writing its own pages there.
  deletePageFiles(texts_.WorkDir);
  workDir_.release();
  texts_.WorkDir.clear();
  event->accept();
}

}  // namespace ziwei::desktop
