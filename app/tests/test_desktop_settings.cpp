// The chart rules the window casts by come from the user's settings store.
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "app/desktop_settings.h"

using namespace ziwei;
using namespace ziwei::desktop;

class TestDesktopSettings : public QObject {
  Q_OBJECT

 private slots:
  void rulesAreReadByTheirWords() {
    QTemporaryDir dir;
    QSettings store(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    QCOMPARE(rulesFromStore(store), ChartOptions{});  // nothing stored: the defaults
    store.setValue(QStringLiteral("rules/lateZi"), QStringLiteral("next-day"));
    QCOMPARE(rulesFromStore(store).lateZi, LateZi::NextDay);
    // A word the rule does not have keeps its default rather than guessing.
    store.setValue(QStringLiteral("rules/lateZi"), QStringLiteral("next"));
    QCOMPARE(rulesFromStore(store).lateZi, LateZi::SameDay);
  }

  void transformationsAreReadAsText() {
    QTemporaryDir dir;
    QSettings store(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    store.setValue(QStringLiteral("rules/transformations"),
                   QStringLiteral("戊=貪狼,太陰,太陽,天機;庚=太陽,武曲,天同,太陰"));
    ChartOptions expected;
    expected.transformations[4] = {Star::TanLang, Star::TaiYin, Star::TaiYang, Star::TianJi};
    expected.transformations[6] = {Star::TaiYang, Star::WuQu, Star::TianTong, Star::TaiYin};
    QCOMPARE(rulesFromStore(store), expected);
    // Written by hand without quotes, the INI value reads as a list.
    {
      QFile file(store.fileName());
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(
          "[rules]\ntransformations=\xe6\x88\x8a=\xe8\xb2\xaa\xe7\x8b\xbc,"
          "\xe5\xa4\xaa\xe9\x99\xb0,\xe5\xa4\xaa\xe9\x99\xbd,"
          "\xe5\xa4\xa9\xe6\xa9\x9f\n");
    }
    QSettings edited(store.fileName(), QSettings::IniFormat);
    QCOMPARE(rulesFromStore(edited).transformations[4], expected.transformations[4]);
    // A table that does not read is dropped whole, with a warning, and the
    // rules beside it still count.
    for (const QString& bad : {QStringLiteral("戊=貪狼,太陰,太陽,貪狼"),
                               QStringLiteral("戊=貪狼,太陰,太陽,天機;庚=擎羊,武曲,天同,太陰"),
                               QStringLiteral("戊貪狼")}) {
      store.setValue(QStringLiteral("rules/transformations"), bad);
      store.setValue(QStringLiteral("rules/lifeMaster"), QStringLiteral("year"));
      QTest::ignoreMessage(QtWarningMsg,
                           QRegularExpression(QStringLiteral("^rules/transformations")));
      const ChartOptions read = rulesFromStore(store);
      QCOMPARE(read.transformations, kTransformations);
      QCOMPARE(read.lifeMaster, LifeMasterRule::Year);
    }
  }

  // What storeRules writes rulesFromStore reads back; a default leaves no
  // key behind, so a store never changed stays empty.
  void storedRulesRoundTrip() {
    QTemporaryDir dir;
    QSettings store(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    storeRules(store, ChartOptions{});
    QVERIFY(store.allKeys().isEmpty());

    ChartOptions rules;
    rules.yearBoundary = YearBoundary::Spring;
    rules.leapMonth = LeapMonthRule::Next;
    rules.transformations[9] = {Star::PoJun, Star::JuMen, Star::TaiYin, Star::WenQu};
    storeRules(store, rules);
    QCOMPARE(store.value(QStringLiteral("rules/yearBoundary")).toString(),
             QStringLiteral("spring"));
    QCOMPARE(store.value(QStringLiteral("rules/leapMonth")).toString(), QStringLiteral("next"));
    QCOMPARE(store.value(QStringLiteral("rules/transformations")).toString(),
             QStringLiteral("癸=破軍,巨門,太陰,文曲"));
    store.sync();
    QCOMPARE(rulesFromStore(QSettings(store.fileName(), QSettings::IniFormat)), rules);

    store.setValue(QStringLiteral("other/key"), 1);  // what is not a rule stays
    storeRules(store, ChartOptions{});
    QCOMPARE(store.allKeys(), QStringList{QStringLiteral("other/key")});
  }
};

QTEST_GUILESS_MAIN(TestDesktopSettings)
#include "test_desktop_settings.moc"
