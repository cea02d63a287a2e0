// The chart rules the window casts by come from the user's settings store.
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
};

QTEST_GUILESS_MAIN(TestDesktopSettings)
#include "test_desktop_settings.moc"
