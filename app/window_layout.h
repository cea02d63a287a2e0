#pragma once

#include <array>

namespace ziwei::desktop {

// Window geometry is designed in twips (1/1440 inch); at 96 DPI a logical
// pixel is 15 twips. Qt's device-pixel ratio takes care of denser screens.
inline constexpr int kTwipsPerPixel = 15;

// Nearest logical pixel of a length or position in twips.
constexpr int twipsToPixels(int twips) {
  return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                    : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}
constexpr int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  friend constexpr bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// The six controls that follow the window size. frame01, WebBrowser1, Frame02
// and lbStatus are placed in the window; cmdExit and lbVer inside frame01.
struct ResizableControls {
  TwipsRect frame01;
  TwipsRect WebBrowser1;
  TwipsRect Frame02;
  TwipsRect lbStatus;
  TwipsRect cmdExit;
  TwipsRect lbVer;

  friend constexpr bool operator==(const ResizableControls&, const ResizableControls&) = default;
};

// Their rectangles as designed, for a window whose client area is 10860 x 8535.
inline constexpr ResizableControls kDesignControls{
    .frame01 = {180, 60, 10455, 1200},
    .WebBrowser1 = {180, 1380, 10455, 6075},
    .Frame02 = {180, 7440, 10515, 735},
    .lbStatus = {180, 8220, 10515, 315},
    .cmdExit = {9660, 360, 615, 555},
    .lbVer = {9900, 120, 480, 180},
};
inline constexpr int kDesignClientWidth = 10860;
inline constexpr int kDesignClientHeight = 8535;

// The "國曆" button (Gregorian birthday), inside frame01: in the free space
// between the chart button and the close button, on the date row. The layout
// moves the close button with the frame's right edge; while that would cover
// the "國曆" button (a window narrower than designed), the button is hidden
// and its keyboard shortcut still works.
inline constexpr TwipsRect kSolarButton{9000, 720, 600, 315};
inline constexpr int kSolarButtonGap = 15;  // at least this much before the close button

constexpr bool solarButtonFits(const ResizableControls& c) {
  return kSolarButton.left + kSolarButton.width + kSolarButtonGap <= c.cmdExit.left;
}

// The "設定" button (the chart rules), inside frame01 above the "國曆"
// button, right of the print-preview button and clear of the close button
// and the version label: it shows and hides with the "國曆" button, and its
// keyboard shortcut still works while it is hidden.
inline constexpr TwipsRect kRulesButton{9000, 240, 600, 315};

constexpr bool rulesButtonFits(const ResizableControls& c) {
  return kRulesButton.left + kRulesButton.width + kSolarButtonGap <= c.cmdExit.left;
}

// The "研讀" button (the study page), inside frame01 under the close button,
// in the room between it and the frame's bottom edge: it moves with the
// close button, shows and hides with the "國曆" button (while it shows, the
// close button is clear of the buttons on its left), and its keyboard
// shortcut still works while it is hidden.
inline constexpr int kStudyButtonGap = 15;      // below the close button
inline constexpr int kStudyButtonHeight = 240;  // to 30 twips above the frame's bottom edge

constexpr TwipsRect studyButtonRect(const ResizableControls& c) {
  return {c.cmdExit.left, c.cmdExit.top + c.cmdExit.height + kStudyButtonGap, c.cmdExit.width,
          kStudyButtonHeight};
}

constexpr bool studyButtonFits(const ResizableControls& c) { return solarButtonFits(c); }

// The running-period controls, inside Frame02 right of the link buttons, in
// two rows: the target date, then the "運限" button between small step
// buttons (lunar year back, month back | 運限 | month on, year on). Frame02
// follows the window's width; the controls show together while they end
// inside the frame, as they do at the design size.
inline constexpr TwipsRect kTargetDate{9000, 45, 1410, 315};
inline constexpr TwipsRect kPeriodsButton{9480, 390, 450, 315};
inline constexpr std::array<TwipsRect, 4> kStepButtons{{
    {9000, 390, 225, 315},   // 上一年
    {10185, 390, 225, 315},  // 下一年
    {9240, 390, 225, 315},   // 上一月
    {9945, 390, 225, 315},   // 下一月
}};
inline constexpr int kFrame02Margin = 45;  // kept free before the frame's right edge

constexpr bool fitsInFrame02(const TwipsRect& r, const ResizableControls& c) {
  return r.left + r.width + kFrame02Margin <= c.Frame02.width;
}

constexpr bool periodControlsFit(const ResizableControls& c) {
  bool fit = fitsInFrame02(kTargetDate, c) && fitsInFrame02(kPeriodsButton, c);
  for (const TwipsRect& r : kStepButtons) fit = fit && fitsInFrame02(r, c);
  return fit;
}

// Fits the controls to a window of the given outer size (frame and title bar
// included), in twips. The pane takes the height that the input frame, the
// link-button frame and the status line leave; the strips below it follow it
// down with 10-twip gaps; the close button and the version label keep their
// distance from the input frame's right edge. A window too small for that
// (outer width <= 580 or outer height <= 2760, e.g. while minimised) leaves
// `current` unchanged.
ResizableControls fitControls(const ResizableControls& current, int outerWidth, int outerHeight);

// The title bar and frame that the rules were drawn for: they add 300 twips
// (20 pixels) to the height of the client area, and their side borders lie
// within the rules' margins.
inline constexpr int kDesignDecorationWidth = 0;
inline constexpr int kDesignDecorationHeight = 300;

// fitControls for a window whose client area is `clientWidth` x
// `clientHeight` twips, with the designed decoration around it. The window
// manager's own decoration is not read: it is known only once the manager
// has framed the window, after the first layout, and a thicker one would
// push the status line out of the window.
ResizableControls fitToClientArea(const ResizableControls& current, int clientWidth,
                                  int clientHeight);

}  // namespace ziwei::desktop
