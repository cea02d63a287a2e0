#pragma once

#include <array>
#include <optional>
#include <string>

#include <QString>
#include <QUrl>
#include <QWidget>

#include "app/desktop_settings.h"
#include "app/gregorian_dialog.h"
#include "app/pane_page.h"
#include "app/window_layout.h"
#include "app/work_dir.h"
#include "birth/lunar_birth.h"
#include "birth/target_step.h"
#include "chart/chart.h"
#include "page/page_file.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;
class QWebEngineLoadingInfo;

namespace ziwei::desktop {

class DateField;
class NameBox;

// The texts that the window keeps beside the chart for its whole life.
struct WindowTexts {
  std::string ProfilePage;   // the author-profile page
  std::string OfflinePage;   // the offline notice
  std::string PageTemplate;  // the chart page template
  QString WorkDir;           // where page files go; no trailing "/"; empty: nowhere writable
};

// frmMain: the birth-data selectors, the chart button, the browser pane, the
// link buttons and the status line. It gathers input, calls the chart engine
// and the page assembly, and shows the results.
class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(DesktopSettings settings, QWidget* parent = nullptr);
  ~MainWindow() override;

  const ChartState& chartState() const { return chart_.frame; }
  const WindowTexts& windowTexts() const { return texts_; }
  const ResizableControls& controlsInTwips() const { return controls_; }
  PaneView* pane() const { return WebBrowser1_; }
  // The rules every chart is cast by.
  const ChartOptions& rules() const { return settings_.rules; }

  // Loads a web address or a local file into the pane.
  void navigate(const QUrl& url);

 public slots:
  void castChart();         // cmdStart "紫微斗數排盤"
  void showProfile();       // cmdAboutMe
  void showPrintPreview();  // Command1 "預覽列印"
  void askToClose();        // cmdExit "關閉程式"
  // cmdSolar "國曆" and Ctrl+G: a Gregorian birthday sets the lunar
  // selectors; the chart is cast as usual.
  void askForGregorianBirthday();
  // "運限": the running periods of the selected birth at the target date.
  void showPeriods();
  // 上一年, 下一年, 上一月, 下一月: the target moved by lunar years and
  // months, and the periods shown at once.
  void stepTarget(int years, int months);
  // 研讀 and Ctrl+R: the study page of the selected birth, with the running
  // levels at the target date when the date is not before the birth year.
  void showStudy();
  // 設定 and Ctrl+,: the chart rules, in the 設定 dialog.
  void askForRules();
  // Takes `rules` for every chart from now on: writes them to the settings
  // file and casts the chart or the running periods the pane shows anew.
  void applyRules(const ChartOptions& rules);

 signals:
  // A page file was written and the pane sent to it.
  void pageShown(const QString& path);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void placeOnScreen();
  void fillSelectors();
  void chainTabOrder();
  void applyLayout();
  void onLoadingChanged(const QWebEngineLoadingInfo& info);
  void handleNavigationError(const QUrl& failed);
  void printDocument(QPrinter* printer);
  void printFromPage();
  std::optional<QString> writePage(const char* fileName, const std::string& page,
                                   PageEncoding encoding = PageEncoding::Big5);
  void showPageFile(const char* fileName, const std::string& page,
                    PageEncoding encoding = PageEncoding::Big5);
  void setStatus(const QString& text);
  // The address of the link under the pointer or focused in the pane.
  void showLink(const QString& url);
  void clearLink();
  bool castFromSelectors();
  void selectLunarBirth(const LunarBirth& birth, const calendar::GregorianDate& solar,
                        bool corrected);
  // The running periods at `date`; false, with the reason told, when the
  // date cannot be taken.
  bool showPeriodsOn(const QDate& date);
  bool selectorsHold(const LunarBirth& birth) const;
  void refuseTarget(const QString& why);
  void showCast(const char* fileName);
  void recastShown();

  DesktopSettings settings_;
  Chart chart_;
  QMetaObject::Connection focusWatch_;  // the application's focus changes, for the status line
  WindowTexts texts_;
  WorkDirClaim workDir_;
  ResizableControls controls_ = kDesignControls;

  QGroupBox* frame01_ = nullptr;
  QLabel* Label8_ = nullptr;
  NameBox* txtNAME_ = nullptr;
  QRadioButton* optSEX0_ = nullptr;
  QRadioButton* optSEX1_ = nullptr;
  QComboBox* cboY_ = nullptr;
  QComboBox* cboCDM_ = nullptr;
  QComboBox* cboM_ = nullptr;
  QComboBox* cboD_ = nullptr;
  QComboBox* cboH_ = nullptr;
  QComboBox* cboMU_ = nullptr;
  QComboBox* cboS_ = nullptr;
  QPushButton* cmdStart_ = nullptr;
  QPushButton* Command1_ = nullptr;
  QPushButton* cmdAboutMe_ = nullptr;
  QPushButton* cmdGetC_ = nullptr;
  QPushButton* cmdExit_ = nullptr;
  QPushButton* cmdSolar_ = nullptr;
  QPushButton* cmdRules_ = nullptr;
  QPushButton* cmdStudy_ = nullptr;
  DateField* targetDate_ = nullptr;
  QPushButton* cmdPeriods_ = nullptr;
  std::array<QPushButton*, 4> cmdSteps_{};
  QLabel* lbVer_ = nullptr;
  PaneView* WebBrowser1_ = nullptr;
  QGroupBox* Frame02_ = nullptr;
  std::array<QPushButton*, 7> cmdB_{};
  QLabel* lbStatus_ = nullptr;
  QUrl loading_;            // the address the pane is loading; empty between loads
  QString pageNote_;        // what the status line says once the chart page is shown
  bool showsLink_ = false;  // the status line shows a link's address
  bool printing_ = false;   // the pane is making the pages of a preview or a print
  // Where the last target step landed: the lunar month with the day chosen,
  // and the date it showed.
  std::optional<TargetStep> keptTarget_;
  // The last birth the 國曆 dialog set, as entered there, and what it set.
  std::optional<std::pair<RecordedBirth, LunarBirth>> solarEntry_;
  // The page file of the last chart or running periods shown, and the
  // request it was cast from: what a change of the rules casts again.
  std::optional<std::pair<const char*, ChartRequest>> shownCast_;
};

}  // namespace ziwei::desktop
