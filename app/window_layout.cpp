#include "app/window_layout.h"

namespace ziwei::desktop {

namespace {
constexpr int kSideMargins = 400;        // both side margins and the window edges
constexpr int kInputFrameHeight = 1200;  // frame01 keeps its designed height
constexpr int kOtherStrips = 1560;       // link buttons, status line, gaps, caption bar
constexpr int kGap = 10;
constexpr int kExitFromRight = 800;
constexpr int kVersionFromRight = 20;
}  // namespace

ResizableControls fitControls(const ResizableControls& current, int outerWidth, int outerHeight) {
  const int room = outerWidth - current.frame01.left - kSideMargins;
  const int paneHeight = outerHeight - kOtherStrips - kInputFrameHeight;
  if (room <= 0 || paneHeight <= 0) return current;

  ResizableControls c = current;
  c.frame01.width = outerWidth - kSideMargins;
  c.frame01.height = kInputFrameHeight;
  c.WebBrowser1.width = outerWidth - kSideMargins;
  c.WebBrowser1.height = paneHeight;
  c.Frame02.width = c.frame01.width;
  c.Frame02.top = c.WebBrowser1.height + c.WebBrowser1.top + kGap;
  c.lbStatus.width = c.Frame02.width;
  c.lbStatus.top = c.Frame02.height + c.Frame02.top + kGap;
  c.cmdExit.left = c.frame01.width - kExitFromRight;
  c.lbVer.left = c.frame01.width - c.lbVer.width - kVersionFromRight;
  return c;
}

ResizableControls fitToClientArea(const ResizableControls& current, int clientWidth,
                                  int clientHeight) {
  return fitControls(current, clientWidth + kDesignDecorationWidth,
                     clientHeight + kDesignDecorationHeight);
}

}  // namespace ziwei::desktop
