// The layout rules in twips, without a window: thresholds, the design size,
// and the strips following the pane.
#include <QtTest>

#include "app/window_layout.h"

using namespace ziwei::desktop;

class TestWindowLayout : public QObject {
  Q_OBJECT

 private slots:
  void tooSmallLeavesEverything();
  void stripsFollowThePane();
  void twipsToPixelsRounds();
};

void TestWindowLayout::tooSmallLeavesEverything() {
  // A layout that is not the design one, so "unchanged" is visible.
  const ResizableControls earlier = fitControls(kDesignControls, 12000, 9000);
  QCOMPARE(fitControls(earlier, 580, 9000), earlier);    // width - 180 - 400 == 0
  QCOMPARE(fitControls(earlier, 12000, 2760), earlier);  // pane would be 0 high
  QCOMPARE(fitControls(earlier, 0, 0), earlier);         // minimised
  QCOMPARE(fitControls(earlier, -15, 9000), earlier);
}

void TestWindowLayout::stripsFollowThePane() {
  // Just large enough in either direction, the design size, larger ones,
  // and shrinking back from a larger one.
  const ResizableControls wide = fitControls(kDesignControls, 15000, 9000);
  for (const auto& [w, h, from] :
       {std::tuple{581, 9000, kDesignControls}, std::tuple{12000, 2761, kDesignControls},
        std::tuple{10855, 8835, kDesignControls}, std::tuple{4000, 3000, kDesignControls},
        std::tuple{19200, 15360, kDesignControls}, std::tuple{30000, 20000, kDesignControls},
        std::tuple{15000, 9000, kDesignControls}, std::tuple{10855, 8835, wide}}) {
    const QString row = QStringLiteral("%1 x %2").arg(w).arg(h);
    const ResizableControls c = fitControls(from, w, h);
    const int strip = w - 400, pane = h - 2760;
    QVERIFY2(c.frame01 == (TwipsRect{180, 60, strip, 1200}), qPrintable(row));
    QVERIFY2(c.WebBrowser1 == (TwipsRect{180, 1380, strip, pane}), qPrintable(row));
    QVERIFY2(c.Frame02 == (TwipsRect{180, 1380 + pane + 10, strip, 735}), qPrintable(row));
    QVERIFY2(c.lbStatus == (TwipsRect{180, 1380 + pane + 755, strip, 315}), qPrintable(row));
    // The close button and the version stay at the right edge.
    QCOMPARE(c.cmdExit.left, strip - 800);
    QCOMPARE(c.cmdExit.top, 360);
    QCOMPARE(c.lbVer.left, strip - 500);
    QCOMPARE(c.lbVer.top, 120);
  }
  // At the design size the frame and the pane are the designed ones; the
  // lower frame follows the upper's width, not its designed 10515.
  const ResizableControls design = fitControls(kDesignControls, 10855, 8835);
  QCOMPARE(design.frame01, kDesignControls.frame01);
  QCOMPARE(design.WebBrowser1, kDesignControls.WebBrowser1);
  QCOMPARE(design.Frame02.width, 10455);
}

void TestWindowLayout::twipsToPixelsRounds() {
  for (const auto& [twips, pixels] :
       {std::pair{0, 0}, std::pair{15, 1}, std::pair{7, 0}, std::pair{8, 1}, std::pair{1275, 85},
        std::pair{10860, 724}, std::pair{-620, -41}, std::pair{-8, -1}}) {
    QCOMPARE(twipsToPixels(twips), pixels);
  }
}

QTEST_APPLESS_MAIN(TestWindowLayout)
#include "test_window_layout.moc"
