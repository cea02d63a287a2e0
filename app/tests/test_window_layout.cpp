// The layout rules in twips, without a window: thresholds, the design size,
// and the strips following the pane.
#include <QtTest>

#include "app/window_layout.h"

using ziwei::desktop::fitControls;
using ziwei::desktop::kDesignControls;
using ziwei::desktop::ResizableControls;
using ziwei::desktop::twipsToPixels;

class TestWindowLayout : public QObject {
  Q_OBJECT

 private slots:
  void tooSmallLeavesEverything();
  void justLargeEnough();
  void designSizeGivesDesignWidthsAndHeights();
  void stripsFollowThePane();
  void closeButtonAndVersionStayAtTheRightEdge();
  void leftEdgesNeverMove();
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

void TestWindowLayout::justLargeEnough() {
  const ResizableControls atHeight = fitControls(kDesignControls, 12000, 2761);
  QCOMPARE(atHeight.WebBrowser1.height, 1);
  QCOMPARE(atHeight.Frame02.top, 1380 + 1 + 10);
  QCOMPARE(atHeight.lbStatus.top, 1391 + 735 + 10);

  // Width 581 is the first one laid out: every strip 181 twips wide.
  const ResizableControls atWidth = fitControls(kDesignControls, 581, 9000);
  QCOMPARE(atWidth.frame01.width, 181);
  QCOMPARE(atWidth.cmdExit.left, 181 - 800);
  QCOMPARE(atWidth.lbVer.left, 181 - 480 - 20);
}

void TestWindowLayout::designSizeGivesDesignWidthsAndHeights() {
  const ResizableControls c = fitControls(kDesignControls, 10855, 8835);
  QCOMPARE(c.frame01, kDesignControls.frame01);
  QCOMPARE(c.WebBrowser1, kDesignControls.WebBrowser1);
  QCOMPARE(c.Frame02.top, 1380 + 6075 + 10);
  QCOMPARE(c.Frame02.width, 10455);  // follows frame01, not its designed 10515
  QCOMPARE(c.lbStatus.top, 7465 + 735 + 10);
  QCOMPARE(c.cmdExit.left, 10455 - 800);
  QCOMPARE(c.lbVer.left, 10455 - 480 - 20);
}

void TestWindowLayout::stripsFollowThePane() {
  for (const auto& [w, h] : {std::pair{4000, 3000}, std::pair{12000, 9000}, std::pair{19200, 15360},
                             std::pair{10860, 8535}}) {
    const ResizableControls c = fitControls(kDesignControls, w, h);
    QCOMPARE(c.frame01.width, w - 400);
    QCOMPARE(c.WebBrowser1.width, w - 400);
    QCOMPARE(c.Frame02.width, w - 400);
    QCOMPARE(c.lbStatus.width, w - 400);
    QCOMPARE(c.frame01.height, 1200);
    QCOMPARE(c.WebBrowser1.height, h - 2760);
    QCOMPARE(c.Frame02.top, c.WebBrowser1.top + c.WebBrowser1.height + 10);
    QCOMPARE(c.lbStatus.top, c.Frame02.top + c.Frame02.height + 10);
    QCOMPARE(c.Frame02.height, 735);
    QCOMPARE(c.lbStatus.height, 315);
  }
}

void TestWindowLayout::closeButtonAndVersionStayAtTheRightEdge() {
  const ResizableControls c = fitControls(kDesignControls, 15000, 9000);
  QCOMPARE(c.cmdExit.left, 14600 - 800);
  QCOMPARE(c.cmdExit.top, 360);
  QCOMPARE(c.lbVer.left, 14600 - 500);
  QCOMPARE(c.lbVer.top, 120);
  // Shrinking later moves them back.
  const ResizableControls back = fitControls(c, 10855, 8835);
  QCOMPARE(back.cmdExit.left, 10455 - 800);
  QCOMPARE(back.lbVer.left, 10455 - 480 - 20);
}

void TestWindowLayout::leftEdgesNeverMove() {
  const ResizableControls c = fitControls(kDesignControls, 30000, 20000);
  QCOMPARE(c.frame01.left, 180);
  QCOMPARE(c.WebBrowser1.left, 180);
  QCOMPARE(c.Frame02.left, 180);
  QCOMPARE(c.lbStatus.left, 180);
  QCOMPARE(c.frame01.top, 60);
  QCOMPARE(c.WebBrowser1.top, 1380);
}

void TestWindowLayout::twipsToPixelsRounds() {
  QCOMPARE(twipsToPixels(0), 0);
  QCOMPARE(twipsToPixels(15), 1);
  QCOMPARE(twipsToPixels(7), 0);
  QCOMPARE(twipsToPixels(8), 1);
  QCOMPARE(twipsToPixels(1275), 85);
  QCOMPARE(twipsToPixels(10860), 724);
  QCOMPARE(twipsToPixels(-620), -41);
  QCOMPARE(twipsToPixels(-8), -1);
}

QTEST_APPLESS_MAIN(TestWindowLayout)
#include "test_window_layout.moc"
