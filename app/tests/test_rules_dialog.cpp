// The 設定 dialog: one selector per rule and the 四化 table, refusal of a
// stem that names a star twice, rules files, and how the window stores the
// rules and casts by them. Every address the window knows points at a local
// port that refuses connections.
#include <memory>
#include <set>
#include <string>

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "desktop_harness.h"
#include "gl_drivers.h"

#include "app/main_window.h"
#include "app/rules_dialog.h"
#include "app/window_layout.h"
#include "app/work_dir.h"
#include "birth/target_moment.h"
#include "chart/chart.h"
#include "chart/rule_options.h"
#include "page/chart_page.h"
#include "page/page_file.h"
#include "page/page_template.h"
#include "page/period_page.h"

using namespace ziwei;
using namespace ziwei::desktop;
using namespace ziwei::desktop::testing;

namespace {

// Rules other than the defaults in each kind of row.
ChartOptions someRules() {
  ChartOptions rules;
  rules.lifeMaster = LifeMasterRule::Year;
  rules.leapMonth = LeapMonthRule::This;
  rules.transformations[4] = {Star::TanLang, Star::TaiYin, Star::TaiYang, Star::TianJi};
  return rules;
}

std::size_t ruleNumber(std::string_view name) {
  return static_cast<std::size_t>(ruleNamed(name) - kRuleOptions.data());
}

void selectStar(QComboBox* box, Star star) {
  box->setCurrentIndex(box->findData(static_cast<int>(star)));
}

}  // namespace

class TestRulesDialog : public QObject, private WindowFixture {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
  void init() { makeProgramDir(); }
  void cleanup() { closeWindow(); }

  void oneSelectorPerRule();
  void keyboardAndNames();
  void repeatedStarIsRefused();
  void defaultsAreRestored();
  void rulesFileRoundTrip();
  void rulesFileErrors();
  void okStoresTheRulesAndRecasts();
  void runningPeriodsAreRecastToo();
  void cancelChangesNothing();
  void lateZiMovesAnHour23Selection();
  void reachedFromButtonKeyAndMenu();
  void picture();

 private:
  MainWindow& openWindow();
  QString storeFile() const { return program_->filePath(QStringLiteral("ziwei-desktop.ini")); }
  QByteArray expectedChartPage(const ChartOptions& rules, const std::string& date);
};

MainWindow& TestRulesDialog::openWindow() {
  DesktopSettings settings = loopbackSettings(program_->path());
  settings.rulesStore = storeFile();
  return showWindow(settings);
}

// The chart page of the start-up selection cast by `rules`.
QByteArray TestRulesDialog::expectedChartPage(const ChartOptions& rules, const std::string& date) {
  ChartRequest request;
  request.options = rules;
  return bytes(
      encodePage(assembleChartPage(cast(request), buildPageTemplate(), date), PageEncoding::Big5));
}

void TestRulesDialog::oneSelectorPerRule() {
  const ChartOptions rules = someRules();
  RulesDialog dialog(rules);
  QCOMPARE(dialog.windowTitle(), QStringLiteral("設定"));
  QCOMPARE(dialog.findChildren<QComboBox*>(QRegularExpression(QStringLiteral("^rule_"))).size(),
           qsizetype(kRuleOptions.size()));
  for (std::size_t i = 0; i < kRuleOptions.size(); ++i) {
    const RuleOption& rule = kRuleOptions[i];
    QComboBox* box = dialog.ruleBox(i);
    const QString name = qs(rule.name);
    QStringList words, titles;
    for (int item = 0; item < box->count(); ++item) {
      words << box->itemData(item).toString();
      titles << box->itemText(item);
    }
    QCOMPARE(words.join(QLatin1Char('|')), qs(rule.words));
    QCOMPARE(titles.join(QLatin1Char('|')), qs(rule.wordTitles));
    // The stored word is the one selected.
    QCOMPARE(box->currentData().toString(), qs(ruleWord(rule, rule.get(rules))));
    QCOMPARE(box->toolTip(), qs(rule.help));
    // Its label is the rule's title and leads to it.
    const QString title = qs(rule.title);
    bool labelled = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
      labelled = labelled || (label->buddy() == box && label->text().startsWith(title));
    }
    QVERIFY2(labelled, qPrintable(name));
  }
  // The table: 18 stars in each of the 40 selectors, the table selected.
  for (std::size_t stem = 0; stem < 10; ++stem) {
    for (std::size_t t = 0; t < 4; ++t) {
      QComboBox* box = dialog.starBox(stem, t);
      QCOMPARE(box->count(), int(kTransformableStars.size()));
      QCOMPARE(static_cast<Star>(box->currentData().toInt()), rules.transformations[stem][t]);
    }
  }
  QCOMPARE(dialog.starBox(4, 2)->currentText(), QStringLiteral("太陽"));
  QCOMPARE(dialog.rules(), rules);
  QVERIFY(dialog.problem().isEmpty());
}

void TestRulesDialog::keyboardAndNames() {
  RulesDialog dialog(ChartOptions{});
  // Tab goes down the rules, across each stem's row, then to the buttons.
  QList<QWidget*> expected;
  for (std::size_t i = 0; i < kRuleOptions.size(); ++i) expected << dialog.ruleBox(i);
  for (std::size_t stem = 0; stem < 10; ++stem) {
    for (std::size_t t = 0; t < 4; ++t) expected << dialog.starBox(stem, t);
  }
  for (const char* name : {"ok", "cancel", "defaults", "readFile", "saveFile"}) {
    expected << dialog.findChild<QPushButton*>(QLatin1String(name));
  }
  QList<QWidget*> seen{expected.front()};
  for (QWidget* at = expected.front()->nextInFocusChain(); at != expected.front();
       at = at->nextInFocusChain()) {
    if (at->focusPolicy() & Qt::TabFocus) seen << at;
  }
  QCOMPARE(seen.mid(0, expected.size()), expected);

  // Every selector has a name of its own; every button but OK and Cancel a
  // mnemonic.
  std::set<QString> names;
  for (const QComboBox* box : dialog.findChildren<QComboBox*>()) {
    QVERIFY2(!box->accessibleName().isEmpty(), qPrintable(box->objectName()));
    names.insert(box->accessibleName());
  }
  QCOMPARE(names.size(), std::size_t(kRuleOptions.size() + 40));
  QCOMPARE(dialog.starBox(2, 3)->accessibleName(), QStringLiteral("丙 化忌"));
  for (const char* name : {"defaults", "readFile", "saveFile"}) {
    QVERIFY(dialog.findChild<QPushButton*>(QLatin1String(name))->text().contains('&'));
  }

  // Alt and a rule's digit reach its selector.
  dialog.show();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  QTest::keyClick(&dialog, Qt::Key_2, Qt::AltModifier);
  QCOMPARE(QApplication::focusWidget(), dialog.ruleBox(1));
}

void TestRulesDialog::repeatedStarIsRefused() {
  RulesDialog dialog(ChartOptions{});
  auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("ok"));
  auto* save = dialog.findChild<QPushButton*>(QStringLiteral("saveFile"));
  QVERIFY(ok->isEnabled());
  // 丙's 科 set to its 祿 star.
  selectStar(dialog.starBox(2, 2), Star::TianTong);
  QVERIFY(!ok->isEnabled());
  QVERIFY(!save->isEnabled());
  QVERIFY2(dialog.problem().contains(QStringLiteral("丙")) &&
               dialog.problem().contains(QStringLiteral("天同")) &&
               dialog.problem().contains(QStringLiteral("化祿")) &&
               dialog.problem().contains(QStringLiteral("化科")),
           qPrintable(dialog.problem()));
  dialog.show();
  QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("problem"))->isVisible());
  dialog.accept();  // refused, even when called past the disabled button
  QVERIFY(dialog.isVisible());
  QVERIFY(!dialog.saveRulesFile(program_->filePath(QStringLiteral("x.rules"))));
  QVERIFY(!QFile::exists(program_->filePath(QStringLiteral("x.rules"))));

  // Swapping the two makes the row whole again.
  selectStar(dialog.starBox(2, 0), Star::WenChang);
  QVERIFY(ok->isEnabled());
  QVERIFY(dialog.problem().isEmpty());
  QCOMPARE(dialog.rules().transformations[2],
           (std::array{Star::WenChang, Star::TianJi, Star::TianTong, Star::LianZhen}));
  dialog.accept();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestRulesDialog::defaultsAreRestored() {
  RulesDialog dialog(someRules());
  selectStar(dialog.starBox(0, 1), Star::LianZhen);  // a repeated star goes too
  dialog.findChild<QPushButton*>(QStringLiteral("defaults"))->click();
  QCOMPARE(dialog.rules(), ChartOptions{});
  QVERIFY(dialog.problem().isEmpty());
  QVERIFY(dialog.isHidden());  // the dialog stays for OK or Cancel
}

void TestRulesDialog::rulesFileRoundTrip() {
  const QString path = program_->filePath(QStringLiteral("mine.rules"));
  ChartOptions rules = someRules();
  rules.transformations[9] = {Star::PoJun, Star::JuMen, Star::TaiYin, Star::WenQu};
  {
    RulesDialog dialog(rules);
    QVERIFY(dialog.saveRulesFile(path));
  }
  const QByteArray text = readAll(path);
  QVERIFY2(text.contains("life-master = year"), text.constData());
  QVERIFY2(!text.contains("age"), text.constData());  // the defaults are not named

  // Read over other rules: those the file does not name go back to the
  // defaults, so the file gives exactly what was saved.
  ChartOptions other;
  other.age = AgeCount::Birthday;
  other.transformations[0] = {Star::LianZhen, Star::PoJun, Star::TaiYang, Star::WuQu};
  RulesDialog dialog(other);
  QVERIFY(dialog.readRulesFile(path));
  QCOMPARE(dialog.rules(), rules);
}

void TestRulesDialog::rulesFileErrors() {
  RulesDialog dialog(someRules());
  const QString path = program_->filePath(QStringLiteral("bad.rules"));
  const auto write = [&path](const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
  };
  // The line refused is named with what is wrong, and nothing changes.
  write("# mine\nage = birthday\n\nleap-month = maybe\n");
  std::shared_ptr<QString> told = answerMessage();
  QVERIFY(!dialog.readRulesFile(path));
  QVERIFY2(told->contains(QStringLiteral("第 4 行")) && told->contains(QStringLiteral("maybe")),
           qPrintable(*told));
  QCOMPARE(dialog.rules(), someRules());

  // What is not a rules file: too large, missing, or a folder to write.
  write(QByteArray(1 << 20, '#'));
  told = answerMessage();
  QVERIFY(!dialog.readRulesFile(path));
  QVERIFY2(told->contains(QStringLiteral("不是規則檔")), qPrintable(*told));
  told = answerMessage();
  QVERIFY(!dialog.readRulesFile(program_->filePath(QStringLiteral("none.rules"))));
  QVERIFY(told->contains(QStringLiteral("無法開啟")));
  told = answerMessage();
  QVERIFY(!dialog.saveRulesFile(program_->path()));
  QVERIFY2(told->contains(QStringLiteral("無法寫入")), qPrintable(*told));
  QCOMPARE(dialog.rules(), someRules());
}

void TestRulesDialog::okStoresTheRulesAndRecasts() {
  MainWindow& w = openWindow();
  // 命主 by the year and 庚 (the start-up birth's year stem) with 祿 and 忌
  // swapped.
  ChartOptions rules;
  rules.lifeMaster = LifeMasterRule::Year;
  rules.transformations[6] = {Star::TianTong, Star::WuQu, Star::TaiYin, Star::TaiYang};
  const std::string date = todayShortDate();
  QVERIFY(expectedChartPage(rules, date) != expectedChartPage(ChartOptions{}, date));

  child<QPushButton>("cmdStart")->click();
  waitForPane(workFile(kChartPageFile));
  QCOMPARE(readAll(workFile(kChartPageFile)), expectedChartPage(ChartOptions{}, date));

  QSignalSpy shown(&w, &MainWindow::pageShown);
  answerModal<RulesDialog>([](RulesDialog* dialog) {
    QComboBox* box = dialog->ruleBox(ruleNumber("life-master"));
    box->setCurrentIndex(box->findData(QStringLiteral("year")));
    selectStar(dialog->starBox(6, 0), Star::TianTong);
    selectStar(dialog->starBox(6, 3), Star::TaiYang);
    dialog->findChild<QPushButton*>(QStringLiteral("ok"))->click();
  });
  child<QPushButton>("cmdRules")->click();
  QCOMPARE(w.rules(), rules);
  const QSettings store(storeFile(), QSettings::IniFormat);
  // Only the two rules changed are stored, and a window opened later reads
  // them (test_desktop_settings has how each is written).
  QCOMPARE(store.allKeys(), (QStringList{QStringLiteral("rules/lifeMaster"),
                                         QStringLiteral("rules/transformations")}));
  QCOMPARE(rulesFromStore(store), rules);
  QCOMPARE(shown.size(), 1);
  waitForPane(workFile(kChartPageFile));
  QCOMPARE(readAll(workFile(kChartPageFile)), expectedChartPage(rules, date));

  // 恢復預設 and OK: the store is empty again, the chart back as it was.
  answerModal<RulesDialog>([&w](RulesDialog* dialog) {
    QCOMPARE(dialog->rules(), w.rules());
    dialog->restoreDefaults();
    dialog->accept();
  });
  w.askForRules();
  QCOMPARE(w.rules(), ChartOptions{});
  QVERIFY(QSettings(storeFile(), QSettings::IniFormat).allKeys().isEmpty());
  QCOMPARE(shown.size(), 2);
  waitForPane(workFile(kChartPageFile));
  QCOMPARE(readAll(workFile(kChartPageFile)), expectedChartPage(ChartOptions{}, date));
}

void TestRulesDialog::runningPeriodsAreRecastToo() {
  MainWindow& w = openWindow();
  const QDate on(2030, 6, 1);
  child<QDateEdit>("targetDate")->setDate(on);
  child<QPushButton>("cmdPeriods")->click();
  waitForPane(workFile(kPeriodPageFile));
  // The selectors change after the cast: the page shown is what is recast.
  child<QComboBox>("cboY")->setCurrentText(QStringLiteral("1990"));

  ChartOptions rules;
  rules.age = AgeCount::Birthday;
  rules.transformations[6] = {Star::TaiYang, Star::WuQu, Star::TianTong, Star::TaiYin};
  const std::string date = todayShortDate();
  ChartRequest request;
  request.target = targetOnSolar({on.year(), on.month(), on.day()});
  const QByteArray before = readAll(workFile(kPeriodPageFile));
  QCOMPARE(before, bytes(encodePage(assemblePeriodPage(cast(request), date), PageEncoding::Big5)));
  QSignalSpy recast(&w, &MainWindow::pageShown);
  w.applyRules(rules);
  QCOMPARE(recast.size(), 1);
  waitForPane(workFile(kPeriodPageFile));
  request.options = rules;
  const QByteArray after = readAll(workFile(kPeriodPageFile));
  QVERIFY(after != before);
  QCOMPARE(after, bytes(encodePage(assemblePeriodPage(cast(request), date), PageEncoding::Big5)));

  // With another page in the pane, nothing is cast until asked for.
  w.showProfile();
  waitForPane(workFile(kProfilePageFile));
  QSignalSpy shown(&w, &MainWindow::pageShown);
  w.applyRules(ChartOptions{});
  QCOMPARE(shown.size(), 0);
  QCOMPARE(w.pane()->url(), QUrl::fromLocalFile(workFile(kProfilePageFile)));
}

void TestRulesDialog::cancelChangesNothing() {
  MainWindow& w = openWindow();
  answerModal<RulesDialog>([](RulesDialog* dialog) {
    dialog->ruleBox(0)->setCurrentIndex(1);
    dialog->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
  });
  w.askForRules();
  QCOMPARE(w.rules(), ChartOptions{});
  QVERIFY(!QFile::exists(storeFile()));
}

void TestRulesDialog::lateZiMovesAnHour23Selection() {
  DesktopSettings settings = loopbackSettings(program_->path());
  settings.rulesStore = storeFile();
  settings.rules.lateZi = LateZi::NextDay;
  showWindow(settings);
  // Lunar 2000-01-01 at 23:00 is cast as the 子 hour of day 2.
  child<QComboBox>("cboH")->setCurrentText(QStringLiteral("23"));
  child<QPushButton>("cmdStart")->click();
  waitForPane(workFile(kChartPageFile));
  QCOMPARE(static_cast<int>(window_->chartState().BirthDay), 2);
  QCOMPARE(window_->chartState().HourNum, Branch(1));
  // At 22:00 the date stays.
  child<QComboBox>("cboH")->setCurrentText(QStringLiteral("22"));
  child<QPushButton>("cmdStart")->click();
  QTRY_COMPARE_WITH_TIMEOUT(static_cast<int>(window_->chartState().BirthDay), 1, kLoadTimeout);
}

void TestRulesDialog::reachedFromButtonKeyAndMenu() {
  MainWindow& w = openWindow();
  // The button sits above 國曆, in room the designed window leaves free.
  auto* button = child<QPushButton>("cmdRules");
  QCOMPARE(button->parentWidget()->objectName(), QStringLiteral("frame01"));
  QCOMPARE(button->geometry(), QRect(600, 16, 40, 21));
  saveShot(&w, "rules-button");
  expectInFreeSpace({{"cmdRules", rulesButtonFits, 721}});
  // Ctrl+, opens it from anywhere in the window, also while the button is hidden.
  expectKeyOpens<RulesDialog>("cboY", Qt::CTRL | Qt::Key_Comma);
  // The window's context menu has it.
  auto* action = w.findChild<QAction*>(QStringLiteral("rulesAction"));
  QVERIFY(w.actions().contains(action));
  QCOMPARE(w.contextMenuPolicy(), Qt::ActionsContextMenu);
  QCOMPARE(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
}

// With ZIWEI_TEST_SHOTS naming a folder, the dialog as a person sees it:
// rules-dialog.png there.
void TestRulesDialog::picture() {
  const QString dir = qEnvironmentVariable("ZIWEI_TEST_SHOTS");
  if (dir.isEmpty()) QSKIP("ZIWEI_TEST_SHOTS names no folder");
  RulesDialog dialog(someRules());
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QVERIFY(dialog.grab().save(QDir(dir).filePath(QStringLiteral("rules-dialog.png"))));
  selectStar(dialog.starBox(2, 2), Star::TianTong);
  QApplication::processEvents();
  QVERIFY(dialog.grab().save(QDir(dir).filePath(QStringLiteral("rules-dialog-refused.png"))));
}

int main(int argc, char* argv[]) {
  prepareWebEngine();
  QApplication app(argc, argv);
  TestRulesDialog test;
  const int status = QTest::qExec(&test, argc, argv);
  keepGlDriversLoaded();
  return status;
}

#include "test_rules_dialog.moc"
