#pragma once

class QLabel;
class QStyle;
class QWidget;

namespace ziwei::desktop {

// The style of the window's coloured buttons, frames and selectors, on top
// of Fusion: a push button's face is filled with its palette's button colour
// as it is (Fusion lightens it into a pale gradient), inside a dark border; a
// frame is an etched line that shows on the olive background; a selector's
// list drops down below it and shows as many items as the selector's
// maxVisibleItems (Fusion lays the whole list over it, up to the screen's
// height). Set it on those widgets alone (QWidget::setStyle): their children
// keep the application's style. One instance, owned by the application.
QStyle* controlStyle();

// A dialog's line for what is wrong with its fields: plain text in dark red,
// wrapped, named "problem".
QLabel* problemLabel(QWidget* parent);

}  // namespace ziwei::desktop
