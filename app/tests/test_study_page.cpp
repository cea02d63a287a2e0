// The 研讀 button: where it sits, its key and menu entry, and the study page
// it shows in the pane, whose script runs there: a palace clicked in the
// pane shows the relations the engine gives. Every address the window
// knows points at a local port that refuses connections.
#include <memory>
#include <set>
#include <string>

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVariant>
#include <QtTest>

#include "desktop_harness.h"
#include "gl_drivers.h"

#include "app/main_window.h"
#include "app/window_layout.h"
#include "app/work_dir.h"
#include "birth/target_moment.h"
#include "chart/chart.h"
#include "chart/relations/relations.h"
#include "page/page_file.h"
#include "study/study_page.h"

using namespace ziwei;
using namespace ziwei::desktop;
using namespace ziwei::desktop::testing;

namespace {

std::set<int> numbers(const QVariant& list) {
  std::set<int> out;
  for (const QVariant& v : list.toList()) out.insert(v.toInt());
  return out;
}

template <std::size_t N>
std::set<int> numbers(const std::array<PalaceNum, N>& palaces) {
  std::set<int> out;
  for (const PalaceNum p : palaces) out.insert(p.number());
  return out;
}

// What the page shows after palace `num` is clicked: the palaces by their
// highlight, and each arrow's kind and end.
QString clickAndRead(int num) {
  return QStringLiteral(
             "(() => { document.getElementById('palace-%1').click();"
             "  const hl = (k) => [...document.querySelectorAll(`.cell[data-hl='${k}']`)]"
             "    .map((c) => Number(c.dataset.num));"
             "  return { selected: hl('selected'), trine: hl('trine'), flank: hl('flank'),"
             "    arrows: [...document.querySelectorAll('g.flight')].map((g) =>"
             "      [Number(g.dataset.kind), Number(g.dataset.to)]),"
             "    selfMarks: [...document.querySelectorAll('.cell[data-hl=selected] "
             ".mark.self.active')]"
             "      .map((m) => Number(m.dataset.kind)) }; })()")
      .arg(num);
}

}  // namespace

class TestStudyPage : public QObject, private WindowFixture {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
  void init() { makeProgramDir(); }
  void cleanup() { closeWindow(); }

  void buttonKeyAndMenu();
  void showsTheSelectionWithItsLevels();
  void targetBeforeTheBirthYearGivesTheNatalChart();
  void newRulesRecastTheStudyPage();

 private:
  MainWindow& openWindow() { return showWindow(loopbackSettings(program_->path())); }
  void compareSelection(const Chart& chart, const PalaceStems& stems, int num);
};

// Palace `num` clicked in the pane: its highlights and arrows are the
// relations the engine gives the palaces with `stems`.
void TestStudyPage::compareSelection(const Chart& chart, const PalaceStems& stems, int num) {
  const PalaceRelations rel = palaceRelations(chart, stems)[static_cast<std::size_t>(num - 1)];
  const QVariantMap shown = evaluate(clickAndRead(num)).toMap();
  QCOMPARE(numbers(shown[QStringLiteral("selected")]), std::set<int>{num});
  std::set<int> trine = numbers(shown[QStringLiteral("trine")]);
  trine.insert(num);
  QCOMPARE(trine, numbers(rel.trine));
  QCOMPARE(numbers(shown[QStringLiteral("flank")]), numbers(rel.flank));
  std::set<std::pair<int, int>> arrows;
  for (const QVariant& a : shown[QStringLiteral("arrows")].toList()) {
    arrows.emplace(a.toList()[0].toInt(), a.toList()[1].toInt());
  }
  std::set<std::pair<int, int>> flights;
  std::set<int> self;
  for (int k = 0; k < 4; ++k) {
    const int to = rel.flies[static_cast<std::size_t>(k)].number();
    if (to == num) {
      self.insert(k);
    } else {
      flights.emplace(k, to);
    }
  }
  QCOMPARE(arrows, flights);
  QCOMPARE(numbers(shown[QStringLiteral("selfMarks")]), self);
}

void TestStudyPage::buttonKeyAndMenu() {
  MainWindow& w = openWindow();
  // Under the close button, in the room the designed window leaves there.
  auto* button = child<QPushButton>("cmdStudy");
  QCOMPARE(button->parentWidget()->objectName(), QStringLiteral("frame01"));
  QCOMPARE(button->geometry(), QRect(644, 62, 41, 16));
  QCOMPARE(child<QWidget>("cmdExit")->geometry(), QRect(644, 24, 41, 37));
  expectInFreeSpace({{"cmdStudy", studyButtonFits, 721}});
  // Ctrl+R shows the page from anywhere in the window, also while the
  // button is hidden.
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  child<QWidget>("cboY")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::ControlModifier);
  waitForPane(workFile(kStudyPageFile));
  auto* action = w.findChild<QAction*>(QStringLiteral("studyAction"));
  QVERIFY(w.actions().contains(action));
  QCOMPARE(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
}

void TestStudyPage::showsTheSelectionWithItsLevels() {
  MainWindow& w = openWindow();
  child<QComboBox>("cboY")->setCurrentText(QStringLiteral("1984"));
  child<QComboBox>("cboH")->setCurrentText(QStringLiteral("10"));
  const QDate on(2026, 12, 7);
  child<QDateEdit>("targetDate")->setDate(on);
  child<QPushButton>("cmdStudy")->click();
  waitForPane(workFile(kStudyPageFile));

  // The file is the page the engine writes for the selection at the target,
  // in UTF-8 as the page declares.
  ChartRequest request;
  request.birth = {1984, 1, false, 1, 10, 0, 0, true};
  request.target = targetOnSolar({on.year(), on.month(), on.day()});
  const Chart chart = cast(request);
  QCOMPARE(readAll(workFile(kStudyPageFile)),
           bytes(encodePage(studyPage(chart), PageEncoding::Utf8)));
  QVERIFY(child<QLabel>("lbStatus")->text().startsWith(QStringLiteral("四柱")));

  // Its script ran in the pane: the grid, the level switch, and what a
  // palace clicked there shows.
  QCOMPARE(evaluate(QStringLiteral("document.querySelectorAll('.cell').length")).toInt(), 12);
  QCOMPARE(evaluate(QStringLiteral("[...document.querySelectorAll('.levels input')]"
                                   ".map((i) => i.value).join(' ')"))
               .toString(),
           QStringLiteral("natal decade year month day"));
  for (const int num : {3, 8, 12}) compareSelection(chart, natalStems(chart), num);
  evaluate(QStringLiteral("document.querySelector('.levels input[value=year]').click()"));
  for (const int num : {1, 7}) compareSelection(chart, levelStems(chart, PeriodLevel::Year), num);
  QTest::qWait(200);
  saveShot(&w, "study-desktop");
}

void TestStudyPage::targetBeforeTheBirthYearGivesTheNatalChart() {
  openWindow();
  child<QDateEdit>("targetDate")->setDate(QDate(1990, 1, 1));  // the selection is lunar 2000
  bool refused = false;
  answerModal<QMessageBox>([&refused](QMessageBox* box) {
    refused = true;
    box->accept();
  });
  child<QPushButton>("cmdStudy")->click();
  waitForPane(workFile(kStudyPageFile));
  QVERIFY(!refused);
  ChartRequest request;
  const Chart chart = cast(request);
  QCOMPARE(readAll(workFile(kStudyPageFile)),
           bytes(encodePage(studyPage(chart), PageEncoding::Utf8)));
  QCOMPARE(evaluate(QStringLiteral("document.querySelectorAll('.levels').length")).toInt(), 0);
  QVERIFY(child<QLabel>("lbStatus")->text().contains(QStringLiteral("只有本命")));
  compareSelection(chart, natalStems(chart), 5);
}

void TestStudyPage::newRulesRecastTheStudyPage() {
  MainWindow& w = openWindow();
  const QDate on(2030, 6, 1);
  child<QDateEdit>("targetDate")->setDate(on);
  child<QPushButton>("cmdStudy")->click();
  waitForPane(workFile(kStudyPageFile));
  // The selection changes after the cast: the page shown is what is recast.
  child<QComboBox>("cboY")->setCurrentText(QStringLiteral("1990"));
  ChartOptions rules;
  rules.runningStems = RunningStems::FiveTigers;
  rules.transformations[6] = {Star::TaiYang, Star::WuQu, Star::TianTong, Star::TaiYin};
  QSignalSpy loaded(w.pane(), &QWebEngineView::loadFinished);
  w.applyRules(rules);
  ChartRequest request;
  request.options = rules;
  request.target = targetOnSolar({on.year(), on.month(), on.day()});
  const Chart chart = cast(request);
  QTRY_COMPARE_WITH_TIMEOUT(readAll(workFile(kStudyPageFile)),
                            bytes(encodePage(studyPage(chart), PageEncoding::Utf8)), kLoadTimeout);
  QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, kLoadTimeout);  // the page shown anew
  evaluate(QStringLiteral("document.querySelector('.levels input[value=month]').click()"));
  for (const int num : {2, 9}) compareSelection(chart, levelStems(chart, PeriodLevel::Month), num);
}

int main(int argc, char* argv[]) {
  prepareWebEngine();
  QApplication app(argc, argv);
  TestStudyPage test;
  const int status = QTest::qExec(&test, argc, argv);
  keepGlDriversLoaded();
  return status;
}

#include "test_study_page.moc"
